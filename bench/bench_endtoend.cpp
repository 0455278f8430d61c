// From the click to the window being ready, in a fresh process each time
// (see endtoend.h): start-up with a million lessons, the statistics window
// over 100,000 records, a search for a missing word through the whole
// dictionary in the find dialog, and a test of every lesson up to its first
// question.

#include "endtoend.h"

#include "editor/ffind.h"
#include "editor/fviewedit.h"
#include "app/lessonlist.h"

#include <QLineEdit>
#include <QPushButton>

using namespace lexitka;
using namespace lexitka::bench;
using namespace lexitka::bench::e2e;

namespace {

// The program as main() starts it, with `dictionary` on the command line.
struct Started {
    Program program;
    LexitkaApp app;
    Started(const QString &folder, const QString &dictionary) : app(program.services(folder), dictionary)
    {
        app.show();
        paintNow(app.frmMain());
    }
    ~Started() { app.frmMain().close(); }
};

// Start-up: from the process's start to the main window painted.
int startUp(const QStringList &args)
{
    Started s(args.value(0), args.value(1));
    stopwatch().stop();
    return s.app.frmMain().lessons().rowCount() > 0 ? 0 : 1;
}

// "Statistika": the window filled and painted over the file.
int statistics(const QStringList &args)
{
    Started s(args.value(0), args.value(1));
    bool shown = false;
    whenModalOpens([&shown](QWidget *window) {
        paintNow(*window);
        stopwatch().stop();
        shown = true;
        window->close();
    });
    stopwatch().start();
    s.app.frmMain().btnStatistika->click();
    return shown ? 0 : 1;
}

// "Hledat" in the lesson browser: a word that no lesson holds, searched from
// the first lesson to the last.
int findMissing(const QStringList &args)
{
    Started s(args.value(0), args.value(1));
    bool searched = false;
    whenModalOpens([&s, &searched](QWidget *browser) {
        TfrmViewEdt &view = s.app.frmViewEdt();
        view.btnFind->click();
        TfrmFind &find = s.app.frmFind();
        find.edtFind->setText(QStringLiteral("chyb\u00ed"));
        paintNow(find);
        stopwatch().start();
        find.btnNext->click();
        paintNow(*browser);
        stopwatch().stop();
        searched = find.position() == FindPosition{};
        find.close();
        browser->close();
    });
    s.app.frmMain().btnView->click();
    return searched ? 0 : 1;
}

// "Zkoušej !" with every lesson ticked: up to the first question painted.
int testAll(const QStringList &args)
{
    Started s(args.value(0), args.value(1));
    s.app.frmMain().btnAll->click();
    bool asked = false;
    whenModalOpens([&s, &asked](QWidget *window) {
        paintNow(*window);
        stopwatch().stop();
        asked = s.app.test().RemainCount > 0;
        window->close();
    });
    stopwatch().start();
    s.app.frmMain().btnTest->click();
    return asked ? 0 : 1;
}

std::vector<Row> rows()
{
    const QString lessons = oneWordLessons(scaled(1'000'000));
    const QString fewLessons = oneWordLessons(10);
    const QString words = generatedDictionary(scaled(1'000'000), scaled(1'000));
    const QString fewWords = generatedDictionary(100, 10);
    const QString hundredThousand = generatedDictionary(scaled(100'000), scaled(100));
    const QString records = statisticsRecords(scaled(100'000));
    const QString big = programFolder(QStringLiteral("big"));
    const QString stats = programFolder(QStringLiteral("stats"), {{QStringLiteral("statistic.des"), records}});
    const QString small =
        programFolder(QStringLiteral("small"), {{QStringLiteral("statistic.des"), statisticsRecords(100)}});
    const auto row = [](const char *name, const QString &mode, const QString &bigFolder, const QString &bigFile,
                        const QString &smallFile, const QString &measuredFile, const QString &folderSmall,
                        QStringList baseline) {
        return Row{name, {mode, bigFolder, bigFile}, {mode, folderSmall, smallFile}, std::move(baseline), measuredFile};
    };
    return {
        row("start-up, 1M one-word lessons / wc -l", QStringLiteral("startup"), big, lessons, fewLessons, lessons,
            small, wcL(lessons)),
        row("statistics window, 100k records / wc -l", QStringLiteral("statistics"), stats, fewWords, fewWords, records,
            small, wcL(records)),
        row("find a missing word, 1000x1000 / cat", QStringLiteral("find"), big, words, fewWords, words, small,
            cat(words)),
        row("test of every lesson, 1000x1000 / wc -l", QStringLiteral("test"), big, words, fewWords, words, small,
            wcL(words)),
        row("start-up, 100x1000 words / wc -l", QStringLiteral("startup"), big, hundredThousand, fewWords,
            hundredThousand, small, wcL(hundredThousand)),
        row("find a missing word, 100x1000 / cat", QStringLiteral("find"), big, hundredThousand, fewWords,
            hundredThousand, small, cat(hundredThousand)),
        row("test of every lesson, 100x1000 / wc -l", QStringLiteral("test"), big, hundredThousand, fewWords,
            hundredThousand, small, wcL(hundredThousand)),
    };
}

} // namespace

int main(int argc, char **argv)
{
    const Children children{
        {QStringLiteral("startup"), startUp},
        {QStringLiteral("statistics"), statistics},
        {QStringLiteral("find"), findMissing},
        {QStringLiteral("test"), testAll},
    };
    return run(argc, argv, children, rows);
}
