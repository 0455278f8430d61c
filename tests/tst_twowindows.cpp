// Two windows of the program on one folder, and a program killed mid-save:
// real processes that write at the same instant, hold a lock, or die with
// SIGKILL part way through overwriting a file. Nothing may be lost or torn.
#include "support/fakes.h"

#include "app/fmain.h"
#include "data/filelock.h"
#include "data/journal.h"
#include "data/savefile.h"
#include "exam/reviews.h"
#include "editor/fviewedit.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr char kChildFlag[] = "--two-windows-child";

// The other window: `append PATH COUNT TAG START_MS` appends COUNT lines, one
// change at a time, from the moment START_MS (ms since the epoch) on;
// `review PATH COUNT TAG START_MS` the same with reviews, each also of a
// card both windows review; `hold PATH` takes the file's lock and waits to be killed; `save PATH
// SOURCE` saves SOURCE's bytes over PATH, as nobody when run as root.
int runChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray what = argv[2];
    const QString path = QString::fromLocal8Bit(argv[3]);
    if (what == "append" && argc == 7) {
        const int count = std::atoi(argv[4]);
        const QByteArray tag = argv[5];
        while (QDateTime::currentMSecsSinceEpoch() < std::atoll(argv[6]))
            ;
        for (int i = 0; i < count; ++i) {
            if (appendLinesToFile(path, {tag + '-' + QByteArray::number(i)}, 60000) != UpdateResult::Done)
                return 1;
        }
        return 0;
    }
    if (what == "review" && argc == 7) {
        const int count = std::atoi(argv[4]);
        const QByteArray tag = argv[5];
        while (QDateTime::currentMSecsSinceEpoch() < std::atoll(argv[6]))
            ;
        const QDate day(2026, 12, 6);
        for (int i = 0; i < count; ++i) {
            const QList<Review> reviews{{0, tag + '-' + QByteArray::number(i), fsrs::Grade::Good, day},
                                        {1, "both", fsrs::Grade::Good, day}};
            if (recordReviews(path, reviews, 60000) != UpdateResult::Done)
                return 1;
        }
        return 0;
    }
    if (what == "hold") {
        FileLock lock(path);
        if (lock.lock() != FileLock::Result::Locked)
            return 1;
        std::puts("locked");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    if (what == "save" && argc == 5) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 3;
        prctl(PR_SET_DUMPABLE, 1); // the sanitizers read /proc/self
        QFile source(QString::fromLocal8Bit(argv[4]));
        if (!source.open(QIODevice::ReadOnly))
            return 4;
        const QByteArray bytes = source.readAll();
        std::puts("saving");
        std::fflush(stdout);
        return saveWholeFile(path, bytes) ? 0 : 5;
    }
    return 2;
}

QProcess *startChild(QObject *parent, const QStringList &args)
{
    auto *child = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    child->setProcessEnvironment(env);
    child->start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(kChildFlag)} + args);
    return child;
}

QStringList filesIn(const QString &folder, const QStringList &patterns = {})
{
    return QDir(folder).entryList(patterns, QDir::Files | QDir::Hidden);
}

QByteArray lines(char c, int count, int width)
{
    QByteArray out;
    out.reserve(qsizetype(count) * (width + 8));
    for (int i = 0; i < count; ++i)
        out.append(QByteArray::number(i)).append('=').append(QByteArray(width, c)).append("\r\n");
    return out;
}

} // namespace

class TestTwoWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_state; // the user's state folder: journals, locks

private slots:
    void initTestCase()
    {
        QFile::setPermissions(m_state.path(), QFileDevice::Permissions(0x7777));
        qputenv("XDG_DATA_HOME", m_state.path().toLocal8Bit());
        QCOMPARE(journalFolder(), m_state.path() + QStringLiteral("/Lexitka/journal"));
    }
    void appendsAtTheSameInstantKeepEveryLine();
    void reviewsAtTheSameInstantKeepEveryReview();
    void lockIsWaitedForAndTakenFromTheDead();
    void killDuringInPlaceOverwriteLeavesOldOrNew();
    void startPutsBackWhatAKillLeft();
    void browserKeepsAnotherWindowsChanges();
};

