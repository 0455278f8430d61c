#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

namespace lexitka {

// The longest line a store can hold.
constexpr quint64 kMaxStoredLine = 0xFFFFFFFFu;

// Bytes that lines can lie in, shared by every store that holds lines of it.
struct TextBuffer {
    std::shared_ptr<char> data;
    qsizetype size = 0;

    static TextBuffer fromBytes(QByteArray bytes);
};

// A whole file in memory, read in one go into memory that is cheap to fill
// (huge pages where the system offers them: a fresh page of its own for
// every 4 KiB of a large file costs more than reading it). A missing,
// unreadable or non-regular file gives an empty buffer and *ok false.
TextBuffer readTextFile(const QString &path, bool *ok = nullptr);

// Lines of text without a heap block each: the bytes lie in two buffers and
// every line is only where it starts and how long it is (12 bytes).
//
// The base buffer is typically a whole file read once; it is shared between
// copies and never written to, so copying a store copies no text. Lines added
// later go into the store's own buffer. Copies share both buffers and their
// list of lines until one of them changes; a part (mid) shares them too, so
// the lessons of one file are runs of one list of lines.
class LineStore {
public:
    LineStore() = default;
    LineStore(std::initializer_list<QByteArray> lines);
    LineStore(const QList<QByteArray> &lines); // NOLINT: a list of lines is a store of lines

    // The lines of text, as splitLines() finds them (CR LF, LF or a lone CR).
    static LineStore fromText(QByteArray text);
    static LineStore fromText(TextBuffer text);

    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    QByteArrayView at(qsizetype i) const;
    QByteArrayView operator[](qsizetype i) const { return at(i); }
    QByteArrayView last() const { return at(size() - 1); }

    void append(QByteArrayView line);
    // Puts `parts` one after the other as one new line.
    void appendJoined(std::initializer_list<QByteArrayView> parts);
    void insert(qsizetype i, QByteArrayView line);
    void replace(qsizetype i, QByteArrayView line);
    void removeAt(qsizetype i);
    void removeLast() { --m_count; }
    void swapItemsAt(qsizetype i, qsizetype j);
    void clear();
    void reserve(qsizetype lines);

    // Drops the lines for which remove(line) is true; the rest keep their order.
    template <class Remove>
    void removeIf(Remove remove);
    // Puts the lines into the order given: line k becomes the old line order[k].
    void permute(const QList<qsizetype> &order);
    // The same with the order as a function: line k becomes line oldIndex(k).
    template <class OldIndex>
    void permuteBy(qsizetype count, OldIndex oldIndex);

    // Puts the lines into an order worked out in `room` bytes a line (at
    // least four, with eight to spare past the last line's so that a line's
    // bytes can be read in one load): order(room, size()) leaves the new
    // order in the room's first size() quint32, line k becoming the old line
    // of that number. The store keeps the order in four bytes a line beside
    // the lines it shares, not a list of lines of its own (12 bytes a line),
    // until it changes.
    template <class Order>
    void reorder(qsizetype room, Order order);

    // Lines first .. first + count - 1, sharing this store's bytes and lines.
    LineStore mid(qsizetype first, qsizetype count) const;

    QList<QByteArray> toList() const;
    // Each line ended by CR LF.
    QByteArray joinedCrLf() const;
    bool operator==(const LineStore &other) const;

    class const_iterator {
    public:
        using value_type = QByteArrayView;
        using difference_type = qsizetype;
        const_iterator(const LineStore *s, qsizetype i) : m_store(s), m_i(i) { }
        QByteArrayView operator*() const { return m_store->at(m_i); }
        const_iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator==(const const_iterator &o) const { return m_i == o.m_i; }

    private:
        const LineStore *m_store;
        qsizetype m_i;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    friend class LineStoreBuilder;
#pragma pack(push, 4)
    // The top bit of `offset` says which buffer: set for the store's own.
    struct Span {
        quint64 offset;
        quint32 length;
    };
#pragma pack(pop)
    static constexpr quint64 kOwn = quint64(1) << 63;
    Span ownSpan(QByteArrayView line);

    // The lines of a store and of its copies and parts. Grown in place
    // while one store alone holds it: a large block is pages of its own,
    // moved by the kernel when it grows, so growing neither copies it nor
    // leaves the old room behind in the heap.
    struct SpanBlock {
        Span *data = nullptr;
        qsizetype capacity = 0;
        bool mapped = false;
        SpanBlock() = default;
        SpanBlock(const SpanBlock &) = delete;
        SpanBlock &operator=(const SpanBlock &) = delete;
        ~SpanBlock();
        // `filled`: every line of it is about to be written.
        void resize(qsizetype count, bool filled = false);
    };
    // The lines in a row; only while no order lies over them.
    const Span *spans() const { return m_block ? m_block->data + m_first : nullptr; }
    const Span &span(qsizetype i) const { return m_order ? m_block->data[m_order->data[m_first + i]] : spans()[i]; }

