#include "filedialogs.h"

#include "data/displaytext.h"
#include "data/filecopy.h"
#include "platform/messenger.h"

#include <QFileInfo>

namespace lexitka {

QFileDialog *createFileDialog(QWidget *parent, const char *objectName, const QString &title,
                              QFileDialog::AcceptMode mode, const QString &acceptLabel)
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
