// Makes the windows of the settings mode system-DPI-aware, so the system scales the dialog on every monitor.
#include "windows/SystemDpiScope.h"

namespace pelluna::win32 {

SystemDpiScope::SystemDpiScope() {
    // Looked up, not imported: an import the system lacks would keep the whole program from starting.
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
        set_ = reinterpret_cast<SetContext>(
            reinterpret_cast<void (*)()>(::GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    }
    if (set_ != nullptr) previous_ = set_(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
}

SystemDpiScope::~SystemDpiScope() {
    if (set_ != nullptr && previous_ != nullptr) set_(previous_);
}

}  // namespace pelluna::win32
