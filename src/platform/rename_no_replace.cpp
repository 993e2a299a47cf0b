#include "platform/rename_no_replace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

namespace tralvo {
namespace {

Status RenameFailure(int code, const std::string& from, const std::string& to) {
    return Status::Failure(code, "rename " + from + " -> " + to + ": " +
                                     std::generic_category().message(code));
}

// Between the check and the rename another process could create to; the program owns
// the player folder while it arranges it, so that window is accepted.
Status CheckThenRename(const std::string& from, const std::string& to) {
    struct stat target {};
    if (::lstat(to.c_str(), &target) == 0) {
        return RenameFailure(EEXIST, from, to);
    }
    if (errno != ENOENT) {
        return RenameFailure(errno, from, to);
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return RenameFailure(errno, from, to);
    }
    return Status::Ok();
}

} // namespace

int SystemRenameNoReplace(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    // A C library older than glibc 2.28 has no wrapper; the kernel call is the same.
    constexpr unsigned int renameNoReplace = 1;
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, renameNoReplace));
#endif
}

Status RenameWithoutReplacing(const std::string& from, const std::string& to,
                              RenameNoReplaceCall call) {
    if (call(from.c_str(), to.c_str()) == 0) {
        return Status::Ok();
    }
    const int error = errno;
    // fusefat and some older file systems reject the flag itself.
    if (error == EINVAL || error == ENOSYS) {
        return CheckThenRename(from, to);
    }
    return RenameFailure(error, from, to);
}

} // namespace tralvo
