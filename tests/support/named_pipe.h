#pragma once

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tralvo::test {

// A named pipe at path, which an open for reading waits on until a writer comes.
inline bool MakeNamedPipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0644) == 0;
}

inline bool IsNamedPipe(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Ends the test program (SIGALRM) when the code under test has not come back within seconds, so
// that an open waiting on a named pipe fails the test instead of hanging it.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds = 30) { ::alarm(seconds); }
    ~HangGuard() { ::alarm(0); }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

} // namespace tralvo::test
