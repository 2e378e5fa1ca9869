// The real comdlg32 and shell32 ports: the file-open dialog, ShellExecuteA and the user's folders.
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"

namespace pelluna::win32 {

std::int32_t Win32CommonDialogs::GetOpenFileNameA(OpenFileNameA& ofn) {
    // Field for field into the real structure, and back with what the system filled in.
    OPENFILENAMEA real{};
    real.lStructSize = ofn.lStructSize;
    real.hwndOwner = ToWin<HWND>(ofn.hwndOwner);
    real.hInstance = ToWin<HINSTANCE>(ofn.hInstance);
    real.lpstrFilter = ofn.lpstrFilter;
    real.lpstrCustomFilter = ofn.lpstrCustomFilter;
    real.nMaxCustFilter = ofn.nMaxCustFilter;
    real.nFilterIndex = ofn.nFilterIndex;
    real.lpstrFile = ofn.lpstrFile;
    real.nMaxFile = ofn.nMaxFile;
    real.lpstrFileTitle = ofn.lpstrFileTitle;
    real.nMaxFileTitle = ofn.nMaxFileTitle;
    real.lpstrInitialDir = ofn.lpstrInitialDir;
    real.lpstrTitle = ofn.lpstrTitle;
    real.Flags = ofn.Flags;
    real.lpstrDefExt = ofn.lpstrDefExt;
    real.lCustData = ofn.lCustData;
    real.lpfnHook = nullptr;  // the program never hooks the dialog
    real.lpTemplateName = ofn.lpTemplateName;
    const BOOL result = ::GetOpenFileNameA(&real);
    ofn.nFilterIndex = real.nFilterIndex;
    ofn.nFileOffset = real.nFileOffset;
    ofn.nFileExtension = real.nFileExtension;
    ofn.Flags = real.Flags;
    return result;
}

Handle Win32Shell::ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                                 const char* directory, int showCmd) {
    return FromWin(::ShellExecuteA(ToWin<HWND>(hWnd), operation, file, parameters, directory, showCmd));
}

std::wstring Win32Shell::SHGetFolderPathW(Hwnd hwnd, int csidl, Handle token, std::uint32_t flags) {
    wchar_t path[MAX_PATH] = {};
    const HRESULT result = ::SHGetFolderPathW(ToWin<HWND>(hwnd), csidl, ToWin<HANDLE>(token), flags, path);
    return result == S_OK ? std::wstring(path) : std::wstring();
}

}  // namespace pelluna::win32
