#include "support/logicfakes.h"

#include "data/codepage.h"

#include <QFile>

namespace lexitka::testing {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray cz(const QString &text) { return encode(text, CodePage::Cp1250); }

} // namespace lexitka::testing
