#include "platform/paths.h"

#include <vector>

namespace tralvo {

std::string FolderWithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string_view BaseName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

std::string ParentFolder(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return std::string(slash == 0 ? "/" : path.substr(0, slash));
}

std::string_view Extension(std::string_view path) {
    const std::string_view name = BaseName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string FolderRelativeTo(std::string_view folder, std::string_view relative) {
    std::vector<std::string_view> parts;
    const auto add = [&parts](std::string_view path) {
        while (!path.empty()) {
            const std::size_t slash = path.find('/');
            const std::string_view part = path.substr(0, slash);
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
            if (part == "..") {
                if (!parts.empty()) {
                    parts.pop_back();
                }
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
        }
    };
    if (!relative.starts_with('/')) {
        add(folder);
    }
    add(relative);
    std::string result = "/";
    for (const std::string_view part : parts) {
        result.append(part).push_back('/');
    }
    return result;
}

bool FolderHoldsPath(std::string_view folder, std::string_view path) {
    if (folder == "/") {
        return !path.empty() && path.front() == '/';
    }
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

} // namespace tralvo
