// Saves that fail for real, in a child process: a lowered file-size limit
// (as on a full disk) and a folder that takes no new files. The old file must
// stay byte for byte and the user must be told; nothing may report success.
#include "app/application.h"
#include "app/fmain.h"
#include "data/filecopy.h"
#include "data/savefile.h"
#include "stats/statistics.h"
#include "stats/statisticsrecording.h"
#include "support/fakes.h"
#include "exam/utest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

constexpr char kChildFlag[] = "--save-child";

// One wrong answer, then the user leaves the test window.
class OneMistake final : public TestUi {
public:
    explicit OneMistake(UTest &test) : m_test(test) { }
    void runTestWindow(int languageCode) override { m_test.AddError("pes", "?", 0, languageCode); }
    void showMistake(const QByteArray &, const QByteArray &, int) override { }

private:
    UTest &m_test;
};

// The child: `kind` of save in `folder`, each file limited to `limit` bytes
// (0: no limit), as the unprivileged user when `drop` says so. Prints every
// message the program would have shown, one per line.
int runChild(int argc, char **argv)
{
    if (argc < 6)
        return 2;
    const QByteArray kind = argv[2];
    const QString folder = QString::fromLocal8Bit(argv[3]);
    const rlim_t limit = rlim_t(std::strtoull(argv[4], nullptr, 10));
    if (argv[5][0] == '1' && geteuid() == 0) {
        // Root writes into any folder; as nobody, the folder's mode binds.
        if (setgid(65534) != 0 || setuid(65534) != 0)
            return 3;
        prctl(PR_SET_DUMPABLE, 1); // the sanitizers read /proc/self
    }
    if (limit > 0) {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing us
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
    }
    QApplication qapp(argc, argv);
    RecordingMessenger messenger;
    FakeKeyboardService keyboard;
    StdRandomSource random{1, false};
    FixedClock clock;
    const Services services{folder, &messenger, &keyboard, &random, &clock};
    const QDir dir(folder);

    if (kind == "settings") {
        LexitkaApp app(services, {});
        app.frmMain().chbStatistika->setChecked(false);
        app.frmMain().close();
    } else if (kind == "mistakes") {
        UTest test(folder, random, messenger);
        OneMistake ui(test);
        test.setUi(&ui);
        TestPool pool;
        pool.kinds = {true, false, false, false};
        pool.words = {"0=dog\\pes"};
        test.setUp(pool, true);
        test.StartTest(LangEnglish);
    } else if (kind == "statistics") {
        StatisticsRecording(dir.filePath(QStringLiteral("statistic.ens")), messenger, nullptr)
            .append("6.12./100/Lekce 1/Anglicko - cesky");
    } else if (kind == "copy") {
        // What Export and Import report when this returns false.
        if (!copyFileReplacing(dir.filePath(QStringLiteral("source.en")), dir.filePath(QStringLiteral("target.en"))))
            messenger.error(nullptr, QStringLiteral("copy failed"));
    } else if (kind == "pieces") {
        // The browser's way of saving a dictionary: the bytes handed over in
        // pieces of growing size, through a writer with a small buffer.
        const QByteArray bytes = readFile(dir.filePath(QStringLiteral("source.en")));
        const QString target = dir.filePath(QStringLiteral("target.en"));
        const bool saved = saveFileInPieces(target, [&bytes](ByteSink &sink) {
            ChunkedWriter out(sink, 64);
            for (qsizetype at = 0, size = 1; at < bytes.size(); at += size, size = size * 3 + 1)
                out.append(QByteArrayView(bytes).sliced(at, std::min(size, bytes.size() - at)));
            return out.finish();
        });
        if (!saved)
            messenger.error(nullptr, QStringLiteral("pieces failed: %1").arg(QDir::toNativeSeparators(target)));
    } else {
        return 2;
    }
    for (const RecordingMessenger::Message &m : messenger.messages)
        std::printf("%s\t%s\n", qPrintable(m.kind), m.text.toUtf8().constData());
    return 0;
}

// Lines of about 60 bytes, enough to pass Qt's 16 KiB write buffer or not.
QByteArray padding(const QByteArray &prefix, int lines)
{
    QByteArray out;
    for (int i = 0; i < lines; ++i)
        out += prefix + QByteArray::number(i) + "=" + QByteArray(50, 'x') + "\r\n";
    return out;
}

struct Kind {
    QByteArray name;
    QString file;       // the file the save replaces
    QByteArray message; // part of what the user is told when it fails
};

class SaveFolder {
public:
    QTemporaryDir dir;
    // The child's own state folder (journals, locks), writable as nobody.
    QTemporaryDir state;

    SaveFolder() { QFile::setPermissions(state.path(), QFileDevice::Permissions(0x7777)); }

    ~SaveFolder() { setReadOnly(false); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // The files every kind of save starts from; large ones pass Qt's buffer.
    void fill(bool large)
    {
        const int lines = large ? 400 : 0;
        writeFile(path(QStringLiteral("lexitka.ini")),
                  "[Slovnik]\r\nFile=" + path(QStringLiteral("data.en")).toLocal8Bit()
                      + "\r\nstatistic=1\r\nerrors=1\r\n[en]\r\n0=1\r\n1=0\r\n[pad]\r\n" + padding("k", lines));
        writeFile(path(QStringLiteral("data.en")), "[Lekce 1]\r\n0=dog\\pes\r\n");
        writeFile(path(QStringLiteral("errors.ene")), "0\\1=cat\\kocka\r\n1\\2=cow\\krava\r\n" + padding("0\\", lines));
        writeFile(path(QStringLiteral("statistic.ens")), "5.12./50/Lekce 1/Anglicko - cesky\r\n" + padding("", lines));
        writeFile(path(QStringLiteral("source.en")),
                  "[Nova]\r\n0=hen\\slepice\r\n1=owl\\sova\r\n" + padding("", lines));
        writeFile(path(QStringLiteral("target.en")), "[Stara]\r\n0=a\\b\r\n");
    }

    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            files.insert(name, readFile(path(name)));
        return files;
    }

