// Which fonts the settings dialog draws in: its texts' font, and the one its Command buttons store.
#pragma once

#include "controls/FontObject.h"
#include "settings/UiTexts.h"

namespace pelluna {

// The font of the dialog's texts: the design font for the Japanese texts, else the system's message font.
FontObject DialogTextFont(DialogFont font, const FontObject& messageFont);

// The font a Command button of the dialog stores: the texts' face, weight and character set, plain, and
// its size divided by the layout's growth. The button converts points at the dialog's grown twips per pixel,
// so its caption comes out as large as the dialog's texts.
FontObject DialogCommandFont(const FontObject& textFont, double growth);

}  // namespace pelluna
