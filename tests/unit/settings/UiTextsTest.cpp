// Which language a system gets, and that every language has every text a person reads.
#include "settings/UiTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    const auto plainAscii = [](std::wstring_view text) {
        return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
    };
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const UiTexts& texts = TextsFor(language);
        const bool english = language == UiLanguage::English;
        for (const std::wstring_view text :
             {texts.dialogTitle, texts.chooserTitle, texts.filterName, texts.saveFailed, texts.errorNumber,
              texts.pathTooLong, texts.pathNotAnsi, texts.folderNotAnsi}) {
            EXPECT_FALSE(text.empty());
            if (english) EXPECT_TRUE(plainAscii(text)) << std::string(text.begin(), text.end());
        }
        // Every label and button the dialog shows has words, whatever the layout itself carries.
        for (const LayoutEntry& entry : DialogLayout()) {
            if (entry.kind != ControlKind::Label && entry.kind != ControlKind::Command) continue;
            if (entry.style & text_style::Border) continue;  // the music file's path
            const std::wstring_view caption = texts.Caption(entry);
            EXPECT_FALSE(caption.empty()) << static_cast<int>(entry.control);
            if (english) EXPECT_TRUE(plainAscii(caption));
        }
    }
    EXPECT_NE(TextsFor(UiLanguage::English).dialogTitle, TextsFor(UiLanguage::Japanese).dialogTitle);
}

}  // namespace
}  // namespace pelluna
