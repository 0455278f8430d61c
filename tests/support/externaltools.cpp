#include "support/externaltools.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace lexitka::testing {

bool haveTools(const QStringList &programs)
{
    return std::all_of(programs.begin(), programs.end(),
                       [](const QString &p) { return !QStandardPaths::findExecutable(p).isEmpty(); });
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace lexitka::testing
