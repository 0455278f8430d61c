#include "fmain.h"

#include "app/application.h"
#include "editor/fviewedit.h"

#include <algorithm>

namespace lexitka {

void TfrmMain::btnViewClick()
{
    TfrmViewEdt &editor = m_app.frmViewEdt();
    editor.ViewLessonIndex = std::max(0, highlightedLesson());
    editor.Start();
    if (editor.EditorChanged) {
        // The lesson list shows the lessons as they now are, all unticked.
        const QString path = m_app.test().DictionaryPath;
        CloseSlovnik(path);
        OpenSlovnik(path);
    }
    editor.EditorChanged = false;
}

void TfrmMain::btnShowErrorsClick()
{
    TfrmViewEdt &editor = m_app.frmViewEdt();
    editor.ShowErrorsOnOpen = true;
    editor.Start();
    editor.ShowErrorsOnOpen = false;
    // Lessons may have been changed too: the list must not show what is gone.
    if (editor.EditorChanged) {
        const QString path = m_app.test().DictionaryPath;
        CloseSlovnik(path);
        OpenSlovnik(path);
    }
    editor.EditorChanged = false;
}

} // namespace lexitka
