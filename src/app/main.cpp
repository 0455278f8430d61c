#include "app/application.h"
#include "app/fmain.h"
#include "data/displaytext.h"
#include "data/nativepath.h"
#include "platform/fonts.h"
#include "platform/messenger.h"
#include "platform/programfolder.h"
#include "platform/qtspeaker.h"
#include "platform/services.h"
#include "platform/translation.h"
#include "platform/x11keyboard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexitka"));
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.lexitka.Lexitka"));
    lexitka::installFontSubstitutes();
    lexitka::installCzechTranslation();

    lexitka::QtMessenger messenger;
    const auto keyboard = lexitka::platformKeyboardService();
    lexitka::StdRandomSource random;
    lexitka::SystemClock clock;
    const lexitka::ProgramFolder folder = lexitka::programFolder();
    // Its engines start in threads of their own while the windows are made.
    lexitka::QtSpeaker speaker;
    const lexitka::Services services{folder.path, &messenger, keyboard.get(), &random, &clock, &speaker};

    // The name's bytes as the file system has them; QApplication has taken its own options out.
    lexitka::LexitkaApp app(services, argc > 1 ? lexitka::pathFromNative(argv[1]) : QString());
    app.show();
    if (folder.samplesFailed)
        messenger.error(
            &app.frmMain(),
            QStringLiteral("Ukázkové slovníky nelze zkopírovat do složky %1.").arg(lexitka::shownPath(folder.path)));
    return QApplication::exec();
}
