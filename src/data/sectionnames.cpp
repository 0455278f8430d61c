#include "sectionnames.h"

#include "fileread.h"
#include "inifile.h"
#include "nativepath.h"

#include <sys/stat.h>

namespace lexitka {

void SectionNames::append(QByteArrayView name)
{
    m_bytes.append(name);
    m_ends.push_back(m_bytes.size());
}

void SectionNames::addFrom(const char *data, qsizetype size)
{
    forEachSectionName(data, size, [this](QByteArrayView name) { append(name); });
}

SectionNames SectionNames::fromList(const QList<QByteArray> &names)
{
    SectionNames result;
    result.m_ends.reserve(size_t(names.size()));
    for (const QByteArray &n : names)
        result.append(n);
    return result;
}

SectionNames SectionNames::fromFile(const QString &path)
{
    SectionNames result;
    // The names take no more bytes than the file: room for them at once, so
    // that a million names are not copied again each time the block grows
    // (room never filled is never touched).
    struct stat st { };
    if (::stat(nativePath(path).constData(), &st) == 0 && st.st_size > 0 && qint64(st.st_size) < (qint64(1) << 40))
        result.m_bytes.reserve(qsizetype(st.st_size));
    forEachFileChunk(path, [&result](const char *data, qsizetype size) { result.addFrom(data, size); });
    return result;
}

SectionNames SectionNames::fromBytes(QByteArrayView bytes)
{
    SectionNames result;
    result.addFrom(bytes.data(), bytes.size());
    return result;
}

QList<QByteArray> SectionNames::toList() const
{
    QList<QByteArray> names;
    names.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        names.append(at(i).toByteArray());
    return names;
}

} // namespace lexitka
