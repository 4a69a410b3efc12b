#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "FileBytes.h"
#include "RunAndWait.h"
#include "TempWorkDir.h"

namespace {

void WriteScript(const QString& path, const QByteArray& body) {
  WriteBytes(path, "#!/bin/sh\n" + body + "\n", 0755);
}

QString ReadText(const QString& path) { return QString::fromUtf8(ReadBytes(path)); }

// PATH and the current directory for one test, put back afterwards.
class Surroundings : public ::testing::Test {
 protected:
  void SetUp() override {
    oldPath_ = qgetenv("PATH");
    ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("onpath")));
    ASSERT_TRUE(QDir(dir_.Root()).mkpath(QStringLiteral("cwd")));
    qputenv("PATH", QFile::encodeName(Path(QStringLiteral("onpath"))) + ":/usr/bin:/bin");
    QDir::setCurrent(Path(QStringLiteral("cwd")));
  }
  void TearDown() override { qputenv("PATH", oldPath_); }
  QString Path(const QString& name) const { return dir_.Path(name); }

  TempWorkDir dir_;  // gives the current directory back at the end
  QByteArray oldPath_;
};

TEST_F(Surroundings, ExitCodesComeBack) {
  const struct {
    const char* command;
    std::int32_t code;
  } cases[] = {
      {"sh -c \"exit 0\"", 0},
      {"sh -c \"exit 3\"", 3},
      {"sh -c \"exit 255\"", 255},
      {"bash -c \"exit -1\"", 255},
      {"sh -c \"kill -9 $$\"", 128 + 9},
      {"no-such-program-zarn", -1},
      {"", -1},
      {"   ", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(RunAndWait(QLatin1String(c.command), 1), c.code) << c.command;
}

TEST_F(Surroundings, LinesLongerThan512AreRefusedUnstarted) {
  WriteScript(Path(QStringLiteral("onpath/mark")), "touch marked");
  const QString head = QStringLiteral("mark ");
  const QString at512 = head + QString(512 - head.size(), QLatin1Char('x'));
  ASSERT_EQ(at512.size(), 512);
  EXPECT_EQ(RunAndWait(at512, 1), 0);
  EXPECT_TRUE(QFile::remove(QStringLiteral("marked")));
  EXPECT_EQ(RunAndWait(at512 + QLatin1Char('x'), 1), -1);
  EXPECT_FALSE(QFile::exists(QStringLiteral("marked")));
}

TEST_F(Surroundings, ChildInheritsTheCurrentDirectoryAndEnvironment) {
  WriteScript(Path(QStringLiteral("onpath/where")), "pwd > where.txt; echo \"$ZARN_PROBE\" >> where.txt");
  qputenv("ZARN_PROBE", "inherited");
  EXPECT_EQ(RunAndWait(QStringLiteral("where"), 1), 0);
  qunsetenv("ZARN_PROBE");
  EXPECT_EQ(ReadText(QStringLiteral("where.txt")),
            QDir::currentPath() + QStringLiteral("\ninherited\n"));
}

TEST(CommandLine, WordsSplitLikeTheAssemblersHomePlatform) {
  using Words = std::vector<std::string>;
  const struct {
    const char* line;
    Words words;
  } cases[] = {
      {"tasm.exe -51 -b work.asm work.bin", {"tasm.exe", "-51", "-b", "work.asm", "work.bin"}},
      {"  p \t a   b  ", {"p", "a", "b"}},
      {"\"my prog\" \"a b\" c", {"my prog", "a b", "c"}},
      {"p a\"b c\"d", {"p", "ab cd"}},
      {"p \"\"", {"p", ""}},
      {"p \"a\\\"b\"", {"p", "a\"b"}},
      {"p a\\\\b", {"p", "a\\\\b"}},
      {"p \"a\\\\\" b", {"p", "a\\", "b"}},
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},
      {"p \"say \"\"hi\"\"\"", {"p", "say \"hi\""}},
      {"C:\\tools\\tasm.exe x", {"C:\\tools\\tasm.exe", "x"}},
      {"p \"open", {"p", "open"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
}

TEST_F(Surroundings, QuotedArgumentsArriveWhole) {
  WriteScript(Path(QStringLiteral("onpath/args")), "printf '[%s]' \"$@\" > args.txt");
  EXPECT_EQ(RunAndWait(QStringLiteral("args \"a b\" c \"\" \"d\\\"e\""), 1), 0);
  EXPECT_EQ(ReadText(QStringLiteral("args.txt")), QStringLiteral("[a b][c][][d\"e]"));
}

TEST_F(Surroundings, ProgramFolderComesFirstThenPathNeverTheCurrentDirectory) {
  const QString name = QStringLiteral("zarn-search-probe-%1").arg(QCoreApplication::applicationPid());
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
  WriteScript(beside, "echo beside > found.txt");
  WriteScript(Path(QStringLiteral("onpath/") + name), "echo path > found.txt");
  WriteScript(QDir::current().filePath(name), "echo cwd > found.txt");

  EXPECT_EQ(RunAndWait(name, 1), 0);
  EXPECT_EQ(ReadText(QStringLiteral("found.txt")), QStringLiteral("beside\n"));
  QFile::remove(beside);
  EXPECT_EQ(RunAndWait(name, 1), 0);
  EXPECT_EQ(ReadText(QStringLiteral("found.txt")), QStringLiteral("path\n"));
  QFile::remove(Path(QStringLiteral("onpath/") + name));
  qputenv("PATH", "::.:/usr/bin:/bin");
  EXPECT_EQ(RunAndWait(name, 1), -1) << "the current directory is never searched";

  WriteScript(Path(QStringLiteral("onpath/plain")), "exit 0");
  chmod(QFile::encodeName(Path(QStringLiteral("onpath/plain"))).constData(), 0644);
  qputenv("PATH", QFile::encodeName(Path(QStringLiteral("onpath"))));
  EXPECT_EQ(RunAndWait(QStringLiteral("plain"), 1), -1) << "not runnable";
}

}  // namespace
