// Port over the system's ANSI code page: wide text inside the program, ANSI bytes at the API boundary.
#pragma once

#include <string>
#include <string_view>

namespace pelluna {

class Text {
  public:
    virtual ~Text() = default;

    // Wide to ANSI. When lossy is given it is set to whether any character had no ANSI form.
    virtual std::string ToAnsi(std::wstring_view text, bool* lossy = nullptr) = 0;
    virtual std::wstring FromAnsi(std::string_view text) = 0;
};

}  // namespace pelluna
