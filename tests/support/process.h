#pragma once
// Runs a command line through the shell and captures its output and exit code.
#include <filesystem>
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

#ifdef VEMORA_CLI_PATH
// Runs vemora-cli on a program folder (no terminal on stdin, so questions take their default).
inline ProcessResult runCli(const std::filesystem::path& folder, const std::string& args) {
    return runCommand(shellQuote(VEMORA_CLI_PATH) + " --folder " + shellQuote(folder.string()) + " " + args);
}
#endif

}  // namespace vemora::test
