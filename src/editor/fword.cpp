#include "fword.h"

#include "exam/typingaid.h"
#include "exchange/wordtable.h"
#include "platform/fonts.h"
#include "platform/keyboard.h"
#include "platform/messenger.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lexitka {
namespace {

constexpr int kWidth = 471;
constexpr int kHeight = 180;
constexpr int kButtonRightGap = 12;

template <class W>
W *make(QWidget *parent, const char *name, QRect geometry)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(tahoma(11));
    l->move(at);
    l->adjustSize();
    return l;
}

bool hasArticles(int languageCode) { return !articles(languageCode).isEmpty(); }

} // namespace

TfrmWord::TfrmWord(Keyboards &keyboards, Messenger &messenger, QWidget *parent, ControlsMade controls)
    : DeferredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                 | Qt::WindowCloseButtonHint),
      m_keyboards(keyboards), m_messenger(messenger)
{
    setObjectName(QStringLiteral("frmWord"));
    setWindowTitle(QStringLiteral("Slovíčko"));
    setModal(true);
    setFont(tahoma(11));
    makeControls(controls);
}

void TfrmWord::makeControlsOnce()
{
    Label1 = label(this, "Label1", QStringLiteral("Člen:"), {8, 8});
    cmbclen = make<QComboBox>(this, "cmbclen", {8, 24, 57, 23});
    cmbclen->addItems({QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"), QStringLiteral("není")});
    cmbclen->setCurrentIndex(kNoArticle);
    Label2 = label(this, "Label2", QStringLiteral("Slovíčko"), {72, 8});
    edtSlovo = make<QLineEdit>(this, "edtSlovo", {72, 24, 262, 23});
    Label3 = label(this, "Label3", QStringLiteral("Množné číslo nebo minulý čas slovesa"), {72, 52});
    edtMn = make<QLineEdit>(this, "edtMn", {72, 68, 265, 23});
    Label4 = label(this, "Label4", QStringLiteral("Překlad"), {72, 96});
    edtPreklad = make<QLineEdit>(this, "edtPreklad", {72, 112, 265, 23});
    for (QLineEdit *e : {edtSlovo, edtMn, edtPreklad})
        e->setFont(verdana(13));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    Button2 = new QPushButton(QStringLiteral("Storno"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    Label2->setBuddy(edtSlovo);
    Label3->setBuddy(edtMn);
    Label4->setBuddy(edtPreklad);
    setTabOrder(cmbclen, edtSlovo);
    setTabOrder(edtSlovo, edtMn);
    setTabOrder(edtMn, edtPreklad);
    setTabOrder(edtPreklad, Button1);
    setTabOrder(Button1, Button2);

    for (QWidget *w : std::initializer_list<QWidget *>{cmbclen, edtSlovo, edtMn, edtPreklad, Button1, Button2})
        w->installEventFilter(this);
    m_typing = new TypingAid(edtSlovo, m_keyboards);

    connect(Button1, &QPushButton::clicked, this, &TfrmWord::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmWord::Button2Click);
    connect(edtSlovo, &QLineEdit::textEdited, this, &TfrmWord::edtSlovoChange);
    resize(kWidth, kHeight);
}

TfrmWord::~TfrmWord() = default;

bool TfrmWord::StartWord(WordRecord &word, int languageCode)
{
    makeControls();
    m_language = languageCode;
    m_wordCodePage = languageInfo(languageCode).foreignCodePage;
    // Filling the fields is not typing: setText converts nothing.
    edtSlovo->setText(decode(word.Slovo, m_wordCodePage));
    edtPreklad->setText(decode(word.Preklad, CodePage::Cp1250));
    edtMn->clear();

    const bool articles = hasArticles(languageCode);
    cmbclen->setEnabled(articles);
    edtMn->setEnabled(languageCode == LangGerman);
    if (languageCode == LangGerman)
        edtMn->setText(decode(word.Mn, CodePage::Cp1250));
    if (articles) {
        cmbclen->clear();
        cmbclen->addItems(lexitka::articles(languageCode));
        // A code that is no number or has no item opens on "není".
        int index = articleIndex(word.Clen);
        if (index < 0 || index >= cmbclen->count())
            index = kNoArticle;
        cmbclen->setCurrentIndex(index);
    }
    m_typing->setTable(foreignTypingTable(languageCode), m_wordCodePage);

    m_entered = nullptr;
    move(187, 206);
    const int result = exec();

    const int article = cmbclen->currentIndex();
    word.Clen = QByteArray::number(article < 0 ? kNoArticle : article);
    word.Slovo = encode(edtSlovo->text(), m_wordCodePage);
    word.Mn = languageCode == LangGerman ? encode(edtMn->text(), CodePage::Cp1250) : QByteArray();
    word.Preklad = encode(edtPreklad->text(), CodePage::Cp1250);
    return result == ResultYes;
}

void TfrmWord::Button1Click()
{
    // "\" separates the fields of a line and a line break ends it: either
    // would tear the word apart when the dictionary is read again.
    for (QLineEdit *field : {edtSlovo, edtMn, edtPreklad}) {
        const QString text = field->text();
        if (text.contains(u'\\') || text.contains(u'\n') || text.contains(u'\r')) {
            m_messenger.information(this, QStringLiteral("Slovíčko nesmí obsahovat zpětné lomítko „\\“ ani konec "
                                                         "řádku: ve slovníku oddělují části slovíčka."));
            field->setFocus();
            return;
        }
    }
    // A character the field's code page has no place for would be stored as "?".
    const std::pair<QLineEdit *, const char *> named[] = {
        {edtSlovo, "Slovo"}, {edtMn, "Množné číslo (minulý čas)"}, {edtPreklad, "Překlad"}};
    for (const auto &[field, name] : named) {
        if (!field->isEnabled())
            continue;
        const QString refusal = unencodableMessage(field->text(), field == edtSlovo ? m_wordCodePage : CodePage::Cp1250,
                                                   QString::fromUtf8(name));
        if (!refusal.isEmpty()) {
            m_messenger.information(this, refusal);
            field->setFocus();
            return;
        }
    }
    done(ResultYes);
}

void TfrmWord::Button2Click() { done(ResultNo); }

void TfrmWord::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmWord::FormShow()
{
    QWidget *first = cmbclen->isEnabled() ? static_cast<QWidget *>(cmbclen) : edtSlovo;
    first->setFocus();
    entered(first);
}

void TfrmWord::entered(QWidget *control)
{
    if (control == m_entered)
        return; // focus coming back to the window is no entering
    m_entered = control;
    if (control == edtSlovo)
        edtSlovoEnter();
    else if (control == edtMn)
        edtMnEnter();
    else if (control == edtPreklad)
        edtPrekladEnter();
}

void TfrmWord::edtSlovoEnter()
{
    if (m_language == LangRussian || m_language == LangFrench || m_language == LangSpanish)
        m_keyboards.UseForeignKeyboard();
    else
        m_keyboards.UseCzechKeyboard();
}

void TfrmWord::edtMnEnter() { m_keyboards.UseCzechKeyboard(); }

void TfrmWord::edtPrekladEnter() { m_keyboards.UseCzechKeyboard(); }

void TfrmWord::edtSlovoChange() { m_typing->edited(); }

bool TfrmWord::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        entered(static_cast<QWidget *>(watched));
    return QDialog::eventFilter(watched, event);
}

void TfrmWord::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return; // no key closes the dialog without "OK" or "Storno"
    QDialog::keyPressEvent(event);
}

void TfrmWord::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!controlsMade())
        return;
    const int left = width() - kButtonRightGap - 75;
    Button1->setGeometry(left, 24, 75, 25);
    Button2->setGeometry(left, 56, 75, 25);
}

} // namespace lexitka
