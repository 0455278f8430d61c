#include "linestore.h"

#include "data/inifile.h"
#include "data/nativefile.h"

#include <QFile>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace lexitka {

TextBuffer TextBuffer::fromBytes(QByteArray bytes)
{
    auto holder = std::make_shared<QByteArray>(std::move(bytes));
    TextBuffer buffer;
    buffer.size = holder->size();
    buffer.data = std::shared_ptr<char>(holder, holder->data()); // ours alone: it may be written to
    return buffer;
}

namespace {

// Memory for a large file: anonymous pages advised to be huge, so filling
// them takes a fault per 2 MiB instead of per 4 KiB.
std::shared_ptr<char> bufferFor(qsizetype size)
{
    constexpr qsizetype kLarge = qsizetype(1) << 20;
    if (size >= kLarge) {
        void *p = mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p != MAP_FAILED) {
            madvise(p, size_t(size), MADV_HUGEPAGE);
            return std::shared_ptr<char>(static_cast<char *>(p), [size](char *q) { munmap(q, size_t(size)); });
        }
    }
    return std::shared_ptr<char>(new char[size_t(std::max<qsizetype>(size, 1))], std::default_delete<char[]>());
}

} // namespace

TextBuffer readTextFile(const QString &path, bool *ok)
{
    if (ok)
        *ok = false;
    if (!isFile(path))
        return {};
    QFile file;
    if (!openToRead(file, path, QIODevice::Unbuffered))
        return {};
    TextBuffer buffer;
    const qsizetype expected = qsizetype(file.size());
    buffer.data = bufferFor(expected);
    qsizetype got = 0;
    while (got < expected) {
        const qint64 n = file.read(buffer.data.get() + got, expected - got);
        if (n < 0)
            return {};
        if (n == 0)
            break; // the file got shorter meanwhile
        got += qsizetype(n);
    }
    char probe;
    if (file.read(&probe, 1) != 0) {
        // It grew meanwhile: read it whole as it is now.
        bool whole = false;
        buffer = TextBuffer::fromBytes(readWholeFile(path, &whole));
        if (ok)
            *ok = whole;
        return buffer;
    }
    buffer.size = got;
    if (ok)
        *ok = true;
    return buffer;
}

LineStore::LineStore(std::initializer_list<QByteArray> lines)
{
    reserve(qsizetype(lines.size()));
    for (const QByteArray &line : lines)
        append(line);
}

LineStore::LineStore(const QList<QByteArray> &lines)
{
    reserve(lines.size());
    for (const QByteArray &line : lines)
        append(line);
}

LineStore LineStore::fromText(QByteArray text) { return fromText(TextBuffer::fromBytes(std::move(text))); }

LineStore LineStore::fromText(TextBuffer text)
{
    LineStoreBuilder builder(std::move(text));
    forEachLine(builder.constData(), builder.bufferSize(),
                [&](qsizetype begin, qsizetype end, qsizetype) { builder.mark(begin, end - begin); });
    return builder.take();
}

QByteArrayView LineStore::at(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < m_count);
    const Span &s = span(i);
    const char *base = (s.offset & kOwn) ? m_own.constData() : m_base.get();
    return QByteArrayView(base + (s.offset & ~kOwn), qsizetype(s.length));
}

LineStore::Span LineStore::ownSpan(QByteArrayView line)
{
    Q_ASSERT(quint64(line.size()) <= std::numeric_limits<quint32>::max());
    const Span s{quint64(m_own.size()) | kOwn, quint32(line.size())};
    m_own.append(line);
    return s;
}

namespace {
constexpr size_t kMappedBlock = size_t(1) << 18;
constexpr size_t kHugeBlock = size_t(8) << 20;
} // namespace

LineStore::SpanBlock::~SpanBlock()
{
    if (mapped)
        munmap(data, size_t(capacity) * sizeof(Span));
    else
        std::free(data);
}

void LineStore::SpanBlock::resize(qsizetype count, bool filled)
{
    count = std::max<qsizetype>(count, 1);
    const size_t bytes = size_t(count) * sizeof(Span);
    void *grown = nullptr;
    if (mapped) {
        grown = mremap(data, size_t(capacity) * sizeof(Span), bytes, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED)
            throw std::bad_alloc();
    } else if (bytes >= kMappedBlock) {
        // A block about to be filled gets its pages at once, not a fault each.
        const int populate = filled && !data ? MAP_POPULATE : 0;
        grown = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | populate, -1, 0);
        if (grown == MAP_FAILED)
            throw std::bad_alloc();
        if (data)
            std::memcpy(grown, data, size_t(std::min(capacity, count)) * sizeof(Span));
        std::free(data);
        mapped = true;
    } else {
        grown = std::realloc(data, bytes);
        if (!grown)
            throw std::bad_alloc();
    }
    if (mapped && bytes >= kHugeBlock)
        madvise(grown, bytes, MADV_HUGEPAGE); // a fault per 2 MiB as it fills
    data = static_cast<Span *>(grown);
    capacity = count;
}

LineStore::OrderBlock::OrderBlock(qsizetype n, qsizetype room)
    : bytes(size_t(std::max<qsizetype>(n, 1)) * size_t(room) + sizeof(quint64))
{
    if (bytes >= kMappedBlock) { // given back whole when the order goes
        // Filled at once: its pages come in one go, not a fault each.
        void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data = static_cast<quint32 *>(p);
        mapped = true;
    } else {
        data = static_cast<quint32 *>(std::malloc(bytes));
        if (!data)
            throw std::bad_alloc();
    }
}

