// The lesson browser end to end, as a user waits for it: opening it, saving
// after one edit, exporting the dictionary as TSV and KVTML and importing a
// TSV list, over 100 and 1,000 lessons of 1,000 words; the rich-text export
// of a lesson of 100,000 words and sorting that lesson. Each run is a fresh
// process through the real windows offscreen (the main window's button, the
// browser's own buttons and commands), set beside `wc -l` or `cp` of the
// same file in the same run.

#include "endtoend.h"

#include "app/fmain.h"
#include "editor/fviewedit.h"
#include "editor/lessonmodel.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#include <random>

using namespace lexitka;
using namespace lexitka::bench;
using namespace lexitka::bench::e2e;

namespace {

// One lesson of `words` German words in no order, so that sorting has work to do.
QString shuffledLesson(long words)
{
    const QString path = benchFolder().filePath(QStringLiteral("shuffled_%1.de").arg(words));
    if (QFileInfo::exists(path))
        return path;
    std::vector<long> ids(static_cast<size_t>(words));
    for (long i = 0; i < words; ++i)
        ids[size_t(i)] = i;
    std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
    QByteArray bytes = "[Lekce 1 - slov\xED\xE8ko]\r\n";
    bytes.reserve(words * 64);
    char line[128];
    for (long i = 0; i < words; ++i) {
        const long id = ids[size_t(i)];
        const int n = std::snprintf(line, sizeof line, "%ld=%ld\\Wort%07ld\\W\xF6rter%05ld\\slov\xED\xE8ko %06ld\r\n",
                                    i, id % 4, id, id % 100000, id);
        bytes.append(line, n);
    }
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return path;
}

// The words of a lesson file, one a line, for sort(1) to sort.
QString wordsOf(const QString &lesson)
{
    const QString path = lesson + QStringLiteral(".words");
    if (QFileInfo::exists(path))
        return path;
    QFile in(lesson);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return path;
    QByteArray words;
    for (const QByteArray &line : in.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QList<QByteArray> fields = line.mid(eq + 1).split('\\');
        words.append(fields.value(1)).append('\n'); // after the article
    }
    out.write(words);
    return path;
}

QStringList stableSort(const QString &file)
{
    return {
        QStringLiteral("env"),          QStringLiteral("LC_ALL=C"), QStringLiteral("sort"),      QStringLiteral("-s"),
        QStringLiteral("--parallel=1"), QStringLiteral("-o"),       QStringLiteral("/dev/null"), file};
}

// What the import must do to every byte beside splitting: UTF-8 into the
// code page of the words.
QStringList iconvToCp1250(const QString &file)
{
    return {QStringLiteral("iconv"),  QStringLiteral("-f"), QStringLiteral("UTF-8"),     QStringLiteral("-t"),
            QStringLiteral("CP1250"), QStringLiteral("-o"), QStringLiteral("/dev/null"), file};
}

QString bigDictionary() { return generatedDictionary(scaled(1'000'000), scaled(1000)); }
QString smallDictionary() { return generatedDictionary(1'000, 10); }

// The program started on a dictionary, its main window painted; `inBrowser`
// runs once the browser is up, and must close it.
int withBrowser(const QString &dictionary, const std::function<int(TfrmViewEdt &)> &inBrowser)
{
    Program program;
    QTemporaryDir folder;
    LexitkaApp app(program.services(folder.path()), dictionary);
    app.show();
    paintNow(app.frmMain());
    int status = 1;
    // Reached only once it is open: the click makes its controls, and that is timed too.
    whenModalOpens([&](QWidget *) {
        TfrmViewEdt &view = app.frmViewEdt();
        status = inBrowser(view);
        view.reject();
    });
    stopwatch().start();
    app.frmMain().btnView->click();
    app.frmMain().close();
    return status;
}

// From the click on "Prohlížet a editovat lekce" to the browser painted.
int openChild(const QStringList &args)
{
    return withBrowser(args.value(0), [](TfrmViewEdt &view) {
        paintNow(view);
        stopwatch().stop();
        return view.WordLists.count() > 1 ? 0 : 1;
    });
}

// One word deleted, then Ctrl+S: from the command to the file saved.
int saveChild(const QStringList &args)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("slovnik.de"));
    if (!QFile::copy(args.value(0), copy))
        return 1;
    const qint64 before = QFileInfo(copy).size();
    return withBrowser(copy, [&](TfrmViewEdt &view) {
        paintNow(view);
        view.sgList->selectRow(0);
        view.Button5->click();
        stopwatch().start();
        view.actSave->trigger();
        stopwatch().stop();
        const qint64 after = QFileInfo(copy).size();
        return after > 0 && after < before && view.undoStack()->isClean() ? 0 : 1;
    });
}

// A file name typed into the file dialog that `command` opens: the stopwatch
// starts at its acceptance, when the user's wait begins.
void typeIntoFileDialog(TfrmViewEdt &view, const QString &path, QAction *command)
{
    whenModalOpens(
        [&](QWidget *modal) {
            auto *dlg = qobject_cast<QFileDialog *>(modal);
            auto *name = dlg ? dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name) {
                modal->close();
                return;
            }
            name->setText(path);
            stopwatch().start();
            static_cast<QDialog *>(dlg)->accept();
        },
        &view);
    command->trigger();
}

