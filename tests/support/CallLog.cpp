// One ordered record of the calls that the fakes receive, across all ports, as readable lines.
#include "CallLog.h"

#include <cstdio>
#include <cstring>

namespace pelluna::testing {

std::vector<std::string> CallLog::CallsTo(std::string_view prefix) const {
    std::vector<std::string> matching;
    for (const std::string& call : calls_) {
        if (std::string_view(call).substr(0, prefix.size()) == prefix) matching.push_back(call);
    }
    return matching;
}

std::string Quote(const char* bytes) {
    return bytes ? Quote(std::string_view(bytes, std::strlen(bytes))) : "null";
}

std::string Quote(std::string_view bytes) {
    std::string text = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text + "\"";
}

}  // namespace pelluna::testing
