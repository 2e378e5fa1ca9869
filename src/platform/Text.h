// Port over the system's text conversions: wide text inside the program, ANSI bytes (the code page of the
// programs that are not Unicode) at the API boundary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelluna {

class Text {
  public:
    virtual ~Text() = default;

    // The system's conversions, argument for argument (usedDefaultChar as the flag it points to).
    virtual int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide,
                                    int wideLength, char* bytes, int byteLength, const char* defaultChar,
                                    bool* usedDefaultChar) = 0;
    virtual int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes,
                                    int byteLength, wchar_t* wide, int wideLength) = 0;

    // Wide to ANSI. When lossy is given it is set to whether the bytes fail to read back as the text: a
    // character without an ANSI form, or with a look-alike only.
    std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr);
    std::wstring FromAnsi(std::string_view text);
};

}  // namespace pelluna
