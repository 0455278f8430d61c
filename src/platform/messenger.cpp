#include "messenger.h"

#include <QMessageBox>
#include <QPushButton>

namespace lexitka {

namespace {
const QString kTitle = QStringLiteral("Lexitka");
}

void QtMessenger::information(QWidget *parent, const QString &text)
{
    // A plain box: no icon, just the text and OK.
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtMessenger::error(QWidget *parent, const QString &text) { QMessageBox::critical(parent, kTitle, text); }

bool QtMessenger::question(QWidget *parent, const QString &text) { return ask(parent, kTitle, text, Default::No); }

bool QtMessenger::ask(QWidget *parent, const QString &caption, const QString &text, Default byDefault)
{
    const QMessageBox::StandardButton preset = byDefault == Default::Yes ? QMessageBox::Yes : QMessageBox::No;
    return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, preset) == QMessageBox::Yes;
}

Messenger::Answer QtMessenger::askWithCancel(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Storno"), QMessageBox::RejectRole);
    yes->setObjectName(QStringLiteral("btnAno"));
    no->setObjectName(QStringLiteral("btnNe"));
    cancel->setObjectName(QStringLiteral("btnStorno"));
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

} // namespace lexitka
