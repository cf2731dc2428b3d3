#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::RunCli;

TEST(CliUsage, HelpAndVersion)
{
    for (const char* option : {"--help", "-h"}) {
        const auto result = RunCli({option});
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_NE(result.out.find("Usage: sonrix3-cli"), std::string::npos);
        EXPECT_NE(result.out.find("dump FILE"), std::string::npos);
        EXPECT_NE(result.out.find("convert IN OUT"), std::string::npos);
        EXPECT_EQ(result.err, "");
    }
    for (const char* option : {"--version", "-V"}) {
        const auto result = RunCli({option});
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_EQ(result.out.rfind("sonrix3-cli ", 0), 0u) << result.out;
        EXPECT_EQ(result.out.back(), '\n');
        EXPECT_EQ(result.out.find('\n'), result.out.size() - 1) << "one line";
    }
}

TEST(CliUsage, WrongUsageExitsTwoWithTheUsage)
{
    const std::vector<std::vector<std::string>> calls = {
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
    for (const auto& call : calls) {
        std::string line;
        for (const std::string& arg : call)
            line += arg + " ";
        const auto result = RunCli(call);
        EXPECT_EQ(result.status, 2) << line;
        EXPECT_NE(result.err.find("Usage: sonrix3-cli"), std::string::npos) << line;
        EXPECT_EQ(result.out, "") << line;
    }
}

} // namespace
