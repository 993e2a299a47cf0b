#include "gui/panes/core/folder_path.h"

#include "platform/paths.h"
#include "platform/text.h"

#include <algorithm>

namespace tralvo {

std::string NormalFolderPath(std::string_view path) {
    if (path.empty() || path.front() != '/') {
        return {};
    }
    std::vector<std::string_view> parts;
    for (const std::string_view part : SplitNonEmpty(path, '/')) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(part);
    }
    std::string normal;
    for (const std::string_view part : parts) {
        normal += '/';
        normal += part;
    }
    return normal.empty() ? std::string("/") : normal;
}

std::string NearestExistingFolder(FileSystem& fs, std::string_view path) {
    std::string folder = NormalFolderPath(path);
    while (!folder.empty()) {
        if (fs.FolderExists(folder)) {
            return folder;
        }
        if (folder == "/") {
            return {};
        }
        const std::size_t slash = folder.rfind('/');
        folder.resize(slash == 0 ? 1 : slash);
    }
    return {};
}

std::string ChildPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path != "/") {
        path += '/';
    }
    path += name;
    return path;
}

std::string VolumePath(std::string_view mountPoint) {
    return FolderWithSlash(std::string(mountPoint));
}

std::string_view NextComponent(std::string_view folder, std::string_view path) {
    if (folder == path || !FolderHoldsPath(folder, path)) {
        return {};
    }
    const std::size_t start = folder == "/" ? 1 : folder.size() + 1;
    const std::string_view rest = path.substr(start);
    return rest.substr(0, rest.find('/'));
}

bool FolderNameLess(std::string_view a, std::string_view b) {
    const auto folded = [](char x, char y) {
        return static_cast<unsigned char>(ToLowerAscii(x)) <
               static_cast<unsigned char>(ToLowerAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) {
        return false;
    }
    const auto bytes = [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), bytes);
}

} // namespace tralvo
