#include "platform/user_folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tralvo {

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

} // namespace

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); IsAbsolute(home)) {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::string buffer(16384, '\0');
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && IsAbsolute(found->pw_dir)) {
        return found->pw_dir;
    }
    return {};
}

std::string UserBaseFolder(const char* variable, const std::string& underHome) {
    if (const char* value = std::getenv(variable); IsAbsolute(value)) {
        return value;
    }
    std::string home = HomeFolder();
    if (home.empty()) {
        return {};
    }
    if (home.back() != '/') {
        home += '/';
    }
    return home + underHome;
}

Status MakePrivateFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            const int code = errno;
            return Status::Failure(code, "create folder " + part + ": " +
                                             std::generic_category().message(code));
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return Status::Failure(ENOTDIR, "create folder " + folder + ": not a folder");
    }
    return Status::Ok();
}

} // namespace tralvo
