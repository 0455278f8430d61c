#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace lexitka {

class Messenger;

// The Czech user guide (help/navod.html) of a program whose executable lies
// in executableFolder: an installation's (<prefix>/share/lexitka/help), or
// the one a build or a carried copy keeps beside the executable. Empty when
// neither is there.
QString userGuidePath(const QString &executableFolder);

// Shows the running program's guide in its help window (helpwindow.h);
// says in Czech when there is no guide.
void openUserGuide(QWidget *parent, Messenger &messenger);

// F1 anywhere in window opens the guide. Returns the action, for a menu.
QAction *addHelpAction(QWidget *window, Messenger &messenger);

// A menu "Nápověda" in bar with the item that opens the guide; F1 in
// window does too.
QMenu *addHelpMenu(QMenuBar *bar, QWidget *window, Messenger &messenger);

} // namespace lexitka
