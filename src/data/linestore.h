#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <initializer_list>
#include <vector>

namespace lexitka {

// Lines of text without a heap block each: every line is where it starts
// in one text and how long it is.
//
// The text is typically a whole file read once. It is one QByteArray that
// the copies and parts (mid) of a store share, so the lessons of a file
// are parts of the one text its reading made and copying a store copies no
// text. A line added to a store goes at the end of its text; where another
// store shares that text, only this store's lines are copied out first, so
// an edited lesson never drags a copy of the whole file along.
class LineStore {
public:
    LineStore() = default;
    LineStore(std::initializer_list<QByteArray> lines);
    LineStore(const QList<QByteArray> &lines); // NOLINT: a list of lines is a store of lines

    // The lines of text, as forEachLine() finds them (CR LF, LF or a lone CR).
    static LineStore fromText(QByteArray text);

    qsizetype size() const { return qsizetype(m_spans.size()); }
    bool isEmpty() const { return m_spans.empty(); }
    QByteArrayView at(qsizetype i) const
    {
        Q_ASSERT(i >= 0 && i < size());
        const Span &s = m_spans[size_t(i)];
        return QByteArrayView(m_text.constData() + s.offset, s.length);
    }
    QByteArrayView operator[](qsizetype i) const { return at(i); }
    QByteArrayView last() const { return at(size() - 1); }

    void append(QByteArrayView line) { m_spans.push_back(addText(line)); }
    void insert(qsizetype i, QByteArrayView line);
    void replace(qsizetype i, QByteArrayView line);
    void removeAt(qsizetype i);
    void removeLast() { m_spans.pop_back(); }
    void swapItemsAt(qsizetype i, qsizetype j);
    void clear();
    void reserve(qsizetype lines) { m_spans.reserve(size_t(lines)); }

    // Drops the lines for which remove(line) is true; the rest keep their order.
    template <class Remove>
    void removeIf(Remove remove);
    // Puts the lines into the order given: line k becomes the old line order[k].
    void permute(const QList<qsizetype> &order);
    // The same with the order as a function: line k becomes line oldIndex(k).
    template <class OldIndex>
    void permuteBy(qsizetype count, OldIndex oldIndex);

    // Lines first .. first + count - 1, sharing this store's text.
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
    struct Span {
        qsizetype offset;
        qsizetype length;
    };
    // Puts the line at the end of the text, which is then this store's own.
    Span addText(QByteArrayView line);

    QByteArray m_text;
    std::vector<Span> m_spans;
};

// Fills a store from one text, typically a file read once: the text becomes
// the store's, and lines are marked in it where they lie. A line may be
// rewritten in place first, as long as it gets no longer; a text that
// someone else holds is copied first, never changed under them.
class LineStoreBuilder {
public:
    explicit LineStoreBuilder(QByteArray text);

    // The text, to find lines in.
    const char *constData() const { return m_store.m_text.constData(); }
    qsizetype bufferSize() const { return m_store.m_text.size(); }

    // The line [begin, begin + length) of the text.
    void mark(qsizetype begin, qsizetype length)
    {
        Q_ASSERT(begin >= 0 && begin + length <= bufferSize());
        m_store.m_spans.push_back({begin, length});
    }
    // An entry line of the text as "key=value": key and value lie in the
    // text in that order; blanks between them are closed up in place.
    void markEntry(QByteArrayView key, QByteArrayView value);
    // Room for this many lines at once, so that a large text's lines are
    // not moved again and again as they are marked (room never filled is
    // never touched).
    void reserveLines(qsizetype lines) { m_store.m_spans.reserve(size_t(lines)); }
    // Back to no lines, the text as it is.
    void clearLines() { m_store.m_spans.clear(); }
    qsizetype lineCount() const { return m_store.size(); }

    // The lines marked since the last take, sharing the text; marking goes
    // on from none. The lessons of a file are taken one after another so.
    LineStore takeLines();
    LineStore take() { return std::move(m_store); }

private:
    LineStore m_store;
};

template <class OldIndex>
void LineStore::permuteBy(qsizetype count, OldIndex oldIndex)
{
    std::vector<Span> spans;
    spans.reserve(size_t(count));
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = oldIndex(k);
        Q_ASSERT(i >= 0 && i < size());
        spans.push_back(m_spans[size_t(i)]);
    }
    m_spans = std::move(spans);
}

template <class Remove>
void LineStore::removeIf(Remove remove)
{
    std::erase_if(m_spans,
                  [&](const Span &s) { return remove(QByteArrayView(m_text.constData() + s.offset, s.length)); });
}

} // namespace lexitka
