#include "fabout.h"

#include "platform/appicon.h"
#include "platform/fonts.h"
#include "platform/version.h"

#include <QLabel>
#include <QPushButton>

namespace lexitka {
namespace {

constexpr int kWidth = 330;
constexpr int kCaptionLeft = 60;
constexpr int kValueLeft = 140;
constexpr int kFirstRow = 16;
constexpr int kRowHeight = 22;
constexpr int kRows = 6;
constexpr int kHeight = kFirstRow + kRows * kRowHeight + 50; // the rows, then the button

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

TfrmAbout::TfrmAbout(QWidget *parent, ControlsMade controls) : DeferredDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O programu"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(verdana(12));
    setFixedSize(kWidth, kHeight);
    makeControls(controls);
}

void TfrmAbout::makeControlsOnce()
{
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(16, kFirstRow, 32, 32);
    ProgramIcon->setPixmap(applicationIcon().pixmap(32, 32));

    const char *captions[kRows] = {"Program :", "Verze :", "Autor :", "Grafika :", "Kontakt :", "Licence :"};
    for (int row = 0; row < kRows; ++row)
        label(this, nullptr, QString::fromUtf8(captions[row]), kCaptionLeft, row);
    // Placeholders until FormShow fills them.
    lblProgram = label(this, "lblProgram", QStringLiteral("PROGRAM"), kValueLeft, 0);
    lblVerze = label(this, "lblVerze", QStringLiteral("VERZE"), kValueLeft, 1);
    lblAutor = label(this, "lblAutor", QStringLiteral("AUTOR"), kValueLeft, 2);
    lblGrafika = label(this, "lblGrafika", QStringLiteral("GRAFIKA"), kValueLeft, 3);
    lblKontakt = label(this, "lblKontakt", QStringLiteral("KONTAKT"), kValueLeft, 4);
    lblLicence = label(this, "lblLicence", QStringLiteral("LICENCE"), kValueLeft, 5);

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
    lblLicence->setText(QStringLiteral("GNU GPL 3 nebo novější"));
    lblVerze->setText(programVersionText());
}

void TfrmAbout::btnOKClick() { accept(); }

void TfrmAbout::showEvent(QShowEvent *event)
{
    FormShow(); // a parentless dialog centres itself on the screen
    QDialog::showEvent(event);
}

} // namespace lexitka
