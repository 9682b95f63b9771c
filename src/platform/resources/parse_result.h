// The outcome of reading a resource: the value, or a text that says what is
// wrong and at which byte offset. The readers never throw; a caller checks
// ok() before it looks at value().
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kx {

template <typename T> class ParseResult {
public:
    static ParseResult success(T value) {
        ParseResult r;
        r.m_value = std::move(value);
        return r;
    }
    static ParseResult failure(std::string error) {
        ParseResult r;
        r.m_error = error.empty() ? std::string("unknown error") : std::move(error);
        return r;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only valid when ok().
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T* operator->() const { return &*m_value; }
    // Empty when ok().
    const std::string& error() const { return m_error; }

private:
    ParseResult() = default;
    std::optional<T> m_value;
    std::string m_error;
};

} // namespace kx
