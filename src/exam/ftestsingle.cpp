#include "ftestsingle.h"

#include "data/dictionary.h"
#include "platform/keyboard.h"
#include "exam/typing_ru.h"
#include "exam/typingaid.h"
#include "exam/utest.h"

#include <QLineEdit>

namespace lexitka {

SingleAnswerTestWindow::SingleAnswerTestWindow(UTest &test, Keyboards &keyboards, Messenger &messenger,
                                               const SingleAnswerLanguage &language, QWidget *parent)
    : TestWindow(test, keyboards, messenger, language.languageCode, language.objectName, parent), m_language(language)
{ }

void SingleAnswerTestWindow::makeControlsOnce()
{
    TestWindow::makeControlsOnce();
    m_typingAid = new TypingAid(edtPreklad, m_keyboards);
}

void SingleAnswerTestWindow::Start()
{
    if (m_language.czechKeyboardOnStart)
        m_keyboards.UseCzechKeyboard();
    TestWindow::Start();
}

void SingleAnswerTestWindow::Display()
{
    edtPreklad->clear();
    if (isVisible())
        edtPreklad->setFocus();
    ShowScores();
    m_test.ChooseKindOfTwo();

    const CodePage foreign = languageInfo(m_language.languageCode).foreignCodePage;
    const bool toForeign = m_test.AskedKind == KindToForeign;
    m_questionCodePage = toForeign ? CodePage::Cp1250 : foreign;
    setAnswerCodePage(toForeign ? foreign : CodePage::Cp1250);
    m_typingAid->setTable(toForeign ? m_language.typing : TypingTable{}, answerCodePage());
    if (m_language.keyboardPerQuestion) {
        if (toForeign)
            m_keyboards.UseForeignKeyboard();
        else
            m_keyboards.UseCzechKeyboard();
    }
    const WordRecord &word = m_test.CurrentWord;
    setQuestion(toForeign ? word.Preklad : word.Slovo, m_questionCodePage);
    updateSpeech();
}

const QByteArray &SingleAnswerTestWindow::expected() const
{
    return m_test.AskedKind == KindToForeign ? m_test.CurrentWord.Slovo : m_test.CurrentWord.Preklad;
}

void SingleAnswerTestWindow::btnOKClick()
{
    TypedAnswer answer;
    answer.text = typedAnswer();
    submit(answer);
}

void SingleAnswerTestWindow::FormKeyUpInsert() { setAnswer(expected()); }

void SingleAnswerTestWindow::edtPrekladChange() { m_typingAid->edited(); }

TfrmTestEn::TfrmTestEn(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : SingleAnswerTestWindow(test, keyboards, messenger, {LangEnglish, "frmTestEn", true, false, {}}, parent)
{
    makeControls(controls);
}

TfrmTestRu::TfrmTestRu(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : SingleAnswerTestWindow(test, keyboards, messenger, {LangRussian, "frmTestRu", false, true, cyrillicTypingTable()},
                             parent)
{
    makeControls(controls);
}

TfrmTestLt::TfrmTestLt(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : SingleAnswerTestWindow(test, keyboards, messenger, {LangLatin, "frmTestLt", true, false, {}}, parent)
{
    makeControls(controls);
}

} // namespace lexitka
