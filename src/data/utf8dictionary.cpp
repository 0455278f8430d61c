#include "utf8dictionary.h"

#include "data/dictionary.h"
#include "data/inifile.h"
#include "data/nativefile.h"
#include "data/savefile.h"
#include "data/utf8char.h"

#include <QFile>

namespace lexitka {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

} // namespace

void Utf8Recogniser::feed(QByteArrayView bytes)
{
    if (decided())
        return;
    const qsizetype start = m_seen - m_pending.size(); // where data begins in the whole text
    m_seen += bytes.size();
    QByteArray joined;
    QByteArrayView data = bytes;
    if (!m_pending.isEmpty()) {
        joined = m_pending;
        joined.append(bytes);
        data = joined;
        m_pending.clear();
    }
    const auto *p = reinterpret_cast<const unsigned char *>(data.data());
    const qsizetype n = data.size();
    qsizetype i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t c = 0;
        const int len = utf8CharAt(p + i, n - i, c);
        if (len == 0) {
            m_malformed = true;
            return;
        }
        if (len < 0) {
            m_pending = data.sliced(i).toByteArray();
            return;
        }
        if (start + i == 0 && c == 0xFEFF) {
            m_bom = true;
            return;
        }
        m_beyondAscii = true;
        i += len;
    }
}

bool Utf8Recogniser::isUtf8() const { return m_bom || (!m_malformed && m_pending.isEmpty() && m_beyondAscii); }

bool isUtf8Text(QByteArrayView bytes)
{
    Utf8Recogniser r;
    r.feed(bytes);
    return r.isUtf8();
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(3);
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t c = 0;
        const int len = utf8CharAt(p + i, bytes.size() - i, c);
        if (len <= 0)
            return std::nullopt;
        appendCodePoint(out, c);
        i += len;
    }
    return out;
}

bool isUtf8File(const QString &path)
{
    if (!isFile(path))
        return false;
    QFile file;
    if (!openToRead(file, path))
        return false;
    // Most 8-bit dictionaries give themselves away at their first Czech letter.
    Utf8Recogniser r;
    QByteArray block(64 * 1024, Qt::Uninitialized);
    while (!r.decided()) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        r.feed(QByteArrayView(block.constData(), got));
    }
    return r.isUtf8();
}

Utf8Conversion convertUtf8Dictionary(QByteArrayView utf8, int languageCode)
{
    if (utf8.startsWith(kBom))
        utf8 = utf8.sliced(3);
    const char *data = utf8.data();
    const CodePage foreign = languageInfo(languageCode).foreignCodePage;

    Utf8Conversion result;
    QByteArray &out = result.bytes;
    out.reserve(utf8.size());
    std::optional<QByteArray> lesson;
    qsizetype lineNumber = 0;

    // Appends [from, to) in cp; false (and the problem noted) at the first
    // character that cannot go there.
    auto append = [&](qsizetype from, qsizetype to, CodePage cp) {
        const auto *p = reinterpret_cast<const unsigned char *>(data);
        qsizetype i = from;
        while (i < to) {
            qsizetype ascii = i;
            while (ascii < to && p[ascii] < 0x80)
                ++ascii;
            out.append(data + i, ascii - i);
            i = ascii;
            if (i == to)
                break;
            char32_t c = 0;
            const int len = utf8CharAt(p + i, to - i, c);
            if (len <= 0) {
                result.problem = Utf8Problem{Utf8Problem::Malformed, lesson, lineNumber, 0, cp};
                return false;
            }
            const std::optional<char> byte = encodeChar(c, cp);
            if (!byte) {
                result.problem = Utf8Problem{Utf8Problem::NoPlace, lesson, lineNumber, c, cp};
                return false;
            }
            out.append(*byte);
            i += len;
        }
        return true;
    };

    forEachLine(data, utf8.size(), [&](qsizetype begin, qsizetype end, qsizetype next) {
        if (result.problem)
            return;
        ++lineNumber;
        const IniLine line = classifyIniLine(data + begin, end - begin);
        if (line.kind == IniLine::Section)
            lesson = line.name.toByteArray();
        bool ok = true;
        if (line.kind == IniLine::Entry && lesson) {
            // The word is the field a test and the editor show as the foreign word.
            const QByteArrayView word = wordFields(QByteArrayView(data + begin, end - begin), languageCode).Slovo;
            const qsizetype wordBegin = word.data() - data;
            const qsizetype wordEnd = wordBegin + word.size();
            ok = append(begin, wordBegin, CodePage::Cp1250) && append(wordBegin, wordEnd, foreign)
                 && append(wordEnd, end, CodePage::Cp1250);
        } else {
            ok = append(begin, end, CodePage::Cp1250);
        }
        if (ok)
            out.append(data + end, next - end);
    });
    if (result.problem)
        out.clear();
    return result;
}

namespace {

constexpr int kCopyNames = 1000;

QString nameBeside(const QString &path, int n)
{
    const QString base = path + QStringLiteral(".utf8");
    return n == 0 ? base : base + u'.' + QString::number(n);
}

bool nothingThere(const QString &path) { return !entryExists(path); }

} // namespace

QString originalCopyPath(const QString &path)
{
    for (int n = 0; n < kCopyNames; ++n) {
        if (nothingThere(nameBeside(path, n)))
            return nameBeside(path, n);
    }
    return {};
}

QString saveOriginalBeside(const QString &path, const QByteArray &bytes)
{
    for (int n = 0; n < kCopyNames; ++n) {
        const QString candidate = nameBeside(path, n);
        // An exclusive create takes the name, so that no file of that name,
        // not even one made a moment ago, is ever replaced.
        if (!createNewFile(candidate)) {
            if (!nothingThere(candidate))
                continue;
            return {};
        }
        if (saveWholeFile(candidate, bytes))
            return candidate;
        removeFile(candidate);
        return {};
    }
    return {};
}

} // namespace lexitka
