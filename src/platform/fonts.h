#pragma once

#include <QtGlobal>

class QFont;

namespace lexitka {

// The program's two faces, sized in pixels as the windows are laid out.
QFont tahoma(int pixels, bool bold = false);
QFont verdana(int pixels, bool bold = false);
// Sized in points, for paper.
QFont tahomaPoints(qreal points, bool bold = false);

// Tahoma is Verdana's narrow sibling; where neither is installed, the
// matching DejaVu faces keep the captions inside their fixed-size buttons.
void installFontSubstitutes();

} // namespace lexitka
