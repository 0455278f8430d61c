#pragma once

#include "data/linestore.h"

#include <QByteArrayView>

namespace lexitka {

// Orders lines by their words: bytes compared unsigned, "a" to "z" taken as
// "A" to "Z", a prefix first. Negative, zero or positive.
int CompareBySlovo(QByteArrayView a, QByteArrayView b, int languageCode);
// Ascending by CompareBySlovo; equal words keep their order.
void sortBySlovo(LineStore &lines, int languageCode);

} // namespace lexitka
