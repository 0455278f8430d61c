// Draws the user guide's pictures from the real windows, offscreen, so that
// they can be made again whenever the windows change:
//   screenshots FOLDER     writes FOLDER/main-window.png, test-windows.png, …
// scripts/screenshots builds this and writes docs/images. It fails when a
// window lacks what the guide shows of it (the menu "Nápověda", the
// speaker buttons, "Odebírat zvládnuté chyby", the due count of "Opakovat").
#include "app/application.h"
#include "app/fabout.h"
#include "app/fmain.h"
#include "data/dictionary.h"
#include "editor/ffind.h"
#include "editor/fimport.h"
#include "editor/fviewedit.h"
#include "editor/fword.h"
#include "exam/ferror.h"
#include "exam/testwindow.h"
#include "platform/fonts.h"
#include "platform/keyboard.h"
#include "platform/messenger.h"
#include "platform/services.h"
#include "platform/speech.h"
#include "platform/translation.h"
#include "stats/fstatistic.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

using namespace lexitka;

namespace {

// Message boxes would wait for a user: none comes up in these pictures.
class QuietMessenger final : public Messenger {
public:
    void information(QWidget *, const QString &text) override { said(text); }
    void error(QWidget *, const QString &text) override { said(text); }
    bool question(QWidget *, const QString &text) override { return said(text), false; }
    bool ask(QWidget *, const QString &, const QString &text, Default) override { return said(text), false; }

private:
    static void said(const QString &text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
};

// Every language has a voice, so that the speaker buttons show as a user sees them.
class VoicedSpeaker final : public Speaker {
public:
    VoiceState voiceFor(const QString &) const override { return VoiceState::Ready; }
    void say(const QString &, const QString &) override { }
};

int failures = 0;
void fail(const char *what)
{
    std::fprintf(stderr, "screenshots: %s\n", what);
    ++failures;
}

// The program over one dictionary in a folder of its own.
struct Program {
    QTemporaryDir folder;
    QuietMessenger messenger;
    NullKeyboardLayoutService keyboard;
    StdRandomSource random;
    SystemClock clock;
    VoicedSpeaker speaker;
    std::unique_ptr<LexitkaApp> app;

    Program(const char *name, const QByteArray &words, const QList<std::pair<const char *, QByteArray>> &files = {})
    {
        for (const auto &[file, bytes] : files)
            write(file, bytes);
        write(name, words);
        app = std::make_unique<LexitkaApp>(Services{folder.path(), &messenger, &keyboard, &random, &clock, &speaker},
                                           folder.filePath(QString::fromLatin1(name)));
        app->show();
        QCoreApplication::processEvents();
    }
    void write(const char *name, const QByteArray &bytes)
    {
        QFile out(folder.filePath(QString::fromLatin1(name)));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            fail("cannot write a file");
    }
    TfrmMain &main() { return app->frmMain(); }
    // Ticks the lessons and the kinds of test, by their rows.
    void tick(QList<int> lessons, QList<int> kinds)
    {
        QAbstractItemModel *model = main().lbLekce->model();
        for (int row : lessons)
            model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
        for (int i = 0; i < main().chbChoice->count(); ++i)
            main().chbChoice->item(i)->setCheckState(kinds.contains(i) ? Qt::Checked : Qt::Unchecked);
    }
};

// Runs trigger, which opens a modal window, and inside once that window is
// up (from its own event loop); inside closes it.
void inModal(const std::function<void()> &trigger, const std::function<void(QWidget *)> &inside)
{
    QWidget *before = QApplication::activeModalWidget();
    auto *timer = new QTimer(qApp);
    int waited = 0;
    QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            QCoreApplication::processEvents();
            inside(modal);
        } else if (++waited > 500) {
            timer->stop();
            timer->deleteLater();
            fail("a window did not open");
        }
    });
    timer->start(10);
    trigger();
}

QImage shot(QWidget *w)
{
    QCoreApplication::processEvents();
    return w->grab().toImage();
}

