// The settings dialog's controls: one table of their kinds, places, sizes, texts and properties, in twips.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "platform/types.h"

namespace pelluna {

// Every control of the dialog; Form is the dialog itself. Control arrays are flattened: lbl(9) is lbl9,
// Img_BGM(1) is Img_BGM1, Pic_C(0) is Pic_C0.
enum class DialogControl {
    Form,
    Pic_C0,
    Pic_C1,
    Cmd_Set,
    Cmd_Can,
    lbl9,
    lbl_URL,
    // on the music panel
    Shape3_3,
    lbl15,
    Img_BGM1,
    lbl_BGM1,
    BGM_Repeat,
    lbl14,
    Img_BGM0,
    lbl_BGM0,
    Img_BGM2,
    lbl_BGM2,
    Cmd_BGM,
    lbl_Fname,
    // on the ripple panel
    Shape3_4,
    lbl0,
    lbl3,
    HS_Num,
    lbl4,
    Shape3_2,
    lbl1,
    lbl5,
    HS_Fast,
    lbl7,
    Shape3_5,
    lbl2,
    lbl6,
    HS_Size,
    lbl8,
};

enum class ControlKind { Panel, Command, Label, Image, Shape, ComboBox, HScrollBar };

// Properties of texts (labels) that the table switches on.
namespace text_style {
constexpr unsigned Centred = 1;    // keeps its width and centres its text
constexpr unsigned White = 2;      // white instead of the system's text colour
constexpr unsigned Underline = 4;  // underlined font
constexpr unsigned AutoSize = 8;   // sizes itself to its text
constexpr unsigned Border = 16;    // single-line border
}  // namespace text_style

struct LayoutEntry {
    DialogControl control;
    DialogControl parent;  // Form, Pic_C0 or Pic_C1
    ControlKind kind;
    // Place in the parent's client area and size, in twips.
    std::int32_t left, top, width, height;
    std::wstring_view text;  // a text that is the same in every language (the words are in UiTexts)
    unsigned style = 0;      // text_style flags
    // Scroll bars: range, the step of an arrow and the step of a click in the trough.
    std::int32_t min = 0, max = 0, smallChange = 0, largeChange = 0;
};

// The dialog's client area in twips (476 x 315 pixels at 15 twips per pixel).
inline constexpr std::int32_t kDialogClientWidth = 7140;
inline constexpr std::int32_t kDialogClientHeight = 4725;

inline constexpr std::wstring_view kCreditLine = L"Pelluna Version 1.0.0";
inline constexpr std::wstring_view kAddress = L"https://pelluna.example.org/";

// Every control, parents before their children, in the order they are created.
std::span<const LayoutEntry> DialogLayout();

// The width in twips that a control's text may take without being cut or meeting another control: its own
// width, or for a label that sizes itself to its text, the room up to the next control on its row or the
// edge of its parent.
std::int32_t TextRoom(const LayoutEntry& entry);

// The row of a control in the table; nullptr for Form.
const LayoutEntry* FindControl(DialogControl control);

// The texts and images that take clicks of the mouse: the music kind's rows and the address.
inline constexpr std::array kClickable = {
    DialogControl::Img_BGM0, DialogControl::Img_BGM1, DialogControl::Img_BGM2, DialogControl::lbl_BGM0,
    DialogControl::lbl_BGM1, DialogControl::lbl_BGM2, DialogControl::lbl_URL};

// Whether a scroll bar takes a value: one within its range.
bool BarAccepts(DialogControl bar, std::int32_t value);

// Painted parts that the table does not size, in twips, so that they grow with the dialog: the indicator
// squares, and the margin of the focus rectangle and of the path box's text.
inline constexpr std::int32_t kIndicatorSide = 180;
inline constexpr std::int32_t kPaintMargin = 15;
// The band a Command's face keeps free of its caption on each side.
inline constexpr std::int32_t kCommandBand = 60;

// A caption's size in pixels in the font it is drawn in: its width, and the font's glyph height.
struct TextExtent {
    std::int32_t width = 0;
    std::int32_t glyphHeight = 0;
};

// The room the system gives the dialog's window, in pixels: its monitor's work area, and what its frame and
// title bar add to the client area's width and height.
struct WindowRoom {
    Rect workArea;
    std::int32_t frameWidth = 0;
    std::int32_t frameHeight = 0;
};

// How much the whole layout grows so that every caption fits its place in its font: each within its room
// (TextRoom; a Command's less its bands), and the glyphs of a text that does not size itself within its
// height. 1 when all fit, as they do in the fonts the layout was made for; at most 3, and no more than
// keeps the whole window within the room (a text that still needs more then ends in an ellipsis); never
// below 1. measure gives an entry's caption extent, none for an entry without one; pixelsPerTwip is the
// screen's.
double LayoutGrowth(const std::function<std::optional<TextExtent>(const LayoutEntry&)>& measure,
                    double pixelsPerTwip, const WindowRoom& room);

// Where a window of this size in pixels stands: the place wanted, moved as little as it takes for the
// whole window to lie within the work area; a window larger than it keeps its top-left corner in sight.
Point PlaceWithin(const Rect& workArea, Point wanted, std::int32_t width, std::int32_t height);

}  // namespace pelluna
