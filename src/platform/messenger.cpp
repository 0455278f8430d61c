#include "messenger.h"

#include <QMessageBox>

namespace lexitka {

namespace {
const QString kTitle = QStringLiteral("Lexitka");
}

void QtMessenger::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, kTitle, text);
}

void QtMessenger::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, kTitle, text);
}

bool QtMessenger::question(QWidget *parent, const QString &text)
{
    return QMessageBox::warning(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace lexitka
