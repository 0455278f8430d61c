// "Tisk" and Ctrl+F10: the lesson on paper and in a rich-text file.
#include "fviewedit.h"

#include "data/displaytext.h"
#include "editor/lessonmodel.h"
#include "editor/lessonprint.h"
#include "editor/rtfwriter.h"
#include "platform/filedialogs.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"

#include <QFileInfo>

namespace lexitka {

void TfrmViewEdt::Button1Click()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    PrintResult result = PrintResult::Failed;
    {
        WaitCursor wait;
        result =
            printLessonOnDefaultPrinter(WordLists.name(lesson), WordLists.lines(lesson), m_dictionary.languageCode);
    }
    if (result == PrintResult::NoPrinter)
        m_messenger.information(this, kNoDefaultPrinterText);
    else if (result == PrintResult::Failed)
        m_messenger.error(this, kPrintFailedText);
}

void TfrmViewEdt::SaveToFIle()
{
    if (!SaveDlg) {
        const QString folder = QFileInfo(m_dictionary.path).absolutePath();
        SaveDlg = createFileDialog(this, "SaveDlg", QStringLiteral("Uložit jako"), QFileDialog::AcceptSave,
                                   QStringLiteral("Uložit"), folder);
        SaveDlg->setDefaultSuffix(QStringLiteral("rtf"));
        SaveDlg->setDirectory(userFolderFor(folder));
    }
    const QString path = chooseFile(SaveDlg, m_messenger, true);
    if (path.isEmpty())
        return;
    // The rows as the grid shows them, in its order, made from its lines.
    bool written = false;
    {
        WaitCursor wait;
        written = exportLessonLinesRtf(path, m_model->lines(), m_dictionary.languageCode);
    }
    if (!written)
        m_messenger.error(this, kRtfSaveFailedText.arg(shownPath(path)));
}

} // namespace lexitka
