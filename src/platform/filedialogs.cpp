#include "filedialogs.h"

#include "data/displaytext.h"
#include "data/filecopy.h"
#include "platform/messenger.h"

#include "platform/czechfilelist.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace lexitka {

namespace {

bool isInside(const QString &path, const QString &folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString p = QDir::cleanPath(QDir(path).absolutePath());
    const QString f = QDir::cleanPath(QDir(folder).absolutePath());
    return p == f || p.startsWith(f + u'/');
}

// Texts Qt's dialog sets itself, in English without Qt's Czech translation.
void czechControls(QFileDialog *dlg)
{
    static const std::pair<const char *, const char *> buttons[] = {{"backButton", "Zpět"},
                                                                    {"forwardButton", "Vpřed"},
                                                                    {"toParentButton", "O úroveň výš"},
                                                                    {"newFolderButton", "Nová složka"},
                                                                    {"listModeButton", "Seznam"},
                                                                    {"detailModeButton", "Podrobnosti"}};
    for (const auto &[name, text] : buttons) {
        if (auto *button = dlg->findChild<QAbstractButton *>(QString::fromLatin1(name))) {
            button->setToolTip(QString::fromUtf8(text));
            button->setAccessibleName(QString::fromUtf8(text));
        }
    }
    static const std::pair<const char *, const char *> actions[] = {
        {"qt_rename_action", "&Přejmenovat"},
        {"qt_delete_action", "&Smazat"},
        {"qt_show_hidden_action", "Zobrazit &skryté soubory"},
        {"qt_new_folder_action", "&Nová složka"}};
    for (const auto &[name, text] : actions) {
        if (auto *action = dlg->findChild<QAction *>(QString::fromLatin1(name)))
            action->setText(QString::fromUtf8(text));
    }
}

} // namespace

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString userFolderFor(const QString &folder)
{
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return isInside(folder, perUser) ? documentsFolder() : folder;
}

QFileDialog *createFileDialog(QWidget *parent, const char *objectName, const QString &title,
                              QFileDialog::AcceptMode mode, const QString &acceptLabel, const QString &dictionaryFolder)
{
    auto *dlg = new QFileDialog(parent, title);
    dlg->setObjectName(QString::fromLatin1(objectName));
    dlg->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite
                    | QFileDialog::HideNameFilterDetails);
    dlg->setAcceptMode(mode);
    // An open dialog takes a name that does not exist yet, too.
    dlg->setFileMode(QFileDialog::AnyFile);
    dlg->setLabelText(QFileDialog::LookIn, QStringLiteral("Oblast hledání:"));
    dlg->setLabelText(QFileDialog::FileName, QStringLiteral("Název souboru:"));
    dlg->setLabelText(QFileDialog::FileType, QStringLiteral("Soubory typu:"));
    dlg->setLabelText(QFileDialog::Accept, acceptLabel);
    dlg->setLabelText(QFileDialog::Reject, QStringLiteral("Storno"));
    dlg->setProxyModel(new CzechFileList(dlg));
    czechControls(dlg);
    QList<QUrl> places;
    for (const QString &folder : {QDir::homePath(), documentsFolder(), dictionaryFolder}) {
        const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(QDir(folder).absolutePath()));
        if (!folder.isEmpty() && !places.contains(url))
            places.append(url);
    }
    dlg->setSidebarUrls(places);
    return dlg;
}

QString chooseFile(QFileDialog *dlg, Messenger &messenger, bool askOverwrite, const QString &keep)
{
    for (;;) {
        if (dlg->exec() != QDialog::Accepted)
            return {};
        const QString path = dlg->selectedFiles().value(0);
        if (path.isEmpty())
            return {};
        if (!askOverwrite || !QFileInfo::exists(path) || isSameFile(path, keep))
            return path;
        // Replacing a file by mistake loses it: ask, and on No let the user choose again.
        if (messenger.question(dlg->parentWidget(),
                               QStringLiteral("Soubor %1 již existuje. Přepsat ?").arg(shownPath(path))))
            return path;
    }
}

} // namespace lexitka
