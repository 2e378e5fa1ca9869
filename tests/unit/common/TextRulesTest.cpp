// The text rules shared by the dialog and the saver: how a path gives way in a box too small for it.
#include "common/TextRules.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

namespace pelluna {
namespace {

TEST(ShortenedPath, APathTooLongForItsBoxKeepsAsMuchOfItsStartAsFitsAndItsWholeFileName) {
    // Paths, the characters that fit, what shows; never half a character of a surrogate pair.
    for (const auto& [path, room, shown] :
         {std::tuple{L"C:\\Music\\rain.mp3", 17u, L"C:\\Music\\rain.mp3"},
          {L"C:\\Music\\Albums\\Rainy season\\rain.mp3", 24u, L"C:\\Music\\Alb...\\rain.mp3"},
          {L"C:\\Music\\rain-on-the-window.mp3", 10u, L"...\\....mp3"},
          {L"C:\\\xD83C\xDF27xyz\\rain.mp3", 16u, L"C:\\...\\rain.mp3"},
          // Even "...\name" too long: the name's middle gives way, its extension stays; either separator.
          {L"C:\\Music\\a-very-long-file-name.mp3", 24u, L"...\\a-very-...e-name.mp3"},
          {L"C:/Music/a-very-long-file-name.mp3", 16u, L".../a-v...me.mp3"},
          {L"C:/Music/Albums/rain.mp3", 16u, L"C:/M.../rain.mp3"}}) {
        const auto fits = [room = room](std::wstring_view text) { return text.size() <= room; };
        EXPECT_EQ(ShortenedPath(path, fits), shown);
    }
}

}  // namespace
}  // namespace pelluna
