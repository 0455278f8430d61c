// The due count of the main window ("Opakovat (N)", the status line): the
// dictionary and its review file read again and counted, as after every
// test, in a fresh process each time (see endtoend.h), beside `cat` of the
// same two files.

#include "endtoend.h"

#include <QDate>
#include <QPushButton>

using namespace lexitka;
using namespace lexitka::bench;
using namespace lexitka::bench::e2e;

namespace {

// A card for every word of the dictionary, due over the two months around
// today, so that about half of them are due.
QString reviewFileFor(const QString &dictionary)
{
    const QString path = dictionary + QStringLiteral(".cards");
    if (QFileInfo::exists(path))
        return path;
    QFile in(dictionary);
    if (!in.open(QIODevice::ReadOnly))
        return path;
    const QDate today = QDate::currentDate();
    QByteArray out;
    long n = 0;
    for (const QByteArray &line : in.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.startsWith('['))
            continue;
        const QByteArray value = line.sliced(eq + 1).trimmed();
        const QDate due = today.addDays(n % 60 - 30);
        out += "0\t" + due.toString(Qt::ISODate).toLatin1() + '\t' + due.addDays(-10).toString(Qt::ISODate).toLatin1()
               + "\t10.0000\t5.0000\t3\t1\t" + value + "\r\n";
        ++n;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(out);
    return path;
}

// The program started over the dictionary; the count made again and the
// window painted with it.
int recount(const QStringList &args)
{
    Program program;
    LexitkaApp app(program.services(args.value(0)), args.value(1));
    app.show();
    TfrmMain &main = app.frmMain();
    paintNow(main);
    paintedSinceStart().clear();
    stopwatch().start();
    main.recountReviews(true);
    paintNow(main);
    stopwatch().stop();
    const bool counted = main.btnReviews->text().startsWith(QStringLiteral("Opakovat ("));
    main.close();
    return counted ? 0 : 1;
}

std::vector<Row> rows()
{
    const QString words = generatedDictionary(scaled(100'000), scaled(100));
    const QString fewWords = generatedDictionary(100, 10);
    const QString cards = reviewFileFor(words);
    const QString big = programFolder(QStringLiteral("reviews_big"), {{QStringLiteral("review.der"), cards}});
    const QString small =
        programFolder(QStringLiteral("reviews_small"), {{QStringLiteral("review.der"), reviewFileFor(fewWords)}});
    const QStringList catBoth = {QStringLiteral("sh"),
                                 QStringLiteral("-c"),
                                 QStringLiteral("exec cat \"$1\" \"$2\" >/dev/null"),
                                 QStringLiteral("sh"),
                                 words,
                                 cards};
    return {Row{"due count, 100k words and 100k cards / cat",
                {QStringLiteral("recount"), big, words},
                {QStringLiteral("recount"), small, fewWords},
                catBoth,
                cards}};
}

} // namespace

int main(int argc, char **argv) { return run(argc, argv, {{QStringLiteral("recount"), recount}}, rows); }
