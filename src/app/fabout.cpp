#include "fabout.h"

#include "platform/fonts.h"
#include "platform/version.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace lexitka {
namespace {

constexpr int kWidth = 330;
constexpr int kHeight = 176;
constexpr int kCaptionLeft = 60;
constexpr int kValueLeft = 140;
constexpr int kFirstRow = 16;
constexpr int kRowHeight = 22;

// An open book with a bookmark, drawn here so that no image file is needed.
QPixmap bookIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.drawRoundedRect(QRectF(1, 5, 30, 24), 3, 3);

    QPen outline(QColor(0x90, 0x9c, 0xb0));
    outline.setWidthF(0.8);
    p.setPen(outline);
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(16, 9);
    left.cubicTo(12, 6, 7, 6, 3, 7);
    left.lineTo(3, 26);
    left.cubicTo(7, 25, 12, 25, 16, 28);
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(16, 9);
    right.cubicTo(20, 6, 25, 6, 29, 7);
    right.lineTo(29, 26);
    right.cubicTo(25, 25, 20, 25, 16, 28);
    right.closeSubpath();
    p.drawPath(right);

    QPen line(QColor(0xa8, 0xb4, 0xc8));
    line.setWidthF(1.0);
    p.setPen(line);
    for (int y = 12; y <= 22; y += 3) {
        p.drawLine(QPointF(5.5, y), QPointF(13.5, y + 1));
        p.drawLine(QPointF(18.5, y + 1), QPointF(26.5, y));
    }

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc8, 0x1e, 0x2d));
    QPainterPath mark;
    mark.moveTo(22, 2);
    mark.lineTo(26, 2);
    mark.lineTo(26, 13);
    mark.lineTo(24, 11);
    mark.lineTo(22, 13);
    mark.closeSubpath();
    p.drawPath(mark);
    return pixmap;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int row)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    l->move(left, kFirstRow + row * kRowHeight);
    l->resize(kWidth - left - 8, kRowHeight - 4);
    return l;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O programu"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(verdana(12));
    setFixedSize(kWidth, kHeight);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, kFirstRow, 32, 32);
    ProgramIcon->setPixmap(bookIcon());

    const char *captions[] = {"Program :", "Verze :", "Autor :", "Grafika :", "Kontakt :"};
    for (int row = 0; row < 5; ++row)
        label(this, nullptr, QString::fromUtf8(captions[row]), kCaptionLeft, row);
    // Placeholders until FormShow fills them.
    lblProgram = label(this, "lblProgram", QStringLiteral("PROGRAM"), kValueLeft, 0);
    lblVerze = label(this, "lblVerze", QStringLiteral("VERZE"), kValueLeft, 1);
    lblAutor = label(this, "lblAutor", QStringLiteral("AUTOR"), kValueLeft, 2);
    lblGrafika = label(this, "lblGrafika", QStringLiteral("GRAFIKA"), kValueLeft, 3);
    lblKontakt = label(this, "lblKontakt", QStringLiteral("KONTAKT"), kValueLeft, 4);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry((kWidth - 75) / 2, kHeight - 25 - 12, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAbout::btnOKClick);
}

void TfrmAbout::FormShow()
{
    lblProgram->setText(QStringLiteral("Lexitka 2.0"));
    lblAutor->setText(QStringLiteral("Tým Lexitka"));
    lblGrafika->setText(QStringLiteral("Tým Lexitka"));
    lblKontakt->setText(QStringLiteral("lexitka@example.org"));
    lblVerze->setText(programVersionText());
}

void TfrmAbout::btnOKClick() { accept(); }

void TfrmAbout::showEvent(QShowEvent *event)
{
    FormShow(); // a parentless dialog centres itself on the screen
    QDialog::showEvent(event);
}

} // namespace lexitka
