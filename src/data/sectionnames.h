#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>

namespace lexitka {

// The section names of an INI file in file order, as the bytes the file
// holds: all of them in one block and where each ends in another, so a
// million lessons cost two blocks of memory rather than a million. Copies
// share the blocks; a list, once made, does not change.
class SectionNames {
public:
    SectionNames() = default;
    static SectionNames fromList(const QList<QByteArray> &names);
    // Reads the file piece by piece and keeps only the names; a missing or
    // unreadable file has none.
    static SectionNames fromFile(const QString &path);
    // The names in INI bytes (lines before the first section ignored).
    static SectionNames fromBytes(QByteArrayView bytes);
    // The same, found as on a processor without AVX2.
    static SectionNames fromBytesPortable(QByteArrayView bytes);

    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    QByteArrayView at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < m_count);
        const qsizetype begin = i == 0 ? 0 : m_ends.get()[i - 1];
        return QByteArrayView(m_bytes.get() + begin, m_ends.get()[i] - begin);
    }
    QByteArrayView operator[](qsizetype i) const { return at(i); }
    QList<QByteArray> toList() const;
    bool operator==(const SectionNames &other) const;

private:
    // Room for at most `bytes` bytes of names and `names` names.
    void reserve(qsizetype bytes, qsizetype names);
    void append(QByteArrayView name);
    void addFrom(const char *data, qsizetype size, bool wide = true);

    std::shared_ptr<char> m_bytes;
    std::shared_ptr<qsizetype> m_ends;
    qsizetype m_byteCapacity = 0;
    qsizetype m_nameCapacity = 0;
    qsizetype m_used = 0; // bytes of m_bytes in use
    qsizetype m_count = 0;
};

} // namespace lexitka
