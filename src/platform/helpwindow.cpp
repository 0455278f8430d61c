#include "platform/helpwindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace lexitka {

TfrmHelp::TfrmHelp(QWidget *parent, const QString &guidePath) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Lexitka – návod"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    auto button = [&](QPushButton *&b, const char *name, const QString &text) {
        b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
    };
    button(btnZpet, "btnZpet", QStringLiteral("◀ &Zpět"));
    button(btnVpred, "btnVpred", QStringLiteral("&Vpřed ▶"));
    button(btnObsah, "btnObsah", QStringLiteral("&Obsah"));
    buttons->addStretch(1);
    button(btnZavrit, "btnZavrit", QStringLiteral("Zavřít")); // and Esc
    layout->addLayout(buttons);

    txtNavod = new QTextBrowser(this);
    txtNavod->setObjectName(QStringLiteral("txtNavod"));
    txtNavod->setAccessibleName(QStringLiteral("Návod"));
    txtNavod->setOpenExternalLinks(true);
    txtNavod->setSource(QUrl::fromLocalFile(guidePath));
    layout->addWidget(txtNavod, 1);

    btnZpet->setEnabled(false);
    btnVpred->setEnabled(false);
    connect(txtNavod, &QTextBrowser::backwardAvailable, btnZpet, &QWidget::setEnabled);
    connect(txtNavod, &QTextBrowser::forwardAvailable, btnVpred, &QWidget::setEnabled);
    connect(btnZpet, &QPushButton::clicked, txtNavod, &QTextBrowser::backward);
    connect(btnVpred, &QPushButton::clicked, txtNavod, &QTextBrowser::forward);
    connect(btnObsah, &QPushButton::clicked, txtNavod, &QTextBrowser::home);
    connect(btnZavrit, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 640);
    txtNavod->setFocus();
}

void TfrmHelp::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

TfrmHelp *showHelpWindow(QWidget *window, const QString &guidePath)
{
    auto *help = window->findChild<TfrmHelp *>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) {
        help = new TfrmHelp(window, guidePath);
        // Input goes only to a modal window and to what it opens.
        if (QApplication::activeModalWidget())
            help->setWindowModality(Qt::ApplicationModal);
    }
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

} // namespace lexitka
