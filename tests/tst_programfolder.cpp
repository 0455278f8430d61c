// Where the program keeps its files: its own folder or the per-user one,
// and the sample dictionaries a per-user folder gets at the first start.
#include "support/fakes.h"

#include "platform/programfolder.h"

#include <QDirIterator>
#include <QtTest>

#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// An executable's folder with a dictionary beside it, an installation's
// samples and a per-user folder, all empty until asked for.
struct Places {
    QTemporaryDir dir;
    FolderPlaces places{dir.filePath(QStringLiteral("bin")), dir.filePath(QStringLiteral("share/lexitka")),
                        dir.filePath(QStringLiteral("home/Lexitka"))};
    Places()
    {
        QDir().mkpath(places.executable);
        writeFile(places.executable + QStringLiteral("/data.en"), "beside");
    }
    void install()
    {
        QDir().mkpath(places.installedData + QStringLiteral("/Slovniky"));
        writeFile(places.installedData + QStringLiteral("/data.en"), "installed");
        writeFile(places.installedData + QStringLiteral("/Slovniky/nemcina.de"), "de");
    }
    QString user(const char *name) const { return places.perUser + u'/' + QLatin1String(name); }
    ProgramFolder choose(bool writable)
    {
        return chooseProgramFolder(places, [writable](const QString &) { return writable; });
    }
};

} // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void creatingFilesIsTried();
    void copiesOnlyMissingSamples();
    void portableOrPerUser();
    void laterStartsLeaveTheUsersFiles();
};

void TestProgramFolder::creatingFilesIsTried()
{
    QTemporaryDir dir;
    QVERIFY(canCreateFiles(dir.path()));
    QVERIFY(filesUnder(dir.path()).isEmpty()); // the probe leaves nothing behind
    QVERIFY(!canCreateFiles(dir.filePath(QStringLiteral("missing"))));
    // Not even root makes files here, whatever the permission bits say.
    QVERIFY(!canCreateFiles(QStringLiteral("/proc")));
}

void TestProgramFolder::copiesOnlyMissingSamples()
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("from"));
    const QString to = dir.filePath(QStringLiteral("to"));
    QDir().mkpath(from + QStringLiteral("/Slovniky/vice"));
    writeFile(from + QStringLiteral("/data.en"), "en");
    writeFile(from + QStringLiteral("/Slovniky/latina.lt"), "lt");
    writeFile(from + QStringLiteral("/Slovniky/vice/rustina.ru"), "ru");
    // Beside a portable program lie files that are no samples.
    writeFile(from + QStringLiteral("/lexitka.ini"), "[Slovnik]\r\n");
    writeFile(from + QStringLiteral("/errors.ene"), "0\\0=a\\b\r\n");
    QDir().mkpath(to + QStringLiteral("/Slovniky"));
    writeFile(to + QStringLiteral("/Slovniky/latina.lt"), "edited");
    QVERIFY(copySamples(from, to));
    QCOMPARE(filesUnder(to), (QStringList{"Slovniky/latina.lt", "Slovniky/vice/rustina.ru", "data.en"}));
    QCOMPARE(readFile(to + QStringLiteral("/Slovniky/vice/rustina.ru")), QByteArray("ru"));
    QCOMPARE(readFile(to + QStringLiteral("/Slovniky/latina.lt")), QByteArray("edited"));
}

void TestProgramFolder::portableOrPerUser()
{
    // A portable copy that may write its folder stays there.
    Places portable;
    QCOMPARE(portable.choose(true).path, portable.places.executable);
    QVERIFY(!QFileInfo::exists(portable.places.perUser));
    // One that may not takes the samples beside it along.
    const ProgramFolder readOnly = portable.choose(false);
    QCOMPARE(readOnly.path, portable.places.perUser);
    QVERIFY(!readOnly.samplesFailed);
    QCOMPARE(filesUnder(portable.places.perUser), QStringList{"data.en"});
    QCOMPARE(readFile(portable.user("data.en")), QByteArray("beside"));

    // An installation's bin folder gets no user files, writable or not; the
    // samples come from the installation.
    for (bool writable : {true, false}) {
        Places installed;
        installed.install();
        const ProgramFolder folder = installed.choose(writable);
        QCOMPARE(folder.path, installed.places.perUser);
        QVERIFY(!folder.samplesFailed);
        QCOMPARE(filesUnder(installed.places.perUser), (QStringList{"Slovniky/nemcina.de", "data.en"}));
        QCOMPARE(readFile(installed.user("data.en")), QByteArray("installed"));
        QCOMPARE(filesUnder(installed.places.executable), QStringList{"data.en"});
    }

    // No per-user folder can be made: the program stays in its own folder.
    Places homeless;
    homeless.install();
    writeFile(homeless.dir.filePath(QStringLiteral("home")), "a file where the folder would be");
    QCOMPARE(homeless.choose(false).path, homeless.places.executable);

    // A sample that cannot be copied is told.
    Places blocked;
    blocked.install();
    QDir().mkpath(blocked.places.perUser);
    writeFile(blocked.user("Slovniky"), "a file where the folder would be");
    const ProgramFolder partly = blocked.choose(false);
    QCOMPARE(partly.path, blocked.places.perUser);
    QVERIFY(partly.samplesFailed);
    QCOMPARE(readFile(blocked.user("data.en")), QByteArray("installed"));
}

void TestProgramFolder::laterStartsLeaveTheUsersFiles()
{
    Places p;
    p.install();
    p.choose(false);
    // Before the first end of the program: a missing sample comes back, an
    // edited one stays.
    writeFile(p.user("data.en"), "edited");
    QVERIFY(QFile::remove(p.user("Slovniky/nemcina.de")));
    p.choose(false);
    QCOMPARE(readFile(p.user("data.en")), QByteArray("edited"));
    QVERIFY(QFileInfo::exists(p.user("Slovniky/nemcina.de")));

    // Once the settings exist, a sample the user deleted stays deleted.
    writeFile(p.user("lexitka.ini"), "[Slovnik]\r\nstatistic=0\r\n");
    QVERIFY(QFile::remove(p.user("Slovniky/nemcina.de")));
    QCOMPARE(p.choose(false).path, p.places.perUser);
    QCOMPARE(filesUnder(p.places.perUser), (QStringList{"data.en", "lexitka.ini"}));
    QCOMPARE(readFile(p.user("lexitka.ini")), QByteArray("[Slovnik]\r\nstatistic=0\r\n"));
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
