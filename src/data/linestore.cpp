#include "linestore.h"

#include "data/inifile.h"

#include <cstring>

namespace lexitka {

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

LineStore LineStore::fromText(QByteArray text)
{
    LineStoreBuilder builder(std::move(text));
    forEachLine(builder.constData(), builder.bufferSize(),
                [&](qsizetype begin, qsizetype end, qsizetype) { builder.mark(begin, end - begin); });
    return builder.take();
}

LineStore::Span LineStore::addText(QByteArrayView line)
{
    if (!m_text.isDetached() && !m_text.isEmpty()) {
        // Shared with other stores: take only our own lines along. The old
        // text stays alive in them, so `line` may still point into it.
        qsizetype total = line.size();
        for (const Span &s : m_spans)
            total += s.length;
        QByteArray own;
        own.reserve(total);
        for (Span &s : m_spans) {
            const qsizetype at = own.size();
            own.append(m_text.constData() + s.offset, s.length);
            s.offset = at;
        }
        m_text = std::move(own);
    }
    const Span s{m_text.size(), line.size()};
    m_text.append(line); // Qt copies a line that lies in the text itself safely
    return s;
}

void LineStore::insert(qsizetype i, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i <= size());
    const Span s = addText(line);
    m_spans.insert(m_spans.begin() + i, s);
}

void LineStore::replace(qsizetype i, QByteArrayView line)
{
    Q_ASSERT(i >= 0 && i < size());
    const Span s = addText(line);
    m_spans[size_t(i)] = s;
}

void LineStore::removeAt(qsizetype i)
{
    Q_ASSERT(i >= 0 && i < size());
    m_spans.erase(m_spans.begin() + i);
}

void LineStore::swapItemsAt(qsizetype i, qsizetype j)
{
    Q_ASSERT(i >= 0 && i < size() && j >= 0 && j < size());
    std::swap(m_spans[size_t(i)], m_spans[size_t(j)]);
}

void LineStore::clear()
{
    m_text.clear();
    m_spans.clear();
}

void LineStore::permute(const QList<qsizetype> &order)
{
    permuteBy(order.size(), [&order](qsizetype k) { return order[k]; });
}

LineStore LineStore::mid(qsizetype first, qsizetype count) const
{
    Q_ASSERT(first >= 0 && count >= 0 && first + count <= size());
    LineStore part;
    part.m_text = m_text;
    part.m_spans.assign(m_spans.begin() + first, m_spans.begin() + first + count);
    return part;
}

QByteArray LineStore::joinedCrLf() const
{
    qsizetype total = 0;
    for (const Span &s : m_spans)
        total += s.length + 2;
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
    for (qsizetype i = 0; i < size(); ++i) {
        if (at(i) != other.at(i))
            return false;
    }
    return true;
}

LineStoreBuilder::LineStoreBuilder(QByteArray text)
{
    text.detach(); // lines are closed up in place, never in a text someone else holds
    m_store.m_text = std::move(text);
}

LineStore LineStoreBuilder::takeLines()
{
    LineStore lines;
    lines.m_text = m_store.m_text;
    lines.m_spans = std::move(m_store.m_spans);
    m_store.m_spans = {};
    return lines;
}

void LineStoreBuilder::markEntry(QByteArrayView key, QByteArrayView value)
{
    const qsizetype begin = key.data() - constData();
    const qsizetype valueFrom = value.data() - constData();
    const qsizetype valueAt = begin + key.size() + 1;
    if (valueFrom != valueAt) {
        // Blanks around the "=": the line only gets shorter where it lies.
        char *text = m_store.m_text.data();
        text[begin + key.size()] = '=';
        std::memmove(text + valueAt, text + valueFrom, size_t(value.size()));
    }
    mark(begin, key.size() + 1 + value.size());
}

} // namespace lexitka
