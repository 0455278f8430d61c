#pragma once

#include "exam/typing.h"

namespace lexitka {

// French accents typed on the English layout, targets in windows-1252;
// y and z (and Y and Z) change places.
TypingTable frenchTypingTable();

} // namespace lexitka
