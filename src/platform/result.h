// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace qzm {

// A failed file operation's parts, for a window that words the sentence in its own
// language: what was attempted ("Cannot create", as in the text), on which file, and
// the English reason when it is no system error (an errno goes in the Error's code).
struct FileErrorCause {
    std::string what;
    std::filesystem::path file;
    std::string reason = {};
};

// Why an operation failed: the text the user reads, and a code where the caller
// needs to tell failures apart (an errno, a status of the system's own).  A file
// operation's failure also names its cause; its code is the errno (0 when the
// reason is not a system error).
struct Error {
    std::string text;
    int code = 0;
    std::optional<FileErrorCause> file = std::nullopt;
};

// The outcome of an operation that can fail across a folder border: its value, or an
// Error.  [[nodiscard]]: a failure nobody looks at does not compile here.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T valueOr(T fallback) const { return ok() ? std::get<0>(state_) : std::move(fallback); }

    // Only when !ok().
    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

// An operation that gives nothing but success or an Error.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool ok_ = true;
};

using Status = Result<void>;

}  // namespace qzm
