// Fake of the ANSI code page port that converts with a chosen code page (932 or 1252), as the system would.
#include "FakeText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#endif

namespace pelluna::testing {

#ifdef _WIN32

std::string FakeText::ToAnsi(std::wstring_view text, bool* lossy) {
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage_, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, &usedDefault);
    std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage_, 0, text.data(), static_cast<int>(text.size()), result.data(), length,
                              nullptr, &usedDefault);
    }
    if (lossy) *lossy = usedDefault != FALSE;
    return result;
}

std::wstring FakeText::FromAnsi(std::string_view text) {
    const int length =
        ::MultiByteToWideChar(codePage_, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(codePage_, 0, text.data(), static_cast<int>(text.size()), result.data(),
                              length);
    }
    return result;
}

#else

namespace {

const char* IconvName(unsigned codePage) {
    return codePage == 932 ? "CP932" : "CP1252";
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

}  // namespace

std::string FakeText::ToAnsi(std::wstring_view text, bool* lossy) {
    if (lossy) *lossy = false;
    return Convert(IconvName(codePage_), "WCHAR_T", reinterpret_cast<const char*>(text.data()),
                   text.size() * sizeof(wchar_t), sizeof(wchar_t), "?", lossy);
}

std::wstring FakeText::FromAnsi(std::string_view text) {
    const std::string wide =
        Convert("WCHAR_T", IconvName(codePage_), text.data(), text.size(), 1,
                std::string_view(reinterpret_cast<const char*>(L"\u30FB"), sizeof(wchar_t)), nullptr);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
}

#endif

}  // namespace pelluna::testing
