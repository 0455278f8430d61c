#include "ffind.h"

#include "data/dictionary.h"
#include "editor/fviewedit.h"
#include "exam/typingaid.h"
#include "platform/keyboardfocus.h"
#include "platform/fonts.h"
#include "platform/keyboard.h"
#include "platform/messenger.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace lexitka {
namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

void setBold(QPushButton *b, bool bold)
{
    QFont f = b->font();
    f.setBold(bold);
    b->setFont(f);
}

} // namespace

// A child of the browser: the browser is modal, and only its own windows
// stay usable beside it.
TfrmFind::TfrmFind(TfrmViewEdt &browser, Keyboards &keyboards, Messenger &messenger, ControlsMade controls)
    : DeferredDialog(&browser, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                                   | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_browser(browser), m_keyboards(keyboards), m_messenger(messenger)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Hledat"));
    setModal(false);
    setFont(tahoma(11));
    // Its field follows the keyboard choice, not the browser beneath.
    setFieldKeyboard(this, FieldKeyboard::Czech);
    makeControls(controls);
}

void TfrmFind::makeControlsOnce()
{
    Label1 = new QLabel(QStringLiteral("Najít :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 12, 40, 16);
    edtFind = new QLineEdit(this);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    edtFind->setGeometry(52, 8, 189, 23);
    edtFind->setFont(tahoma(13));
    Label1->setBuddy(edtFind);
    btnNext = button(this, "btnNext", QStringLiteral("Najít další"), {252, 8, 89, 25});
    btnNext->setDefault(true);
    btnCancel = button(this, "btnCancel", QStringLiteral("Storno"), {252, 40, 89, 25});
    GroupBox1 = new QGroupBox(QStringLiteral(" Klávesnice "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 40, 233, 49);
    Button1 = button(GroupBox1, "Button1", QStringLiteral("Česká"), {8, 18, 105, 23});
    Button2 = button(GroupBox1, "Button2", QStringLiteral("Cizí jazyk"), {120, 18, 105, 23});
    setBold(Button1, true);
    setBold(Button2, false);
    setFixedSize(349, 97);

    m_typing = new TypingAid(edtFind, m_keyboards);
    connect(btnNext, &QPushButton::clicked, this, &TfrmFind::btnNextClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmFind::btnCancelClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmFind::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmFind::Button2Click);
    connect(edtFind, &QLineEdit::textEdited, this, &TfrmFind::edtFindChange);
}

TfrmFind::~TfrmFind() = default;

void TfrmFind::showFind()
{
    makeControls();
    if (!isVisible()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        // The language may have changed since the keyboard was chosen.
        chooseKeyboardTyping();
        show();
    }
    raise();
    activateWindow();
}

void TfrmFind::btnCancelClick() { close(); }

void TfrmFind::btnNextClick()
{
    const QByteArray text = encode(edtFind->text(), m_codePage);
    if (text.isEmpty())
        return;
    if (const auto hit = findNext(m_browser.WordLists, m_browser.dictionary().languageCode, text, m_position)) {
        m_browser.showRow(hit->lesson, hit->row);
        return;
    }
    m_browser.showRow(m_browser.WordLists.mistakesIndex(), 1);
    m_messenger.information(this, QStringLiteral("Nenalezeno."));
}

void TfrmFind::Button1Click()
{
    m_keyboards.UseCzechKeyboard();
    m_foreign = false;
    setFieldKeyboard(this, FieldKeyboard::Czech);
    setBold(Button1, true);
    setBold(Button2, false);
    setCodePage(CodePage::Cp1250);
    chooseKeyboardTyping();
}

void TfrmFind::Button2Click()
{
    m_keyboards.UseForeignKeyboard();
    m_foreign = true;
    setFieldKeyboard(this, FieldKeyboard::Foreign);
    setBold(Button2, true);
    setBold(Button1, false);
    // Latin keeps whatever the field showed before.
    if (m_browser.dictionary().languageCode != LangLatin)
        setCodePage(languageInfo(m_browser.dictionary().languageCode).foreignCodePage);
    chooseKeyboardTyping();
}

void TfrmFind::edtFindChange() { m_typing->edited(); }

void TfrmFind::chooseKeyboardTyping()
{
    const int language = m_browser.dictionary().languageCode;
    m_typing->setTable(m_foreign ? foreignTypingTable(language) : TypingTable{}, m_codePage);
}

void TfrmFind::setCodePage(CodePage cp)
{
    // The field holds bytes: another character set shows them anew.
    const QByteArray bytes = encode(edtFind->text(), m_codePage);
    m_codePage = cp;
    edtFind->setText(decode(bytes, cp));
}

} // namespace lexitka
