// The browser's commands on lessons and words: each one undo step.
#include "fviewedit.h"

#include "data/codepage.h"
#include "data/dictionary.h"
#include "data/displaytext.h"
#include "data/inifile.h"
#include "editor/ffind.h"
#include "exchange/wordtable.h"
#include "editor/fword.h"
#include "editor/lessonmodel.h"
#include "editor/lessonnames.h"
#include "platform/messenger.h"
#include "platform/waitcursor.h"

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
    m_names->countChanged(int(lesson));
    if (lesson == currentLesson() && !m_gridStale)
        m_model->linesInserted(WordLists.lines(lesson), int(first), int(count));
}

void TfrmViewEdt::linesRemoved(qsizetype lesson, qsizetype first, qsizetype count)
{
    m_names->countChanged(int(lesson));
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

QString TfrmViewEdt::lessonNameRefusal(const QString &typed, QByteArray &name, qsizetype renamed) const
{
    name = trimmedBlanks(encode(typed, CodePage::Cp1250)).toByteArray();
    const QString unstorable = unencodableMessage(typed, CodePage::Cp1250, QStringLiteral("jméno lekce"));
    if (!unstorable.isEmpty())
        return unstorable;
    // A lesson may keep its own name in another case.
    if (renamed >= 0 && !name.isEmpty() && equalsIgnoringCase(WordLists.name(renamed), name))
        return {};
    switch (WordLists.checkNewName(name)) {
    case LessonNameProblem::None: return {};
    case LessonNameProblem::Empty: return QStringLiteral("Zadejte jméno lekce.");
    case LessonNameProblem::BadCharacter:
        return QStringLiteral("Jméno lekce nesmí obsahovat znak „]“ ani konec řádku.");
    case LessonNameProblem::Taken:
        return QStringLiteral("Lekce „%1“ už existuje. Zvolte jiné jméno.").arg(displayText(typed.trimmed()));
    }
    return {};
}

bool TfrmViewEdt::askLessonName(const QString &title, const QString &prompt, const QString &initial, QByteArray &name,
                                qsizetype renamed)
{
    QInputDialog ask(this);
    ask.setObjectName(renamed >= 0 ? QStringLiteral("renameLessonBox") : QStringLiteral("newLessonBox"));
    ask.setWindowTitle(title);
    ask.setLabelText(prompt);
    ask.setTextValue(initial);
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Storno"));
    for (;;) {
        if (ask.exec() != QDialog::Accepted)
            return false;
        const QString refusal = lessonNameRefusal(ask.textValue(), name, renamed);
        if (refusal.isEmpty())
            return true;
        m_messenger.information(this, refusal);
    }
}

void TfrmViewEdt::Button2Click()
{
    QByteArray name;
    if (askLessonName(QStringLiteral("Nová lekce"), QStringLiteral("Zadejte jméno nové lekce"),
                      QStringLiteral("Nová lekce"), name))
        m_undo->push(new AddLessonCommand(*this, WordLists.mistakesIndex(), name));
}

void TfrmViewEdt::renameLesson()
{
    qsizetype lesson = 0;
    if (!checkedLesson(lesson))
        return;
    if (WordLists.isMistakes(lesson)) {
        m_messenger.information(this, QStringLiteral("„Chyby“ nelze přejmenovat."));
        return;
    }
    QByteArray name;
    if (askLessonName(QStringLiteral("Přejmenovat lekci"), QStringLiteral("Zadejte nové jméno lekce"),
                      decode(WordLists.name(lesson), CodePage::Cp1250), name, lesson)
        && name != WordLists.name(lesson))
        m_undo->push(new RenameLessonCommand(*this, lesson, name));
}

void TfrmViewEdt::Button3Click()
{
    qsizetype lesson = 0;
    if (!m_word || !lessonToAddTo(lesson))
        return;
    WordRecord word;
    word.Clen = QByteArray::number(kNoArticle);
    const int language = m_dictionary.languageCode;
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
    const int language = m_dictionary.languageCode;
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
    const QList<qsizetype> rows = selectedRows();
    if (rows.size() > 1)
        m_undo->push(new RemoveLinesCommand(*this, lesson, rows, QStringLiteral("Smazat slovíčka")));
    else
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
    m_undo->push(new SortLessonCommand(*this, lesson, m_dictionary.languageCode, SelectedRow - 1));
}

void TfrmViewEdt::btnFindClick()
{
    if (m_find)
        m_find->showFind();
}

} // namespace lexitka
