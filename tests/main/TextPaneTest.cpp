#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <functional>

#include "FileBytes.h"
#include "TextPane.h"
#include "ZarnError.h"
#include "TableRows.h"

namespace {

// The text with CR LF line breaks, as the pane holds it.
void SetPaneText(TextPane& pane, QString text) {
  pane.setPlainText(text.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

QString ErrorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const ZarnError& error) {
    return error.Message();
  }
  return QStringLiteral("<no error>");
}

struct LineCase {
  const char* name;
  const char* before;
  std::function<void(TextPane&)> operation;
  const char* after;
  int lineCount;
};

class PaneLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(PaneLines, OperationGivesText) {
  const LineCase& c = GetParam();
  TextPane pane;
  SetPaneText(pane, QString::fromUtf8(c.before));
  c.operation(pane);
  EXPECT_EQ(pane.Text(), QString::fromUtf8(c.after));
  EXPECT_EQ(pane.LineCount(), c.lineCount);
}

const auto kNothing = [](TextPane&) {};

INSTANTIATE_TEST_SUITE_P(
    Contract, PaneLines,
    ::testing::Values(
        LineCase{"EmptyHasNoLines", "", kNothing, "", 0},
        LineCase{"OneLine", "x", kNothing, "x", 1},
        LineCase{"FinalBreakNotCounted", "x\r\n", kNothing, "x\r\n", 1},
        LineCase{"TwoLines", "x\r\ny", kNothing, "x\r\ny", 2},
        LineCase{"EmptySecondLine", "x\r\n\r\n", kNothing, "x\r\n\r\n", 2},
        LineCase{"ReplaceKeepsTheBreak", "x\r\ny\r\n", [](TextPane& p) { p.ReplaceLine(0, "abc"); },
                 "abc\r\ny\r\n", 2},
        LineCase{"ReplaceLineCountAfterBreakAdds", "Results\r\n",
                 [](TextPane& p) { p.ReplaceLine(1, "COM1 ok"); }, "Results\r\nCOM1 ok", 2},
        LineCase{"ReplaceLineCountOnEmptyAdds", "", [](TextPane& p) { p.ReplaceLine(0, "0000 "); },
                 "0000 ", 1},
        LineCase{"ReplaceLineCountWithoutBreakDoesNothing", "x",
                 [](TextPane& p) { p.ReplaceLine(1, "y"); }, "x", 1},
        LineCase{"ReplacePastTheEndDoesNothing", "x\r\n", [](TextPane& p) { p.ReplaceLine(5, "y"); },
                 "x\r\n", 1},
        LineCase{"ReplaceNegativeDoesNothing", "x", [](TextPane& p) { p.ReplaceLine(-1, "y"); }, "x", 1},
        LineCase{"AppendToEmpty", "", [](TextPane& p) { p.AppendLine("s"); }, "s\r\n", 1},
        LineCase{"AppendAfterBreak", "x\r\n", [](TextPane& p) { p.AppendLine("s"); }, "x\r\ns\r\n", 2},
        LineCase{"AppendWithoutBreak", "x", [](TextPane& p) { p.AppendLine("s"); }, "x\r\ns", 2},
        LineCase{"AppendEmptyThenReplaceIt", "",
                 [](TextPane& p) {
                   p.AppendLine("");
                   p.ReplaceLine(p.LineCount() - 1, "0000 ");
                 },
                 "0000 \r\n", 1},
        LineCase{"Clear", "x\r\ny", [](TextPane& p) { p.ClearText(); }, "", 0}),
    RowName);

TEST(PaneLines, GetLineCutsAt4096AndIsEmptyPastTheEnd) {
  TextPane pane;
  SetPaneText(pane, QString(5000, QLatin1Char('a')) + QStringLiteral("\r\nb\r\n"));
  EXPECT_EQ(pane.GetLine(0), QString(4096, QLatin1Char('a')));
  EXPECT_EQ(pane.GetLine(1), QStringLiteral("b"));
  EXPECT_EQ(pane.GetLine(2), QString());
  EXPECT_EQ(pane.GetLine(99), QString());
  EXPECT_EQ(pane.GetLine(-1), QString());
}

class PaneFiles : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
  QTemporaryDir dir_;
  TextPane pane_;
};

