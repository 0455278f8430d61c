#include "fmain.h"

#include "app/application.h"
#include "editor/fviewedit.h"

#include <algorithm>

namespace lexitka {

void TfrmMain::btnViewClick()
{
    TfrmViewEdt &editor = m_app.frmViewEdt();
    editor.ViewLessonIndex = std::max(0, highlightedLesson());
    runEditor();
}

void TfrmMain::btnShowErrorsClick()
{
    TfrmViewEdt &editor = m_app.frmViewEdt();
    editor.ShowErrorsOnOpen = true;
    runEditor();
    editor.ShowErrorsOnOpen = false;
}

void TfrmMain::runEditor()
{
    TfrmViewEdt &editor = m_app.frmViewEdt();
    editor.setDictionary(m_app.test().dictionary());
    recountReviews();
    // Listed only when there is something due: it is another pass over the dictionary.
    editor.setDueValues(m_overview.dueCount > 0 ? readReviews(DueCards::List).dueValues : QSet<QByteArray>());
    editor.Start();
    // The lesson list shows the lessons as they now are, all unticked; from
    // the mistakes too, since lessons may have been changed there as well.
    if (editor.EditorChanged) {
        const QString path = m_app.test().DictionaryPath;
        CloseSlovnik(path);
        OpenSlovnik(path, Reading::Reread);
    }
    editor.EditorChanged = false;
    recountReviews(); // a word edited is another card: the saved file is another file
}

} // namespace lexitka
