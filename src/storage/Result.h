#pragma once

#include <string>
#include <utility>
#include <variant>

namespace oplix {

// What went wrong: an errno value where the platform gave one (0 otherwise) and a short
// description for the journal.
struct Error {
    int code = 0;
    std::string message;
};

// A value or the error that prevented it. Errors travel as results, never as exceptions.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }

    const Error& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

struct Ok {};
using Status = Result<Ok>;

inline Status Success() {
    return Ok{};
}

}  // namespace oplix
