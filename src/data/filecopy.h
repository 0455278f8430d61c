#pragma once

#include <QString>

namespace lexitka {

// Copies source over target through a temporary file beside the target, so a
// copy that fails leaves an existing target as it was. False on failure.
bool copyFileReplacing(const QString &source, const QString &target);

// Both paths name one file: one existing file (through links and "..", too),
// or, where it does not exist, the same path.
bool isSameFile(const QString &a, const QString &b);

} // namespace lexitka
