// Fake of the text conversion port that converts with a chosen code page (932, 1252 or 65001) by the system's
// documented rules.
#include "FakeText.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace {
// Named before <windows.h>, whose macros take these names.
constexpr std::uint32_t kThisCodePage = pelluna::win::CP_ACP;
constexpr std::uint32_t kUtf8 = pelluna::win::CP_UTF8;
}  // namespace

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#endif

namespace pelluna::testing {
namespace {

#ifdef _WIN32

std::string ToBytes(unsigned codePage, std::wstring_view text, bool& usedDefault) {
    BOOL used = FALSE;
    BOOL* usedOut = codePage == kUtf8 ? nullptr : &used;
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                             0, nullptr, usedOut);
    std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                              nullptr, usedOut);
    }
    usedDefault = used != FALSE;
    return result;
}

std::wstring ToWide(unsigned codePage, std::string_view text) {
    const int length =
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    }
    return result;
}

#else

const char* IconvName(unsigned codePage) {
    return codePage == 932 ? "CP932" : codePage == kUtf8 ? "UTF-8" : "CP1252";
}

// Converts one unit at a time where a unit has no form in the target, putting replacement there.
std::string Convert(const char* to, const char* from, const char* data, std::size_t size, std::size_t unit,
                    std::string_view replacement, bool* lossy) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out;
    char buffer[64];
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            if (lossy) *lossy = true;
            const std::size_t skip = std::min(unit, inLeft);
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

std::string ToBytes(unsigned codePage, std::wstring_view text, bool& usedDefault) {
    usedDefault = false;
    // UTF-8 has a form for every character; what it cannot take (half a surrogate pair) becomes U+FFFD.
    return Convert(IconvName(codePage), "WCHAR_T", reinterpret_cast<const char*>(text.data()),
                   text.size() * sizeof(wchar_t), sizeof(wchar_t), codePage == kUtf8 ? "\xEF\xBF\xBD" : "?",
                   &usedDefault);
}

std::wstring ToWide(unsigned codePage, std::string_view text) {
    const wchar_t replacement = codePage == kUtf8 ? L'\uFFFD' : L'\u30FB';
    const std::string wide =
        Convert("WCHAR_T", IconvName(codePage), text.data(), text.size(), 1,
                std::string_view(reinterpret_cast<const char*>(&replacement), sizeof(wchar_t)), nullptr);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
}

#endif

// What the call hands back: the length it needs when given no room, 0 when the room is too small.
template <class Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* out, int outLength) {
    const int needed = static_cast<int>(converted.size());
    if (outLength == 0) return needed;
    if (out == nullptr || outLength < needed) return 0;
    std::copy(converted.begin(), converted.end(), out);
    return needed;
}

}  // namespace

int FakeText::WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide,
                                  int wideLength, char* bytes, int byteLength, const char* defaultChar,
                                  bool* usedDefaultChar) {
    const unsigned page = codePage == kThisCodePage ? codePage_ : codePage;
    if (page == kUtf8 && (flags != 0 || defaultChar != nullptr || usedDefaultChar != nullptr)) return 0;
    if (wide == nullptr || wideLength < 0) return 0;
    bool used = false;
    const std::string converted =
        ToBytes(page, std::wstring_view(wide, static_cast<std::size_t>(wideLength)), used);
    if (usedDefaultChar) *usedDefaultChar = used;
    return Deliver(converted, bytes, byteLength);
}

int FakeText::MultiByteToWideChar(std::uint32_t codePage, std::uint32_t, const char* bytes, int byteLength,
                                  wchar_t* wide, int wideLength) {
    if (bytes == nullptr || byteLength < 0) return 0;
    const unsigned page = codePage == kThisCodePage ? codePage_ : codePage;
    return Deliver(ToWide(page, std::string_view(bytes, static_cast<std::size_t>(byteLength))), wide,
                   wideLength);
}

}  // namespace pelluna::testing