void TestTwoWindows::appendsAtTheSameInstantKeepEveryLine()
{
    // A folder in memory: the race is in the program, not in the disk.
    QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/lexitka-XXXXXX")
                                                                    : QString());
    const QString path = dir.filePath(QStringLiteral("errors.ene"));
    constexpr int kLines = 300;
    for (int round = 0; round < 3; ++round) {
        writeFile(path, "0\\0=old\\stary\r\n");
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 300;
        QList<QProcess *> children;
        for (const char *tag : {"a", "b"})
            children.append(startChild(this, {QStringLiteral("append"), path, QString::number(kLines),
                                              QString::fromLatin1(tag), QString::number(start)}));
        for (QProcess *c : children) {
            QVERIFY(c->waitForFinished(120000));
            QCOMPARE(c->exitCode(), 0);
            delete c;
        }
        const QList<QByteArray> got = splitLines(readFile(path));
        QCOMPARE(got.size(), 1 + 2 * kLines);
        QCOMPARE(got.first(), QByteArray("0\\0=old\\stary"));
        for (const char *tag : {"a", "b"}) {
            // Each window's lines all there, once, in the order it wrote them.
            QList<QByteArray> own;
            for (const QByteArray &l : got) {
                if (l.startsWith(QByteArray(tag) + '-'))
                    own.append(l);
            }
            QCOMPARE(own.size(), kLines);
            for (int i = 0; i < kLines; ++i)
                QCOMPARE(own[i], QByteArray(tag) + '-' + QByteArray::number(i));
        }
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("errors.ene")}); // no lock file left
    }
}

void TestTwoWindows::reviewsAtTheSameInstantKeepEveryReview()
{
    QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/lexitka-XXXXXX")
                                                                    : QString());
    const QString path = dir.filePath(QStringLiteral("review.enr"));
    constexpr int kReviews = 150;
    const qint64 start = QDateTime::currentMSecsSinceEpoch() + 300;
    QList<QProcess *> children;
    for (const char *tag : {"a", "b"})
        children.append(startChild(this, {QStringLiteral("review"), path, QString::number(kReviews),
                                          QString::fromLatin1(tag), QString::number(start)}));
    for (QProcess *c : children) {
        QVERIFY(c->waitForFinished(120000));
        QCOMPARE(c->exitCode(), 0);
        delete c;
    }
    // Every window's cards, and the shared card with every review of both.
    const QList<ReviewCard> cards = parseReviewFile(readFile(path));
    QCOMPARE(cards.size(), 2 * kReviews + 1);
    int shared = 0;
    for (const ReviewCard &c : cards) {
        if (c.value == "both")
            shared = c.reviews;
        else
            QCOMPARE(c.reviews, 1);
    }
    QCOMPARE(shared, 2 * kReviews);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("review.enr")});
}

void TestTwoWindows::lockIsWaitedForAndTakenFromTheDead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("statistic.ens"));
    writeFile(path, "1.1./50/L/K\r\n");
    QProcess *holder = startChild(this, {QStringLiteral("hold"), path});
    QVERIFY(holder->waitForReadyRead(30000));
    QCOMPARE(holder->readLine(), QByteArray("locked\n"));

    // Held by a living window: the change waits, then gives up untouched.
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(appendLinesToFile(path, {"2.1./60/L/K"}, 300), UpdateResult::Busy);
    QVERIFY(waited.elapsed() >= 250);
    QCOMPARE(readFile(path), QByteArray("1.1./50/L/K\r\n"));

    // Its holder killed: the lock is had at once, and goes with the change.
    ::kill(pid_t(holder->processId()), SIGKILL);
    QVERIFY(holder->waitForFinished(30000));
    delete holder;
    QVERIFY(QFile::exists(FileLock::besidePath(path))); // a dead holder's file stays…
    waited.restart();
    QCOMPARE(appendLinesToFile(path, {"2.1./60/L/K"}, 300), UpdateResult::Done);
    QVERIFY(waited.elapsed() < 250);
    QCOMPARE(readFile(path), QByteArray("1.1./50/L/K\r\n2.1./60/L/K\r\n"));
    QVERIFY(!QFile::exists(FileLock::besidePath(path))); // …until the next one lets go
}

