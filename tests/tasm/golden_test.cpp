#include "test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kGoldenDir = TASM_GOLDEN_DIR;
const char* const kMissing = "";

/// A fresh directory under the system temp folder, removed with the object.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "tasm-test-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

/// Runs the built tasm.exe in `dir`, standard output to stdout.txt; the exit code.
int runTasm(const fs::path& dir, const std::vector<std::string>& arguments)
{
    pid_t child = fork();
    if (child == 0) {
        int out = open((dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(dir.c_str()) != 0 || out < 0 || dup2(out, STDOUT_FILENO) < 0)
            _exit(126);
        std::vector<char*> argv{const_cast<char*>(TASM_EXE)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(TASM_EXE, argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> goldenCases()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(kGoldenDir, error)) {
        if (fs::exists(entry.path() / "work.asm"))
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    if (names.empty())
        names.push_back(kMissing);
    return names;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesTheReferenceAssembler)
{
    if (GetParam() == kMissing)
        GTEST_SKIP() << "no reference outputs at " << kGoldenDir << "; the golden cases are not run";
    const fs::path reference = kGoldenDir / GetParam();
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    for (const auto& entry : fs::directory_iterator(reference)) {
        if (entry.path().filename() == "work.asm" || entry.path().extension() == ".inc")
            fs::copy_file(entry.path(), scratch.path() / entry.path().filename());
    }

    int exitCode = runTasm(scratch.path(), {"-51", "-b", "work.asm", "work.bin"});

    EXPECT_EQ(exitCode, std::atoi(tasm::test::readFile(reference / "exit.txt").c_str()));
    std::string bin = tasm::test::readFile(scratch.path() / "work.bin");
    std::string expectedBin = tasm::test::readFile(reference / "work.bin");
    EXPECT_TRUE(bin == expectedBin) << tasm::test::firstDifference(tasm::test::spacedHex(expectedBin),
                                                                   tasm::test::spacedHex(bin));
    std::string lst = tasm::test::readFile(scratch.path() / "work.lst");
    std::string expectedLst = tasm::test::readFile(reference / "work.lst");
    EXPECT_TRUE(lst == expectedLst) << tasm::test::firstDifference(expectedLst, lst);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(goldenCases()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return "Case_" + tasm::test::testName(info.param.empty() ? "FolderMissing"
                                                                                     : info.param);
                         });

TEST(Program, MissingSourceExitsWith3)
{
    ScratchDir scratch;
    EXPECT_EQ(runTasm(scratch.path(), {"-51", "-b", "work.asm", "work.bin"}), 3);
}

TEST(Program, OtherTableExitsWith4)
{
    ScratchDir scratch;
    std::ofstream(scratch.path() / "work.asm") << " nop\n .end\n";
    EXPECT_EQ(runTasm(scratch.path(), {"-65", "work.asm"}), 4);
}

TEST(Program, WithoutBinaryOptionWritesIntelHex)
{
    ScratchDir scratch;
    std::ofstream(scratch.path() / "work.asm") << " .org 100h\n mov a,#1\n .end\n";
    ASSERT_EQ(runTasm(scratch.path(), {"-51", "work.asm"}), 0);
    EXPECT_EQ(tasm::test::readFile(scratch.path() / "work.obj"), ":02010000740188\n:00000001FF\n");
    EXPECT_TRUE(fs::exists(scratch.path() / "work.lst"));
}

}  // namespace
