#pragma once

#include "data/codepage.h"

#include <QByteArray>

#include <optional>
#include <span>
#include <utility>

namespace lexitka {

// A typing table: pairs of (byte typed on the English layout, byte it becomes),
// the target in the code page of the box the user types into.
using TypingTable = std::span<const std::pair<unsigned char, unsigned char>>;

// A pair that only exchanges the letters y and z (either case). It puts back
// the letters of a Czech keyboard's keys once the program has switched it to
// the English layout; typed on any other layout it would invert them.
bool isYZExchange(std::pair<unsigned char, unsigned char> pair);

// The target of a typed character; the y/z exchange counts only when
// czechKeysOnEnglish, every other pair always.
std::optional<unsigned char> lookupTyping(TypingTable table, unsigned char typed, bool czechKeysOnEnglish);

// Whether going from before to after put in at least one character (typing
// or pasting, over a selection or not) rather than only deleting. Only such
// a change is typing: deleting must not convert the character left before
// the caret (a French z would turn back into y).
bool insertsText(const QString &before, const QString &after);

// Converts the one byte before the caret (after `caret` bytes) by the table;
// the y/z exchange counts only when czechKeysOnEnglish. Returns the converted text (unchanged when nothing matches).
QByteArray convertBeforeCaret(const QByteArray &text, qsizetype caret, TypingTable table, bool czechKeysOnEnglish);

} // namespace lexitka