void TestTwoWindows::killDuringInPlaceOverwriteLeavesOldOrNew()
{
    // A writable file in a folder that takes no new files (as nobody when
    // root, for whom folders are always writable): overwritten in place.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.en"));
    const QString source = m_state.filePath(QStringLiteral("new.en"));
    const QByteArray oldBytes = lines('o', 400'000, 60);
    const QByteArray newBytes = lines('n', 380'000, 70);
    writeFile(source, newBytes);
    QFile::setPermissions(source, QFileDevice::Permissions(0x6666));
    auto setReadOnly = [&](bool readOnly) {
        QFile::setPermissions(dir.path(),
                              readOnly ? QFileDevice::Permissions(0x5555) : QFileDevice::Permissions(0x7777));
    };

    // How long a whole save takes, to kill at random moments within it.
    auto save = [&](qint64 killAfterMs) {
        setReadOnly(false);
        writeFile(path, oldBytes);
        QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
        setReadOnly(true);
        QProcess *child = startChild(this, {QStringLiteral("save"), path, source});
        child->waitForReadyRead(30000);
        if (killAfterMs >= 0) {
            QThread::usleep(ulong(killAfterMs) * 1000);
            ::kill(pid_t(child->processId()), SIGKILL);
        }
        child->waitForFinished(60000);
        const int code = child->exitStatus() == QProcess::NormalExit ? child->exitCode() : -1;
        delete child;
        return code;
    };
    QElapsedTimer t;
    t.start();
    QCOMPARE(save(-1), 0);
    const qint64 whole = std::max<qint64>(t.elapsed(), 20);
    QCOMPARE(readFile(path), newBytes);
    QCOMPARE(filesIn(journalFolder()), QStringList());

    int torn = 0, journals = 0;
    for (int round = 0; round < 60 && (journals < 3 || torn < 1 || round < 10); ++round) {
        save(QRandomGenerator::global()->bounded(whole));
        const QByteArray killed = readFile(path);
        torn += killed != oldBytes && killed != newBytes;
        journals += !filesIn(journalFolder()).isEmpty();
        // The next start: old bytes back, or the new ones if they were all there.
        recoverInterruptedSaves(journalFolder());
        const QByteArray after = readFile(path);
        QVERIFY2(after == oldBytes || after == newBytes, "a torn file after a kill");
        QVERIFY2(killed != newBytes || after == newBytes, "complete new bytes taken back");
        QCOMPARE(filesIn(journalFolder()), QStringList());
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("big.en")});
    }
    setReadOnly(false);
    qInfo("kills with a journal left: %d, of which the file was torn: %d", journals, torn);
    QVERIFY2(journals >= 1, "no kill came while a save was under way");
}

void TestTwoWindows::startPutsBackWhatAKillLeft()
{
    Fixture f;
    writeFile(f.path("data.en"), "[Lekce 1]\r\n0=dog\\pes\r\n");
    const QString torn = f.path("torn.en"), done = f.path("done.en");
    const QByteArray oldBytes = "[A]\r\n0=old\\stary\r\n", newBytes = "[A]\r\n0=new\\novy\r\n1=more\\vic\r\n";
    for (const QString &path : {torn, done}) {
        writeFile(path, oldBytes);
        InPlaceJournal journal; // its process "dies" here: the journal stays
        QVERIFY(journal.begin(journalFolder(), path, oldBytes, newBytes));
    }
    writeFile(torn, newBytes.left(20) + oldBytes.mid(20));
    writeFile(done, newBytes);
    QCOMPARE(filesIn(journalFolder()).size(), 2);

    auto app = f.makeApp();
    QCOMPARE(readFile(torn), oldBytes);
    QCOMPARE(readFile(done), newBytes);
    QCOMPARE(filesIn(journalFolder()), QStringList());
    // Told about the file put back; a save that had finished is no news.
    QCOMPARE(f.messenger.messages.size(), 1);
    QVERIFY(f.messenger.messages[0].text.contains(QStringLiteral("bylo přerušeno")));
    QVERIFY(f.messenger.messages[0].text.contains(QDir::toNativeSeparators(torn)));
}

