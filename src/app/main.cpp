#include "app/application.h"
#include "platform/fonts.h"
#include "platform/messenger.h"
#include "platform/programfolder.h"
#include "platform/services.h"
#include "platform/translation.h"
#include "platform/x11keyboard.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexitka"));
    lexitka::installFontSubstitutes();
    lexitka::installCzechTranslation();

    lexitka::QtMessenger messenger;
    const auto keyboard = lexitka::platformKeyboardService();
    lexitka::StdRandomSource random;
    lexitka::SystemClock clock;
    const lexitka::Services services{lexitka::executableFolder(), &messenger, keyboard.get(), &random, &clock};

    const QStringList args = QApplication::arguments();
    lexitka::LexitkaApp app(services, args.size() > 1 ? args.at(1) : QString());
    app.show();
    return QApplication::exec();
}
