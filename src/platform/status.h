#pragma once

#include <string>
#include <utility>

namespace tralvo {

// Outcome of a platform call: success, or the system's error number with a message that
// names what failed ("rename /a/b -> /a/c: File exists").
class Status {
public:
    Status() = default;
    static Status Ok() { return {}; }
    static Status Failure(int code, std::string message) {
        Status s;
        s.code_ = code == 0 ? -1 : code;
        s.message_ = std::move(message);
        return s;
    }

    bool ok() const { return code_ == 0; }
    explicit operator bool() const { return ok(); }
    // errno where the system gave one, -1 otherwise.
    int code() const { return code_; }
    const std::string& message() const { return message_; }

private:
    int code_ = 0;
    std::string message_;
};

} // namespace tralvo
