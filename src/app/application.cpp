#include "application.h"

#include "app/fabout.h"
#include "app/fmain.h"
#include "platform/messenger.h"
#include "platform/services.h"
#include "stats/fstatistic.h"

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
    m_frmStatistic = std::make_unique<TfrmStatistic>();
    m_frmAbout = std::make_unique<TfrmAbout>();
}

LexitkaApp::~LexitkaApp() = default;

QString LexitkaApp::settingsPath() const
{
    return QDir(m_services.programFolder).filePath(QStringLiteral("lexitka.ini"));
}

void LexitkaApp::show()
{
    m_frmMain->adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_frmMain->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_frmMain->move(frame.topLeft());
    }
    m_frmMain->show();
}

void LexitkaApp::runTestWindow(int /*languageCode*/)
{
}

void LexitkaApp::showMistake(const QByteArray & /*expected*/, const QByteArray & /*typed*/, int /*charset*/)
{
}

} // namespace lexitka
