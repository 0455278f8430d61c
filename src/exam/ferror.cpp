#include "ferror.h"

#include "platform/fonts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace lexitka {
namespace {

constexpr int kMinWidth = 300;
constexpr int kMargin = 15;
constexpr int kHeight = 118;

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

} // namespace

TfrmError::TfrmError(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
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
    for (QLabel *l : {lblRight, lblYou})
        l->setTextFormat(Qt::PlainText);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 82, 75, 25);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TfrmError::Button1Click);

    setFixedSize(kMinWidth, kHeight);
}

QByteArray TfrmError::shownExpected(QByteArray expected) { return removeFirst(std::move(expected), "(,,)"); }

QByteArray TfrmError::shownTyped(QByteArray typed) { return removeFirst(std::move(typed), "(, , )"); }

int TfrmError::dialogWidth(int rightEdgeOfRight, int rightEdgeOfYou)
{
    return std::max({rightEdgeOfRight + kMargin, rightEdgeOfYou + kMargin, kMinWidth});
}

void TfrmError::prepare(const QByteArray &expected, const QByteArray &typed)
{
    lblRight->setText(decode(shownExpected(expected), m_answerCodePage));
    lblYou->setText(decode(shownTyped(typed), m_answerCodePage));
    for (QLabel *l : {lblRight, lblYou}) {
        l->adjustSize();
        l->move(m_answerLeft, l->y());
    }
    const int width = dialogWidth(lblRight->x() + lblRight->width(), lblYou->x() + lblYou->width());
    setFixedSize(width, kHeight);
    Button1->move(width / 2 - Button1->width() / 2, Button1->y());

    // Centred across the screen; the height stays where it was after the first time.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        const int frameWidth = frameGeometry().width() - geometry().width() + width;
        const int y = m_placed ? pos().y() : avail.top() + (avail.height() - frameGeometry().height()) / 2;
        move(avail.left() + avail.width() / 2 - frameWidth / 2, y);
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
    QDialog::keyPressEvent(event);
}

} // namespace lexitka
