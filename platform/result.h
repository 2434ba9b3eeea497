#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tarvelo {

// Why an operation failed: the message the user is shown.
struct Failure {
    std::string message;
};

// An operation of Result<void> that succeeded.
struct Success {};

// Ends the program when a failed result's value is asked for: a caller that reads a
// value must look at ok() first, and reading past a failure is a fault in the caller.
[[noreturn]] void valueOfFailedResult(const std::string& message);
// The message of a successful result: empty.
const std::string& noFailureMessage();

// The outcome of an operation that can fail: a value, or the message of a Failure.
// There is no default: a function says which one it returns. Data that only a success
// has to tell (warnings, counts, what was read) lives in T; a failure is its message.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const std::string& message() const { return ok() ? noFailureMessage() : std::get<1>(m_state).message; }
    // The failure, to be handed on by a caller of another result type.
    Failure failure() const { return {message()}; }

    T& value() & { return (requireValue(), std::get<0>(m_state)); }
    const T& value() const& { return (requireValue(), std::get<0>(m_state)); }
    T&& value() && { return std::move(value()); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

private:
    void requireValue() const
    {
        if (!ok())
            valueOfFailedResult(message());
    }

    std::variant<T, Failure> m_state;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result(Success) {}
    Result(Failure failure) : m_failed(true), m_message(std::move(failure.message)) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return m_message; }
    Failure failure() const { return {m_message}; }

private:
    bool m_failed = false;
    std::string m_message;
};

} // namespace tarvelo
