#include "lessonbook.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "data/savefile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace lexitka {
namespace {

inline unsigned char sortByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
}

int compareWords(QByteArrayView x, QByteArrayView y)
{
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char a = sortByte(x[i]);
        const unsigned char b = sortByte(y[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

void appendDecimal(QByteArray &out, qsizetype n)
{
    char digits[24];
    int len = 0;
    do {
        digits[len++] = char('0' + n % 10);
        n /= 10;
    } while (n > 0);
    std::reverse(digits, digits + len);
    out.append(digits, len);
}

} // namespace

int CompareBySlovo(QByteArrayView a, QByteArrayView b, int languageCode)
{
    return compareWords(wordFields(a, languageCode).Slovo, wordFields(b, languageCode).Slovo);
}

void sortBySlovo(LineStore &lines, int languageCode)
{
    // Each line is parsed once, not at every comparison, and the first 16
    // bytes of its word go into the key as two numbers that order as the
    // bytes do: most comparisons then never leave the key array.
    struct Key {
        quint64 head[2];
        QByteArrayView word;
        qsizetype index;
    };
    std::vector<Key> keys;
    keys.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView word = wordFields(lines[i], languageCode).Slovo;
        Key k{{0, 0}, word, i};
        for (qsizetype b = 0; b < std::min<qsizetype>(word.size(), 16); ++b)
            k.head[b / 8] |= quint64(sortByte(word[b])) << (8 * (7 - b % 8));
        keys.push_back(k);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Key &a, const Key &b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        return compareWords(a.word, b.word) < 0; // a zero byte, a longer word, or equal
    });
    QList<qsizetype> order;
    order.reserve(lines.size());
    for (const Key &k : keys)
        order.append(k.index);
    lines.permute(order);
}

QByteArrayView lineValue(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? line : line.sliced(eq + 1);
}

const QByteArray &LessonBook::mistakesName()
{
    static const QByteArray name = "Chyby";
    return name;
}

LessonBook::LessonBook() { clear(); }

void LessonBook::clear() { m_lessons = {Lesson{mistakesName(), {}}}; }

void LessonBook::load(TextBuffer dictionary, TextBuffer mistakes)
{
    // Every line of the file goes into one store; each lesson then holds its
    // own run of it, sharing the bytes.
    LineStoreBuilder builder(std::move(dictionary));
    struct Section {
        QByteArray name;
        qsizetype first;
    };
    QList<Section> sections;
    scanIniLines(
        builder.constData(), builder.bufferSize(),
        [&](QByteArrayView name) {
            sections.append({name.toByteArray(), builder.lineCount()});
        },
        [&](QByteArrayView key, QByteArrayView value) {
            if (!sections.isEmpty())
                builder.markEntry(key, value);
        },
        [&](QByteArrayView text) {
            if (!sections.isEmpty())
                builder.mark(text.data() - builder.constData(), text.size());
        });
    const LineStore all = builder.take();
    m_lessons.clear();
    m_lessons.reserve(sections.size() + 1);
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const qsizetype end = i + 1 < sections.size() ? sections[i + 1].first : all.size();
        m_lessons.append(Lesson{sections[i].name, all.mid(sections[i].first, end - sections[i].first), i});
    }
    m_lessons.append(Lesson{mistakesName(), LineStore::fromText(std::move(mistakes))});
}

qsizetype LessonBook::lineCount() const
{
    qsizetype n = 0;
    for (const Lesson &l : m_lessons)
        n += l.lines.size();
    return n;
}

void LessonBook::insertLesson(qsizetype at, Lesson lesson)
{
    Q_ASSERT(at >= 0 && at <= mistakesIndex());
    m_lessons.insert(at, std::move(lesson));
}

Lesson LessonBook::takeLesson(qsizetype at)
{
    Q_ASSERT(at >= 0 && at < mistakesIndex());
    return m_lessons.takeAt(at);
}

void LessonBook::insertLine(qsizetype lesson, qsizetype at, const QByteArray &line)
{
    m_lessons[lesson].lines.insert(at, line);
}

QByteArray LessonBook::takeLine(qsizetype lesson, qsizetype at)
{
    LineStore &lines = m_lessons[lesson].lines;
    QByteArray line = lines.at(at).toByteArray();
    lines.removeAt(at);
    return line;
}

QByteArray LessonBook::replaceLine(qsizetype lesson, qsizetype at, const QByteArray &line)
{
    LineStore &lines = m_lessons[lesson].lines;
    QByteArray old = lines.at(at).toByteArray();
    lines.replace(at, line);
    return old;
}

LineStore LessonBook::replaceLines(qsizetype lesson, LineStore lines)
{
    std::swap(m_lessons[lesson].lines, lines);
    return lines;
}

LessonNameProblem LessonBook::checkNewName(QByteArrayView name) const
{
    name = trimmedBlanks(name);
    if (name.isEmpty())
        return LessonNameProblem::Empty;
    if (name.contains(']') || name.contains('\n') || name.contains('\r'))
        return LessonNameProblem::BadCharacter;
    for (const Lesson &l : m_lessons) {
        if (equalsIgnoringCase(l.name, name))
            return LessonNameProblem::Taken;
    }
    return LessonNameProblem::None;
}

QByteArray LessonBook::dictionaryBytes() const
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < mistakesIndex(); ++i) {
        const Lesson &l = m_lessons[i];
        total += l.name.size() + 6;
        for (QByteArrayView line : l.lines)
            total += line.size() + 12;
    }
    QByteArray out;
    out.reserve(total);
    for (qsizetype i = 0; i < mistakesIndex(); ++i) {
        const Lesson &l = m_lessons[i];
        if (l.lines.isEmpty())
            continue;
        out.append('[').append(l.name).append("]\r\n");
        for (qsizetype j = 0; j < l.lines.size(); ++j) {
            appendDecimal(out, j);
            out.append('=').append(lineValue(l.lines[j])).append("\r\n");
        }
        out.append("\r\n");
    }
    return out;
}

QByteArray LessonBook::mistakesBytes() const { return m_lessons.back().lines.joinedCrLf(); }

} // namespace lexitka
