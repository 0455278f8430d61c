#include "articlewindow.h"

#include "platform/keyboard.h"
#include "exam/ftestes.h"
#include "exam/ftestfr.h"
#include "exam/judging.h"
#include "exam/typing_es.h"
#include "exam/typing_fr.h"
#include "exam/typingaid.h"
#include "exam/utest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace lexitka {

ArticleTestWindow::ArticleTestWindow(const Language &language, UTest &test, Keyboards &keyboards, Messenger &messenger,
                                     QWidget *parent)
    : TestWindow(test, keyboards, messenger, language.code, language.objectName, parent), m_typing(language.typing)
{
    setWindowTitle(language.caption);
}

void ArticleTestWindow::makeControlsOnce()
{
    TestWindow::makeControlsOnce();
    m_typingAid = new TypingAid(edtPreklad, m_keyboards);
    Label2 = new QLabel(QStringLiteral("Člen:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 60, 60, 16);
    cmbclen = new QComboBox(this);
    cmbclen->setObjectName(QStringLiteral("cmbclen"));
    cmbclen->setGeometry(8, 76, 60, 23);
    cmbclen->addItems(articles(languageCode()));
    cmbclen->setCurrentIndex(kNoArticle);
    Label3->move(76, 60);
    edtPreklad->setGeometry(76, 76, 205, 23);
    setTabOrder(cmbclen, edtPreklad);
}

void ArticleTestWindow::Display()
{
    edtPreklad->clear();
    cmbclen->setCurrentIndex(kNoArticle);
    if (isVisible() && cmbclen->isEnabled())
        cmbclen->setFocus();
    ShowScores();
    m_test.ChooseKindOfTwo();
    const WordRecord &word = m_test.CurrentWord;
    if (m_test.AskedKind == KindToForeign)
        setQuestion(word.Preklad, CodePage::Cp1250);
    if (m_test.AskedKind == KindToCzech) {
        const int code = articleCode(languageCode(), word.Clen);
        setQuestion(GetClen2(languageCode(), code, word.Slovo) + word.Slovo, CodePage::Cp1252);
        cmbclen->setCurrentIndex(kNoArticle);
        cmbclen->setEnabled(false);
        if (isVisible())
            edtPreklad->setFocus();
    } else {
        cmbclen->setEnabled(true);
    }
    if (m_test.AskedKind == KindToCzech) {
        setAnswerCodePage(CodePage::Cp1250);
        m_typingAid->setTable({}, CodePage::Cp1250);
        m_keyboards.UseCzechKeyboard();
    } else {
        setAnswerCodePage(CodePage::Cp1252);
        m_typingAid->setTable(m_typing, CodePage::Cp1252);
        m_keyboards.UseForeignKeyboard();
    }
    updateSpeech();
}

void ArticleTestWindow::btnOKClick()
{
    TypedAnswer answer;
    answer.text = typedAnswer();
    answer.article = cmbclen->currentIndex();
    submit(answer);
}

void ArticleTestWindow::FormKeyUpInsert()
{
    const WordRecord &word = m_test.CurrentWord;
    if (m_test.AskedKind == KindToCzech) {
        setAnswer(word.Preklad);
    } else if (m_test.AskedKind == KindToForeign) {
        setAnswer(word.Slovo);
        cmbclen->setCurrentIndex(articleCode(languageCode(), word.Clen));
    }
}

void ArticleTestWindow::edtPrekladChange() { m_typingAid->edited(); }

TfrmTestFr::TfrmTestFr(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : ArticleTestWindow({LangFrench, "frmTestFr", QStringLiteral("Zkoušení"), frenchTypingTable()}, test, keyboards,
                        messenger, parent)
{
    makeControls(controls);
}

TfrmTestEs::TfrmTestEs(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : ArticleTestWindow({LangSpanish, "frmTestEs", QStringLiteral("Zkoušení es"), spanishTypingTable()}, test,
                        keyboards, messenger, parent)
{
    makeControls(controls);
}

} // namespace lexitka
