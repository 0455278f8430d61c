#include "ferror.h"

#include "platform/fonts.h"
#include "platform/speechbutton.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>

namespace lexitka {
namespace {

constexpr int kMinWidth = 300;
constexpr int kMargin = 15;
constexpr int kHeight = 118;
constexpr int kFrameAllowance = 16;

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

void setColor(QLabel *l, const QColor &color)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
}

QByteArray removeFirst(QByteArray text, QByteArrayView what)
{
    const qsizetype at = text.indexOf(what);
    if (at >= 0)
        text.remove(at, what.size());
    return text;
}

// The whole text in lines no wider than `width`, broken anywhere, and no
// more of them than `lines`: a tooltip that stays on the screen.
QString brokenIntoLines(const QString &text, const QFontMetrics &metrics, int width, int lines)
{
    QString out;
    int used = 0;
    int lineCount = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair stays together.
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, n);
        const int advance = metrics.horizontalAdvance(c);
        if (used > 0 && used + advance > width) {
            if (++lineCount > lines)
                return out + QChar(0x2026);
            out += u'\n';
            used = 0;
        }
        out += c;
        used += advance;
        i += n - 1;
    }
    return out;
}

} // namespace

TfrmError::TfrmError(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_speaker(&silentSpeaker())
{
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Chyba"));
    setModal(true);
    setFont(verdana(11));

    Image1 = label(this, "Image1", {}, {8, 8, 41, 41});
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(41, 41));
    Image1->setAttribute(Qt::WA_TranslucentBackground);

    Label1 = label(this, "Label1", QStringLiteral("Špatně !"), {60, 8, 200, 18});
    QFont headline = Label1->font();
    headline.setBold(true);
    headline.setPixelSize(13);
    Label1->setFont(headline);
    Label2 = label(this, "Label2", QStringLiteral("Správně mělo být :"), {60, 34, 0, 16});
    Label3 = label(this, "Label3", QStringLiteral("Vy jste napsali :"), {60, 56, 0, 16});
    Label2->adjustSize();
    Label3->adjustSize();
    // Both answers start at one edge, right of the longer caption.
    m_answerLeft = std::max(Label2->x() + Label2->width(), Label3->x() + Label3->width()) + 6;

    const QFont answer = verdana(11, true);
    lblRight = label(this, "lblRight", {}, {m_answerLeft, 34, 0, 16});
    lblRight->setFont(answer);
    setColor(lblRight, QColor(0, 128, 0));
    lblYou = label(this, "lblYou", {}, {m_answerLeft, 56, 0, 16});
    lblYou->setFont(answer);
    setColor(lblYou, QColor(128, 0, 0));
    for (QLabel *l : {lblRight, lblYou}) {
        l->setTextFormat(Qt::PlainText);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // What is selected may be cut short; this copies the whole answer.
        auto *copy = new QAction(QStringLiteral("Kopírovat celou odpověď"), l);
        copy->setObjectName(QStringLiteral("copyWhole"));
        connect(copy, &QAction::triggered, this,
                [this, l] { QGuiApplication::clipboard()->setText(m_wholeTexts[l == lblRight ? 0 : 1]); });
        l->addAction(copy);
        l->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 82, 75, 25);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TfrmError::Button1Click);

    btnSpeak = makeSpeechButton(this);
    connect(btnSpeak, &QToolButton::clicked, this, &TfrmError::speakAnswer);

    setFixedSize(kMinWidth, kHeight);
}

void TfrmError::setSpokenAnswer(const QString &text, int languageCode)
{
    m_spoken = text;
    m_spokenLanguage = languageCode;
    showSpeechControl(speechControl(*m_speaker, languageCode, text,
                                    QStringLiteral("Správná odpověď je česká; nahlas se čtou jen cizí slova.")),
                      btnSpeak);
}

void TfrmError::speakAnswer() { speak(*m_speaker, m_spokenLanguage, m_spoken); }

QByteArray TfrmError::shownExpected(QByteArray expected) { return removeFirst(std::move(expected), "(,,)"); }

QByteArray TfrmError::shownTyped(QByteArray typed) { return removeFirst(std::move(typed), "(, , )"); }

int TfrmError::dialogWidth(int rightEdgeOfRight, int rightEdgeOfYou)
{
    return std::max({rightEdgeOfRight + kMargin, rightEdgeOfYou + kMargin, kMinWidth});
}

int TfrmError::fittedWidth(int wanted, int available) { return std::max(std::min(wanted, available), kMinWidth); }

void TfrmError::prepare(const QByteArray &expected, const QByteArray &typed)
{
    const QString texts[] = {decode(shownExpected(expected), m_answerCodePage),
                             decode(shownTyped(typed), m_answerCodePage)};
    QLabel *const labels[] = {lblRight, lblYou};
    for (int i = 0; i < 2; ++i) {
        m_wholeTexts[i] = texts[i];
        labels[i]->setText(texts[i]);
        labels[i]->setToolTip({});
        labels[i]->adjustSize();
        labels[i]->move(m_answerLeft, labels[i]->y());
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    const int frameExtra = frameGeometry().width() - geometry().width();
    const int wanted = dialogWidth(lblRight->x() + lblRight->width(), lblYou->x() + lblYou->width());
    // The frame is known only once the window manager has framed the dialog.
    const int width = screen ? fittedWidth(wanted, avail.width() - std::max(frameExtra, kFrameAllowance)) : wanted;

    // An answer wider than the screen allows is cut with "…"; the whole of
    // it is in the tooltip, as much as the screen can hold.
    const int room = width - kMargin - m_answerLeft;
    for (int i = 0; i < 2; ++i) {
        QLabel *l = labels[i];
        if (l->width() <= room)
            continue;
        const QFontMetrics metrics(l->font());
        l->setText(metrics.elidedText(texts[i], Qt::ElideRight, room));
        l->resize(room, l->height());
        const QFontMetrics tipMetrics(QToolTip::font());
        const int lines = std::max(1, avail.height() / std::max(1, tipMetrics.lineSpacing()) - 2);
        l->setToolTip(brokenIntoLines(texts[i], tipMetrics, std::max(room, avail.width() - 40), lines));
    }
    setFixedSize(width, kHeight);
    Button1->move(width / 2 - Button1->width() / 2, Button1->y());
    btnSpeak->move(width - 8 - btnSpeak->width(), Button1->y());

    // Centred across the screen; the height stays where it was after the first time.
    if (screen) {
        const int frameWidth = frameExtra + width;
        const int y = m_placed ? pos().y() : avail.top() + (avail.height() - frameGeometry().height()) / 2;
        move(avail.left() + std::max(0, avail.width() / 2 - frameWidth / 2), y);
        m_placed = true;
    }
}

void TfrmError::ShowMyMessage(const QByteArray &expected, const QByteArray &typed)
{
    prepare(expected, typed);
    Button1->setFocus();
    exec();
}

void TfrmError::Button1Click() { accept(); }

void TfrmError::keyPressEvent(QKeyEvent *event)
{
    // No cancel button: Esc leaves the dialog open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F5) {
        speakAnswer();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lexitka
