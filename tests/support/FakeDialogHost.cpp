// Recording fake of the settings dialog's host, with a small model of its controls and shading images.
#include "FakeDialogHost.h"

#include <array>

namespace pelluna::testing {

std::string ControlName(DialogControl control) {
    using C = DialogControl;
    static const std::map<C, const char*> names = {
        {C::Form, "Form"},           {C::Pic_C0, "Pic_C0"},     {C::Pic_C1, "Pic_C1"},
        {C::Cmd_Set, "Cmd_Set"},     {C::Cmd_Can, "Cmd_Can"},   {C::lbl9, "lbl9"},
        {C::lbl_URL, "lbl_URL"},     {C::Shape3_3, "Shape3_3"}, {C::lbl15, "lbl15"},
        {C::Img_BGM1, "Img_BGM1"},   {C::lbl_BGM1, "lbl_BGM1"}, {C::BGM_Repeat, "BGM_Repeat"},
        {C::lbl14, "lbl14"},         {C::Img_BGM0, "Img_BGM0"}, {C::lbl_BGM0, "lbl_BGM0"},
        {C::Img_BGM2, "Img_BGM2"},   {C::lbl_BGM2, "lbl_BGM2"}, {C::Cmd_BGM, "Cmd_BGM"},
        {C::lbl_Fname, "lbl_Fname"}, {C::Shape3_4, "Shape3_4"}, {C::lbl0, "lbl0"},
        {C::lbl3, "lbl3"},           {C::HS_Num, "HS_Num"},     {C::lbl4, "lbl4"},
        {C::Shape3_2, "Shape3_2"},   {C::lbl1, "lbl1"},         {C::lbl5, "lbl5"},
        {C::HS_Fast, "HS_Fast"},     {C::lbl7, "lbl7"},         {C::Shape3_5, "Shape3_5"},
        {C::lbl2, "lbl2"},           {C::lbl6, "lbl6"},         {C::HS_Size, "HS_Size"},
        {C::lbl8, "lbl8"},
    };
    const auto found = names.find(control);
    return found == names.end() ? "?" : found->second;
}

FakeDialogHost::FakeDialogHost(CallLog& log) : log_(log) {
    // What the real window starts with: the table's texts, bars at their minimum, the client sizes.
    for (const LayoutEntry& entry : DialogLayout()) {
        if (entry.kind == ControlKind::HScrollBar) values[entry.control] = entry.min;
        if (entry.kind == ControlKind::Label) texts[entry.control] = std::wstring(entry.text);
        if (entry.kind == ControlKind::Panel)
            clientSizes[entry.control] = {entry.width / 15, entry.height / 15};
    }
    clientSizes[DialogControl::Form] = {kDialogClientWidth / 15, kDialogClientHeight / 15};
}

void FakeDialogHost::Move(std::int32_t left, std::int32_t top) {
    log_.Add(Call("Host.Move", left, top));
}

void FakeDialogHost::Initialize(DialogControl control) {
    log_.Add(Call("Host.Initialize", ControlName(control)));
}

void FakeDialogHost::SetEnabled(DialogControl control, bool New_Enabled) {
    log_.Add(Call("Host.SetEnabled", ControlName(control), New_Enabled));
    enabled[control] = New_Enabled;
}

void FakeDialogHost::SetPicture(DialogControl control, IndicatorPicture picture) {
    log_.Add(Call("Host.SetPicture", ControlName(control),
                  picture == IndicatorPicture::Selected ? "Selected" : "Unselected"));
    pictures[control] = picture;
}

void FakeDialogHost::SetText(DialogControl control, const std::wstring& text) {
    log_.Add(Call("Host.SetText", ControlName(control)));
    texts[control] = text;
}

std::wstring FakeDialogHost::GetText(DialogControl control) {
    return texts[control];
}

void FakeDialogHost::AddItem(DialogControl control, const std::wstring& item) {
    log_.Add(Call("Host.AddItem", ControlName(control)));
    items[control].push_back(item);
}

bool FakeDialogHost::SetValue(DialogControl control, std::int32_t value) {
    log_.Add(Call("Host.SetValue", ControlName(control), value));
    if (!BarAccepts(control, value)) return false;
    values[control] = value;
    return true;
}

std::int32_t FakeDialogHost::GetValue(DialogControl control) {
    return values[control];
}

void FakeDialogHost::ClientSize(DialogControl surface, std::int32_t& nWidth, std::int32_t& nHeight) {
    log_.Add(Call("Host.ClientSize", ControlName(surface)));
    nWidth = clientSizes[surface].first;
    nHeight = clientSizes[surface].second;
}

void FakeDialogHost::Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                          std::int32_t y2, ColorRef color) {
    // Hundreds of rows: kept per surface rather than in the call log.
    lines[surface].push_back(DrawnLine{x1, y1, x2, y2, color});
}

void FakeDialogHost::SetFocus(DialogControl control) {
    log_.Add(Call("Host.SetFocus", ControlName(control)));
    focus = control;
}

void FakeDialogHost::ShowPressed(DialogControl control, bool pressed) {
    log_.Add(Call("Host.ShowPressed", ControlName(control), pressed));
}

void FakeDialogHost::SetMousePointer(MousePointer pointer) {
    log_.Add(Call("Host.SetMousePointer", pointer == MousePointer::Hourglass ? "Hourglass" : "Default"));
}

void FakeDialogHost::Unload() {
    log_.Add("Host.Unload()");
    unloaded = true;
}

}  // namespace pelluna::testing
