#pragma once

#include <QFileDialog>
#include <QString>

class QWidget;

namespace lexitka {

class Messenger;

// Qt's own file dialog with Czech labels, so that it speaks Czech and tests
// can answer it. It never asks before replacing a file: chooseFile does, in
// Czech. Its side bar offers the home folder, Documents and the dictionary folder.
QFileDialog *createFileDialog(QWidget *parent, const char *objectName, const QString &title,
                              QFileDialog::AcceptMode mode, const QString &acceptLabel,
                              const QString &dictionaryFolder = {});

// The user's Documents folder (the home folder where there is none).
QString documentsFolder();
// Where a dialog that writes a file for the user starts: `folder`, unless it
// is the hidden per-user folder of an installed program; then Documents.
QString userFolderFor(const QString &folder);

// Shows dlg until the user cancels (empty result) or picks a path. With
// askOverwrite, an existing file other than `keep` needs a Yes to
// "Soubor … již existuje. Přepsat ?" first; No shows the dialog again.
QString chooseFile(QFileDialog *dlg, Messenger &messenger, bool askOverwrite, const QString &keep = {});

} // namespace lexitka
