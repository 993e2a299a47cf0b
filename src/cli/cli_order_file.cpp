#include "cli/cli_order_file.h"

#include "cli/cli_output.h"

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <string_view>

namespace tralvo::cli {

namespace {

// Far more than the longest name of every track a player folder could hold.
constexpr std::size_t MaxOrderFileSize = 16 * 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadAll(const std::string& path, std::string& text, std::string& problem) {
    std::unique_ptr<std::FILE, FileCloser> opened;
    std::FILE* file = stdin;
    if (path != "-") {
        opened.reset(std::fopen(path.c_str(), "rb"));
        file = opened.get();
    }
    if (file == nullptr) {
        problem = "cannot read the order file " + EscapeField(path);
        return false;
    }
    char buffer[65536];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (text.size() + read > MaxOrderFileSize) {
            problem = "the order file " + EscapeField(path) + " is larger than 16 MiB";
            return false;
        }
        text.append(buffer, read);
    }
    if (std::ferror(file) != 0) {
        problem = "cannot read the order file " + EscapeField(path);
        return false;
    }
    return true;
}

} // namespace

bool ReadOrderFile(const std::string& path, std::vector<std::string>& names, std::string& problem) {
    std::string text;
    if (!ReadAll(path, text, problem)) {
        return false;
    }
    const std::string_view all(text);
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < all.size();) {
        std::size_t end = all.find('\n', start);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        std::string_view line = all.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        std::optional<std::string> name = UnescapeField(line);
        if (!name) {
            problem =
                "--order: line " + std::to_string(lineNumber) +
                ": a backslash that starts no escape (write \\\\ for one): " + EscapeField(line);
            return false;
        }
        names.push_back(std::move(*name));
    }
    return true;
}

std::vector<std::size_t> OrderOfNames(const TrackList& tracks,
                                      const std::vector<std::string>& names,
                                      std::vector<std::string>& problems) {
    std::map<std::string, std::deque<std::size_t>> unused;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        unused[tracks[i].display].push_back(i);
    }
    std::vector<bool> placed(tracks.size(), false);
    std::vector<std::size_t> order;
    for (const std::string& name : names) {
        const auto found = unused.find(name);
        if (found == unused.end()) {
            problems.push_back("--order: unknown track: " + EscapeField(name));
        } else if (found->second.empty()) {
            problems.push_back("--order: repeated track: " + EscapeField(name));
        } else {
            order.push_back(found->second.front());
            placed[found->second.front()] = true;
            found->second.pop_front();
        }
    }
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (!placed[i]) {
            problems.push_back("--order: missing track: " + EscapeField(tracks[i].display));
        }
    }
    return order;
}

} // namespace tralvo::cli
