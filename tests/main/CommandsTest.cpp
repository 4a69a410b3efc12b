#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <deque>
#include <map>
#include <optional>

#include "FileBytes.h"
#include "FileDialog.h"
#include "ModalBoxCatcher.h"
#include "TempWorkDir.h"
#include "TestProgram.h"
#include "TableRows.h"

namespace {

// A program in a folder of its own, with a stand-in user at the file
// dialogs. "@/" in names stands for that folder.
class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDialogStandIn([this](FileDialog::Kind kind, const QString& name) {
      asked.push_back(QString(kind == FileDialog::Kind::Open ? "open " : "save ") + Relative(name));
      std::optional<QString> answer;
      if (!answers.empty()) {
        if (answers.front()) answer = At(*answers.front());
        answers.pop_front();
      }
      return answer;
    });
  }
  void TearDown() override { UseDialogStandIn({}); }

  QString At(const QString& name) const {
    return name.startsWith(QLatin1String("@/")) ? dir_.Root() + name.mid(1) : name;
  }
  QString Relative(QString name) const { return name.replace(dir_.Root() + "/", "@/"); }

  TempWorkDir dir_;
  TestProgram program{{"COM2"}};
  TZarn& w = *program.window;
  std::deque<std::optional<QString>> answers;  // nullopt: the user cancels
  std::vector<QString> asked;
};

struct Step {
  char button;  // O open, S save, A save as, E set the editor's text
  std::optional<QString> answer;
};

struct FileCase {
  const char* name;
  std::map<QString, QByteArray> files;  // a name starting "ro:" is made read-only
  std::vector<Step> steps;
  std::vector<QString> asked;
  QString sourceFileName;
  QString caption;
  std::map<QString, QByteArray> after;
  std::vector<QString> errors;
};

class SourceFiles : public Commands, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SourceFiles, DialogsEditorAndFiles) {
  const FileCase& c = GetParam();
  for (const auto& [name, bytes] : c.files) {
    const bool readOnly = name.startsWith(QLatin1String("ro:"));
    WriteBytes(At(readOnly ? name.mid(3) : name), bytes, readOnly ? 0444 : 0644);
  }
  ModalBoxCatcher catcher;
  for (const Step& step : c.steps) {
    if (step.button == 'E') {
      w.Memo1->setPlainText(*step.answer);
      continue;
    }
    answers.push_back(step.answer);
    (step.button == 'O' ? w.ButtonOpen : step.button == 'S' ? w.ButtonSave : w.ButtonSaveAs)->click();
  }
  EXPECT_EQ(asked, c.asked);
  EXPECT_EQ(Relative(SourceFileName), c.sourceFileName);
  EXPECT_EQ(Relative(w.windowTitle()), c.caption);
  for (const auto& [name, bytes] : c.after) EXPECT_EQ(ReadBytes(At(name)), bytes) << name.toStdString();
  std::vector<QString> errors;
  for (const auto& box : catcher.boxes) errors.push_back(Relative(box.text));
  EXPECT_EQ(errors, c.errors);
  EXPECT_EQ(QDir(dir_.Root()).entryList(QDir::Files).size(), c.after.size()) << "no other file written";
}

