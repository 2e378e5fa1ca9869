// Fake of the text conversion port that converts with a chosen code page (932, 1252 or 65001) by the system's
// documented rules.
#pragma once

#include "platform/Text.h"

namespace pelluna::testing {

class FakeText final : public Text {
  public:
    explicit FakeText(unsigned codePage = 932) : codePage_(codePage) {}
    unsigned CodePage() const { return codePage_; }

    // CP_ACP is the chosen code page. A character without a form becomes '?' and raises usedDefaultChar.
    // Under the UTF-8 code page a flag, a default character or usedDefaultChar makes the call fail, as
    // Windows documents (Wine does not check).
    int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide, int wideLength,
                            char* bytes, int byteLength, const char* defaultChar,
                            bool* usedDefaultChar) override;
    int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes, int byteLength,
                            wchar_t* wide, int wideLength) override;

  private:
    unsigned codePage_;
};

}  // namespace pelluna::testing
