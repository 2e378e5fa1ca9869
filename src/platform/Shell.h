// Port over the shell32 calls the program makes: opening a document or address, the user's folders.
#pragma once

#include <string>

#include "platform/types.h"

namespace pelluna {

class Shell {
  public:
    virtual ~Shell() = default;

    // All texts NUL-terminated ANSI; the result is greater than 32 on success.
    virtual Handle ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                                 const char* directory, int showCmd) = 0;
    // The path of one of the user's folders (a CSIDL); empty when the system has none.
    virtual std::wstring SHGetFolderPathW(Hwnd hwnd, int csidl, Handle token, std::uint32_t flags) = 0;
};

}  // namespace pelluna
