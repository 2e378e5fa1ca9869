// Recording fakes of the comdlg32 and shell32 ports: the file-open dialog with a scripted choice, and
// ShellExecuteA.
#include "FakeShell.h"

#include <algorithm>
#include <cstring>

namespace pelluna::testing {
namespace {

// A double-NUL-terminated list of texts, as one quoted run of bytes up to and with the final NUL.
std::string QuoteList(const char* list) {
    if (list == nullptr) return "null";
    std::size_t length = 0;
    while (list[length] != '\0' || list[length + 1] != '\0') ++length;
    return Quote(std::string_view(list, length + 2));
}

// A buffer the system fills: its size, and whether its first size bytes are all NUL.
std::string Buffer(const char* buffer, std::uint32_t size) {
    if (buffer == nullptr) return "null";
    const bool empty = std::all_of(buffer, buffer + size, [](char c) { return c == '\0'; });
    return "buffer " + std::to_string(size) + (empty ? " NUL" : " filled");
}

}  // namespace

std::int32_t FakeCommonDialogs::GetOpenFileNameA(OpenFileNameA& ofn) {
    log_.Add(Call("GetOpenFileNameA", ofn.lStructSize, ofn.hwndOwner, ofn.hInstance,
                  QuoteList(ofn.lpstrFilter), Quote(static_cast<const char*>(ofn.lpstrCustomFilter)),
                  ofn.nMaxCustFilter, ofn.nFilterIndex, Buffer(ofn.lpstrFile, ofn.nMaxFile), ofn.nMaxFile,
                  Buffer(ofn.lpstrFileTitle, ofn.nMaxFileTitle), ofn.nMaxFileTitle,
                  Quote(ofn.lpstrInitialDir), Quote(ofn.lpstrTitle), ofn.Flags, Quote(ofn.lpstrDefExt),
                  ofn.lCustData, ofn.lpfnHook, Quote(ofn.lpTemplateName)));
    if (!chosenFile || ofn.lpstrFile == nullptr || chosenFile->size() >= ofn.nMaxFile) return 0;
    std::memcpy(ofn.lpstrFile, chosenFile->c_str(), chosenFile->size() + 1);
    return 1;
}

Handle FakeShell::ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                                const char* directory, int showCmd) {
    log_.Add(Call("ShellExecuteA", hWnd, Quote(operation), Quote(file), Quote(parameters), Quote(directory),
                  showCmd));
    if (whileOpening) whileOpening();
    return 42;
}

std::wstring FakeShell::SHGetFolderPathW(Hwnd, int csidl, Handle, std::uint32_t) {
    return csidl == win::CSIDL_MYMUSIC ? musicFolder : std::wstring();
}

}  // namespace pelluna::testing
