// The settings file: ProfileFile::withValue and the key-by-key reader.
//
// Any write changes the file in exactly one place: one line's text is
// replaced by "key=value", or that line is inserted at a line start of the
// section (after a CR LF of its own when the file's last line had none), or
// the section is appended at the end. Nothing else moves.
//
// A value reads back as written, the same write again changes nothing, and
// every other key of the file reads as before, when the value has no line
// break and no blank at either end, the key has no line break and no "="
// and does not start with "[" or ";" after its blanks, and the section name
// has no line break and no "]". Other values cannot round-trip through the
// INI form at all.
#include "support/inidocument.h"
#include "fuzzsupport.h"

#include "data/inifile.h"
#include "data/profile.h"

#include <algorithm>

using namespace lexitka;
using namespace lexitka::fuzz;

namespace {

bool hasLineBreak(QByteArrayView v) { return v.contains('\r') || v.contains('\n'); }

bool isBreak(char c) { return c == '\r' || c == '\n'; }

// Whether out is file with newLine put in one of the ways above.
bool changedInOnePlace(const QByteArray &file, const QByteArray &out, const QByteArray &newLine, QByteArrayView section)
{
    const qsizetype n = file.size(), m = out.size();
    qsizetype prefix = 0; // out and file agree before this
    while (prefix < n && prefix < m && file[prefix] == out[prefix])
        ++prefix;
    qsizetype suffix = 0; // and in this many last bytes
    while (suffix < n && suffix < m && file[n - 1 - suffix] == out[m - 1 - suffix])
        ++suffix;
    const auto atLineStart = [&](qsizetype a) { return a == 0 || isBreak(file[a - 1]); };
    // out == file[0, a) + text + file[b, n)
    const auto splicedAt = [&](qsizetype a, qsizetype b, QByteArrayView text) {
        return a <= b && a <= prefix && n - b <= suffix && m == a + text.size() + (n - b)
               && QByteArrayView(out).sliced(a, text.size()) == text;
    };

    // A line's text replaced.
    const qsizetype oldLength = n - m + newLine.size();
    if (oldLength >= 0) {
        for (qsizetype a = std::max<qsizetype>(0, n - suffix - oldLength); a <= std::min(prefix, n - oldLength); ++a) {
            if (!atLineStart(a))
                continue;
            const qsizetype b = a + oldLength;
            const QByteArrayView old = QByteArrayView(file).sliced(a, oldLength);
            if ((b == n || isBreak(file[b])) && !hasLineBreak(old) && splicedAt(a, b, newLine))
                return true;
        }
    }
    // A line inserted, or the section appended.
    const bool endsInBreak = n > 0 && isBreak(file[n - 1]);
    const QByteArray line = newLine + "\r\n";
    const QByteArray appended = '[' + section.toByteArray() + "]\r\n" + line;
    if ((n == 0 || endsInBreak) && splicedAt(n, n, appended))
        return true;
    if (n > 0 && !endsInBreak && (splicedAt(n, n, "\r\n" + appended) || splicedAt(n, n, "\r\n" + line)))
        return true;
    for (qsizetype a = std::max<qsizetype>(1, n - suffix); a <= prefix; ++a) {
        if (atLineStart(a) && splicedAt(a, a, line))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> parts = splitInput(QByteArrayView(data, qsizetype(size)), 4);
    const QByteArray &section = parts[0], &key = parts[1], &value = parts[2], &file = parts[3];

    const QByteArray out = ProfileFile::withValue(file, section, key, value);
    const QString where = QStringLiteral("[%1] %2=%3 in %4").arg(shown(section), shown(key), shown(value), shown(file));
    // Section and key are written without the blanks around them.
    const QByteArray newLine = trimmedBlanks(key).toByteArray() + '=' + value;
    FUZZ_CHECK(changedInOnePlace(file, out, newLine, trimmedBlanks(section)),
               where + QStringLiteral(" gives ") + shown(out));

    // The file on disk gets the same bytes.
    static const QString path = scratchPath(QStringLiteral("lexitka.ini"));
    writeScratch(path, file);
    ProfileFile profile(path);
    FUZZ_CHECK(profile.writeString(section, key, value), where);
    FUZZ_CHECK(readScratch(path) == out, where);

    const QByteArrayView trimmedKey = trimmedBlanks(key);
    const bool roundTrips = !hasLineBreak(value) && trimmedBlanks(value) == value && !hasLineBreak(key)
                            && !key.contains('=') && !trimmedKey.startsWith('[') && !trimmedKey.startsWith(';')
                            && !hasLineBreak(section) && !section.contains(']');
    if (roundTrips) {
        FUZZ_CHECK(profile.readString(section, key, "\x01missing") == value,
                   where + QStringLiteral(" reads back ") + shown(profile.readString(section, key, "\x01missing")));
        FUZZ_CHECK(ProfileFile::withValue(out, section, key, value) == out, where);

        // Every other key reads as before (the first 256, to stay quick).
        const IniDocument before = IniDocument::fromBytes(file);
        const IniDocument after = IniDocument::fromBytes(out);
        int checked = 0;
        for (qsizetype s = 0; s < before.sectionCount() && checked < 256; ++s) {
            const QByteArray name = before.sectionName(s);
            const bool written = equalsIgnoringCase(name, trimmedBlanks(section));
            for (qsizetype e = 0; e < before.entryCount(s) && checked < 256; ++e, ++checked) {
                const QByteArrayView k = before.key(s, e);
                if (written && equalsIgnoringCase(k, trimmedKey))
                    continue;
                FUZZ_CHECK(before.value(name, k) == after.value(name, k), where + QStringLiteral(": key ") + shown(name)
                                                                              + u' ' + shown(k)
                                                                              + QStringLiteral(" changed"));
            }
        }
    }

    // Numbers: blanks around them do not count, and what reads as a number
    // reads back from its decimal form.
    const std::optional<int> number = parseProfileInt(value);
    FUZZ_CHECK(parseProfileInt(" \t" + value + "\t ") == number, shown(value));
    if (number)
        FUZZ_CHECK(parseProfileInt(QByteArray::number(*number)) == number, shown(value));
    if (roundTrips) {
        const int fallback = int(hashOf(value) % 3) - 1;
        FUZZ_CHECK(profile.readInt(section, key, fallback) == number.value_or(fallback), where);
        const bool truth = number.value_or(fallback != 0 ? 1 : 0) != 0;
        FUZZ_CHECK(profile.readBool(section, key, fallback != 0) == truth, where);
    }
    return 0;
}
