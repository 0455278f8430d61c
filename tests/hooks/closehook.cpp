// Preloaded (LD_PRELOAD) into an installed program by tst_install: tells
// on stderr what the main window shows and every message box that comes up,
// answers the boxes, and closes the main window as the user's close box
// would, so that the test sees the files a real session leaves behind.
// scripts/package-check reads the buttons and the platform too. With
// LEXITKA_HOOK_BROWSE set it first opens the lesson browser (which asks for
// the voices) and closes it again, and it says "closing" as it closes the
// main window.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

void say(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", what, text.toUtf8().constData());
    std::fflush(stderr);
}

bool closing = false;
bool browsed = qEnvironmentVariableIsEmpty("LEXITKA_HOOK_BROWSE");
int browserSteps = 0;

void step()
{
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        say("message", box->text());
        QStringList buttons;
        for (const QAbstractButton *b : box->buttons())
            buttons.append(QString(b->text()).remove(u'&'));
        say("buttons", buttons.join(u' '));
        // Queued: this timer is not called again until its call returns.
        QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
        return;
    }
    if (closing)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == QLatin1String("frmViewEdt")) {
        // The browser: left open a moment, for its voices to be asked for.
        if (modal->isVisible() && ++browserSteps > 10)
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        return;
    }
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("frmMain") || !window->isVisible())
            continue;
        say("title", window->windowTitle());
        say("platform", QGuiApplication::platformName());
        const auto *lessons = window->findChild<QAbstractItemView *>(QStringLiteral("lbLekce"));
        say("lessons", QString::number(lessons && lessons->model() ? lessons->model()->rowCount() : -1));
        if (!browsed) {
            browsed = true;
            if (auto *view = window->findChild<QAbstractButton *>(QStringLiteral("btnView")))
                QMetaObject::invokeMethod(view, "click", Qt::QueuedConnection);
            return;
        }
        say("closing", window->objectName());
        // The close handler may open a message box and wait in it.
        QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
        closing = true;
        return;
    }
}

void install()
{
    // The application object is still being made: start once its loop runs.
    QTimer::singleShot(0, [] {
        auto *timer = new QTimer(QCoreApplication::instance());
        QObject::connect(timer, &QTimer::timeout, step);
        timer->start(20);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
