// Port over the shell32 call the program makes: opening a document or address with its program.
#pragma once

#include "platform/types.h"

namespace pelluna {

class Shell {
  public:
    virtual ~Shell() = default;

    // All texts NUL-terminated ANSI; the result is greater than 32 on success.
    virtual Handle ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                                 const char* directory, int showCmd) = 0;
};

}  // namespace pelluna