const QString kStart = QStringLiteral("Morvane Zarn");
const QString kOpenedA = QStringLiteral("Morvane Zarn     @/a.asm");

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceFiles,
    ::testing::Values(
        FileCase{"SaveAtStartCancelled", {}, {{'S', std::nullopt}}, {"save "}, "", kStart, {}, {}},
        FileCase{"SaveAfterOpenCancelledWritesTheOpenedFile",
                 {{"a.asm", "old\n"}},
                 {{'O', "@/a.asm"}, {'E', "new"}, {'S', std::nullopt}},
                 {"open *.asm", "save @/a.asm"}, "@/a.asm", kOpenedA, {{"a.asm", "new"}}, {}},
        FileCase{"SaveAsNewNameKeepsTheCaption",
                 {{"a.asm", "old"}},
                 {{'O', "@/a.asm"}, {'A', "@/b.asm"}},
                 {"open *.asm", "save @/a.asm"}, "@/b.asm", kOpenedA,
                 {{"a.asm", "old"}, {"b.asm", "old"}}, {}},
        FileCase{"OpenOfLfThenSaveWritesCrLf",
                 {{"a.asm", "x\ny\n"}},
                 {{'O', "@/a.asm"}, {'S', "@/a.asm"}},
                 {"open *.asm", "save @/a.asm"}, "@/a.asm", kOpenedA, {{"a.asm", "x\r\ny\r\n"}}, {}},
        FileCase{"OpenOfCrThenSaveWritesCrLf",
                 {{"a.asm", "x\ry"}},
                 {{'O', "@/a.asm"}, {'S', std::nullopt}},
                 {"open *.asm", "save @/a.asm"}, "@/a.asm", kOpenedA, {{"a.asm", "x\r\ny"}}, {}},
        FileCase{"EachOpenStartsWithThePattern",
                 {{"a.asm", "a"}, {"b.asm", "b"}},
                 {{'O', "@/a.asm"}, {'O', "@/b.asm"}},
                 {"open *.asm", "open *.asm"}, "@/b.asm", "Morvane Zarn     @/b.asm",
                 {{"a.asm", "a"}, {"b.asm", "b"}}, {}},
        FileCase{"OpenCancelledChangesNothing", {}, {{'O', std::nullopt}}, {"open *.asm"}, "", kStart, {}, {}},
        FileCase{"FailedOpenStillTakesTheName",
                 {},
                 {{'O', "@/missing.asm"}, {'S', std::nullopt}},
                 {"open *.asm", "save @/missing.asm"}, "@/missing.asm", kStart,
                 {{"missing.asm", "Editor\r\n"}},
                 {"Datei @/missing.asm kann nicht geöffnet werden."}},
        FileCase{"SaveToAReadOnlyFile",
                 {{"ro:ro.asm", "old"}},
                 {{'A', "@/ro.asm"}},
                 {"save "}, "@/ro.asm", kStart, {{"ro.asm", "old"}},
                 {"Datei @/ro.asm kann nicht erstellt werden."}}),
    RowName);

TEST_F(Commands, CurrentDirectoryFollowsAConfirmedDialog) {
  ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("sub")));
  ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("other")));
  WriteBytes(At("@/sub/a.asm"), "a");
  answers = {QStringLiteral("@/sub/a.asm"), std::nullopt, std::nullopt, QStringLiteral("@/other/b.asm")};
  w.ButtonOpen->click();
  EXPECT_EQ(QDir::currentPath(), At("@/sub"));
  w.ButtonOpen->click();
  w.ButtonSave->click();
  EXPECT_EQ(QDir::currentPath(), At("@/sub")) << "a cancelled dialog leaves it";
  w.ButtonSaveAs->click();
  EXPECT_EQ(QDir::currentPath(), At("@/other"));
}

// A stand-in assembler first on PATH: it records its arguments, folder and
// input, writes a listing unless told not to, and exits with the code asked for.
class Assemble : public Commands {
 protected:
  void SetUp() override {
    Commands::SetUp();
    oldPath_ = qgetenv("PATH");
    ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("work")));
    WriteBytes(At("@/bin/tasm.exe"),
               "#!/bin/sh\n"
               "printf '[%s]' \"$@\" > args.txt\n"
               "pwd > cwd.txt\n"
               "cp work.asm seen.asm\n"
               "if [ -z \"$STANDIN_NO_LISTING\" ]; then printf 'listing of\\n' > work.lst; cat work.asm >> work.lst; fi\n"
               "printf '\\002\\003' > work.bin\n"
               "exit \"${STANDIN_EXIT:-0}\"\n",
               0755);
    UseAssembler(true);
    QDir::setCurrent(At("@/work"));
  }
  void TearDown() override {
    qputenv("PATH", oldPath_);
    qunsetenv("STANDIN_NO_LISTING");
    qunsetenv("STANDIN_EXIT");
    chmod(QFile::encodeName(At("@/work")).constData(), 0755);
    Commands::TearDown();
  }
  void UseAssembler(bool present) {
    qputenv("PATH", present ? QFile::encodeName(At("@/bin")) + ":/usr/bin:/bin" : "/usr/bin:/bin");
  }
  QByteArray Work(const char* name) { return ReadBytes(At("@/work/") + QLatin1String(name)); }

  QByteArray oldPath_;
};

