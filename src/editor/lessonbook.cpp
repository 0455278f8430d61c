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

void sortBySlovo(QList<QByteArray> &lines, int languageCode)
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
    QList<QByteArray> sorted;
    sorted.reserve(lines.size());
    for (const Key &k : keys)
        sorted.append(lines[k.index]);
    lines = std::move(sorted);
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

void LessonBook::clear()
{
    m_lessons = {Lesson{mistakesName(), {}}};
    m_source.clear();
}

void LessonBook::load(QByteArray dictionary, const QByteArray &mistakes)
{
    m_lessons.clear();
    m_source = std::move(dictionary);
    const char *data = m_source.constData();
    QList<QByteArray> current;
    bool inSection = false;
    auto finish = [&] {
        if (inSection)
            m_lessons.back().lines = std::move(current);
        current = {};
    };
    auto keep = [&](QByteArrayView line) {
        current.append(QByteArray::fromRawData(line.data(), line.size()));
    };
    scanIniLines(
        data, m_source.size(),
        [&](QByteArrayView name) {
            finish();
            m_lessons.append(Lesson{name.toByteArray(), {}});
            inSection = true;
        },
        [&](QByteArrayView key, QByteArrayView value) {
            if (!inSection)
                return;
            if (value.data() == key.data() + key.size() + 1) {
                keep(QByteArrayView(key.data(), key.size() + 1 + value.size())); // already "key=value"
            } else {
                QByteArray line;
                line.reserve(key.size() + 1 + value.size());
                current.append(line.append(key).append('=').append(value));
            }
        },
        [&](QByteArrayView text) {
            if (inSection)
                keep(text);
        });
    finish();
    m_lessons.append(Lesson{mistakesName(), splitLines(mistakes)});
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

void LessonBook::insertLine(qsizetype lesson, qsizetype at, QByteArray line)
{
    m_lessons[lesson].lines.insert(at, std::move(line));
}

QByteArray LessonBook::takeLine(qsizetype lesson, qsizetype at) { return m_lessons[lesson].lines.takeAt(at); }

QByteArray LessonBook::replaceLine(qsizetype lesson, qsizetype at, QByteArray line)
{
    std::swap(m_lessons[lesson].lines[at], line);
    return line;
}

QList<QByteArray> LessonBook::replaceLines(qsizetype lesson, QList<QByteArray> lines)
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
        for (const QByteArray &line : l.lines)
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

QByteArray LessonBook::mistakesBytes() const { return joinCrLf(m_lessons.back().lines); }

} // namespace lexitka
