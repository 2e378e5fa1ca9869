// Fake of the ANSI code page port that converts with a chosen code page (932 or 1252), as the system would.
#pragma once

#include "platform/Text.h"

namespace pelluna::testing {

class FakeText final : public Text {
  public:
    explicit FakeText(unsigned codePage = 932) : codePage_(codePage) {}
    unsigned CodePage() const { return codePage_; }

    // Characters without an ANSI form become '?', as with the system's default character.
    std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) override;
    std::wstring FromAnsi(std::string_view text) override;

  private:
    unsigned codePage_;
};

}  // namespace pelluna::testing