TEST_F(PaneFiles, LoadTurnsEveryLineEndIntoCrLfAndStopsAtZero) {
  const struct {
    QByteArray file;
    const char* text;
    int lines;
  } cases[] = {
      {"a\nb", "a\r\nb", 2},
      {"a\rb\r", "a\r\nb\r\n", 2},
      {"a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n", 3},
      {"\r\n\n\r", "\r\n\r\n\r\n", 3},
      {"\n\r\r\n", "\r\n\r\n\r\n", 3},
      {QByteArray("ab\0cd\ne", 7), "ab", 1},
      {QByteArray("\0x", 2), "", 0},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    WriteBytes(Path("in.asm"), c.file);
    pane_.LoadText(Path("in.asm"));
    EXPECT_EQ(pane_.Text(), QString::fromUtf8(c.text)) << c.file.toHex().constData();
    EXPECT_EQ(pane_.LineCount(), c.lines) << c.file.toHex().constData();
  }
}

TEST_F(PaneFiles, EncodingFollowsTheFile) {
  const struct {
    QByteArray file;
    QString text;
    TextEncoding encoding;
  } cases[] = {
      {"Gr\xC3\xBC\xC3\x9F" "e", QStringLiteral("Grüße"), TextEncoding::Utf8},
      {"Gr\xFC\xDF" "e \x80\x81", QStringLiteral("Grüße €\u0081"), TextEncoding::Windows1252},
      {"\xEF\xBB\xBFmov a,#1", QStringLiteral("\uFEFFmov a,#1"), TextEncoding::Utf8},
      {"\xC3", QStringLiteral("Ã"), TextEncoding::Windows1252},
  };
  for (const auto& c : cases) {
    WriteBytes(Path("in.asm"), c.file);
    pane_.LoadText(Path("in.asm"));
    EXPECT_EQ(pane_.Text(), c.text) << c.file.toHex().constData();
    EXPECT_EQ(pane_.Encoding(), c.encoding) << c.file.toHex().constData();
  }
}

// The bytes with every CR LF, CR and LF made CR LF.
QByteArray WithCrLf(QByteArray bytes) {
  return bytes.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
}

TEST_F(PaneFiles, FileOpenedAndSavedComesBackByteForByte) {
  QByteArray everyByte;
  for (int b = 1; b < 256; ++b) everyByte.append(static_cast<char>(b));
  const struct {
    const char* name;
    QByteArray file;
  } cases[] = {
      {"EveryByte1To255", everyByte},
      {"Utf8WithBom", "\xEF\xBB\xBF;\xC3\xA4\r\n\xE2\x82\xAC\r\n"},
      {"Utf8LineAndParagraphSeparators", "a\xE2\x80\xA8" "b\xC2\xA0" "c"},
      {"Cp1252NoBreakSpaceAndC1", "\xA0\x81\x8D\x8F\x90\x9D\xFF"},
      {"LfSource", "a\nb\n"},
      {"CrSource", "a\rb"},
  };
  for (const auto& c : cases) {
    WriteBytes(Path("src.asm"), c.file);
    pane_.LoadText(Path("src.asm"));
    pane_.SaveText(Path("out.asm"));
    EXPECT_EQ(ReadBytes(Path("out.asm")).toHex(' '), WithCrLf(c.file).toHex(' ')) << c.name;
  }
}

TEST_F(PaneFiles, SaveWritesCrLfAndTheLastBreakOnlyWhenThere) {
  SetPaneText(pane_, QStringLiteral("a\r\nb"));
  pane_.SaveText(Path("a.asm"));
  EXPECT_EQ(ReadBytes(Path("a.asm")), QByteArray("a\r\nb"));
  SetPaneText(pane_, QStringLiteral("mov a,#'ä'\r\n"));
  pane_.SaveText(Path("a.asm"));
  EXPECT_EQ(ReadBytes(Path("a.asm")), QByteArray("mov a,#'\xC3\xA4'\r\n")) << "typed text is UTF-8";
  pane_.ClearText();
  pane_.SaveText(Path("a.asm"));
  EXPECT_EQ(ReadBytes(Path("a.asm")), QByteArray());
}

TEST_F(PaneFiles, TextWindows1252CannotHoldIsSavedAsUtf8NotLost) {
  WriteBytes(Path("a.asm"), "; Gr\xFC\xDF" "e\r\n");
  pane_.LoadText(Path("a.asm"));
  pane_.AppendLine(QStringLiteral("; Ω"));
  pane_.SaveText(Path("a.asm"));
  EXPECT_EQ(ReadBytes(Path("a.asm")), QByteArray("; Gr\xC3\xBC\xC3\x9F" "e\r\n; \xCE\xA9\r\n"));
}

TEST_F(PaneFiles, LoadOfTheSameTextLeavesThePaneUntouched) {
  WriteBytes(Path("a.asm"), "one\ntwo\n");
  pane_.LoadText(Path("a.asm"));
  QTextCursor cursor = pane_.textCursor();
  cursor.setPosition(5);
  pane_.setTextCursor(cursor);
  const int revision = pane_.document()->revision();
  WriteBytes(Path("b.asm"), "one\r\ntwo\r\n");
  pane_.LoadText(Path("b.asm"));
  EXPECT_EQ(pane_.document()->revision(), revision);
  EXPECT_EQ(pane_.textCursor().position(), 5);
}

