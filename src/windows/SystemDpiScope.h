// Makes the windows of the settings mode system-DPI-aware, so the system scales the dialog on every monitor.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

// While it lives, windows made on this thread are system-DPI-aware: the dialog is laid out once at the
// system's DPI, and on a monitor of another scale the system scales it as a whole, where a per-monitor
// aware window would keep its pixel size. The saver and the preview stay per-monitor aware (physical
// pixels). The thread's former awareness comes back at the end. Windows before 10 (1607) lacks the call:
// there nothing changes.
class SystemDpiScope {
  public:
    SystemDpiScope();
    ~SystemDpiScope();
    SystemDpiScope(const SystemDpiScope&) = delete;
    SystemDpiScope& operator=(const SystemDpiScope&) = delete;

  private:
    using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    SetContext set_ = nullptr;
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace pelluna::win32
