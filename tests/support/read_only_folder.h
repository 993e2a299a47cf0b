#pragma once

#include <string>

namespace tralvo::test {

// Makes a folder refuse new files for as long as it lives, also for root: root passes
// permission bits, so there the folder is made immutable instead.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when this system offers no way to do it; the test should then skip.
    bool active() const { return active_; }

private:
    std::string path_;
    bool active_ = false;
    bool immutable_ = false;
};

} // namespace tralvo::test
