// "--help" and "--version" answer and end the program before any window; an unknown long
// option is refused; anything else (a file, Qt's own options) starts the game.
#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovani {
namespace {

std::optional<int> Answer(std::vector<const char*> args, std::string& out) {
    args.insert(args.begin(), "tovani");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto r = AnswerCommandLine(static_cast<int>(args.size()), args.data());
    out = testing::internal::GetCapturedStdout() + "|" + testing::internal::GetCapturedStderr();
    return r;
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutputAndExit) {
    std::string out;
    EXPECT_EQ(Answer({"--version"}, out), 0);
    EXPECT_EQ(out, std::string("Tovani ") + kProgramVersion + "\n|");
    EXPECT_EQ(Answer({"-h"}, out), 0);
    EXPECT_EQ(out.rfind("Usage: tovani [FILE]\n", 0), 0u);
    EXPECT_NE(out.find("--version"), std::string::npos);
    EXPECT_EQ(out.back(), '|'); // nothing on standard error
    // Anywhere on the line, as players type it.
    EXPECT_EQ(Answer({"Traditional.lay", "--help"}, out), 0);
}

TEST(CommandLine, FilesAndQtOptionsStartTheGameUnknownOptionsAreRefused) {
    std::string out;
    EXPECT_FALSE(Answer({}, out).has_value());
    EXPECT_FALSE(Answer({"castle.lay"}, out).has_value());
    EXPECT_FALSE(Answer({"-platform", "offscreen"}, out).has_value());
    EXPECT_EQ(Answer({"--fullscreen"}, out), 2);
    EXPECT_NE(out.find("unknown option \"--fullscreen\""), std::string::npos);
    // The refusal and the help go to standard error, nothing to standard output.
    EXPECT_EQ(out.find('|'), 0u);
    EXPECT_NE(out.find("Usage: tovani"), std::string::npos);
}

} // namespace
} // namespace tovani
