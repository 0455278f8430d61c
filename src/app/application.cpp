#include "application.h"

#include "app/fmain.h"
#include "test/ftestde.h"
#include "test/ftestes.h"
#include "test/ftestfr.h"
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
    m_frmTestDe = std::make_unique<TfrmTestDe>(m_test, m_keyboards, *services.messenger, m_frmMain.get());
    m_frmTestEs = std::make_unique<TfrmTestEs>(m_test, m_keyboards, *services.messenger, m_frmMain.get());
    m_frmTestFr = std::make_unique<TfrmTestFr>(m_test, m_keyboards, *services.messenger, m_frmMain.get());
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

void LexitkaApp::runTestWindow(int languageCode)
{
    switch (languageCode) {
    case LangGerman: m_frmTestDe->Start(); break;
    case LangFrench: m_frmTestFr->Start(); break;
    case LangSpanish: m_frmTestEs->Start(); break;
    default: break;
    }
}

void LexitkaApp::showMistake(const QByteArray & /*expected*/, const QByteArray & /*typed*/, int /*charset*/)
{
}

} // namespace lexitka
