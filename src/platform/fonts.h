#pragma once

namespace lexitka {

// Tahoma is Verdana's narrow sibling; where neither is installed, the
// matching DejaVu faces keep the captions inside their fixed-size buttons.
void installFontSubstitutes();

} // namespace lexitka
