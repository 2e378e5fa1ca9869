// The one way adapter code includes <windows.h>: after the portable constants, whose names the Win32
// macros would otherwise replace.
#pragma once

#include "platform/types.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>
// Left out by WIN32_LEAN_AND_MEAN: the file-open dialog, ShellExecute and the user's folders.
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