// A command that writes a file chosen in the save dialog (Ctrl+F10 and the
// word-list exports): from its acceptance to the file written. A second
// argument keeps the file there; its name tells the word-list format.
int exportChild(const QStringList &args, const char *command, const QString &suffix)
{
    QTemporaryDir scratch;
    const QString target = args.size() > 1 ? args.value(1) : scratch.filePath(QStringLiteral("export.") + suffix);
    QFile::remove(target);
    return withBrowser(args.value(0), [&](TfrmViewEdt &view) {
        paintNow(view);
        auto *action = view.findChild<QAction *>(QString::fromLatin1(command));
        if (!action)
            return 1;
        typeIntoFileDialog(view, target, action);
        stopwatch().stop();
        return QFileInfo(target).size() > view.model().rowCount() ? 0 : 1;
    });
}

int rtfChild(const QStringList &args) { return exportChild(args, "actRtf", QStringLiteral("rtf")); }
int tsvChild(const QStringList &args) { return exportChild(args, "actExportDictionary", QStringLiteral("tsv")); }
int kvtmlChild(const QStringList &args) { return exportChild(args, "actExportDictionary", QStringLiteral("kvtml")); }

// The words of every lesson in the browser.
qsizetype wordsIn(const TfrmViewEdt &view)
{
    qsizetype words = 0;
    for (qsizetype i = 0; i < view.WordLists.count(); ++i)
        words += view.WordLists.lines(i).size();
    return words;
}

// Ctrl+I in a dictionary, the word list chosen and its preview accepted as
// it comes (a list exported with its lessons goes into new lessons): from
// the file's acceptance to the browser painted with the words.
int importChild(const QStringList &args)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("slovnik.de"));
    if (!QFile::copy(args.value(0), copy))
        return 1;
    return withBrowser(copy, [&](TfrmViewEdt &view) {
        paintNow(view);
        const qsizetype before = wordsIn(view);
        auto *action = view.findChild<QAction *>(QStringLiteral("actImport"));
        if (!action)
            return 1;
        whenModalOpens([&](QWidget *) {
            // The preview, once the file dialog has gone.
            whenModalOpens([](QWidget *preview) {
                if (auto *dlg = qobject_cast<QDialog *>(preview))
                    dlg->accept();
            });
        });
        typeIntoFileDialog(view, args.value(1), action);
        paintNow(view);
        stopwatch().stop();
        return wordsIn(view) > before ? 0 : 1;
    });
}

// Ctrl+F9 on the shown lesson: from the command to the sorted grid painted.
int sortChild(const QStringList &args)
{
    return withBrowser(args.value(0), [](TfrmViewEdt &view) {
        paintNow(view);
        const QByteArray first = view.model().lines().at(0).toByteArray();
        stopwatch().start();
        view.actSort->trigger();
        paintNow(view);
        stopwatch().stop();
        return view.model().lines().at(0) != first ? 0 : 1;
    });
}

