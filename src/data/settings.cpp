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
    // One pass that stops at the end of the first matching section: the
    // program's own section is at the top, so a huge file costs little more
    // than finding its line ends.
    const char *data = bytes.data();
    bool inSection = false, found = false, done = false;
    std::optional<QByteArray> result;
    forEachLine(data, bytes.size(), [&](qsizetype begin, qsizetype end, qsizetype) {
        if (done)
            return;
        const IniLine line = classifyIniLine(data + begin, end - begin);
        if (line.kind == IniLine::Section) {
            if (found) {
                done = true;
                return;
            }
            inSection = found = equalsIgnoringCase(line.name, section);
        } else if (inSection && line.kind == IniLine::Entry && equalsIgnoringCase(line.name, key)) {
            result = line.value.toByteArray();
            done = true;
        }
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

bool Settings::testKind(QByteArrayView extension, int kind) const
{
    return flag(extension, QByteArray::number(kind), kind == 0);
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
            for (const Change &c : changes) {
                // A value that would not read back as written is not stored:
                // the one on disk stays.
                if (canStoreValue(c.value) && canNameSection(c.section))
                    bytes = ProfileFile::withValue(bytes, c.section, c.key, c.value);
            }
            // An unchanged file is not written: a read-only program folder
            // then complains only when something would really be lost.
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