    // Where a store's lines stand in its block, when they are not in a row.
    struct OrderBlock {
        quint32 *data = nullptr;
        size_t bytes = 0;
        bool mapped = false;
        // Room for n places of `room` bytes, until shrink().
        OrderBlock(qsizetype n, qsizetype room);
        // The first n four-byte numbers are kept, the rest given back.
        void shrink(qsizetype n);
        OrderBlock(const OrderBlock &) = delete;
        OrderBlock &operator=(const OrderBlock &) = delete;
        ~OrderBlock();
    };
    // A block of its own for `count` lines, not filled yet.
    static std::shared_ptr<SpanBlock> freshBlock(qsizetype count, bool filled = false);
    // The lines, this store's alone and from the block's start, with room
    // for `room` more.
    Span *detach(qsizetype room);
    void pushSpan(const Span &s)
    {
        if (m_block && !m_order && m_first + m_count < m_block->capacity && m_block.use_count() == 1)
            m_block->data[m_first + m_count++] = s;
        else
            detach(1)[m_count++] = s;
    }

    std::shared_ptr<const char> m_base;
    QByteArray m_own;
    std::shared_ptr<SpanBlock> m_block;
    std::shared_ptr<const OrderBlock> m_order; // when set, m_first counts in it
    qsizetype m_first = 0;                     // this store's lines: m_count of them from here
    qsizetype m_count = 0;
};

// Fills a store from one buffer, typically a file read once: the buffer
// becomes the store's base, and lines are marked in it where they lie. A line
// may be rewritten in place first, as long as it gets no longer.
class LineStoreBuilder {
public:
    explicit LineStoreBuilder(TextBuffer base);
    explicit LineStoreBuilder(QByteArray base) : LineStoreBuilder(TextBuffer::fromBytes(std::move(base))) { }

    // The buffer, to find lines in and shorten them in place.
    char *data() { return m_buffer.data.get(); }
    const char *constData() const { return m_buffer.data.get(); }
    qsizetype bufferSize() const { return m_buffer.size; }

    // The line [begin, begin + length) of the buffer.
    void mark(qsizetype begin, qsizetype length);
    // An entry line of the buffer as "key=value": key and value lie in the
    // buffer in that order; blanks between them are closed up in place.
    // False (nothing marked) for a line too long to be held.
    bool markEntry(QByteArrayView key, QByteArrayView value);
    // Back to no lines, the buffer as it is.
    void clearLines() { m_store.m_count = 0; }
    qsizetype lineCount() const { return m_store.size(); }

    LineStore take() { return std::move(m_store); }

private:
    TextBuffer m_buffer;
    LineStore m_store;
};

// Inline: a file's every line passes here.
inline void LineStoreBuilder::mark(qsizetype begin, qsizetype length)
{
    Q_ASSERT(begin >= 0 && begin + length <= bufferSize());
    Q_ASSERT(quint64(length) <= kMaxStoredLine);
    // The builder's store is shared with nobody until it is taken.
    LineStore &s = m_store;
    LineStore::Span *spans =
        s.m_block && s.m_first + s.m_count < s.m_block->capacity ? s.m_block->data + s.m_first : s.detach(1);
    spans[s.m_count++] = LineStore::Span{quint64(begin), quint32(length)};
}

inline bool LineStoreBuilder::markEntry(QByteArrayView key, QByteArrayView value)
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

template <class OldIndex>
void LineStore::permuteBy(qsizetype count, OldIndex oldIndex)
{
    std::shared_ptr<SpanBlock> block = freshBlock(count, true);
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = oldIndex(k);
        Q_ASSERT(i >= 0 && i < m_count);
        block->data[k] = span(i);
    }
    m_block = std::move(block);
    m_order.reset();
    m_first = 0;
    m_count = count;
}

template <class Order>
void LineStore::reorder(qsizetype room, Order order)
{
    Q_ASSERT(room >= qsizetype(sizeof(quint32)));
    if (m_count == 0)
        return;
    if (quint64(m_first) + quint64(m_count) > 0xFFFFFFFFu)
        throw std::bad_alloc(); // places are four bytes
    auto block = std::make_shared<OrderBlock>(m_count, room);
    order(static_cast<void *>(block->data), m_count);
    block->shrink(m_count);
    quint32 *places = block->data;
    // The places become places in the lines' block, through an older order.
    const quint32 first = quint32(m_first);
    if (m_order) {
        const quint32 *old = m_order->data + first;
        for (qsizetype k = 0; k < m_count; ++k) {
            Q_ASSERT(qsizetype(places[k]) < m_count);
            places[k] = old[places[k]];
        }
    } else {
        for (qsizetype k = 0; k < m_count; ++k) {
            Q_ASSERT(qsizetype(places[k]) < m_count);
            places[k] += first;
        }
    }
    m_order = std::move(block);
    m_first = 0;
}

template <class Remove>
void LineStore::removeIf(Remove remove)
{
    Span *spans = detach(0);
    qsizetype out = 0;
    for (qsizetype i = 0; i < m_count; ++i) {
        if (!remove(at(i)))
            spans[out++] = spans[i];
    }
    m_count = out;
}

} // namespace lexitka
