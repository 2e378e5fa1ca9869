// Which language a system gets, and that every language has every text a person reads.
#include "settings/UiTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pelluna {
namespace {

TEST(UiTexts, JapaneseOnlyWhereTheDisplayLanguageAndTheCodePageAreJapanese) {
    struct Case {
        std::uint16_t uiLanguage;
        std::uint32_t codePage;
        UiLanguage expected;
    };
    for (const Case& c : {Case{0x0411, 932, UiLanguage::Japanese}, Case{0x0411, 1252, UiLanguage::English},
                          Case{0x0409, 932, UiLanguage::English}, Case{0x0409, 1252, UiLanguage::English},
                          Case{0x0804, 936, UiLanguage::English}, Case{0x0419, 1251, UiLanguage::English},
                          Case{0x0011, 932, UiLanguage::Japanese}}) {
        EXPECT_EQ(ChooseUiLanguage(c.uiLanguage, c.codePage), c.expected)
            << std::hex << c.uiLanguage << " " << std::dec << c.codePage;
    }
}

TEST(UiTexts, EveryLanguageHasEveryTextAndEnglishIsPlainAscii) {
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const UiTexts& texts = TextsFor(language);
        std::vector<std::wstring_view> all = {texts.dialogTitle, texts.chooserTitle, texts.filterName,
                                              texts.saveFailed,  texts.errorNumber,  texts.pathTooLong,
                                              texts.pathNotAnsi, texts.folderNotAnsi};
        // Every label and button the dialog shows has words, whatever the layout carries; not the file's
        // path.
        for (const LayoutEntry& entry : DialogLayout()) {
            const bool shown = entry.kind == ControlKind::Label || entry.kind == ControlKind::Command;
            if (shown && !(entry.style & text_style::Border)) all.push_back(texts.Caption(entry));
        }
        for (const std::wstring_view text : all) {
            EXPECT_FALSE(text.empty());
            if (language == UiLanguage::English) {
                EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](wchar_t c) {
                    return c >= 0x20 && c < 0x7F;
                })) << std::string(text.begin(), text.end());
            }
        }
    }
    EXPECT_NE(TextsFor(UiLanguage::English).dialogTitle, TextsFor(UiLanguage::Japanese).dialogTitle);
}

}  // namespace
}  // namespace pelluna
