#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tralvo::test {

// Points XDG_STATE_HOME at a fresh folder for as long as it lives, so that run journals of the
// program, and of every program the test starts, never land in the user's own state folder.
class PrivateStateFolder {
public:
    PrivateStateFolder() {
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "tralvo-state-XXXXXX").string();
        if (!error && ::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
            ::setenv("XDG_STATE_HOME", path_.c_str(), 1);
        }
    }
    ~PrivateStateFolder() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    PrivateStateFolder(const PrivateStateFolder&) = delete;
    PrivateStateFolder& operator=(const PrivateStateFolder&) = delete;

    // The value of XDG_STATE_HOME; the journals lie in its subfolder "tralvo".
    const std::string& path() const { return path_; }
    std::string journals() const { return path_ + "/tralvo"; }

private:
    std::string path_;
};

} // namespace tralvo::test
