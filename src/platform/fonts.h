#pragma once

#include <QString>
#include <QStringList>

class QFont;

namespace lexitka {

// The program's two faces, sized in pixels as the windows are laid out.
QFont tahoma(int pixels, bool bold = false);
QFont verdana(int pixels, bool bold = false);
// Sized in points, for paper.
QFont tahomaPoints(qreal points, bool bold = false);

// Where Debian's fonts-wine puts Wine's fonts.
inline const QStringList kWineFontFolders{QStringLiteral("/usr/share/wine/fonts")};

// Tahoma is Verdana's narrow sibling. Where Tahoma is not installed, Wine's
// metric twin stands in; where neither it nor Verdana is, the matching
// DejaVu faces keep the captions inside their fixed-size buttons (DejaVu
// Sans has Verdana's metrics).
void installFontSubstitutes(const QStringList &wineFontFolders = kWineFontFolders);
// Wine's Tahoma files in the first of the folders that has them.
QStringList wineTahomaFiles(const QStringList &folders);

} // namespace lexitka
