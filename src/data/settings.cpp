#include "settings.h"

#include "data/inifile.h"
#include "data/profile.h"
#include "fileread.h"

namespace lexitka {
namespace {

const QByteArray kSlovnik = "Slovnik";

QByteArray pathValue(std::optional<QByteArray> v)
{
    return v && v->size() <= Settings::kMaxPathBytes ? *v : QByteArray();
}

// f(key, value) for the entries of the first section of that name, in line
// order, while it returns true.
template <class F>
void forEachEntryOf(QByteArrayView bytes, QByteArrayView section, F &&f)
{
    const IniSectionSpan span = findIniSection(bytes, section);
    if (span.header < 0)
        return;
    const char *data = bytes.data() + span.body;
    forEachLine(data, span.end - span.body, [&](qsizetype begin, qsizetype end, qsizetype) {
        const IniLine line = classifyIniLine(data + begin, end - begin);
        return line.kind != IniLine::Entry || f(line.name, line.value);
    });
}

} // namespace

void Settings::load() { m_bytes = readWholeFile(m_path); }

std::optional<QByteArray> Settings::lookUp(QByteArrayView bytes, QByteArrayView section, QByteArrayView key)
{
    key = trimmedBlanks(key);
    std::optional<QByteArray> result;
    forEachEntryOf(bytes, trimmedBlanks(section), [&](QByteArrayView name, QByteArrayView value) {
        if (!equalsIgnoringCase(name, key))
            return true;
        result = value.toByteArray();
        return false;
    });
    return result;
}

std::optional<QByteArray> Settings::value(QByteArrayView section, QByteArrayView key) const
{
    return lookUp(m_bytes, section, key);
}

bool Settings::flag(QByteArrayView section, QByteArrayView key, bool byDefault) const
{
    const auto text = value(section, key);
    return (text ? parseProfileInt(*text).value_or(byDefault ? 1 : 0) : (byDefault ? 1 : 0)) != 0;
}

QByteArray Settings::file() const { return pathValue(value(kSlovnik, "File")); }
QByteArray Settings::dir() const { return pathValue(value(kSlovnik, "Dir")); }
bool Settings::statistic() const { return flag(kSlovnik, "statistic", true); }
bool Settings::errors() const { return flag(kSlovnik, "errors", true); }
bool Settings::removeMastered() const { return flag(kSlovnik, "removeMastered", false); }
bool Settings::scheduleReviews() const { return flag(kSlovnik, "scheduleReviews", true); }

int Settings::masteredAfter() const
{
    constexpr int kDefault = 2;
    const auto text = value(kSlovnik, "masteredAfter");
    const qint64 n = text ? parseProfileInt(*text).value_or(kDefault) : kDefault;
    return n >= 1 && n <= 1000 ? int(n) : kDefault;
}

std::array<bool, 4> Settings::testKinds(QByteArrayView extension) const
{
    std::array<std::optional<QByteArray>, 4> found;
    forEachEntryOf(m_bytes, extension, [&](QByteArrayView name, QByteArrayView value) {
        for (int k = 0; k < 4; ++k) {
            if (!found[k] && equalsIgnoringCase(name, QByteArray::number(k)))
                found[k] = value.toByteArray();
        }
        return true;
    });
    std::array<bool, 4> ticks{};
    for (int k = 0; k < 4; ++k)
        ticks[k] = (found[k] ? parseProfileInt(*found[k]).value_or(k == 0) : k == 0) != 0;
    return ticks;
}

Settings::Change Settings::fileChange(QByteArrayView path) { return {kSlovnik, "File", path.toByteArray()}; }
Settings::Change Settings::dirChange(QByteArrayView path) { return {kSlovnik, "Dir", path.toByteArray()}; }
Settings::Change Settings::statisticChange(bool on) { return {kSlovnik, "statistic", on ? "1" : "0"}; }
Settings::Change Settings::errorsChange(bool on) { return {kSlovnik, "errors", on ? "1" : "0"}; }
Settings::Change Settings::removeMasteredChange(bool on) { return {kSlovnik, "removeMastered", on ? "1" : "0"}; }
Settings::Change Settings::scheduleReviewsChange(bool on) { return {kSlovnik, "scheduleReviews", on ? "1" : "0"}; }

Settings::Change Settings::testKindChange(QByteArrayView extension, int kind, bool on)
{
    return {extension.toByteArray(), QByteArray::number(kind), on ? "1" : "0"};
}

UpdateResult Settings::store(const QList<Change> &changes, int lockWaitMs)
{
    QByteArray now;
    const UpdateResult result = updateFile(
        m_path,
        [&changes, &now](const DiskFile &disk) -> std::optional<QByteArray> {
            QByteArray bytes = disk.bytes;
            // One pass a section, however many of its keys change.
            QList<QByteArray> sections;
            for (const Change &c : changes) {
                if (!sections.contains(c.section))
                    sections.append(c.section);
            }
            for (const QByteArray &section : sections) {
                QList<ProfileFile::KeyValue> values;
                for (const Change &c : changes) {
                    // A value that would not read back as written is not
                    // stored: the one on disk stays.
                    if (c.section == section && canStoreValue(c.value) && canNameSection(c.section))
                        values.append({c.key, c.value});
                }
                if (!values.isEmpty())
                    bytes = ProfileFile::withValues(bytes, section, values);
            }
            now = bytes;
            if (disk.exists && bytes == disk.bytes)
                return std::nullopt;
            return bytes;
        },
        lockWaitMs);
    // What is on disk now, another window's keys included, without reading
    // the file once more.
    if (result == UpdateResult::Done)
        m_bytes = std::move(now);
    return result;
}

} // namespace lexitka
