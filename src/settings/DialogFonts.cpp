// Which fonts the settings dialog draws in: its texts' font, and the one its Command buttons store.
#include "settings/DialogFonts.h"

namespace pelluna {

FontObject DialogTextFont(DialogFont font, const FontObject& messageFont) {
    return font == DialogFont::Japanese ? DesignFont() : messageFont;
}

FontObject DialogCommandFont(const FontObject& textFont, double growth) {
    return FontObject{textFont.Name, textFont.Size / growth, textFont.Weight, false, false,
                      false,         textFont.Charset};
}

}  // namespace pelluna
