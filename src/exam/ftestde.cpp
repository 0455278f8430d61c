#include "ftestde.h"

#include "platform/keyboard.h"
#include "exam/judging.h"
#include "exam/utest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace lexitka {
namespace {

constexpr int kWidth = 430;

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, 16);
    return l;
}

QLineEdit *formBox(QWidget *parent, const char *name, int x, int w)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(std::numeric_limits<int>::max());
    e->setGeometry(x, 20, w, 21);
    return e;
}

// Every occurrence at once: programmatic setText raises no further edit
// that could pick up the next one. The caret stays where it was.
void typeSharpS(QLineEdit *box, QChar typed)
{
    QString text = box->text();
    if (!text.contains(typed))
        return;
    const int caret = box->cursorPosition();
    text.replace(typed, QChar(0x00DF));
    box->setText(text);
    box->setCursorPosition(caret);
}

QByteArray boxBytes(const QLineEdit *box) { return encode(box->text(), CodePage::Cp1250); }

} // namespace

TfrmTestDe::TfrmTestDe(UTest &test, Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : TestWindow(test, keyboards, messenger, LangGerman, "frmTestDe", parent)
{
    makeControls(controls);
}

void TfrmTestDe::makeControlsOnce()
{
    TestWindow::makeControlsOnce();
    Label2 = label(this, "Label2", QStringLiteral("Člen:"), 8, 60, 60);
    cmbclen = new QComboBox(this);
    cmbclen->setObjectName(QStringLiteral("cmbclen"));
    cmbclen->setGeometry(8, 76, 60, 23);
    cmbclen->addItems(articles(LangGerman));
    cmbclen->setCurrentIndex(kNoArticle);
    Label3->move(76, 60);
    edtPreklad->setGeometry(76, 76, 205, 23);
    Label4 = label(this, "Label4", QStringLiteral("§ = ß"), 231, 60, 50);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    chbNepravidelne = new QCheckBox(QStringLiteral("Nepravidelné sloveso"), this);
    chbNepravidelne->setObjectName(QStringLiteral("chbNepravidelne"));
    chbNepravidelne->setGeometry(8, 106, 200, 20);

    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    Panel->setGeometry(0, 130, kWidth, kPanelHeight);
    chbPritomny = new QCheckBox(Panel);
    chbPritomny->setObjectName(QStringLiteral("chbPritomny"));
    chbPritomny->setGeometry(8, 1, 16, 16);
    Label5 = label(Panel, "Label5", QStringLiteral("Přítomný čas"), 26, 2, 100);
    Label9 = label(Panel, "Label9", QStringLiteral("Er"), 8, 22, 18);
    edtPritomny = formBox(Panel, "edtPritomny", 26, 100);
    edtPritomny->setEnabled(false);
    Label6 = label(Panel, "Label6", QStringLiteral("Préteritum"), 134, 2, 100);
    edtPreteritum = formBox(Panel, "edtPreteritum", 134, 110);
    Label7 = label(Panel, "Label7", QStringLiteral("Perfektum "), 252, 2, 100);
    edtPerfektum = formBox(Panel, "edtPerfektum", 252, 170);
    Label8 =
        label(Panel, "Label8", QStringLiteral("Perfektum: h = hat, i = ist, mezera a příčestí (h gesehen, i gegangen)"),
              8, 45, kWidth - 16);

    Label5->setBuddy(chbPritomny);
    chbPritomny->setAccessibleName(QStringLiteral("Přítomný čas"));
    edtPritomny->setAccessibleName(QStringLiteral("Přítomný čas: Er"));
    Label6->setBuddy(edtPreteritum);
    Label7->setBuddy(edtPerfektum);
    setTabOrder(cmbclen, edtPreklad);
    setTabOrder(edtPreklad, chbNepravidelne);
    setTabOrder(chbNepravidelne, chbPritomny);
    setTabOrder(chbPritomny, edtPritomny);
    setTabOrder(edtPritomny, edtPreteritum);
    setTabOrder(edtPreteritum, edtPerfektum);
    setTabOrder(edtPerfektum, btnOK);

    // toggled, not clicked: Display unticking the box must hide the panel too.
    connect(chbNepravidelne, &QCheckBox::toggled, this, &TfrmTestDe::chbNepravidelneClick);
    connect(chbPritomny, &QCheckBox::toggled, this, &TfrmTestDe::chbPritomnyClick);
    connect(edtPritomny, &QLineEdit::textEdited, this, [this] { typeSharpS(edtPritomny, u'?'); });
    connect(edtPreteritum, &QLineEdit::textEdited, this, [this] { typeSharpS(edtPreteritum, u'?'); });
    connect(edtPerfektum, &QLineEdit::textEdited, this, [this] { typeSharpS(edtPerfektum, u'?'); });

    ShowPanel(true);
}

void TfrmTestDe::Start()
{
    m_keyboards.UseCzechKeyboard();
    TestWindow::Start();
}

void TfrmTestDe::ShowPanel(bool show)
{
    const int height = show ? kHeightWithPanel : kHeightWithPanel - kPanelHeight;
    const int buttonTop = show ? kButtonTopWithPanel : kButtonTopWithPanel - kPanelHeight;
    setFixedSize(kWidth, height);
    btnOK->move(btnOK->x(), buttonTop);
    Panel->setVisible(show);
}

void TfrmTestDe::chbNepravidelneClick() { ShowPanel(chbNepravidelne->isChecked()); }

void TfrmTestDe::chbPritomnyClick() { edtPritomny->setEnabled(chbPritomny->isChecked()); }

void TfrmTestDe::Display()
{
    edtPreklad->clear();
    cmbclen->setCurrentIndex(kNoArticle);
    chbNepravidelne->setEnabled(true);
    if (isVisible() && cmbclen->isEnabled())
        cmbclen->setFocus();
    chbNepravidelne->setChecked(false);
    edtPritomny->clear();
    edtPreteritum->clear();
    edtPerfektum->clear();
    ShowScores();

    m_test.ChooseKindGerman();
    const int kind = m_test.AskedKind;
    const WordRecord &word = m_test.CurrentWord;
    switch (kind) {
    case KindToCzech:
        setQuestion(word.Slovo, CodePage::Cp1250);
        cmbclen->setCurrentIndex(kNoArticle);
        cmbclen->setEnabled(false);
        if (isVisible())
            edtPreklad->setFocus();
        break;
    case KindToForeign: setQuestion(word.Preklad, CodePage::Cp1250); break;
    case KindPlural:
        setQuestion(word.Slovo, CodePage::Cp1250);
        cmbclen->setCurrentIndex(1);
        break;
    case KindVerbForms:
        setQuestion(word.Preklad, CodePage::Cp1250);
        chbNepravidelne->setEnabled(false);
        ShowPanel(true);
        break;
    default: break;
    }
    // The window itself may still be hidden: ask the panel's own flag.
    if (kind != KindVerbForms && !Panel->isHidden())
        ShowPanel(false);
    if (kind != KindToCzech)
        cmbclen->setEnabled(true);
    // Plurals and verbs ignore the article: the keys belong in the answer
    // box, from the first question on.
    if (kind == KindPlural || kind == KindVerbForms)
        edtPreklad->setFocus();
    updateSpeech();
}

void TfrmTestDe::btnOKClick()
{
    TypedAnswer answer;
    answer.text = typedAnswer();
    answer.article = cmbclen->currentIndex();
    answer.verbForms = chbNepravidelne->isChecked();
    answer.forms.presentAsked = chbPritomny->isChecked();
    answer.forms.present = boxBytes(edtPritomny);
    answer.forms.preterite = boxBytes(edtPreteritum);
    answer.forms.perfect = boxBytes(edtPerfektum);
    submit(answer);
}

void TfrmTestDe::FormKeyUpInsert()
{
    const WordRecord &word = m_test.CurrentWord;
    switch (m_test.AskedKind) {
    case KindToCzech: setAnswer(word.Preklad); break;
    case KindToForeign:
        setAnswer(word.Slovo);
        cmbclen->setCurrentIndex(articleCode(LangGerman, word.Clen));
        break;
    case KindPlural: setAnswer(word.Mn); break;
    default: break; // the verb forms have no single answer to fill in
    }
}

void TfrmTestDe::edtPrekladChange() { typeSharpS(edtPreklad, QChar(0x00A7)); }

} // namespace lexitka
