#pragma once

#include <QString>

namespace lexitka {

// The folder of the running executable: where the settings, mistakes and
// statistics files live.
QString executableFolder();

} // namespace lexitka
