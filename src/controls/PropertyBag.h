// The keyed store of texts in which a host keeps a control's property values; keys ignore letter case.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelluna {

class PropertyBag {
  public:
    // The text stored under key, or defaultValue when there is none.
    std::wstring ReadProperty(std::wstring_view key, std::wstring_view defaultValue) const;
    std::optional<std::wstring> Find(std::wstring_view key) const;
    // Stores value under key. A value equal to its default is not stored, and an older value of the key
    // goes with it, so the next read gives the reader's default.
    void WriteProperty(std::wstring_view key, std::wstring_view value, std::wstring_view defaultValue);
    // Every stored key with its text, in the order of the keys without regard to case: what a save stored,
    // for whoever needs to look inside (tests, diagnostics).
    std::vector<std::pair<std::wstring, std::wstring>> Entries() const;

  private:
    // Keys are compared with the letters A to Z folded to lower case; they are ASCII names.
    struct KeyLess {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };
    std::map<std::wstring, std::wstring, KeyLess> values_;
};

}  // namespace pelluna
