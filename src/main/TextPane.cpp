#include "TextPane.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>

#include "ZarnError.h"

namespace {

constexpr int kLineCut = 4096;

QString PaneLineBreaks(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Honours the read-only marking even for root, who may write anything.
bool Writable(const QString& path) {
  const QByteArray local = QFile::encodeName(path);
  struct stat info {};
  return stat(local.constData(), &info) == 0 && (info.st_mode & 0222) != 0 &&
         access(local.constData(), W_OK) == 0;
}

bool MayReplace(const QString& name) {
  const QFileInfo info(name);
  if (info.exists() && (info.isDir() || !Writable(info.filePath()))) return false;
  return Writable(info.absolutePath());
}

void KeepOwnerAndMode(const QString& name, QSaveFile& file) {
  struct stat info {};
  if (stat(QFile::encodeName(name).constData(), &info) != 0) return;
  // Only root may give a file away, so a plain user's refusal is expected.
  (void)!fchown(file.handle(), info.st_uid, info.st_gid);
  fchmod(file.handle(), info.st_mode & 07777);
}

}  // namespace

TextPane::TextPane(QWidget* parent) : QPlainTextEdit(parent) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  setFont(font);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
}

int TextPane::LineCount() const {
  const QTextDocument* doc = document();
  const bool endsWithBreak = doc->lastBlock().text().isEmpty();
  return doc->blockCount() - (endsWithBreak ? 1 : 0);
}

QString TextPane::GetLine(int i) const {
  const QTextBlock block = document()->findBlockByNumber(i);
  return block.isValid() ? block.text().left(kLineCut) : QString();
}

void TextPane::ReplaceLine(int i, const QString& s) {
  if (i < 0) return;
  const QTextBlock block = document()->findBlockByNumber(i);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(s);
}

void TextPane::AppendLine(const QString& s) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  const bool endsWithBreak = document()->lastBlock().text().isEmpty();
  cursor.insertText(endsWithBreak ? s + QLatin1Char('\n') : QLatin1Char('\n') + s);
}

void TextPane::ClearText() { clear(); }

void TextPane::LoadText(const QString& name) {
  QFile file(name);
  if (QFileInfo(name).isDir() || !file.open(QIODevice::ReadOnly)) {
    throw ZarnError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(name));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw ZarnError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(name));
  }
  const qsizetype zero = bytes.indexOf('\0');
  if (zero >= 0) bytes.truncate(zero);

  const DecodedText decoded = DecodeText(bytes);
  const QString text = PaneLineBreaks(decoded.text);
  if (text.size() + text.count(QLatin1Char('\n')) > kCapacity) {
    throw ZarnError(QStringLiteral("Text überschreitet Memo-Kapazität"));
  }
  encoding_ = decoded.encoding;
  if (text == JoinedLines(QStringLiteral("\n"))) return;
  setPlainText(text);
}

void TextPane::SaveText(const QString& name) const {
  const QString cannotCreate = QStringLiteral("Datei %1 kann nicht erstellt werden").arg(name);
  QSaveFile file(name);
  if (name.isEmpty() || !MayReplace(name) || !file.open(QIODevice::WriteOnly)) {
    throw ZarnError(cannotCreate);
  }
  KeepOwnerAndMode(name, file);
  const QByteArray bytes = EncodeText(Text(), encoding_);
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    throw ZarnError(QStringLiteral("Stream-Write-Fehler"));
  }
}

QString TextPane::Text() const { return JoinedLines(QStringLiteral("\r\n")); }

QString TextPane::JoinedLines(const QString& lineBreak) const {
  QString text;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin()) text += lineBreak;
    text += block.text();
  }
  return text;
}
