// The browser's commands as actions: each with its shortcut, acting on the
// key press, and all of them in the grid's context menu, so that none is
// reachable only by a key nobody told the user about.
#include "fviewedit.h"

#include "editor/lessonprint.h"
#include "platform/messenger.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>

namespace lexitka {

QAction *TfrmViewEdt::addCommand(const char *name, const QString &text, const QList<QKeySequence> &keys)
{
    // A menu shows only an action's first key: a command with more names them all.
    QString shown = text;
    if (keys.size() > 1) {
        QStringList names;
        for (const QKeySequence &key : keys)
            names.append(key.toString(QKeySequence::NativeText));
        shown += u'\t' + names.join(QStringLiteral(", "));
    }
    auto *action = new QAction(shown, this);
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

    // Insert and Delete keep acting on the key's release (FormKeyUp); the
    // menu only names them.
    auto *add = addCommand("actAddWord", QStringLiteral("Přidat slovíčko\tIns"), {});
    connect(add, &QAction::triggered, this, &TfrmViewEdt::Button3Click);
    auto *edit = addCommand("actEditWord", QStringLiteral("Editovat slovíčko"), {});
    connect(edit, &QAction::triggered, this, &TfrmViewEdt::Button4Click);
    auto *remove = addCommand("actDeleteWord", QStringLiteral("Smazat slovíčko\tDel"), {});
    connect(remove, &QAction::triggered, this, &TfrmViewEdt::Button5Click);
    auto *cut = addCommand("actCut", QStringLiteral("Vyjmout"), {QKeySequence::Cut});
    connect(cut, &QAction::triggered, this, &TfrmViewEdt::cutRows);
    auto *copy = addCommand("actCopy", QStringLiteral("Kopírovat"), {QKeySequence::Copy});
    connect(copy, &QAction::triggered, this, &TfrmViewEdt::copyRows);
    auto *paste = addCommand("actPaste", QStringLiteral("Vložit"), {QKeySequence::Paste});
    connect(paste, &QAction::triggered, this, &TfrmViewEdt::pasteRows);
    auto *move = addCommand("actMove", QStringLiteral("Přesunout do lekce…"), {QKeySequence(Qt::CTRL | Qt::Key_M)});
    connect(move, &QAction::triggered, this, &TfrmViewEdt::moveRows);
    auto *editCell = addCommand("actEditCell", QStringLiteral("Upravit buňku\tF2"), {});
    connect(editCell, &QAction::triggered, this, [this] { sgList->edit(sgList->currentIndex()); });
    auto *addLesson = addCommand("actAddLesson", QStringLiteral("Přidat lekci"), {});
    connect(addLesson, &QAction::triggered, this, &TfrmViewEdt::Button2Click);
    auto *rename =
        addCommand("actRenameLesson", QStringLiteral("Přejmenovat lekci…"), {QKeySequence(Qt::CTRL | Qt::Key_R)});
    connect(rename, &QAction::triggered, this, &TfrmViewEdt::renameLesson);
    auto *removeLesson = addCommand("actDeleteLesson", QStringLiteral("Smazat lekci"), {});
    connect(removeLesson, &QAction::triggered, this, &TfrmViewEdt::Button6Click);
    actSort = addCommand("actSort", QStringLiteral("Seřadit lekci"), {QKeySequence(Qt::CTRL | Qt::Key_F9)});
    connect(actSort, &QAction::triggered, this, &TfrmViewEdt::SortLekce);
    auto *find = addCommand("actFind", QStringLiteral("Hledat…"), {QKeySequence::Find, QKeySequence(Qt::Key_F3)});
    connect(find, &QAction::triggered, this, &TfrmViewEdt::btnFindClick);
    auto *import =
        addCommand("actImport", QStringLiteral("Importovat slovíčka…"), {QKeySequence(Qt::CTRL | Qt::Key_I)});
    connect(import, &QAction::triggered, this, &TfrmViewEdt::importWords);
    auto *exportOne =
        addCommand("actExportLesson", QStringLiteral("Exportovat lekci…"), {QKeySequence(Qt::CTRL | Qt::Key_E)});
    connect(exportOne, &QAction::triggered, this, &TfrmViewEdt::exportLesson);
    auto *exportAll = addCommand("actExportDictionary", QStringLiteral("Exportovat slovník…"),
                                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)});
    connect(exportAll, &QAction::triggered, this, &TfrmViewEdt::exportDictionary);
    actRtf = addCommand("actRtf", QStringLiteral("Export do RTF…"), {QKeySequence(Qt::CTRL | Qt::Key_F10)});
    connect(actRtf, &QAction::triggered, this, &TfrmViewEdt::SaveToFIle);
    auto *print = addCommand("actPrint", QStringLiteral("Tisk"), {});
    connect(print, &QAction::triggered, this, &TfrmViewEdt::Button1Click);
    auto *printDialog = addCommand("actPrintDialog", QStringLiteral("Tisk…"), {QKeySequence::Print});
    connect(printDialog, &QAction::triggered, this, &TfrmViewEdt::printWithDialog);
    auto *preview = addCommand("actPrintPreview", QStringLiteral("Náhled tisku…"), {});
    connect(preview, &QAction::triggered, this, &TfrmViewEdt::printPreview);
    actSave = addCommand("actSave", QStringLiteral("Uložit"), {QKeySequence::Save});
    connect(actSave, &QAction::triggered, this, &TfrmViewEdt::saveNow);
    actSpeak = addCommand("actSpeak", QStringLiteral("Přečíst slovo nahlas"), {QKeySequence(Qt::Key_F5)});
    connect(actSpeak, &QAction::triggered, this, &TfrmViewEdt::speakSelectedWord);
    auto *close = addCommand("actClose", QStringLiteral("Zavřít\tEsc"), {});
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto separator = [this] {
        auto *s = new QAction(this);
        s->setSeparator(true);
        return s;
    };
    sgList->setContextMenuPolicy(Qt::ActionsContextMenu);
    sgList->addActions({add,         edit,      editCell,    remove,      separator(), cut,          copy,
                        paste,       move,      separator(), addLesson,   rename,      removeLesson, separator(),
                        actUndo,     actRedo,   separator(), actSort,     find,        separator(),  import,
                        exportOne,   exportAll, actRtf,      separator(), print,       printDialog,  preview,
                        separator(), actSpeak,  actSave,     close});
}

void TfrmViewEdt::printWithDialog()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDlg"));
    dialog.setWindowTitle(QStringLiteral("Tisk"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printLesson(printer, WordLists.name(lesson), WordLists.lines(lesson), m_dictionary.languageCode)
        != PrintResult::Printed)
        m_messenger.error(this, kPrintFailedText);
}

void TfrmViewEdt::printPreview()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    QPrinter printer;
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PreviewDlg"));
    dialog.setWindowTitle(QStringLiteral("Náhled tisku"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter *target) {
        printLesson(*target, WordLists.name(lesson), WordLists.lines(lesson), m_dictionary.languageCode);
    });
    dialog.exec();
}

} // namespace lexitka
