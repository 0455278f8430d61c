#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace lexitka::testing {

// True when every program is on the PATH.
bool haveTools(const QStringList &programs);

// Standard output of a program that ran and exited with 0, nullopt
// otherwise. Gives up after 60 s.
std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments);

} // namespace lexitka::testing