    // The folder takes no new files, its files stay writable.
    void setReadOnly(bool readOnly)
    {
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::setPermissions(path(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                  | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
        QFile::Permissions p = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                               | QFile::ReadOther | QFile::ExeOther;
        if (!readOnly)
            p |= QFile::WriteOwner;
        QFile::setPermissions(dir.path(), p);
    }

    // Runs one save in a child; the messages it would have shown.
    QStringList runChild(const QByteArray &kind, qint64 limit, bool dropPrivileges)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), state.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(kChildFlag), QString::fromLatin1(kind), dir.path(), QString::number(limit),
                     dropPrivileges ? QStringLiteral("1") : QStringLiteral("0")});
        if (!child.waitForFinished(60000))
            child.kill();
        const QByteArray err = child.readAllStandardError();
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            qWarning("child %s failed: %s", kind.constData(), err.constData());
        lastExit = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
        return QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    int lastExit = 0;
};

const QList<Kind> &kinds()
{
    static const QList<Kind> list = {
        {"settings", QStringLiteral("lexitka.ini"), "Nastavení nelze uložit"},
        {"mistakes", QStringLiteral("errors.ene"), "nelze uložit"},
        {"statistics", QStringLiteral("statistic.ens"), "nelze uložit"},
        {"copy", QStringLiteral("target.en"), "copy failed"},
        {"pieces", QStringLiteral("target.en"), "pieces failed"},
    };
    return list;
}

} // namespace

class TestSaveFailures : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsOldFiles();
    void readOnlyFolderStillSaves();
};

void TestSaveFailures::fullDiskKeepsOldFiles()
{
    for (const bool large : {false, true}) {
        for (const Kind &kind : kinds()) {
            const QByteArray what = kind.name + (large ? " (large)" : " (small)");
            SaveFolder folder;
            folder.fill(large);
            const auto before = folder.snapshot();
            const QStringList shown = folder.runChild(kind.name, 20, false);
            QVERIFY2(folder.lastExit == 0, what);
            // Every file as it was, and no temporary file left behind.
            QVERIFY2(folder.snapshot() == before, what);
            QVERIFY2(shown.size() == 1, what + ": " + shown.join(u'|').toUtf8());
            QVERIFY2(shown[0].startsWith(QStringLiteral("error\t")), what);
            QVERIFY2(shown[0].contains(QString::fromUtf8(kind.message)), what);
            if (kind.name != "copy")
                QVERIFY2(shown[0].contains(QDir::toNativeSeparators(folder.path(kind.file))), what);
        }
        // With room on the disk, the pieces make the very bytes they were cut from.
        SaveFolder folder;
        folder.fill(large);
        QCOMPARE(folder.runChild("pieces", 0, false), QStringList());
        QCOMPARE(readFile(folder.path(QStringLiteral("target.en"))),
                 readFile(folder.path(QStringLiteral("source.en"))));
    }
}

void TestSaveFailures::readOnlyFolderStillSaves()
{
    SaveFolder folder;
    folder.fill(false);
    folder.setReadOnly(true);
    // The file is overwritten in place: stored, and nothing to complain about.
    QCOMPARE(folder.runChild("settings", 0, true), QStringList());
    QVERIFY(readFile(folder.path(QStringLiteral("lexitka.ini"))).contains("\r\nstatistic=0\r\n"));
    QCOMPARE(folder.runChild("mistakes", 0, true), QStringList());
    QCOMPARE(readFile(folder.path(QStringLiteral("errors.ene"))),
             QByteArray("0\\1=cat\\kocka\r\n1\\2=cow\\krava\r\n0\\0=dog\\pes\r\n"));
    QCOMPARE(folder.runChild("statistics", 0, true), QStringList());
    QVERIFY(readFile(folder.path(QStringLiteral("statistic.ens"))).endsWith("6.12./100/Lekce 1/Anglicko - cesky\r\n"));
    QCOMPARE(folder.runChild("pieces", 0, true), QStringList());
    QCOMPARE(readFile(folder.path(QStringLiteral("target.en"))), readFile(folder.path(QStringLiteral("source.en"))));
    // The journals of the old bytes went with each finished save.
    const QDir journals(folder.state.path() + QStringLiteral("/Lexitka/journal"));
    QVERIFY(journals.exists());
    QCOMPARE(journals.entryList(QDir::Files), QStringList());

    // Overwriting in place fails part way: the old bytes are put back, and the user is told.
    for (const Kind &kind : kinds()) {
        folder.setReadOnly(false);
        folder.fill(true);
        folder.setReadOnly(true);
        const auto before = folder.snapshot();
        const QStringList shown = folder.runChild(kind.name, 20, true);
        QVERIFY2(folder.snapshot() == before, kind.name);
        QVERIFY2(shown.size() == 1 && shown[0].contains(QString::fromUtf8(kind.message)), kind.name);
        QVERIFY2(journals.entryList(QDir::Files).isEmpty(), kind.name);
    }

    // A folder that takes no new files and a file that is not there yet: reported.
    folder.setReadOnly(false);
    QFile::remove(folder.path(QStringLiteral("statistic.ens")));
    folder.setReadOnly(true);
    const QStringList shown = folder.runChild("statistics", 0, true);
    QVERIFY(shown.size() == 1 && shown[0].contains(QStringLiteral("nelze uložit")));
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("statistic.ens"))));
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChildFlag) == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestSaveFailures test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefailures.moc"
