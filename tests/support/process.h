#pragma once
// Runs a command line through the shell and captures its output and exit code.
#include <string>

namespace vemora::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;  // stdout
    std::string err;  // stderr
};

ProcessResult runCommand(const std::string& commandLine);
// Quotes one argument for the shell.
std::string shellQuote(const std::string& arg);

}  // namespace vemora::test
