// The keyed store of texts in which a host keeps a control's property values; keys ignore letter case.
#include "controls/PropertyBag.h"

#include <algorithm>

namespace pelluna {
namespace {

wchar_t Folded(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool PropertyBag::KeyLess::operator()(std::wstring_view a, std::wstring_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return Folded(x) < Folded(y); });
}

std::optional<std::wstring> PropertyBag::Find(std::wstring_view key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::wstring PropertyBag::ReadProperty(std::wstring_view key, std::wstring_view defaultValue) const {
    return Find(key).value_or(std::wstring(defaultValue));
}

void PropertyBag::WriteProperty(std::wstring_view key, std::wstring_view value,
                                std::wstring_view defaultValue) {
    const auto found = values_.find(key);
    if (value == defaultValue) {
        if (found != values_.end()) values_.erase(found);
        return;
    }
    if (found != values_.end()) {
        found->second = std::wstring(value);
    } else {
        values_.emplace(std::wstring(key), std::wstring(value));
    }
}

std::vector<std::pair<std::wstring, std::wstring>> PropertyBag::Entries() const {
    return {values_.begin(), values_.end()};
}

}  // namespace pelluna
