// The settings dialog's controls: one table of their kinds, places, sizes, texts and properties, in twips.
#include "settings/DialogLayout.h"

#include <algorithm>
#include <array>

namespace pelluna {
namespace {

using C = DialogControl;
using K = ControlKind;
using namespace text_style;

constexpr std::array kLayout = {
    // On the dialog.
    LayoutEntry{C::Pic_C0, C::Form, K::Panel, 240, 300, 6615, 2175, L""},
    LayoutEntry{C::Pic_C1, C::Form, K::Panel, 240, 2640, 5175, 1575, L""},
    LayoutEntry{C::Cmd_Set, C::Form, K::Command, 5580, 2640, 1275, 375, L""},
    LayoutEntry{C::Cmd_Can, C::Form, K::Command, 5580, 3120, 1275, 375, L""},
    LayoutEntry{C::lbl9, C::Form, K::Label, 240, 4320, 2475, 195, L"", White | AutoSize},
    LayoutEntry{C::lbl_URL, C::Form, K::Label, 2880, 4320, 3210, 195, kAddress, White | Underline | AutoSize},
    // On the music panel.
    LayoutEntry{C::Shape3_3, C::Pic_C0, K::Shape, 300, 180, 1695, 315, L""},
    LayoutEntry{C::lbl15, C::Pic_C0, K::Label, 300, 240, 1665, 195, L"", Centred},
    LayoutEntry{C::Img_BGM1, C::Pic_C0, K::Image, 300, 600, 195, 195, L""},
    LayoutEntry{C::lbl_BGM1, C::Pic_C0, K::Label, 540, 600, 645, 195, L"", AutoSize},
    LayoutEntry{C::BGM_Repeat, C::Pic_C0, K::ComboBox, 1380, 540, 615, 315, L""},
    LayoutEntry{C::lbl14, C::Pic_C0, K::Label, 2040, 600, 990, 195, L"", AutoSize},
    LayoutEntry{C::Img_BGM0, C::Pic_C0, K::Image, 300, 900, 195, 195, L""},
    LayoutEntry{C::lbl_BGM0, C::Pic_C0, K::Label, 540, 900, 345, 195, L"", AutoSize},
    LayoutEntry{C::Img_BGM2, C::Pic_C0, K::Image, 300, 1200, 195, 195, L""},
    LayoutEntry{C::lbl_BGM2, C::Pic_C0, K::Label, 540, 1200, 900, 195, L"", AutoSize},
    LayoutEntry{C::Cmd_BGM, C::Pic_C0, K::Command, 540, 1440, 435, 375, L"..."},
    LayoutEntry{C::lbl_Fname, C::Pic_C0, K::Label, 1020, 1440, 5355, 435, L"", Border},
    // On the ripple panel, one row per setting; each bar has its minimum next to the word for little.
    LayoutEntry{C::Shape3_4, C::Pic_C1, K::Shape, 240, 180, 1695, 315, L""},
    LayoutEntry{C::lbl0, C::Pic_C1, K::Label, 240, 240, 1665, 195, L"", Centred},
    LayoutEntry{C::lbl3, C::Pic_C1, K::Label, 2100, 240, 585, 195, L"", AutoSize},
    LayoutEntry{C::HS_Num, C::Pic_C1, K::HScrollBar, 2820, 180, 1275, 255, L"", 0, 10, 50, 1, 1},
    LayoutEntry{C::lbl4, C::Pic_C1, K::Label, 4200, 240, 405, 195, L"", AutoSize},
    LayoutEntry{C::Shape3_2, C::Pic_C1, K::Shape, 240, 600, 1695, 315, L""},
    LayoutEntry{C::lbl1, C::Pic_C1, K::Label, 240, 660, 1665, 195, L"", Centred},
    LayoutEntry{C::lbl5, C::Pic_C1, K::Label, 2220, 660, 405, 195, L"", AutoSize},
    LayoutEntry{C::HS_Fast, C::Pic_C1, K::HScrollBar, 2820, 600, 1275, 255, L"", 0, 50, 150, 1, 10},
    LayoutEntry{C::lbl7, C::Pic_C1, K::Label, 4200, 660, 405, 195, L"", AutoSize},
    LayoutEntry{C::Shape3_5, C::Pic_C1, K::Shape, 240, 1020, 1695, 315, L""},
    LayoutEntry{C::lbl2, C::Pic_C1, K::Label, 240, 1080, 1665, 195, L"", Centred},
    LayoutEntry{C::lbl6, C::Pic_C1, K::Label, 2115, 1080, 555, 195, L"", AutoSize},
    LayoutEntry{C::HS_Size, C::Pic_C1, K::HScrollBar, 2820, 1020, 1275, 255, L"", 0, 50, 150, 1, 10},
    LayoutEntry{C::lbl8, C::Pic_C1, K::Label, 4200, 1080, 555, 195, L"", AutoSize},
};

}  // namespace

std::span<const LayoutEntry> DialogLayout() {
    return kLayout;
}

std::int32_t TextRoom(const LayoutEntry& entry) {
    if (!(entry.style & text_style::AutoSize)) return entry.width;
    const LayoutEntry* parent = FindControl(entry.parent);
    std::int32_t right = parent ? parent->width : kDialogClientWidth;
    for (const LayoutEntry& other : kLayout) {
        const bool sameRow = other.top < entry.top + entry.height && entry.top < other.top + other.height;
        if (other.parent == entry.parent && sameRow && other.left > entry.left) {
            right = std::min(right, other.left);
        }
    }
    return right - entry.left;
}

double LayoutGrowth(const std::function<std::optional<TextExtent>(const LayoutEntry&)>& measure,
                    double pixelsPerTwip, const WindowRoom& room) {
    constexpr double kMostGrowth = 3.0;
    // A room that grew keeps a little air: each edge is rounded to whole pixels on its own, which may take
    // one off it, and a text should not touch the control after it.
    constexpr double kRounding = 3.0;
    double growth = 1.0;
    for (const LayoutEntry& entry : kLayout) {
        const std::optional<TextExtent> extent = measure(entry);
        if (!extent) continue;
        const std::int32_t bands = entry.kind == K::Command ? 2 * kCommandBand : 0;
        const double room = (TextRoom(entry) - bands) * pixelsPerTwip;
        if (room > 0 && extent->width > room) growth = std::max(growth, (extent->width + kRounding) / room);
        // The height is whole pixels, rounded.
        const double height = entry.height * pixelsPerTwip;
        if (!(entry.style & AutoSize) && entry.height > 0 && extent->glyphHeight > height + 0.5) {
            growth = std::max(growth, (extent->glyphHeight + 0.5) / height);
        }
    }
    // The client area is its twips times the growth in pixels, rounded: a growth up to the room's own
    // ratio never rounds past it.
    const double widthRoom = room.workArea.right - room.workArea.left - room.frameWidth;
    const double heightRoom = room.workArea.bottom - room.workArea.top - room.frameHeight;
    const double fitting = std::min(widthRoom / (kDialogClientWidth * pixelsPerTwip),
                                    heightRoom / (kDialogClientHeight * pixelsPerTwip));
    return std::max(1.0, std::min({growth, kMostGrowth, fitting}));
}

Point PlaceWithin(const Rect& workArea, Point wanted, std::int32_t width, std::int32_t height) {
    // The right and bottom edges first, so that the left and top ones win where the window is too large.
    return Point{std::max(workArea.left, std::min(wanted.x, workArea.right - width)),
                 std::max(workArea.top, std::min(wanted.y, workArea.bottom - height))};
}

const LayoutEntry* FindControl(DialogControl control) {
    for (const LayoutEntry& entry : kLayout) {
        if (entry.control == control) return &entry;
    }
    return nullptr;
}

bool BarAccepts(DialogControl bar, std::int32_t value) {
    const LayoutEntry* entry = FindControl(bar);
    return entry != nullptr && value >= entry->min && value <= entry->max;
}

}  // namespace pelluna
