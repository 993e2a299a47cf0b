#pragma once

#include <string>
#include <vector>

namespace tralvo::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the process could not be run or did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args (no shell), standard input empty, and collects what it printed.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

} // namespace tralvo::test
