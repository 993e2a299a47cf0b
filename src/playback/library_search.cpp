#include "playback/library_search.h"

#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tralvo::playback {

namespace {

// The cache is a few tens of KB; anything far larger is not one.
constexpr std::size_t MaxCacheSize = 16 * 1024 * 1024;

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folders that the dynamic linker searches for the program's libraries, in its order.
std::vector<std::string> SearchFolders(void* program) {
    std::vector<std::string> folders;
    Dl_serinfo size{};
    if (::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0 || size.dls_size < sizeof size) {
        return folders;
    }
    std::vector<std::max_align_t> buffer((size.dls_size + sizeof(std::max_align_t) - 1) /
                                         sizeof(std::max_align_t));
    auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
    if (info == nullptr) {
        return folders;
    }
    *info = size;
    if (::dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
        for (unsigned i = 0; i < info->dls_cnt; ++i) {
            folders.emplace_back(info->dls_serpath[i].dls_name);
        }
    }
    return folders;
}

std::vector<std::string> SearchFolders() {
    void* program = ::dlopen(nullptr, RTLD_LAZY); // the program itself: nothing is loaded
    if (program == nullptr) {
        return {};
    }
    std::vector<std::string> folders = SearchFolders(program);
    ::dlclose(program);
    return folders;
}

std::vector<char> ReadLinkerCache() {
    std::vector<char> bytes;
    const UniqueFd file(::open("/etc/ld.so.cache", O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || info.st_size <= 0 ||
        static_cast<std::size_t>(info.st_size) > MaxCacheSize) {
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

// The cache's string table holds the full path of every library it maps, NUL-terminated, the
// soname being the path's last part: any such path to an existing file counts.
bool InLinkerCache(const std::string& soname) {
    const std::vector<char> cache = ReadLinkerCache();
    std::string tail = "/" + soname;
    tail.push_back('\0');
    auto at = cache.begin();
    while ((at = std::search(at, cache.end(), tail.begin(), tail.end())) != cache.end()) {
        const auto start = std::find(std::make_reverse_iterator(at), cache.rend(), '\0').base();
        const std::string path(start, at + static_cast<std::ptrdiff_t>(tail.size() - 1));
        if (path.starts_with('/') && IsFile(path)) {
            return true;
        }
        ++at;
    }
    return false;
}

} // namespace

bool SharedLibraryResolves(const std::string& soname) {
    if (soname.empty() || soname.find('/') != std::string::npos) {
        return false;
    }
    for (std::string folder : SearchFolders()) {
        if (!folder.ends_with('/')) {
            folder += '/';
        }
        if (IsFile(folder + soname)) {
            return true;
        }
    }
    return InLinkerCache(soname);
}

} // namespace tralvo::playback
