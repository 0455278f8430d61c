#include "application.h"

#include "app/fmain.h"
#include "platform/messenger.h"
#include "platform/services.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace lexitka {

LexitkaApp::LexitkaApp(const Services &services, const QString &dictionaryArg)
    : m_services(services),
      m_keyboards(*services.keyboard),
      m_test(services.programFolder, *services.random, *services.messenger)
{
    m_test.setUi(this);
    m_frmMain = std::make_unique<TfrmMain>(*this, dictionaryArg);
}

LexitkaApp::~LexitkaApp() = default;

QString LexitkaApp::settingsPath() const
{
    return QDir(m_services.programFolder).filePath(QStringLiteral("lexitka.ini"));
}

void LexitkaApp::show()
{
    auto centre = [this] {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = m_frmMain->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            m_frmMain->move(frame.topLeft());
        }
    };
    m_frmMain->adjustSize();
    centre();
    m_frmMain->show();
    centre(); // the frame's size is known only once the window is shown
}

void LexitkaApp::runTestWindow(int /*languageCode*/)
{
}

void LexitkaApp::showMistake(const QByteArray & /*expected*/, const QByteArray & /*typed*/, int /*charset*/)
{
}

} // namespace lexitka
