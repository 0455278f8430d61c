// The browser's commands as actions: each with its shortcut, acting on the
// key press, and all of them in the grid's context menu.
#include "fviewedit.h"

#include <QAction>
#include <QTableView>
#include <QUndoStack>

namespace lexitka {

QAction *TfrmViewEdt::addCommand(const char *name, const QString &text, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

void TfrmViewEdt::createActions()
{
    actUndo = m_undo->createUndoAction(this, QStringLiteral("Zpět"));
    actUndo->setObjectName(QStringLiteral("actUndo"));
    actUndo->setShortcuts(QKeySequence::Undo);
    addAction(actUndo);
    actRedo = m_undo->createRedoAction(this, QStringLiteral("Znovu"));
    actRedo->setObjectName(QStringLiteral("actRedo"));
    // Ctrl+Y as users of the original program know it, and the platform's own.
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    actRedo->setShortcuts(redoKeys);
    addAction(actRedo);

    actSort = addCommand("actSort", QStringLiteral("Seřadit lekci"), {QKeySequence(Qt::CTRL | Qt::Key_F9)});
    connect(actSort, &QAction::triggered, this, &TfrmViewEdt::SortLekce);
    actRtf = addCommand("actRtf", QStringLiteral("Export do RTF…"), {QKeySequence(Qt::CTRL | Qt::Key_F10)});
    connect(actRtf, &QAction::triggered, this, &TfrmViewEdt::SaveToFIle);
    actSave = addCommand("actSave", QStringLiteral("Uložit"), {QKeySequence::Save});
    connect(actSave, &QAction::triggered, this, &TfrmViewEdt::saveNow);
}

} // namespace lexitka
