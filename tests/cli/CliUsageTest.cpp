#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::RunCli;

TEST(CliUsage, HelpVersionAndWrongUsage)
{
    const std::pair<const char*, const char*> options[] = {
        {"--help", "Usage: sonrix3-cli"}, {"-h", "Usage: sonrix3-cli"}, {"--version", "sonrix3-cli "}, {"-V", "sonrix3-cli "}};
    for (const auto& [option, start] : options) {
        const auto result = RunCli({option});
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out.rfind(start, 0), 0u) << result.out;
    }

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"bogus"},
        {"dump"},
        {"dump", "a.sonrix", "b.sonrix"},
        {"dump", "notes.txt"},
        {"convert", "a.sonrix"},
        {"convert", "a.sonrix", "b.sonrix", "c.sonrix"},
        {"convert", "a.sonrix", "b.sonrixi"},
        {"convert", "a.sonrixi", "b.sonrix"},
        {"convert", "a.wav", "b.wav"},
    };
    for (const auto& call : wrong) {
        SCOPED_TRACE(testing::PrintToString(call));
        const auto result = RunCli(call);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("Usage: sonrix3-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
