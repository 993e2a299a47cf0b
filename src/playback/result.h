#pragma once

#include "playback/outcome.h"

#include <optional>
#include <utility>

namespace tralvo::playback {

// A value, or the outcome that says why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    // failure is not Ok.
    Result(Outcome failure) : failure_(failure) {}

    explicit operator bool() const { return value_.has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T ValueOr(T fallback) const { return value_.value_or(std::move(fallback)); }

    // Ok when there is a value.
    Outcome Failure() const { return failure_; }

private:
    std::optional<T> value_;
    Outcome failure_ = Outcome::Ok;
};

} // namespace tralvo::playback