void TestTwoWindows::browserKeepsAnotherWindowsChanges()
{
    Fixture f;
    const QString dict = f.path("data.en"), errors = f.path("errors.ene");
    const QByteArray original = "[A]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n\r\n[B]\r\n0=cow\\krava\r\n\r\n";
    writeFile(dict, original);
    writeFile(errors, "0\\0=dog\\pes\r\n1\\0=cat\\kocka\r\n");
    auto app = f.makeApp(dict);
    TfrmViewEdt &view = app->frmViewEdt();
    auto open = [&] {
        view.ViewLessonIndex = 0;
        view.ShowErrorsOnOpen = false;
        view.setDictionary(app->test().dictionary());
        QVERIFY(view.FormShow());
        view.show();
    };
    auto deleteRow = [&](qsizetype lesson, qsizetype row) {
        view.showRow(lesson, row + 1);
        view.Button5Click();
    };

    // Here: a word of A and the first mistake go. Meanwhile another window
    // adds a word to B and a lesson C, and a test elsewhere adds a mistake.
    open();
    deleteRow(0, 0);
    deleteRow(view.WordLists.mistakesIndex(), 0);
    writeFile(dict, "[A]\r\n0=dog\\pes\r\n1=cat\\kocka\r\n\r\n[B]\r\n0=cow\\krava\r\n1=hen\\slepice\r\n\r\n"
                    "[C]\r\n0=owl\\sova\r\n\r\n");
    QProcess *test = startChild(
        this, {QStringLiteral("append"), errors, QStringLiteral("1"), QStringLiteral("0\\1=fox"), QStringLiteral("0")});
    QVERIFY(test->waitForFinished(30000));
    QCOMPARE(test->exitCode(), 0);
    delete test;
    view.reject();
    QVERIFY2(!view.isVisible(), qPrintable(f.messenger.texts().join(u'|')));
    QCOMPARE(readFile(dict), QByteArray("[A]\r\n0=cat\\kocka\r\n\r\n[B]\r\n0=cow\\krava\r\n1=hen\\slepice\r\n\r\n"
                                        "[C]\r\n0=owl\\sova\r\n\r\n"));
    QCOMPARE(readFile(errors), QByteArray("1\\0=cat\\kocka\r\n0\\1=fox-0\r\n"));
    QCOMPARE(filesIn(f.folder(), {QStringLiteral("*.lock")}), QStringList());

    // Both windows changed A: the user is asked. No keeps the browser open
    // with its edits and writes nothing; Yes puts ours over theirs.
    open();
    deleteRow(0, 0);
    const QByteArray theirs = "[A]\r\n0=cat\\kocka\r\n1=pig\\prase\r\n\r\n[B]\r\n0=cow\\krava\r\n\r\n";
    writeFile(dict, theirs);
    bool overwrite = false;
    f.messenger.messages.clear();
    f.messenger.onMessage = [&](const RecordingMessenger::Message &m) {
        f.messenger.answer = !m.text.contains(QStringLiteral("Přepsat")) || overwrite;
    };
    view.show();
    view.reject();
    QVERIFY(view.isVisible());
    QCOMPARE(readFile(dict), theirs);
    QVERIFY(f.messenger.texts().join(u'|').contains(QStringLiteral("„A“")));
    QCOMPARE(view.WordLists.lines(0).size(), 0); // our edit is still there
    overwrite = true;
    view.reject();
    QVERIFY(!view.isVisible());
    QCOMPARE(readFile(dict), QByteArray("[B]\r\n0=cow\\krava\r\n\r\n"));
    f.messenger.onMessage = {};
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChildFlag) == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestTwoWindows test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twowindows.moc"
