#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace oplix::artwork {

// The one palette of the skin: calm blue-grey panels, a navy title colour, white cards.
namespace palette {
inline const QColor kNavy{42, 69, 102};
inline const QColor kNavyLight{63, 98, 140};
inline const QColor kBlue{66, 114, 166};
inline const QColor kBlueLight{122, 152, 189};  // menu rows: dark grey and white both read on it
inline const QColor kPanelTop{236, 241, 247};
inline const QColor kPanelBottom{214, 224, 236};
inline const QColor kFrame{220, 229, 240};
inline const QColor kCard{255, 255, 255};
inline const QColor kCardBorder{184, 199, 217};
inline const QColor kSoftLine{221, 229, 238};
inline const QColor kInk{46, 46, 46};  // the dark grey of the program's own texts
inline const QColor kInkSoft{88, 100, 116};
inline const QColor kOnNavy{255, 255, 255};
inline const QColor kNote{255, 248, 220};
inline const QColor kNoteBorder{222, 196, 120};
}  // namespace palette

// The colours of an answer letter in its four states: not marked, marked (or rightly chosen),
// should have been chosen, chosen wrongly.
namespace states {
inline const QColor kPlain{30, 30, 30};
inline const QColor kGreen{28, 150, 58};
inline const QColor kYellow{238, 186, 0};
inline const QColor kRed{212, 45, 40};
inline const QColor kPlainTile{244, 247, 251};
inline const QColor kGreenTile{226, 245, 230};
inline const QColor kYellowTile{255, 246, 206};
inline const QColor kRedTile{252, 228, 227};
}  // namespace states

inline constexpr const char* kFontFamily = "DejaVu Sans";

// Sizes in pixels, so that the pictures do not depend on a screen's resolution.
inline QFont SkinFont(int pixelSize, bool bold = false) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace oplix::artwork
