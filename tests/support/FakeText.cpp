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

// Windows documents that under the UTF-8 code page a flag, a default character or usedDefaultChar fails the
// call; Wine does not check.
bool RefusedByUtf8(unsigned codePage, std::uint32_t flags, const char* defaultChar,
                   const bool* usedDefaultChar) {
    return codePage == kUtf8 && (flags != 0 || defaultChar != nullptr || usedDefaultChar != nullptr);
}

#ifndef _WIN32

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

// What the call hands back: the length it needs when given no room, 0 when the room is too small.
template <class Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* out, int outLength) {
    const int needed = static_cast<int>(converted.size());
    if (outLength == 0) return needed;
    if (out == nullptr || outLength < needed) return 0;
    std::copy(converted.begin(), converted.end(), out);
    return needed;
}

#endif

}  // namespace

int FakeText::WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide,
                                  int wideLength, char* bytes, int byteLength, const char* defaultChar,
                                  bool* usedDefaultChar) {
    const unsigned page = codePage == kThisCodePage ? codePage_ : codePage;
    if (RefusedByUtf8(page, flags, defaultChar, usedDefaultChar)) return 0;
#ifdef _WIN32
    BOOL used = FALSE;
    const int length = ::WideCharToMultiByte(page, flags, wide, wideLength, bytes, byteLength, defaultChar,
                                             usedDefaultChar ? &used : nullptr);
#else
    // What UTF-8 cannot take (half a surrogate pair) becomes U+FFFD; in the other code pages a character
    // without a form becomes '?'.
    bool used = false;
    const int length = Deliver(Convert(IconvName(page), "WCHAR_T", reinterpret_cast<const char*>(wide),
                                       static_cast<std::size_t>(wideLength) * sizeof(wchar_t),
                                       sizeof(wchar_t), page == kUtf8 ? "\xEF\xBF\xBD" : "?", &used),
                               bytes, byteLength);
#endif
    if (usedDefaultChar) *usedDefaultChar = used;
    return length;
}

int FakeText::MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes,
                                  int byteLength, wchar_t* wide, int wideLength) {
    const unsigned page = codePage == kThisCodePage ? codePage_ : codePage;
#ifdef _WIN32
    return ::MultiByteToWideChar(page, flags, bytes, byteLength, wide, wideLength);
#else
    (void)flags;
    const wchar_t replacement = page == kUtf8 ? L'\uFFFD' : L'\u30FB';
    const std::string converted =
        Convert("WCHAR_T", IconvName(page), bytes, static_cast<std::size_t>(byteLength), 1,
                std::string_view(reinterpret_cast<const char*>(&replacement), sizeof(wchar_t)), nullptr);
    return Deliver(
        std::wstring(reinterpret_cast<const wchar_t*>(converted.data()), converted.size() / sizeof(wchar_t)),
        wide, wideLength);
#endif
}

}  // namespace pelluna::testing
