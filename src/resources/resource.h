// Identifiers of the resources compiled into Pelluna.scr, shared by the resource script and the code.
#pragma once

#define IDR_PREVIEW_PICTURE 101
