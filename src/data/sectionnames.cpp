#include "sectionnames.h"

#include "inifile.h"
#include "nativepath.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include <sys/mman.h>
#include <sys/stat.h>

namespace lexitka {
namespace {

// A block of memory that is written once, front to back. A large one is
// mapped and advised to be made of huge pages: filling it then takes a
// fault per 2 MiB instead of per 4 KiB, and the pages past what is written
// are never given memory, so it may be sized for the most it could hold.
template <class T>
std::shared_ptr<T> block(qsizetype count)
{
    constexpr qsizetype kLarge = qsizetype(1) << 20;
    const size_t bytes = size_t(std::max<qsizetype>(count, 1)) * sizeof(T);
    if (bytes >= size_t(kLarge)) {
        void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            madvise(p, bytes, MADV_HUGEPAGE);
            return std::shared_ptr<T>(static_cast<T *>(p), [bytes](T *q) { munmap(q, bytes); });
        }
    }
    return std::shared_ptr<T>(new T[bytes / sizeof(T)], std::default_delete<T[]>());
}

} // namespace

void SectionNames::reserve(qsizetype bytes, qsizetype names)
{
    if (bytes > m_byteCapacity - m_used) {
        const qsizetype capacity = std::max(m_used + bytes, 2 * m_byteCapacity);
        std::shared_ptr<char> grown = block<char>(capacity);
        if (m_used > 0)
            std::memcpy(grown.get(), m_bytes.get(), size_t(m_used));
        m_bytes = std::move(grown);
        m_byteCapacity = capacity;
    }
    if (names > m_nameCapacity - m_count) {
        const qsizetype capacity = std::max(m_count + names, 2 * m_nameCapacity);
        std::shared_ptr<qsizetype> grown = block<qsizetype>(capacity);
        if (m_count > 0)
            std::memcpy(grown.get(), m_ends.get(), size_t(m_count) * sizeof(qsizetype));
        m_ends = std::move(grown);
        m_nameCapacity = capacity;
    }
}

void SectionNames::append(QByteArrayView name)
{
    reserve(name.size(), 1);
    if (!name.isEmpty())
        std::memcpy(m_bytes.get() + m_used, name.data(), size_t(name.size()));
    m_used += name.size();
    m_ends.get()[m_count++] = m_used;
}

SectionNames SectionNames::fromList(const QList<QByteArray> &names)
{
    SectionNames result;
    qsizetype bytes = 0;
    for (const QByteArray &n : names)
        bytes += n.size();
    result.reserve(bytes, names.size());
    for (const QByteArray &n : names)
        result.append(n);
    return result;
}

SectionNames SectionNames::fromFile(const QString &path)
{
    SectionNames result;
    // Room for every name the file can hold and for a name every 8 bytes
    // (a lesson has a word or two as a rule), so that nothing is moved
    // while the list grows; a file of bare headers makes it grow.
    struct stat st { };
    const qint64 fileBytes = ::stat(nativePath(path).constData(), &st) == 0 ? qint64(st.st_size) : 0;
    if (fileBytes > 0 && fileBytes < std::numeric_limits<qsizetype>::max() / 16)
        result.reserve(qsizetype(fileBytes), qsizetype(fileBytes) / 8 + 1);
    forEachFileChunk(path, [&result](const char *data, qsizetype size) { result.addFrom(data, size); });
    return result;
}

SectionNames SectionNames::fromBytes(QByteArrayView bytes)
{
    SectionNames result;
    result.reserve(bytes.size(), bytes.size() / 8 + 1);
    result.addFrom(bytes.data(), bytes.size());
    return result;
}

void SectionNames::addFrom(const char *data, qsizetype size)
{
    forEachSectionName(data, size, [this](QByteArrayView name) { append(name); });
}

QList<QByteArray> SectionNames::toList() const
{
    QList<QByteArray> names;
    names.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        names.append(at(i).toByteArray());
    return names;
}

bool SectionNames::operator==(const SectionNames &other) const
{
    if (m_count != other.m_count || m_used != other.m_used)
        return false;
    if (m_count == 0)
        return true;
    return std::equal(m_ends.get(), m_ends.get() + m_count, other.m_ends.get())
           && std::memcmp(m_bytes.get(), other.m_bytes.get(), size_t(m_used)) == 0;
}

} // namespace lexitka
