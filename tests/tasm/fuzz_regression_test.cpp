#include "fuzz/fuzz_entry.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kFindings = TASM_FUZZ_FINDINGS;

std::vector<std::string> findings()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kFindings))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FuzzFinding : public testing::TestWithParam<std::string> {};

// Each input once hung or crashed the fuzz target; it must now run through.
TEST_P(FuzzFinding, RunsThrough)
{
    std::string input = tasm::test::readFile(kFindings / GetParam());
    ASSERT_FALSE(input.empty());
    tasm::fuzz::runOne(input);
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzFinding, testing::ValuesIn(findings()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return tasm::test::testName(info.param);
                         });

}  // namespace
