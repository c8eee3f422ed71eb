// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace qzm {

// Why an operation failed: the text the user reads, and a code where the caller
// needs to tell failures apart (an errno, a status of the system's own).
struct Error {
    std::string text;
    int code = 0;
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
