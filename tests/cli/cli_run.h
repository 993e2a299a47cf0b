#pragma once

#include "support/run_process.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tralvo::test {

// The tool under test, run as a user runs it.
inline ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(TRALVO_CLI_PATH, args);
}

// The entries of folder by name, sorted.
inline std::vector<std::string> SortedNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Field number field (from 0: position, name shown, path on disk) of each line list prints.
inline std::vector<std::string> ListedField(const std::string& listed, std::size_t field) {
    std::vector<std::string> values;
    std::size_t start = 0;
    while (start < listed.size()) {
        const std::size_t end = listed.find('\n', start);
        std::string line = listed.substr(start, end - start);
        for (std::size_t i = 0; i < field; ++i) {
            const std::size_t tab = line.find('\t');
            line = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        }
        values.push_back(line.substr(0, line.find('\t')));
        start = end == std::string::npos ? listed.size() : end + 1;
    }
    return values;
}

} // namespace tralvo::test
