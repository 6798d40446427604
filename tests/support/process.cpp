#include "support/process.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace vemora::test {

std::string shellQuote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

ProcessResult runCommand(const std::string& commandLine) {
    std::random_device rd;
    auto errFile = std::filesystem::temp_directory_path() / ("vemora-err-" + std::to_string(rd()));
    ProcessResult r;
    std::string cmd = commandLine + " 2>" + shellQuote(errFile.string()) + " </dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    std::filesystem::remove(errFile);
    return r;
}

}  // namespace vemora::test
