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
// The variables named in unset are left out of the program's environment.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& unset = {});

} // namespace tralvo::test
