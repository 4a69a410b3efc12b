#pragma once

#include <QPlainTextEdit>

#include "TextCodec.h"

// A multi-line edit control used as a list of lines. Lines are numbered
// from 0; an empty last line after a final line break exists but is not
// counted.
class TextPane : public QPlainTextEdit {
 public:
  // The most characters a pane takes, line breaks counted as CR LF.
  static constexpr qsizetype kCapacity = 32 * 1024 * 1024;

  explicit TextPane(QWidget* parent = nullptr);

  int LineCount() const;
  // Line i without its line break, cut to 4096 characters; empty past the end.
  QString GetLine(int i) const;
  // Replaces line i but not its line break; nothing happens past the end.
  void ReplaceLine(int i, const QString& s);
  void AppendLine(const QString& s);
  void ClearText();
  // Reads a file, turning CR LF, CR and LF into line breaks; a zero byte
  // ends the text. Throws ZarnError.
  void LoadText(const QString& name);
  // Writes the text with CR LF line breaks, in the encoding of the last
  // load. The file is replaced only once every byte is written. Throws ZarnError.
  void SaveText(const QString& name) const;

  // The whole text with CR LF line breaks.
  QString Text() const;
  TextEncoding Encoding() const { return encoding_; }

 private:
  QString JoinedLines(const QString& lineBreak) const;

  TextEncoding encoding_ = TextEncoding::Utf8;
};
