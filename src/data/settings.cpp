#include "settings.h"

#include "data/inifile.h"
#include "data/profile.h"

namespace lexitka {
namespace {

const QByteArray kSlovnik = "Slovnik";

QByteArray pathValue(std::optional<QByteArray> v)
{
    return v && v->size() <= Settings::kMaxPathBytes ? *v : QByteArray();
}

} // namespace

void Settings::load() { m_bytes = readWholeFile(m_path); }

std::optional<QByteArray> Settings::lookUp(QByteArrayView bytes, QByteArrayView section, QByteArrayView key)
{
    key = trimmedBlanks(key);
    const IniSectionSpan span = findIniSection(bytes, trimmedBlanks(section));
    if (span.header < 0)
        return std::nullopt;
    const char *data = bytes.data() + span.body;
    std::optional<QByteArray> result;
    forEachLine(data, span.end - span.body, [&](qsizetype begin, qsizetype end, qsizetype) {
        const IniLine line = classifyIniLine(data + begin, end - begin);
        if (line.kind == IniLine::Entry && equalsIgnoringCase(line.name, key)) {
            result = line.value.toByteArray();
            return false;
        }
        return true;
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

std::array<bool, 4> Settings::testKinds(QByteArrayView extension) const
{
    std::array<std::optional<QByteArray>, 4> found;
    const IniSectionSpan span = findIniSection(m_bytes, extension);
    if (span.header >= 0) {
        const char *data = m_bytes.constData() + span.body;
        forEachLine(data, span.end - span.body, [&](qsizetype begin, qsizetype end, qsizetype) {
            const IniLine line = classifyIniLine(data + begin, end - begin);
            for (int k = 0; line.kind == IniLine::Entry && k < 4; ++k) {
                if (!found[k] && equalsIgnoringCase(line.name, QByteArray::number(k)))
                    found[k] = line.value.toByteArray();
            }
        });
    }
    std::array<bool, 4> ticks{};
    for (int k = 0; k < 4; ++k)
        ticks[k] = (found[k] ? parseProfileInt(*found[k]).value_or(k == 0) : k == 0) != 0;
    return ticks;
}

Settings::Change Settings::fileChange(QByteArrayView path) { return {kSlovnik, "File", path.toByteArray()}; }
Settings::Change Settings::dirChange(QByteArrayView path) { return {kSlovnik, "Dir", path.toByteArray()}; }
Settings::Change Settings::statisticChange(bool on) { return {kSlovnik, "statistic", on ? "1" : "0"}; }
Settings::Change Settings::errorsChange(bool on) { return {kSlovnik, "errors", on ? "1" : "0"}; }

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
