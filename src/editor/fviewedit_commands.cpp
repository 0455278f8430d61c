// The browser's commands on lessons and words: each one undo step.
#include "fviewedit.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/inifile.h"
#include "editor/ffind.h"
#include "editor/fword.h"
#include "editor/lessonmodel.h"
#include "editor/lessonnames.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"
#include "exam/utest.h"

#include <QComboBox>
#include <QInputDialog>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>

namespace lexitka {

void TfrmViewEdt::showLesson(qsizetype lesson, qsizetype row)
{
    if (currentLesson() != lesson || m_gridStale) {
        if (currentLesson() != lesson)
            cmbLekce->setCurrentIndex(int(lesson));
        fillGrid();
    }
    selectWordRow(row);
}

void TfrmViewEdt::lessonInserted(qsizetype at)
{
    m_names->lessonInserted(int(at));
    m_gridStale = true;
}

void TfrmViewEdt::lessonRemoved(qsizetype at)
{
    m_names->lessonRemoved(int(at));
    m_gridStale = true;
}

void TfrmViewEdt::linesInserted(qsizetype lesson, qsizetype first, qsizetype count)
{
    if (lesson == currentLesson() && !m_gridStale)
        m_model->linesInserted(WordLists.lines(lesson), int(first), int(count));
}

void TfrmViewEdt::linesRemoved(qsizetype lesson, qsizetype first, qsizetype count)
{
    if (lesson == currentLesson() && !m_gridStale)
        m_model->linesRemoved(WordLists.lines(lesson), int(first), int(count));
}

void TfrmViewEdt::linesChanged(qsizetype lesson, qsizetype first, qsizetype last)
{
    if (lesson == currentLesson() && !m_gridStale)
        m_model->linesChanged(WordLists.lines(lesson), int(first), int(last));
}

void TfrmViewEdt::linesReordered(qsizetype lesson)
{
    if (lesson == currentLesson() && !m_gridStale)
        m_model->linesReordered(WordLists.lines(lesson));
}

void TfrmViewEdt::Button2Click()
{
    QInputDialog ask(this);
    ask.setObjectName(QStringLiteral("newLessonBox"));
    ask.setWindowTitle(QStringLiteral("Nová lekce"));
    ask.setLabelText(QStringLiteral("Zadejte jméno nové lekce"));
    ask.setTextValue(QStringLiteral("Nová lekce"));
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Storno"));
    QByteArray name;
    for (;;) {
        if (ask.exec() != QDialog::Accepted)
            return;
        name = trimmedBlanks(encode(ask.textValue(), CodePage::Cp1250)).toByteArray();
        QString refusal;
        switch (WordLists.checkNewName(name)) {
        case LessonNameProblem::None: break;
        case LessonNameProblem::Empty: refusal = QStringLiteral("Zadejte jméno lekce."); break;
        case LessonNameProblem::BadCharacter:
            refusal = QStringLiteral("Jméno lekce nesmí obsahovat znak „]“ ani konec řádku.");
            break;
        case LessonNameProblem::Taken:
            refusal = QStringLiteral("Lekce „%1“ už existuje. Zvolte jiné jméno.")
                          .arg(displayText(ask.textValue().trimmed()));
            break;
        }
        if (refusal.isEmpty())
            break;
        m_messenger.information(this, refusal);
    }
    m_undo->push(new AddLessonCommand(*this, WordLists.mistakesIndex(), name));
}

void TfrmViewEdt::Button3Click()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson) || !m_word)
        return;
    if (WordLists.isMistakes(lesson)) {
        // A mistake needs the kind of question it was made in; only a test knows it.
        m_messenger.information(this, QStringLiteral("Do „Chyby“ nelze přidávat slovíčka. Vyberte lekci."));
        return;
    }
    WordRecord word;
    word.Clen = QByteArray::number(kNoArticle);
    const int language = m_test.LanguageCode;
    if (!m_word->StartWord(word, language))
        return;
    const QByteArray line = ComposeEntry(QByteArray::number(m_model->rowCount()), word, language);
    m_undo->push(new AddWordCommand(*this, lesson, line));
}

void TfrmViewEdt::Button4Click()
{
    qsizetype lesson = 0;
    const qsizetype row = SelectedRow - 1;
    if (!checkedLesson(lesson) || !m_word || row < 0 || row >= WordLists.lines(lesson).size())
        return;
    const QByteArray old = WordLists.lines(lesson).at(row).toByteArray();
    const int language = m_test.LanguageCode;
    WordRecord word = ParseWord(old, language);
    const WordRecord before = word;
    if (!m_word->StartWord(word, language) || word == before)
        return; // OK without a change changes nothing
    QByteArray line = ComposeEntry(QByteArray::number(m_model->rowCount()), word, language);
    if (WordLists.isMistakes(lesson))
        line.prepend(old.left(1) + '\\'); // the kind of question the mistake was made in
    m_undo->push(new EditWordCommand(*this, lesson, row, line));
}

void TfrmViewEdt::Button5Click()
{
    qsizetype lesson = 0;
    const qsizetype row = SelectedRow - 1;
    if (!checkedLesson(lesson) || row < 0 || row >= WordLists.lines(lesson).size())
        return;
    m_undo->push(new DeleteWordCommand(*this, lesson, row));
}

void TfrmViewEdt::Button6Click()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    if (WordLists.isMistakes(lesson)) {
        m_messenger.information(this, QStringLiteral("„Chyby“ nelze smazat jako lekci. Jednotlivé chyby smažete "
                                                     "tlačítkem „Smazat slovíčko“."));
        return;
    }
    if (!m_messenger.ask(this, QStringLiteral("Smazat lekci"), QStringLiteral("Opravdu smazat ?"),
                         Messenger::Default::No))
        return;
    m_undo->push(new DeleteLessonCommand(*this, lesson));
}

void TfrmViewEdt::SortLekce()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson) || WordLists.isMistakes(lesson))
        return;
    WaitCursor wait;
    m_undo->push(new SortLessonCommand(*this, lesson, m_test.LanguageCode, SelectedRow - 1));
}

void TfrmViewEdt::btnFindClick()
{
    if (m_find)
        m_find->showFind();
}

} // namespace lexitka
