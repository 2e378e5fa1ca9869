// Recording fakes of the comdlg32 and shell32 ports: the file-open dialog with a scripted choice, and
// ShellExecuteA.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "CallLog.h"
#include "platform/CommonDialogs.h"
#include "platform/Shell.h"

namespace pelluna::testing {

class FakeCommonDialogs final : public CommonDialogs {
  public:
    explicit FakeCommonDialogs(CallLog& log) : log_(log) {}

    // The path the user picks (ANSI bytes); none means the user cancels.
    std::optional<std::string> chosenFile;

    // Logs every field; the buffers as their size and whether they came all NUL.
    std::int32_t GetOpenFileNameA(OpenFileNameA& ofn) override;

  private:
    CallLog& log_;
};

class FakeShell final : public Shell {
  public:
    explicit FakeShell(CallLog& log) : log_(log) {}

    // The user's Music folder; empty: the system has none.
    std::wstring musicFolder = L"C:\\Users\\Ame\\Music";
    // Run while ShellExecuteA opens its file.
    std::function<void()> whileOpening;

    Handle ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                         const char* directory, int showCmd) override;
    std::wstring SHGetFolderPathW(Hwnd hwnd, int csidl, Handle token, std::uint32_t flags) override;

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
