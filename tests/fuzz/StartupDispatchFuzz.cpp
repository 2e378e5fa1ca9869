// Fuzz target: command lines (ANSI bytes, as WinMain gets them) through the start-up dispatch.
#include <cstdint>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "RecordingModes.h"
#include "saver/SaverMode.h"
#include "settings/SettingsValues.h"

namespace pelluna::fuzz {
namespace {

using testing::RecordingModes;

using Calls = std::vector<std::string>;

enum class Others { None, SaverWindow, DialogWindow, Starting };

const std::string kFindSaver = R"(FindWindowA(null, "Pelluna_Main"))";
const std::string kFindDialog = R"(FindWindowA(null, "Pelluna\x82\xCC\x90\xDD\x92\xE8"))";
const std::string kFindEnglishDialog = R"(FindWindowA(null, "Pelluna Settings"))";
const std::string kClaim = R"(CreateMutexA(null, false, "Pelluna_SaverOrSettingsRunning"))";
const std::string kLook = R"(OpenMutexA(1048576, false, "Pelluna_SaverOrSettingsRunning"))";

// Runs Main as a fresh process would, with or without another instance, and returns the calls made
// (the settings file's reads left out: the settings loader has its own target).
Calls Run(const std::wstring& commandLine, Others others) {
    testing::ResetProcessValues();
    testing::FakePlatform fake(932);
    fake.user.showCursorResult = -7;
    if (others == Others::SaverWindow) fake.user.windowsByTitle["Pelluna_Main"] = 0x1111;
    if (others == Others::DialogWindow) fake.user.windowsByTitle["Pelluna\x82\xCC\x90\xDD\x92\xE8"] = 0x2222;
    if (others == Others::Starting) fake.kernel.mutexes.insert("Pelluna_SaverOrSettingsRunning");
    RecordingModes modes(fake.log);
    bool ended = false;
    try {
        Main(commandLine, fake.ports, modes);
    } catch (const testing::ProcessExit& exit) {
        Require(exit.exitCode == 0, "the process ends with code 0");
        ended = true;
    }
    Calls calls;
    for (const std::string& call : fake.log.Calls()) {
        if (call.rfind("GetPrivateProfileStringA(", 0) == 0 || call.rfind("CreateFileA(", 0) == 0 ||
            call.rfind("CloseHandle(", 0) == 0) {
            continue;
        }
        calls.push_back(call);
    }
    Require(ended == (!calls.empty() && calls.back() == "ExitProcess(0)"),
            "only ExitProcess ends the process");
    if (calls.back() == "LoadSaverWindow()" && commandLine.size() >= 2) {
        Require(gCursorCount == -7, "saver mode keeps what ShowCursor answered");
    }
    return calls;
}

// The preview handle when the text from the fourth character is plainly a decimal number of 9 digits
// or fewer; -1 when it is anything else.
std::int64_t PlainHandle(const std::wstring& commandLine) {
    if (commandLine.size() < 4) return 0;
    std::size_t i = 3;
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; i < commandLine.size() && commandLine[i] >= L'0' && commandLine[i] <= L'9'; ++i, ++digits) {
        value = value * 10 + (commandLine[i] - L'0');
        if (digits == 9) return -1;
    }
    if (i < commandLine.size() &&
        (commandLine[i] == L'.' || commandLine[i] == L'e' || commandLine[i] == L'E'))
        return -1;
    // No digits: 0, unless a sign or a point might start a number after all.
    if (digits == 0)
        return i < commandLine.size() &&
                       std::wstring_view(L"+-.").find(commandLine[i]) != std::wstring_view::npos
                   ? -1
                   : 0;
    return value;
}

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    // The command line reaches WinMain as NUL-terminated ANSI text, converted once on the way in.
    std::string_view bytes = AsText(data, size);
    bytes = bytes.substr(0, bytes.find('\0'));
    testing::FakeText text(932);
    const std::wstring commandLine = text.FromAnsi(bytes);

    const wchar_t letter = commandLine.size() < 2 ? L'\0' : commandLine[1];
    const wchar_t mode = letter >= L'a' && letter <= L'z' ? static_cast<wchar_t>(letter - 32) : letter;
    // No arguments (blanks at most) open the settings, as Explorer's Configure expects.
    const bool settings = mode == L'C' || commandLine.find_first_not_of(L" \t") == std::wstring::npos;
    const bool claims = mode == L'S' || settings;
    const Calls guard = claims ? Calls{kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, "GetLastError()"}
                               : Calls{kFindSaver, kFindDialog, kFindEnglishDialog, kLook};

    // Another instance, however it shows, ends this one before anything else happens.
    for (const Others others : {Others::SaverWindow, Others::DialogWindow, Others::Starting}) {
        Calls expected = guard;
        expected.push_back("ExitProcess(0)");
        Require(Run(commandLine, others) == expected, "a second instance ends at once");
    }

    Calls expected = guard;
    const Calls calls = Run(commandLine, Others::None);
    if (mode == L'P') {
        Require(calls.size() == guard.size() + 1 && calls.back().rfind("ShowPreview(", 0) == 0,
                "the preview mode only embeds the preview, without reading settings");
        const std::int64_t handle = PlainHandle(commandLine);
        if (handle >= 0) {
            Require(calls.back() == "ShowPreview(" + std::to_string(handle) + ")", "the preview handle");
        }
        return 0;
    }
    expected.push_back("GetModuleFileNameW()");  // the settings are loaded
    if (settings) {
        expected.insert(expected.end(), {"ShowSettingsDialog()", "ExitProcess(0)"});
    } else if (mode == L'S') {
        expected.insert(expected.end(), {"ShowCursor(0)", "SystemParametersInfoA(97, 4294967295, null, 0)",
                                         "LoadSaverWindow()"});
    } else {
        expected.push_back("ExitProcess(0)");
    }
    Require(calls == expected, "the dispatch table");
    return 0;
}
