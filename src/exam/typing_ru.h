#pragma once

#include "exam/typing.h"

namespace lexitka {

// The Cyrillic typing table: a character of the English layout and the
// windows-1251 letter it becomes, 66 pairs. Q, q and the rest stay as typed.
TypingTable cyrillicTypingTable();

} // namespace lexitka
