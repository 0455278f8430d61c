#include "lessonbook.h"

#include "data/dictionary.h"
#include "data/dictionarylines.h"
#include "data/inifile.h"
#include "data/savefile.h"

#include <algorithm>
#include <cstring>

namespace lexitka {
namespace {

// The keys 0, 1, 2, … as text, counted up in place.
class DecimalCounter {
public:
    DecimalCounter() { m_digits[kSize - 1] = '0'; }
    QByteArrayView text() const { return QByteArrayView(m_digits + m_first, kSize - m_first); }
    void next()
    {
        qsizetype i = kSize - 1;
        while (i >= m_first && m_digits[i] == '9')
            m_digits[i--] = '0';
        if (i < m_first) { // 9 gives 10, 99 gives 100
            m_first = i;
            m_digits[i] = '1';
        } else {
            ++m_digits[i];
        }
    }

private:
    static constexpr qsizetype kSize = 24;
    char m_digits[kSize] = {};
    qsizetype m_first = kSize - 1;
};

} // namespace

QByteArrayView lineValue(QByteArrayView line)
{
    // The key is short as a rule: a loop finds the "=" sooner than a call.
    const char *p = line.data();
    for (qsizetype i = 0, n = line.size(); i < n; ++i) {
        if (p[i] == '=')
            return QByteArrayView(p + i + 1, n - i - 1);
    }
    return line;
}

const QByteArray &LessonBook::mistakesName()
{
    static const QByteArray name = "Chyby";
    return name;
}

LessonBook::LessonBook() { clear(); }

void LessonBook::clear() { m_lessons = {Lesson{mistakesName(), {}}}; }

void LessonBook::load(QByteArray dictionary, QByteArray mistakes)
{
    // Each lesson holds its lines of the file's bytes, read once and shared.
    LineStoreBuilder builder(std::move(dictionary));
    m_lessons.clear();
    const auto endLesson = [&] {
        if (!m_lessons.isEmpty())
            m_lessons.back().lines = builder.takeLines();
    };
    scanDictionaryLines(
        builder.constData(), builder.bufferSize(),
        [&](QByteArrayView name) {
            endLesson();
            m_lessons.append(Lesson{name.toByteArray(), {}, m_lessons.size()});
        },
        [&](QByteArrayView key, QByteArrayView value) {
            if (!m_lessons.isEmpty())
                builder.markEntry(key, value);
        },
        [&](QByteArrayView text) {
            if (!m_lessons.isEmpty())
                builder.mark(text.data() - builder.constData(), text.size());
        });
    endLesson();
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
    return gatherBytes([this](ByteSink &sink) { return writeDictionary(sink); }, total);
}

bool LessonBook::writeDictionary(ByteSink &sink) const
{
    ChunkedWriter out(sink);
    constexpr qsizetype kShort = 4096; // a line that fits the writer's buffer at once
    for (qsizetype i = 0; i < mistakesIndex(); ++i) {
        const Lesson &l = m_lessons[i];
        if (l.lines.isEmpty())
            continue;
        out.append('[');
        out.append(l.name);
        out.append("]\r\n");
        DecimalCounter key;
        for (QByteArrayView line : l.lines) {
            const QByteArrayView value = lineValue(line);
            const QByteArrayView number = key.text();
            if (value.size() <= kShort) {
                char *start = out.room(number.size() + value.size() + 3);
                char *p = start;
                std::memcpy(p, number.data(), size_t(number.size()));
                p += number.size();
                *p++ = '=';
                std::memcpy(p, value.data(), size_t(value.size()));
                p += value.size();
                *p++ = '\r';
                *p++ = '\n';
                out.advance(p - start);
            } else {
                out.append(number);
                out.append('=');
                out.append(value);
                out.append("\r\n");
            }
            key.next();
        }
        out.append("\r\n");
    }
    return out.finish();
}

QByteArray LessonBook::mistakesBytes() const { return m_lessons.back().lines.joinedCrLf(); }

} // namespace lexitka