// Pictures side by side (or one under another), a gap between them.
QImage joined(const QList<QImage> &pictures, bool sideBySide, int gap = 20)
{
    int width = 0, height = 0;
    for (const QImage &p : pictures) {
        width = sideBySide ? width + p.width() + (width ? gap : 0) : std::max(width, p.width());
        height = sideBySide ? std::max(height, p.height()) : height + p.height() + (height ? gap : 0);
    }
    QImage out(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    int at = 0;
    for (const QImage &p : pictures) {
        painter.drawImage(sideBySide ? QPoint(at, 0) : QPoint(0, at), p);
        at += (sideBySide ? p.width() : p.height()) + gap;
    }
    return out;
}

void save(const QImage &picture, const QString &folder, const char *name)
{
    if (!picture.save(folder + u'/' + QString::fromLatin1(name)))
        fail(name);
}

QByteArray cz(const char *utf8) { return encode(QString::fromUtf8(utf8), CodePage::Cp1250); }

const QByteArray kGerman = cz("[Tiere]\r\n0=0\\Hund\\Hunde\\pes\r\n1=1\\Katze\\Katzen\\kočka\r\n"
                              "2=2\\Pferd\\Pferde\\kůň\r\n3=3\\sehen\\sieht,sah,h gesehen\\vidět\r\n\r\n"
                              "[Haus]\r\n0=2\\Haus\\Häuser\\dům\r\n1=0\\Tisch\\Tische\\stůl\r\n\r\n"
                              "[Verben]\r\n0=3\\gehen\\geht,ging,i gegangen\\jít\r\n");

// Cards of the German words, some due today, the rest in the days after.
QByteArray germanCards()
{
    const QDate today = QDate::currentDate();
    QByteArray cards;
    const auto card = [&](int kind, int dueIn, const char *value) {
        cards += QByteArray::number(kind) + '\t' + today.addDays(dueIn).toString(Qt::ISODate).toLatin1() + '\t'
                 + today.addDays(-3).toString(Qt::ISODate).toLatin1() + "\t3.1734\t5.2000\t2\t1\t" + cz(value) + "\r\n";
    };
    card(0, 0, "0\\Hund\\Hunde\\pes");
    card(2, 0, "1\\Katze\\Katzen\\kočka");
    card(0, -1, "2\\Pferd\\Pferde\\kůň");
    card(3, 1, "3\\sehen\\sieht,sah,h gesehen\\vidět");
    card(1, 2, "0\\Hund\\Hunde\\pes");
    card(0, 4, "2\\Haus\\Häuser\\dům");
    card(0, 9, "1\\Katze\\Katzen\\kočka");
    return cards;
}

void speakerShown(QWidget *window)
{
    auto *speak = window->findChild<QAbstractButton *>(QStringLiteral("btnSpeak"));
    if (!speak || !speak->isVisibleTo(window))
        fail("a window lacks its speaker button");
}

// One test window with its first question, and the mistake dialog of a
// wrong answer when asked for.
QImage testWindow(Program &p, QImage *mistake = nullptr)
{
    QImage picture;
    inModal([&] { p.main().btnTest->click(); },
            [&](QWidget *test) {
                speakerShown(test);
                picture = shot(test);
                if (mistake) {
                    auto *answer = test->findChild<QLineEdit *>(QStringLiteral("edtPreklad"));
                    auto *next = test->findChild<QPushButton *>(QStringLiteral("btnOK"));
                    if (answer && next) {
                        answer->setText(QStringLiteral("žena"));
                        inModal([&] { next->click(); },
                                [&](QWidget *error) {
                                    *mistake = shot(error);
                                    static_cast<QDialog *>(error)->reject();
                                });
                    }
                }
                test->close();
            });
    return picture;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    installFontSubstitutes();
    installCzechTranslation();

    // The main window, a lesson ticked, its menus as they are.
    Program german("slovnik.de", kGerman,
                   {{"statistic.des", cz("1.12./60/Tiere/Německo - česky\r\n2.12./75/Tiere/Německo - česky\r\n"
                                         "3.12./80/Tiere,Haus/Česko - německy\r\n4.12./90/Haus/Množná čísla\r\n"
                                         "5.12./95/Verben/Slovesa\r\n")},
                    {"errors.dee", cz("0\\1=1\\Katze\\Katzen\\kočka\r\n")},
                    {"review.der", germanCards()}});
    german.tick({0}, {0});
    QStringList menus;
    for (QAction *menu : german.main().menuBar()->actions())
        menus.append(menu->text());
    if (!menus.contains(QStringLiteral("&Nápověda")))
        fail("the main window has no menu Nápověda");
    if (!german.main().findChild<QAction *>(QStringLiteral("mniRemoveMastered")))
        fail("the main window has no Odebírat zvládnuté chyby");
    // Beside it its menu "Slovník", where "Odebírat zvládnuté chyby" is.
    QImage mainWindow = shot(&german.main());
    if (QMenu *dictionary = german.main().menuBar()->actions().value(0)->menu()) {
        dictionary->popup(german.main().mapToGlobal(QPoint(0, german.main().menuBar()->height())));
        mainWindow = joined({mainWindow, shot(dictionary)}, true);
        dictionary->close();
    }
    save(mainWindow, out, "main-window.png");

    // Reviews: the due count, the lesson's progress at the foot, and the
    // statistics' forecast.
    if (!german.main().btnReviews->text().startsWith(QStringLiteral("Opakovat (")))
        fail("the main window counts no review due");
    QImage forecast;
    inModal([&] { german.main().btnStatistika->click(); },
            [&](QWidget *window) {
                if (auto *stats = qobject_cast<TfrmStatistic *>(window); stats && stats->grbForecast->isVisible())
                    forecast = shot(stats->grbForecast);
                else
                    fail("the statistics show no forecast of reviews");
                static_cast<QDialog *>(window)->reject();
            });
    save(joined({shot(&german.main()), forecast}, false), out, "reviews.png");

    // The test windows: German verb forms, French with its article, Russian.
    german.tick({0}, {3});
    const QImage de = testWindow(german);
    Program french("slovnik.fr", cz("[Lekce 1]\r\n0=0\\homme\\muž\r\n"));
    french.tick({0}, {0});
    QImage mistake;
    const QImage fr = testWindow(french, &mistake);
    Program russian("slovnik.ru", "[Lekce 1]\r\n0=\xF1\xEE\xE1\xE0\xEA\xE0\\pes\r\n");
    russian.tick({0}, {0});
    const QImage ru = testWindow(russian);
    save(joined({de, fr, ru}, false), out, "test-windows.png");

    // The mistake dialog and the About box.
    QImage about;
    inModal([&] { german.main().btnAbout->click(); },
            [&](QWidget *box) {
                about = shot(box);
                static_cast<QDialog *>(box)->reject();
            });
    save(joined({mistake, about}, false), out, "mistake-and-about.png");

    // The lesson browser with the word dialog and the search; its menu and
    // the import window.
    QImage browser, word, find, menu, import;
    QPoint menuAt;
    inModal([&] { german.main().btnView->click(); },
            [&](QWidget *window) {
                auto &view = static_cast<TfrmViewEdt &>(*window);
                speakerShown(&view);
                view.sgList->selectRow(1);
                browser = shot(&view);
                inModal([&] { view.Button4->click(); },
                        [&](QWidget *dialog) {
                            word = shot(dialog);
                            static_cast<QDialog *>(dialog)->reject();
                        });
                view.btnFind->click();
                QCoreApplication::processEvents();
                if (QWidget *search = QApplication::activeModalWidget(); search && search != &view) {
                    find = shot(search);
                    search->close();
                } else if (german.app->frmFind().isVisible()) {
                    find = shot(&german.app->frmFind());
                    german.app->frmFind().close();
                }
                QMenu context;
                context.addActions(view.sgList->actions());
                menuAt = view.sgList->mapTo(&view, QPoint(view.sgList->width() * 2 / 5, 24));
                context.popup(view.mapToGlobal(menuAt));
                menu = shot(&context);
                context.close();
                DelimitedHead head =
                    readDelimitedHead("Slovo\tP\xC5\x99"
                                      "eklad\t\xC4\x8C"
                                      "len\tMno\xC5\xBEn\xC3\xA9 \xC4\x8D\xC3\xADslo (minul\xC3\xBD \xC4\x8D"
                                      "as)"
                                      "\nMaus\tmy\xC5\xA1\tdie\tM\xC3\xA4use\nBoot\tlo\xC4\x8F\tdas\tBoote\nTisch\tst"
                                      "\xC5\xAFl\tder\tTische\n",
                                      CodePage::Cp1250, TfrmImport::kPreviewRows + 1);
                TfrmImport dialog(&view, QStringLiteral("zvirata.tsv"), LangGerman, head, nullptr, std::nullopt,
                                  QStringLiteral("Tiere"), false, QStringLiteral("zvirata"));
                dialog.show();
                import = shot(&dialog);
                dialog.close();
                view.reject();
            });
    save(joined({browser, joined({word, find}, false)}, true), out, "editor.png");
    QImage withMenu = browser.copy();
    {
        QImage canvas(std::max(browser.width(), menuAt.x() + menu.width()),
                      std::max(browser.height(), menuAt.y() + menu.height()), QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, browser);
        painter.drawImage(menuAt, menu);
        withMenu = canvas;
    }
    save(joined({withMenu, import}, true), out, "browser-import.png");

    // The statistics of five tests.
    inModal([&] { german.main().btnStatistika->click(); },
            [&](QWidget *window) {
                save(shot(window), out, "statistics.png");
                static_cast<QDialog *>(window)->reject();
            });
    return failures == 0 ? 0 : 1;
}