std::vector<Row> browserRows()
{
    const QString big = bigDictionary();
    const QString small = smallDictionary();
    const QString hundredThousand = generatedDictionary(scaled(100'000), scaled(100));
    const QString hundred = generatedDictionary(100, 10);
    const QString lesson = shuffledLesson(scaled(100'000));
    const QString smallLesson = shuffledLesson(1'000);
    // The export's own output, for the copy it is set beside.
    const QString rtf = benchFolder().filePath(QStringLiteral("lesson.rtf"));
    runMeasured(selfAsChild({QStringLiteral("rtf"), lesson, rtf}));
    auto exported = [](const char *mode, const QString &dictionary, const QString &name) {
        const QString path = benchFolder().filePath(name);
        runMeasured(selfAsChild({QString::fromLatin1(mode), dictionary, path}));
        return path;
    };
    const QString tsv100k = exported("tsv", hundredThousand, QStringLiteral("words_100k.tsv"));
    const QString kvtml100k = exported("kvtml", hundredThousand, QStringLiteral("words_100k.kvtml"));
    const QString tsv1M = exported("tsv", big, QStringLiteral("words_1M.tsv"));
    const QString kvtml1M = exported("kvtml", big, QStringLiteral("words_1M.kvtml"));
    const QString tsvSmall = exported("tsv", hundred, QStringLiteral("words_100.tsv"));
    return {
        {"open the browser, 1000 x 1000 words",
         {QStringLiteral("open"), big},
         {QStringLiteral("open"), small},
         wcL(big),
         big},
        {"save after one edit, 1000 x 1000 words",
         {QStringLiteral("save"), big},
         {QStringLiteral("save"), small},
         cp(big),
         big},
        {"open the browser, 100 x 1000 words",
         {QStringLiteral("open"), hundredThousand},
         {QStringLiteral("open"), hundred},
         wcL(hundredThousand),
         hundredThousand},
        {"save after one edit, 100 x 1000 words",
         {QStringLiteral("save"), hundredThousand},
         {QStringLiteral("save"), hundred},
         cp(hundredThousand),
         hundredThousand},
        {"RTF export, 100,000 words",
         {QStringLiteral("rtf"), lesson},
         {QStringLiteral("rtf"), smallLesson},
         cp(rtf),
         lesson},
        {"TSV export, 100 x 1000 words",
         {QStringLiteral("tsv"), hundredThousand},
         {QStringLiteral("tsv"), hundred},
         cp(tsv100k),
         hundredThousand},
        {"KVTML export, 100 x 1000 words",
         {QStringLiteral("kvtml"), hundredThousand},
         {QStringLiteral("kvtml"), hundred},
         cp(kvtml100k),
         hundredThousand},
        {"TSV import, 100,000 words",
         {QStringLiteral("import"), hundred, tsv100k},
         {QStringLiteral("import"), hundred, tsvSmall},
         wcL(tsv100k),
         tsv100k},
        {"TSV import, 100,000 words / iconv to CP1250",
         {QStringLiteral("import"), hundred, tsv100k},
         {QStringLiteral("import"), hundred, tsvSmall},
         iconvToCp1250(tsv100k),
         tsv100k},
        {"TSV export, 1000 x 1000 words",
         {QStringLiteral("tsv"), big},
         {QStringLiteral("tsv"), hundred},
         cp(tsv1M),
         big},
        {"KVTML export, 1000 x 1000 words",
         {QStringLiteral("kvtml"), big},
         {QStringLiteral("kvtml"), hundred},
         cp(kvtml1M),
         big},
        {"TSV import, 1,000,000 words",
         {QStringLiteral("import"), hundred, tsv1M},
         {QStringLiteral("import"), hundred, tsvSmall},
         wcL(tsv1M),
         tsv1M},
        {"TSV import, 1,000,000 words / iconv to CP1250",
         {QStringLiteral("import"), hundred, tsv1M},
         {QStringLiteral("import"), hundred, tsvSmall},
         iconvToCp1250(tsv1M),
         tsv1M},
        {"sort a lesson, 100,000 words",
         {QStringLiteral("sort"), lesson},
         {QStringLiteral("sort"), smallLesson},
         wcL(lesson),
         lesson},
        {"sort a lesson, 100,000 words / sort -s of its words",
         {QStringLiteral("sort"), lesson},
         {QStringLiteral("sort"), smallLesson},
         stableSort(wordsOf(lesson)),
         lesson},
    };
}

} // namespace

int main(int argc, char **argv)
{
    const Children children{{QStringLiteral("open"), openChild},   {QStringLiteral("save"), saveChild},
                            {QStringLiteral("rtf"), rtfChild},     {QStringLiteral("tsv"), tsvChild},
                            {QStringLiteral("kvtml"), kvtmlChild}, {QStringLiteral("import"), importChild},
                            {QStringLiteral("sort"), sortChild}};
    return run(argc, argv, children, browserRows);
}