TEST_F(Assemble, ShowsTheListingWhateverTheExitCode) {
  for (const char* exitCode : {"0", "1", "4"}) {
    qputenv("STANDIN_EXIT", exitCode);
    w.Memo1->setPlainText(QStringLiteral("mov a,#1\n"));
    ModalBoxCatcher catcher;
    w.ButtonCompile->click();
    EXPECT_TRUE(catcher.boxes.empty()) << exitCode;
    EXPECT_EQ(Lines(w.Memo2), (std::vector<QString>{"listing of", "mov a,#1"})) << exitCode;
    EXPECT_EQ(Work("args.txt"), QByteArray("[-51][-b][work.asm][work.bin]"));
    EXPECT_EQ(Work("cwd.txt"), QFile::encodeName(At("@/work")) + "\n");
    EXPECT_EQ(Work("seen.asm"), QByteArray("mov a,#1\r\n"));
  }
}

TEST_F(Assemble, EmptyEditorStillRunsTheAssembler) {
  w.Memo1->ClearText();
  w.ButtonCompile->click();
  EXPECT_EQ(Work("seen.asm"), QByteArray());
  EXPECT_EQ(Lines(w.Memo2), (std::vector<QString>{"listing of"}));
}

TEST_F(Assemble, FailuresKeepTheResultsPane) {
  const struct {
    const char* name;
    bool assembler;
    bool writesListing;
    bool oldListing;
    bool readOnlyFolder;
    const char* error;
    bool started;
  } cases[] = {
      {"NoListingWritten", true, false, false, false, "Datei work.lst kann nicht geöffnet werden.", true},
      {"WorkAsmCannotBeCreated", true, true, false, true, "Datei work.asm kann nicht erstellt werden.", false},
      {"AssemblerMissing", false, true, false, false, "Programm tasm.exe kann nicht gestartet werden.", false},
      {"AssemblerMissingOldListingNotShown", false, true, true, false,
       "Programm tasm.exe kann nicht gestartet werden.", false},
  };
  for (const auto& c : cases) {
    for (const char* name : {"work.lst", "work.asm", "args.txt"}) QFile::remove(At("@/work/") + name);
    if (c.oldListing) WriteBytes(At("@/work/work.lst"), "old listing\n");
    UseAssembler(c.assembler);
    c.writesListing ? qunsetenv("STANDIN_NO_LISTING") : qputenv("STANDIN_NO_LISTING", "1");
    chmod(QFile::encodeName(At("@/work")).constData(), c.readOnlyFolder ? 0555 : 0755);
    w.Memo1->setPlainText(QStringLiteral("nop\n"));
    w.Memo2->setPlainText(QStringLiteral("Results\nCOM2 ok"));

    ModalBoxCatcher catcher;
    w.ButtonCompile->click();
    ASSERT_EQ(catcher.boxes.size(), 1u) << c.name;
    EXPECT_EQ(catcher.boxes[0].text, QString::fromUtf8(c.error)) << c.name;
    EXPECT_EQ(Lines(w.Memo2), (std::vector<QString>{"Results", "COM2 ok"})) << c.name;
    EXPECT_EQ(Work("args.txt") != "<missing>", c.started) << c.name;
    if (!c.readOnlyFolder) {
      EXPECT_EQ(Work("work.asm"), QByteArray("nop\r\n")) << c.name;
    }
    chmod(QFile::encodeName(At("@/work")).constData(), 0755);
  }
}

}  // namespace
