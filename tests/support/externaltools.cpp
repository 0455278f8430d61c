#include "support/externaltools.h"

#include <QProcess>
#include <QStandardPaths>

namespace lexitka::testing {

bool haveTools(const QStringList &programs)
{
    for (const QString &p : programs) {
        if (QStandardPaths::findExecutable(p).isEmpty())
            return false;
    }
    return true;
}

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

} // namespace lexitka::testing