TEST_F(PaneFiles, LoadErrorsKeepThePaneText) {
  SetPaneText(pane_, QStringLiteral("kept\r\n"));
  const QString missing = Path("work.lst");
  EXPECT_EQ(ErrorOf([&] { pane_.LoadText(missing); }),
            QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(missing));
  EXPECT_EQ(ErrorOf([&] { pane_.LoadText(dir_.path()); }),
            QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(dir_.path()));
  EXPECT_EQ(pane_.Text(), QStringLiteral("kept\r\n"));
}

TEST_F(PaneFiles, TextBeyondTheCapacityIsRefusedAndSeveralMegabytesAreNot) {
  SetPaneText(pane_, QStringLiteral("kept\r\n"));
  const QByteArray line = QByteArray(98, 'x') + "\r\n";
  WriteBytes(Path("big.lst"), line.repeated(TextPane::kCapacity / line.size() + 1));
  EXPECT_EQ(ErrorOf([&] { pane_.LoadText(Path("big.lst")); }),
            QStringLiteral("Text überschreitet Memo-Kapazität"));
  EXPECT_EQ(pane_.Text(), QStringLiteral("kept\r\n"));

  WriteBytes(Path("listing.lst"), line.repeated(5 * 1024 * 1024 / line.size()));
  pane_.LoadText(Path("listing.lst"));
  EXPECT_EQ(pane_.LineCount(), 5 * 1024 * 1024 / line.size());
}

TEST_F(PaneFiles, TargetThatCannotBeWrittenGivesTheCreateErrorAndStays) {
  SetPaneText(pane_, QStringLiteral("new text"));
  const QString readOnlyFile = Path("ro.asm");
  WriteBytes(readOnlyFile, "old");
  chmod(QFile::encodeName(readOnlyFile).constData(), 0444);
  EXPECT_EQ(ErrorOf([&] { pane_.SaveText(readOnlyFile); }),
            QStringLiteral("Datei %1 kann nicht erstellt werden").arg(readOnlyFile));
  EXPECT_EQ(ReadBytes(readOnlyFile), QByteArray("old"));

  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("ro")));
  const QString inFolder = Path("ro/existing.asm");
  WriteBytes(inFolder, "old");
  chmod(QFile::encodeName(Path("ro")).constData(), 0555);
  for (const QString& name : {inFolder, Path("ro/new.asm")}) {
    EXPECT_EQ(ErrorOf([&] { pane_.SaveText(name); }),
              QStringLiteral("Datei %1 kann nicht erstellt werden").arg(name));
  }
  EXPECT_EQ(ReadBytes(inFolder), QByteArray("old"));
  EXPECT_FALSE(QFile::exists(Path("ro/new.asm")));
  EXPECT_EQ(QDir(Path("ro")).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
  chmod(QFile::encodeName(Path("ro")).constData(), 0755);
}

TEST_F(PaneFiles, SaveKeepsTheTargetsPermissions) {
  SetPaneText(pane_, QStringLiteral("x"));
  const QString name = Path("mode.asm");
  WriteBytes(name, "old");
  chmod(QFile::encodeName(name).constData(), 0640);
  pane_.SaveText(name);
  struct stat info {};
  ASSERT_EQ(stat(QFile::encodeName(name).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const mode_t mask = umask(022);
  pane_.SaveText(Path("fresh.asm"));
  umask(mask);
  ASSERT_EQ(stat(QFile::encodeName(Path("fresh.asm")).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(PaneFiles, SaveThatFailsHalfWayLeavesTheOldFile) {
  const QString disk = Path("disk");
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("disk")));
  if (mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "a small file system to fill needs root (mount tmpfs)";
  }
  const QString name = disk + QStringLiteral("/work.asm");
  WriteBytes(name, QByteArray(20 * 1024, 'o'));
  SetPaneText(pane_, QString(100 * 1024, QLatin1Char('n')));
  const QString error = ErrorOf([&] { pane_.SaveText(name); });
  const QByteArray after = ReadBytes(name);
  const int files = QDir(disk).entryList(QDir::Files | QDir::Hidden).size();
  umount(QFile::encodeName(disk).constData());
  EXPECT_EQ(error, QStringLiteral("Stream-Write-Fehler"));
  EXPECT_EQ(after, QByteArray(20 * 1024, 'o'));
  EXPECT_EQ(files, 1) << "no temporary left";
}

}  // namespace
