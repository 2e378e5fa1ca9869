// Identifiers of the resources compiled into Pelluna.scr, shared by the resource script and the code.
#pragma once

#define IDR_PREVIEW_PICTURE 101

// The Command button's state pictures: only their outer 4-pixel band is ever copied.
#define IDB_CMD_NORMAL 201
#define IDB_CMD_HIGHLIGHT 202
#define IDB_CMD_PRESSED 203
#define IDB_CMD_SELECTED 204
#define IDB_CMD_HIGHLIGHTSELECT 205
#define IDB_CMD_DISABLE 206

// The settings dialog's music-kind indicators, 12 x 12.
#define IDB_INDICATOR_UNSELECTED 211
#define IDB_INDICATOR_SELECTED 212

// The first icon in the file is the one the shell shows for the program.
#define IDI_UMBRELLA 100

// The cursor over the dialog's web address.
#define IDC_POINTING_HAND 300
