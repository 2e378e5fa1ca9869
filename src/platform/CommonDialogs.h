// Port over the comdlg32 call the program makes: the system's file-open dialog.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

// The ANSI OPENFILENAME structure without the fields added in Windows 2000, field for field; the adapter
// copies it into the real structure and copies back what the system fills in.
struct OpenFileNameA {
    std::uint32_t lStructSize = 0;
    Hwnd hwndOwner = 0;
    Handle hInstance = 0;
    const char* lpstrFilter = nullptr;
    char* lpstrCustomFilter = nullptr;
    std::uint32_t nMaxCustFilter = 0;
    std::uint32_t nFilterIndex = 0;
    char* lpstrFile = nullptr;
    std::uint32_t nMaxFile = 0;
    char* lpstrFileTitle = nullptr;
    std::uint32_t nMaxFileTitle = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    std::uint32_t Flags = 0;
    std::uint16_t nFileOffset = 0;
    std::uint16_t nFileExtension = 0;
    const char* lpstrDefExt = nullptr;
    std::intptr_t lCustData = 0;
    const void* lpfnHook = nullptr;
    const char* lpTemplateName = nullptr;
};

class CommonDialogs {
  public:
    virtual ~CommonDialogs() = default;

    // Nonzero when the user picked a file; 0 when the dialog was cancelled or failed.
    virtual std::int32_t GetOpenFileNameA(OpenFileNameA& ofn) = 0;
};

}  // namespace pelluna
