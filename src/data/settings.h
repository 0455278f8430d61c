#pragma once

#include "data/savefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace lexitka {

// lexitka.ini, one accessor per key. The file is read once, however many
// keys are asked, and written in one locked change that keeps every other
// byte of it, so a settings file of megabytes starts and ends the program
// about as quickly as it can be read.
class Settings {
public:
    // A path longer than this is no path a system can open: the value is
    // taken as absent, so it is never used as a name nor written back.
    static constexpr qsizetype kMaxPathBytes = 4096;

    explicit Settings(QString path) : m_path(std::move(path)) { }

    // Reads the file as it is now; a missing or unreadable one reads empty.
    void load();
    const QString &path() const { return m_path; }

    // [Slovnik]
    QByteArray file() const; // the open dictionary, empty when absent
    QByteArray dir() const;  // the dictionary folder, empty when absent
    bool statistic() const;  // "Vést statistiku", on at first
    bool errors() const;     // "Ukládat chyby", on at first
    // "Odebírat zvládnuté chyby", off at first; its threshold, 2 at first,
    // is changed only by hand in the file.
    bool removeMastered() const;
    // "Plánovat opakování": every answer is a review of its word (on at first).
    bool scheduleReviews() const;
    int masteredAfter() const;
    // [<extension>] 0..3: the ticks of the test kinds; only kind 0 is on at first.
    std::array<bool, 4> testKinds(QByteArrayView extension) const;

    // Changes to store, applied in order to the file as it is on disk.
    struct Change {
        QByteArray section;
        QByteArray key;
        QByteArray value;
    };
    static Change fileChange(QByteArrayView path);
    static Change dirChange(QByteArrayView path);
    static Change statisticChange(bool on);
    static Change errorsChange(bool on);
    static Change removeMasteredChange(bool on);
    static Change scheduleReviewsChange(bool on);
    static Change testKindChange(QByteArrayView extension, int kind, bool on);
    UpdateResult store(const QList<Change> &changes, int lockWaitMs = -1);

    // The value of key in the first section named section (case ignored),
    // read as the program's other INI readers read it.
    static std::optional<QByteArray> lookUp(QByteArrayView bytes, QByteArrayView section, QByteArrayView key);

private:
    std::optional<QByteArray> value(QByteArrayView section, QByteArrayView key) const;
    bool flag(QByteArrayView section, QByteArrayView key, bool byDefault) const;

    QString m_path;
    QByteArray m_bytes;
};

} // namespace lexitka
