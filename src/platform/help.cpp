#include "platform/help.h"

#include "lexitka_installpaths.h"
#include "platform/helpwindow.h"
#include "platform/messenger.h"
#include "platform/programfolder.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace lexitka {

namespace {

const QString kGuide = QStringLiteral("help/navod.html");

} // namespace

QString userGuidePath(const QString &executableFolder)
{
    const QDir exe(executableFolder);
    for (const QString &candidate :
         {exe.filePath(QStringLiteral(LEXITKA_DATA_FROM_BIN "/") + kGuide), exe.filePath(kGuide)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

void openUserGuide(QWidget *parent, Messenger &messenger)
{
    const QString guide = userGuidePath(executableFolder());
    if (guide.isEmpty()) {
        messenger.information(parent, QStringLiteral("Návod k programu není nainstalován."));
        return;
    }
    showHelpWindow(parent, guide);
}

QAction *addHelpAction(QWidget *window, Messenger &messenger)
{
    auto *action = new QAction(QStringLiteral("&Návod"), window);
    action->setObjectName(QStringLiteral("actNapoveda"));
    action->setShortcut(QKeySequence(Qt::Key_F1));
    // Works wherever the focus is in the window, a menu or not.
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    QObject::connect(action, &QAction::triggered, window, [window, &messenger] { openUserGuide(window, messenger); });
    return action;
}

QMenu *addHelpMenu(QMenuBar *bar, QWidget *window, Messenger &messenger)
{
    QMenu *menu = bar->addMenu(QStringLiteral("&Nápověda"));
    menu->setObjectName(QStringLiteral("mnuNapoveda"));
    menu->addAction(addHelpAction(window, messenger));
    return menu;
}

} // namespace lexitka
