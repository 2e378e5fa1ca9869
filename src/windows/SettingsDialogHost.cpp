// The settings dialog's side of its DialogHost port: what its logic reads from and sets on the real window
// and controls.
#include "windows/SettingsDialog.h"

#include "platform/win32/HandleCast.h"
#include "windows/WindowClass.h"

namespace pelluna::win32 {

using C = DialogControl;

Hwnd SettingsDialog::hWnd() {
    return FromWin(window_);
}

Handle SettingsDialog::hInstance() {
    return FromWin(instance_);
}

std::int32_t SettingsDialog::ScreenWidth() {
    return Rounded(::GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel_);
}

std::int32_t SettingsDialog::ScreenHeight() {
    return Rounded(::GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel_);
}

std::int32_t SettingsDialog::Width() {
    RECT r{};
    ::GetWindowRect(window_, &r);
    return Rounded((r.right - r.left) * twipsPerPixel_);
}

std::int32_t SettingsDialog::Height() {
    RECT r{};
    ::GetWindowRect(window_, &r);
    return Rounded((r.bottom - r.top) * twipsPerPixel_);
}

void SettingsDialog::Move(std::int32_t left, std::int32_t top) {
    // Wherever the place asked for lies, the whole window stays within the work area of its monitor.
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const Point wanted{ToPixels(left), ToPixels(top)};
    const Point place =
        PlaceWithin(WorkArea(Point{wanted.x + width / 2, wanted.y + height / 2}), wanted, width, height);
    ::SetWindowPos(window_, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::Initialize(DialogControl control) {
    if (CommandButton* button = At(control).button.get()) button->Logic().Initialize();
}

void SettingsDialog::SetEnabled(DialogControl control, bool New_Enabled) {
    At(control).enabled = New_Enabled;
    if (CommandButton* button = At(control).button.get()) {
        button->Logic().Enabled(New_Enabled);
        return;
    }
    if (HWND window = At(control).window) ::EnableWindow(window, New_Enabled ? TRUE : FALSE);
}

void SettingsDialog::ShowPressed(DialogControl control, bool pressed) {
    if (CommandButton* button = At(control).button.get()) button->Logic().KeyPressLook(pressed);
}

void SettingsDialog::SetPicture(DialogControl control, IndicatorPicture picture) {
    Control& image = At(control);
    image.picture = picture;
    ::InvalidateRect(WindowOf(image.entry->parent), &image.rect, FALSE);
}

void SettingsDialog::SetText(DialogControl control, const std::wstring& text) {
    Control& target = At(control);
    target.text = text;
    if (target.window != nullptr) {
        ::SetWindowTextW(target.window, text.c_str());
        return;
    }
    ::InvalidateRect(WindowOf(target.entry->parent), &target.rect, FALSE);
}

std::wstring SettingsDialog::GetText(DialogControl control) {
    Control& source = At(control);
    if (source.window == nullptr) return source.text;
    const int length = ::GetWindowTextLengthW(source.window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = ::GetWindowTextW(source.window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SettingsDialog::AddItem(DialogControl control, const std::wstring& item) {
    ::SendMessageW(At(control).window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool SettingsDialog::SetValue(DialogControl control, std::int32_t value) {
    if (!BarAccepts(control, value)) return false;
    At(control).value = value;
    ::SetScrollPos(At(control).window, SB_CTL, value, TRUE);
    return true;
}

std::int32_t SettingsDialog::GetValue(DialogControl control) {
    return At(control).value;
}

void SettingsDialog::ClientSize(DialogControl surface, std::int32_t& width, std::int32_t& height) {
    ClientSizeOf(WindowOf(surface), width, height);
}

void SettingsDialog::Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                          std::int32_t y2, ColorRef color) {
    HDC image = ImageOf(surface).dc();
    if (image == nullptr) return;
    ScopedSelect pen(image, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(image, color);
    ::MoveToEx(image, x1, y1, nullptr);
    ::LineTo(image, x2, y2);
    ::InvalidateRect(WindowOf(surface), nullptr, FALSE);
}

std::optional<DialogControl> SettingsDialog::FocusedControl() {
    HWND focus = ::GetFocus();
    if (focus == nullptr) return std::nullopt;
    if (focusedName_ && focus == At(At(*focusedName_).entry->parent).window) return focusedName_;
    // The focus may sit in a part of a control (the track list's edit field); panels hold no focus.
    for (const Control& control : controls_) {
        if (control.entry == nullptr || control.window == nullptr ||
            control.entry->kind == ControlKind::Panel)
            continue;
        if (control.window == focus || ::IsChild(control.window, focus)) return control.entry->control;
    }
    return std::nullopt;
}

void SettingsDialog::SetFocus(DialogControl control) {
    const Control& target = At(control);
    if (target.entry == nullptr) return;
    if (target.window != nullptr) {
        ::SetFocus(target.window);
        return;
    }
    // A drawn name: its panel holds the focus, and the rectangle moves to the name.
    HWND panel = At(target.entry->parent).window;
    if (panel == nullptr) return;
    focusedName_ = control;
    if (::GetFocus() == panel) {
        ::InvalidateRect(panel, nullptr, FALSE);
    } else {
        ::SetFocus(panel);
    }
}

bool SettingsDialog::IsEnabled(DialogControl control) {
    return At(control).enabled;
}

bool SettingsDialog::DroppedDown(DialogControl control) {
    HWND window = At(control).window;
    return window != nullptr && ::SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void SettingsDialog::SetMousePointer(MousePointer pointer) {
    ::SetCursor(CursorFor(pointer));
}

void SettingsDialog::Unload() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    destroyed_ = true;
    ::DestroyWindow(window);
}

}  // namespace pelluna::win32
