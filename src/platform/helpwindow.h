#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace lexitka {

// "Lexitka – návod": the installed guide in a window of the program's own,
// its pictures and links with it, so that help works on a machine without
// a web browser. Links to other sites go to the desktop's browser.
class TfrmHelp final : public QWidget {
    Q_OBJECT
public:
    TfrmHelp(QWidget *parent, const QString &guidePath);

    QTextBrowser *txtNavod = nullptr;
    QPushButton *btnZpet = nullptr;
    QPushButton *btnVpred = nullptr;
    QPushButton *btnObsah = nullptr;
    QPushButton *btnZavrit = nullptr;

protected:
    // Esc closes it, as it does a dialog.
    void keyPressEvent(QKeyEvent *event) override;
};

// The guide's window over window: the one already open there raised, or a
// new one. Opened from a modal window, it is modal too, so that it can be
// read and closed while that window waits.
TfrmHelp *showHelpWindow(QWidget *window, const QString &guidePath);

} // namespace lexitka
