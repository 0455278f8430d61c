#include "testwindow.h"

#include "platform/fonts.h"
#include "platform/keyboard.h"
#include "platform/messenger.h"
#include "platform/speechbutton.h"
#include "exam/utest.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <limits>

namespace lexitka {
namespace {

QLabel *scoreLabel(QWidget *parent, const char *name, const QString &text, const QColor &color, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
    l->setGeometry(292, top, 130, 17);
    return l;
}

} // namespace

TestWindow::TestWindow(UTest &test, Keyboards &keyboards, Messenger &messenger, int languageCode,
                       const char *objectName, QWidget *parent)
    : DeferredDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                 | Qt::WindowCloseButtonHint),
      m_test(test), m_keyboards(keyboards), m_messenger(messenger), m_speaker(&silentSpeaker()),
      m_languageCode(languageCode)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QStringLiteral("Zkoušení"));
    setModal(true);
    setFont(tahoma(11));
}

void TestWindow::afterControlsMade()
{
    if (m_speechPending)
        updateSpeech();
}

void TestWindow::makeControlsOnce()
{
    Label1 = new QLabel(QStringLiteral("Slovíčko:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 120, 16);
    pnlSlovo = new QLabel(QStringLiteral("Práce"), this);
    pnlSlovo->setObjectName(QStringLiteral("pnlSlovo"));
    pnlSlovo->setGeometry(8, 24, 273, 29);
    pnlSlovo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlSlovo->setAlignment(Qt::AlignCenter);
    pnlSlovo->setTextFormat(Qt::PlainText); // a word such as "<b>" is shown as typed
    pnlSlovo->setFont(verdana(15, true));
    Label3 = new QLabel(QStringLiteral("Překlad:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(8, 60, 120, 16);
    edtPreklad = new QLineEdit(this);
    edtPreklad->setObjectName(QStringLiteral("edtPreklad"));
    edtPreklad->setGeometry(8, 76, 273, 23);
    edtPreklad->setFont(verdana(13));
    // Qt's default stops at 32,767 characters: a longer answer could never be given.
    edtPreklad->setMaxLength(std::numeric_limits<int>::max());
    Label3->setBuddy(edtPreklad); // what a screen reader names the answer by
    btnOK = new QPushButton(QStringLiteral("Další"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(107, 112, 75, 25);
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);

    lblRemain = scoreLabel(this, "lblRemain", QStringLiteral("Zbývá: 0"), Qt::black, 24);
    lblGood = scoreLabel(this, "lblGood", QStringLiteral("Dobře: 0"), QColor(0, 128, 0), 44);
    lblBad = scoreLabel(this, "lblBad", QStringLiteral("Špatně: 0"), Qt::red, 64);
    lblPerCent = scoreLabel(this, "lblPerCent", QStringLiteral("Úspěšnost: 100 %"), QColor(0, 0, 128), 84);

    btnSpeak = makeSpeechButton(this);
    placeSpeechButton();
    btnOK->installEventFilter(this); // its moves, for the button beside it

    setFixedSize(430, 148);
    connect(btnOK, &QPushButton::clicked, this, &TestWindow::btnOKClick);
    connect(btnSpeak, &QToolButton::clicked, this, &TestWindow::speakWord);
    connect(edtPreklad, &QLineEdit::textEdited, this, [this] { edtPrekladChange(); });
}

void TestWindow::installKeyPreview()
{
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TestWindow::placeSpeechButton() { btnSpeak->move(397, btnOK->y()); }

namespace {

QString spokenNow(const UTest &test, const std::optional<WordRecord> &answeredLast, int languageCode)
{
    return spokenInTest(test.AskedKind, test.CurrentWord, answeredLast, languageCode);
}

} // namespace

void TestWindow::updateSpeech()
{
    m_speechPending = !controlsMade();
    if (m_speechPending)
        return;
    showSpeechControl(speechControl(*m_speaker, m_languageCode, spokenNow(m_test, m_answeredLast, m_languageCode),
                                    QStringLiteral("Slovo zazní až po odpovědi.")),
                      btnSpeak);
}

void TestWindow::speakWord() { speak(*m_speaker, m_languageCode, spokenNow(m_test, m_answeredLast, m_languageCode)); }

void TestWindow::Start()
{
    makeControls();
    m_answeredLast.reset();
    installKeyPreview();
    Display();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    edtPreklad->setFocus();
    exec();
}

QByteArray TestWindow::typedAnswer() const { return encode(edtPreklad->text(), m_answerCodePage); }

void TestWindow::setAnswer(const QByteArray &bytes) { edtPreklad->setText(decode(bytes, m_answerCodePage)); }

void TestWindow::setQuestion(const QByteArray &bytes, CodePage cp) { pnlSlovo->setText(decode(bytes, cp)); }

void TestWindow::ShowScores()
{
    lblRemain->setText(UTest::ScoreText(3, m_test.RemainCount));
    lblGood->setText(UTest::ScoreText(1, m_test.GoodCount));
    lblBad->setText(UTest::ScoreText(2, m_test.BadCount));
    lblPerCent->setText(UTest::ScoreText(4, m_test.SuccessPercent()));
}

void TestWindow::submit(const TypedAnswer &answer)
{
    m_answeredLast = m_test.CurrentWord;
    if (m_test.Answer(m_languageCode, answer).exhausted) {
        m_messenger.information(this, QStringLiteral("Lexitka vyčerpána."));
        close();
        return;
    }
    Display();
}

bool TestWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == btnOK && event->type() == QEvent::Move)
        placeSpeechButton();
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
        speakWord();
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Insert
        && !static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
        m_test.revealAnswer();
        FormKeyUpInsert();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TestWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lexitka
