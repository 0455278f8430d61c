#pragma once

#include "exam/typing.h"

namespace lexitka {

// Spanish accents and marks typed on the English layout, targets in windows-1252.
TypingTable spanishTypingTable();

} // namespace lexitka
