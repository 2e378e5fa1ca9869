// One ordered record of the calls that the fakes receive, across all ports, as readable lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pelluna::testing {

class CallLog {
  public:
    void Add(std::string call) { calls_.push_back(std::move(call)); }
    const std::vector<std::string>& Calls() const { return calls_; }
    // The calls whose text starts with prefix (for example "Ellipse(").
    std::vector<std::string> CallsTo(std::string_view prefix) const;
    void Clear() { calls_.clear(); }

  private:
    std::vector<std::string> calls_;
};

// ANSI bytes as a quoted literal; bytes outside printable ASCII as \xNN. A null pointer is null.
std::string Quote(const char* bytes);
std::string Quote(std::string_view bytes);

template <class Integer>
requires std::is_integral_v<Integer> &&(!std::is_same_v<Integer, bool>)std::string Arg(Integer value) {
    if constexpr (std::is_signed_v<Integer>) {
        return std::to_string(static_cast<long long>(value));
    } else {
        return std::to_string(static_cast<unsigned long long>(value));
    }
}
inline std::string Arg(bool value) {
    return value ? "true" : "false";
}
inline std::string Arg(const std::string& formatted) {
    return formatted;
}
inline std::string Arg(const char* formatted) {
    return formatted;
}
inline std::string Arg(std::nullptr_t) {
    return "null";
}
inline std::string Arg(const void* pointer) {
    return pointer ? "ptr" : "null";
}

// "Name(a, b, c)" with each argument formatted by Arg.
template <class... Args>
std::string Call(std::string_view name, const Args&... args) {
    std::string text(name);
    text += '(';
    bool first = true;
    ((text += (first ? "" : ", ") + Arg(args), first = false), ...);
    text += ')';
    return text;
}

}  // namespace pelluna::testing
