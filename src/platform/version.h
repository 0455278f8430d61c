#pragma once

#include <QString>

namespace lexitka {

// "2.00  (Build :20)": major, two-digit minor and build; the release is not shown.
QString formatVersion(int major, int minor, int release, int build);

// The program's own product version, as CMake's project(VERSION …) gives it.
QString programVersionText();

} // namespace lexitka
