#include "fmain.h"

#include "app/application.h"
#include "data/displaytext.h"
#include "app/fabout.h"
#include "data/dictionary.h"
#include "data/filecopy.h"
#include "data/nativepath.h"
#include "data/savefile.h"
#include "platform/filedialogs.h"
#include "platform/messenger.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace lexitka {
namespace {

QStringList dictionaryFilters()
{
    QStringList patterns;
    QStringList filters;
    for (int code : allLanguageCodes()) {
        const LanguageInfo &lang = languageInfo(code);
        const QString pattern = QStringLiteral("*.") + QLatin1String(lang.extension);
        patterns.append(pattern);
        filters.append(lang.dialogName + QStringLiteral(" (") + pattern + u')');
    }
    filters.prepend(QStringLiteral("Slovniky (") + patterns.join(u' ') + u')');
    return filters;
}

} // namespace

void TfrmMain::createFileDialogs()
{
    if (dlgOpen)
        return;
    const QStringList filters = dictionaryFilters();
    dlgOpen = createFileDialog(this, "dlgOpen", QStringLiteral("Otevřít"), QFileDialog::AcceptOpen,
                               QStringLiteral("Otevřít"), m_dictionaryFolder);
    dlgSave = createFileDialog(this, "dlgSave", QStringLiteral("Uložit jako"), QFileDialog::AcceptSave,
                               QStringLiteral("Uložit"), m_dictionaryFolder);
    for (QFileDialog *dlg : {dlgOpen, dlgSave}) {
        dlg->setNameFilters(filters);
        dlg->setDefaultSuffix(QStringLiteral("en"));
    }
}

QString TfrmMain::runFileDialog(QFileDialog *dlg, DialogMemory &memory, const QString &fileName, bool askOverwrite,
                                const QString &keep)
{
    dlg->setDirectory(m_dictionaryFolder);
    dlg->selectNameFilter(memory.filter.isEmpty() ? dlg->nameFilters().constFirst() : memory.filter);
    // A name with a folder opens the dialog in that folder.
    dlg->selectFile(fileName.isEmpty() ? memory.fileName : fileName);
    const QString path = chooseFile(dlg, m_app.messenger(), askOverwrite, keep);
    if (path.isEmpty())
        return {};
    memory.fileName = QFileInfo(path).fileName();
    // The dialog reports the label it shows; keep the whole filter, which is
    // what selecting it again needs.
    const QString shown = dlg->selectedNameFilter();
    for (const QString &filter : dlg->nameFilters()) {
        if (filter == shown || filter.startsWith(shown + QStringLiteral(" (")))
            memory.filter = filter;
    }
    return path;
}

void TfrmMain::switchDictionary(const QString &path)
{
    UTest &test = m_app.test();
    CloseSlovnik(test.DictionaryPath);
    test.ResetLists();
    test.DictionaryPath = path;
    OpenSlovnik(path);
}

void TfrmMain::Vytvoitnov1Click()
{
    createFileDialogs();
    const QString path = runFileDialog(dlgSave, m_saveMemory, {}, true);
    if (path.isEmpty())
        return;
    if (!saveWholeFile(path, {})) {
        m_app.messenger().error(this, QStringLiteral("Soubor %1 nelze vytvořit.").arg(shownPath(path)));
        return;
    }
    // The ticks still showing go to the new file's extension, none to the old one.
    m_app.test().DictionaryPath = path;
    switchDictionary(path);
}

void TfrmMain::Otevt1Click()
{
    createFileDialogs();
    const QString path = runFileDialog(dlgOpen, m_openMemory, m_app.test().DictionaryPath);
    if (path.isEmpty())
        return;
    switchDictionary(path);
}

void TfrmMain::Uloitjako1Click()
{
    createFileDialogs();
    const QString source = m_app.test().DictionaryPath;
    // A copy for the user goes where he keeps his files, not into a hidden folder.
    // A name whose bytes are no UTF-8 is offered as the user reads it.
    const QString name = readablePath(QFileInfo(source).fileName());
    const QString start = userFolderFor(m_dictionaryFolder);
    const QString path = runFileDialog(dlgSave, m_saveMemory,
                                       start == m_dictionaryFolder ? name : QDir(start).filePath(name), true, source);
    if (path.isEmpty() || isSameFile(path, source))
        return;
    if (!copyFileReplacing(source, path))
        m_app.messenger().error(
            this, QStringLiteral("Soubor %1 nelze zkopírovat do %2.").arg(shownPath(source), shownPath(path)));
}

void TfrmMain::Import1Click()
{
    createFileDialogs();
    QString chosen, target;
    for (;;) {
        chosen = runFileDialog(dlgOpen, m_openMemory, {});
        if (chosen.isEmpty())
            return;
        target = QDir(m_dictionaryFolder).filePath(QFileInfo(chosen).fileName());
        // A dictionary of the same name in the folder would be lost: ask, as
        // Nový and Export do, and on No let the user choose again.
        if (isSameFile(chosen, target) || !QFileInfo(target).isFile()
            || m_app.messenger().question(this,
                                          QStringLiteral("Soubor %1 již existuje. Přepsat ?").arg(shownPath(target))))
            break;
    }
    if (!isSameFile(chosen, target)) {
        if (!QDir().mkpath(m_dictionaryFolder) || !copyFileReplacing(chosen, target)) {
            m_app.messenger().error(
                this, QStringLiteral("Soubor %1 nelze zkopírovat do %2.").arg(shownPath(chosen), shownPath(target)));
            return;
        }
    }
    switchDictionary(target);
}

void TfrmMain::btnAboutClick() { m_app.frmAbout().exec(); }

} // namespace lexitka
