// Test helper: prints the live GDI objects of a process, named by its id or by its file name (the one
// running process of that name), as "pid 32 gdi_objects 120", read from its GDI handle table.
#include <windows.h>
// tlhelp32.h needs the types of windows.h.
#include <tlhelp32.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "../../diagnostics/GdiObjectCount.h"

namespace {

bool AllDigits(const wchar_t* text) {
    if (*text == L'\0') return false;
    for (; *text != L'\0'; ++text) {
        if (!std::iswdigit(*text)) return false;
    }
    return true;
}

// The id of the one process with that file name; 0 (and a message) when there is none or several.
DWORD ProcessNamed(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    int found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) {
            pid = entry.th32ProcessID;
            ++found;
        }
    }
    CloseHandle(snapshot);
    if (found != 1) {
        std::puts(found == 0 ? "no such process" : "several such processes");
        return 0;
    }
    return pid;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::puts("usage: pelluna_gdi_count PROCESS_ID|PROGRAM.EXE");
        return 2;
    }
    DWORD pid = 0;
    if (AllDigits(argv[1])) {
        errno = 0;
        const unsigned long value = std::wcstoul(argv[1], nullptr, 10);
        if (errno != 0 || value == 0 || value > MAXDWORD) {
            std::puts("no such process id");
            return 1;
        }
        pid = static_cast<DWORD>(value);
    } else {
        pid = ProcessNamed(argv[1]);
        if (pid == 0) return 1;
    }

    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) {
        std::puts("cannot open the process");
        return 1;
    }
    const auto count = pelluna::diagnostics::CountGdiObjects(process);
    CloseHandle(process);
    if (!count) {
        std::puts("GDI handle table unreadable");
        return 1;
    }
    std::printf("pid %lu gdi_objects %llu\n", pid, static_cast<unsigned long long>(*count));
    return 0;
}
