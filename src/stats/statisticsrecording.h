#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

namespace lexitka {

class Messenger;

// The statistics record of one ordinary test: made before the words are
// collected, so that a file that exists but cannot be read is reported
// first, and then left alone (rewriting it from what could not be read
// would throw its records away); append() adds the test's record to the
// file as it is when the test ends, its old bytes kept as they are.
class StatisticsRecording {
public:
    StatisticsRecording(QString path, Messenger &messenger, QWidget *parent);
    void append(const std::optional<QByteArray> &record);

private:
    QString m_path;
    Messenger &m_messenger;
    QWidget *m_parent;
    bool m_unreadable = false;
};

} // namespace lexitka
