#pragma once

#include <QIcon>

namespace lexitka {

// The program's icon at every size it is drawn in (rendered from
// desktop/cz.lexitka.Lexitka.svg when the program is built).
QIcon applicationIcon();

// The sizes, in pixels, the icon comes in.
const QList<int> &applicationIconSizes();

} // namespace lexitka
