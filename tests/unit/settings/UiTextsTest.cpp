// Which language a system gets, and that every language has every text a person reads.
#include "settings/UiTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pelluna {
namespace {

TEST(UiTexts, JapaneseOnlyWhereTheDisplayLanguageAndTheCodePageAreJapaneseAndEveryTextIsThere) {
    // Display language x code page: 0x0011 is Japanese without a region.
    for (const auto [uiLanguage, codePage, japanese] : {std::tuple{0x0411, 932u, true},
                                                        {0x0411, 1252u, false},
                                                        {0x0409, 932u, false},
                                                        {0x0409, 1252u, false},
                                                        {0x0804, 936u, false},
                                                        {0x0419, 1251u, false},
                                                        {0x0011, 932u, true},
                                                        {0x0411, 65001u, true},
                                                        {0x0409, 65001u, false}}) {
        EXPECT_EQ(ChooseUiLanguage(uiLanguage, codePage),
                  japanese ? UiLanguage::Japanese : UiLanguage::English)
            << std::hex << uiLanguage << " " << std::dec << codePage;
    }
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const UiTexts& t = TextsFor(language);
        std::vector<std::wstring_view> all = {t.dialogTitle, t.chooserTitle, t.filterName,  t.saveFailed,
                                              t.errorNumber, t.pathTooLong,  t.pathNotAnsi, t.folderNotAnsi};
        // Every label and button the dialog shows has words, whatever the layout carries; not the file's
        // path.
        for (const LayoutEntry& entry : DialogLayout()) {
            const bool shown = entry.kind == ControlKind::Label || entry.kind == ControlKind::Command;
            if (shown && !(entry.style & text_style::Border)) all.push_back(t.Caption(entry));
        }
        for (const std::wstring_view text : all) {
            const bool ascii =
                std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
            EXPECT_TRUE(!text.empty() && (ascii || language == UiLanguage::Japanese))
                << std::string(text.begin(), text.end());
        }
    }
    EXPECT_NE(TextsFor(UiLanguage::English).dialogTitle, TextsFor(UiLanguage::Japanese).dialogTitle);
}

}  // namespace
}  // namespace pelluna
