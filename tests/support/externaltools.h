#pragma once

#include <QString>
#include <QStringList>

namespace lexitka::testing {

// True when every program is on the PATH.
bool haveTools(const QStringList &programs);

// What a program printed, as UTF-8; empty when it is missing, fails or
// runs longer than a minute.
QString runTool(const QString &program, const QStringList &arguments);

} // namespace lexitka::testing