void LineStore::OrderBlock::shrink(qsizetype n)
{
    const size_t kept = size_t(std::max<qsizetype>(n, 1)) * sizeof(quint32);
    if (mapped) {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        const size_t from = (kept + page - 1) / page * page;
        if (from < bytes) {
            munmap(reinterpret_cast<char *>(data) + from, bytes - from);
            bytes = from;
        }
    } else if (void *p = std::realloc(data, kept)) {
        data = static_cast<quint32 *>(p);
        bytes = kept;
    }
}

LineStore::OrderBlock::~OrderBlock()
{
    if (mapped)
        munmap(data, bytes);
    else
        std::free(data);
}

LineStore::Span *LineStore::detach(qsizetype room)
{
    const qsizetype needed = m_count + room;
    if (m_order) {
        // The lines in a row of their own, in their order.
        std::shared_ptr<SpanBlock> block =
            freshBlock(room > 0 ? std::max(needed, m_count + m_count / 2 + 16) : needed, true);
        for (qsizetype i = 0; i < m_count; ++i)
            block->data[i] = span(i);
        m_block = std::move(block);
        m_order.reset();
        m_first = 0;
        return m_block->data;
    }
    if (m_block && m_block.use_count() == 1) {
        if (m_first > 0) {
            std::memmove(m_block->data, m_block->data + m_first, size_t(m_count) * sizeof(Span));
            m_first = 0;
        }
        if (needed > m_block->capacity)
            m_block->resize(std::max(needed, m_block->capacity + m_block->capacity / 2 + 16));
        return m_block->data;
    }
    std::shared_ptr<SpanBlock> block = freshBlock(room > 0 ? std::max(needed, m_count + m_count / 2 + 16) : needed);
    if (m_count > 0)
        std::memcpy(block->data, spans(), size_t(m_count) * sizeof(Span));
    m_block = std::move(block);
    m_first = 0;
    return m_block->data;
}

void LineStore::append(QByteArrayView line) { pushSpan(ownSpan(line)); }

void LineStore::appendJoined(std::initializer_list<QByteArrayView> parts)
{
    qsizetype length = 0;
    for (QByteArrayView p : parts)
        length += p.size();
    const Span s{quint64(m_own.size()) | kOwn, quint32(length)};
    for (QByteArrayView p : parts)
        m_own.append(p);
    pushSpan(s);
}

void LineStore::insert(qsizetype i, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i <= m_count);
    const Span s = ownSpan(line);
    Span *d = detach(1);
    std::memmove(d + i + 1, d + i, size_t(m_count - i) * sizeof(Span));
    d[i] = s;
    ++m_count;
}

void LineStore::replace(qsizetype i, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i < m_count);
    const Span s = ownSpan(line);
    detach(0)[i] = s;
}

void LineStore::removeAt(qsizetype i)
{
    Q_ASSERT(i >= 0 && i < m_count);
    if (i == 0) {
        ++m_first; // the rest are still a run of the same lines
    } else if (i + 1 < m_count) {
        Span *d = detach(0);
        std::memmove(d + i, d + i + 1, size_t(m_count - i - 1) * sizeof(Span));
    }
    --m_count;
}

void LineStore::swapItemsAt(qsizetype i, qsizetype j)
{
    Q_ASSERT(i >= 0 && i < m_count && j >= 0 && j < m_count);
    Span *d = detach(0);
    std::swap(d[i], d[j]);
}

void LineStore::reserve(qsizetype lines)
{
    if (lines > m_count && (!m_block || m_order || m_block.use_count() != 1 || m_first + lines > m_block->capacity))
        detach(lines - m_count);
}

void LineStore::clear()
{
    m_base.reset();
    m_own.clear();
    m_block.reset();
    m_order.reset();
    m_first = 0;
    m_count = 0;
}

std::shared_ptr<LineStore::SpanBlock> LineStore::freshBlock(qsizetype count, bool filled)
{
    auto block = std::make_shared<SpanBlock>();
    block->resize(count, filled);
    return block;
}

void LineStore::permute(const QList<qsizetype> &order)
{
    permuteBy(order.size(), [&order](qsizetype k) { return order[k]; });
}

LineStore LineStore::mid(qsizetype first, qsizetype count) const
{
    Q_ASSERT(first >= 0 && count >= 0 && first + count <= m_count);
    LineStore part;
    part.m_base = m_base;
    part.m_own = m_own;
    if (count > 0) {
        part.m_block = m_block;
        part.m_order = m_order;
        part.m_first = m_first + first;
        part.m_count = count;
    }
    return part;
}

QByteArray LineStore::joinedCrLf() const
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < m_count; ++i)
        total += qsizetype(span(i).length) + 2;
    QByteArray out;
    out.reserve(total);
    for (QByteArrayView line : *this)
        out.append(line).append("\r\n");
    return out;
}

QList<QByteArray> LineStore::toList() const
{
    QList<QByteArray> out;
    out.reserve(size());
    for (QByteArrayView line : *this)
        out.append(line.toByteArray());
    return out;
}

bool LineStore::operator==(const LineStore &other) const
{
    if (size() != other.size())
        return false;
    // Copies that neither changed share everything: no line need be looked at.
    if (spans() == other.spans() && m_order == other.m_order && m_base == other.m_base
        && m_own.constData() == other.m_own.constData())
        return true;
    for (qsizetype i = 0; i < size(); ++i) {
        if (at(i) != other.at(i))
            return false;
    }
    return true;
}

LineStoreBuilder::LineStoreBuilder(TextBuffer base) : m_buffer(std::move(base)) { m_store.m_base = m_buffer.data; }

} // namespace lexitka
