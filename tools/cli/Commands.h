// The commands of tovani-cli. Each command lives in its own file and is listed once in the
// table of Commands.cpp; main() finds it there by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovani {
class Board;
class Layout;
} // namespace tovani

namespace tovani::cli {

struct Command {
    const char* name;
    const char* usage;   // the arguments after the command's name
    const char* summary; // one line for the help text
    int (*run)(const std::vector<std::string>& args);
};

// Every command, in the order the help text lists them.
const std::vector<Command>& Commands();

// Writes "tovani-cli: <message>" to standard error and answers the exit code 2.
int Fail(const std::string& message);

// Commands (one file each).
int RunDeal(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunLayoutInfo(const std::vector<std::string>& args);
int RunResample(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunSolve(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);

// Shared by the commands (Commands.cpp): a whole number from min to max; a game number as the
// seed entry takes it (1 to kMaxGameNumber) and the message when it is not one; the deal that
// "Solitaire (Specific)" makes with a game number, which warns on standard error when a
// winnable deal had to be dealt plain and fails when the layout cannot be dealt.
bool ParseWholeNumber(const std::string& s, long long min, long long max, long long& out);
bool ParseGameNumber(const std::string& s, int32_t& out);
std::string GameNumberProblem(const std::string& s);
bool DealNumberedGame(const Layout& layout, int32_t seed, bool winnable, Board& board,
                      std::string& error);
// The same deal of the layout a command names (a file or a shipped layout's name).
bool DealLayoutArgument(const std::string& layoutArg, int32_t seed, bool winnable, Board& board,
                        std::string& error);
// The name of a verdict (SolveCommand.cpp).
const char* VerdictName(int verdict);

} // namespace tovani::cli
