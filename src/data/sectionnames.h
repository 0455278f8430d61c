#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <vector>

namespace lexitka {

// The section names of an INI file in file order, as the bytes the file
// holds: all of them in one block and where each ends, so a million
// lessons cost two blocks of memory rather than a million.
class SectionNames {
public:
    SectionNames() = default;
    static SectionNames fromList(const QList<QByteArray> &names);
    // Reads the file piece by piece and keeps only the names; a missing or
    // unreadable file has none.
    static SectionNames fromFile(const QString &path);
    // The names in INI bytes (lines before the first section ignored).
    static SectionNames fromBytes(QByteArrayView bytes);

    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }
    QByteArrayView at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < size());
        const qsizetype begin = i == 0 ? 0 : m_ends[size_t(i) - 1];
        return QByteArrayView(m_bytes.constData() + begin, m_ends[size_t(i)] - begin);
    }
    QByteArrayView operator[](qsizetype i) const { return at(i); }
    QList<QByteArray> toList() const;
    bool operator==(const SectionNames &other) const = default;

private:
    void append(QByteArrayView name);
    void addFrom(const char *data, qsizetype size);

    QByteArray m_bytes;
    std::vector<qsizetype> m_ends;
};

} // namespace lexitka
