#include "linestore.h"

#include "data/inifile.h"
#include "data/nativefile.h"

#include <QFile>

#include <cstring>
#include <limits>

#include <sys/mman.h>

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
    const Span &s = m_spans.at(i);
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

void LineStore::append(QByteArrayView line) { m_spans.append(ownSpan(line)); }

void LineStore::appendJoined(std::initializer_list<QByteArrayView> parts)
{
    qsizetype length = 0;
    for (QByteArrayView p : parts)
        length += p.size();
    const Span s{quint64(m_own.size()) | kOwn, quint32(length)};
    for (QByteArrayView p : parts)
        m_own.append(p);
    m_spans.append(s);
}

void LineStore::insert(qsizetype i, QByteArrayView line) { m_spans.insert(i, ownSpan(line)); }

void LineStore::replace(qsizetype i, QByteArrayView line) { m_spans[i] = ownSpan(line); }

void LineStore::removeAt(qsizetype i) { m_spans.removeAt(i); }

void LineStore::clear()
{
    m_base.reset();
    m_own.clear();
    m_spans.clear();
}

void LineStore::permute(const QList<qsizetype> &order)
{
    QList<Span> spans;
    spans.reserve(order.size());
    for (qsizetype i : order)
        spans.append(m_spans.at(i));
    m_spans = std::move(spans);
}

LineStore LineStore::mid(qsizetype first, qsizetype count) const
{
    LineStore part;
    part.m_base = m_base;
    part.m_own = m_own;
    part.m_spans = m_spans.mid(first, count);
    return part;
}

QByteArray LineStore::joinedCrLf() const
{
    qsizetype total = 0;
    for (const Span &s : m_spans)
        total += qsizetype(s.length) + 2;
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
    if (m_spans.constData() == other.m_spans.constData() && m_base == other.m_base
        && m_own.constData() == other.m_own.constData())
        return true;
    for (qsizetype i = 0; i < size(); ++i) {
        if (at(i) != other.at(i))
            return false;
    }
    return true;
}

LineStoreBuilder::LineStoreBuilder(TextBuffer base) : m_buffer(std::move(base)) { m_store.m_base = m_buffer.data; }

void LineStoreBuilder::mark(qsizetype begin, qsizetype length)
{
    Q_ASSERT(begin >= 0 && begin + length <= bufferSize());
    Q_ASSERT(quint64(length) <= std::numeric_limits<quint32>::max());
    m_store.m_spans.append(LineStore::Span{quint64(begin), quint32(length)});
}

bool LineStoreBuilder::markEntry(QByteArrayView key, QByteArrayView value)
{
    const qsizetype length = key.size() + 1 + value.size();
    if (quint64(length) > kMaxStoredLine)
        return false;
    char *buffer = data();
    const qsizetype begin = key.data() - buffer;
    const qsizetype valueAt = begin + key.size() + 1;
    if (value.data() - buffer != valueAt) {
        // Blanks around the "=": the line only gets shorter where it lies.
        buffer[begin + key.size()] = '=';
        std::memmove(buffer + valueAt, value.data(), size_t(value.size()));
    }
    mark(begin, length);
    return true;
}

} // namespace lexitka
