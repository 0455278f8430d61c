// The installed program: the tree `cmake --install` makes, its desktop files
// as Debian's tools read them, and the installed program started twice from
// a folder it cannot write, with its files in a temporary home.
#include "support/inidocument.h"
#include "support/externaltools.h"
#include "support/fakes.h"

#include "data/dictionary.h"
#include "data/filelock.h"
#include "data/inifile.h"
#include "data/journal.h"
#include "exam/mastery.h"
#include "lexitka_version.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QtTest>

#include <grp.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

const QString kAppId = QStringLiteral(LEXITKA_APP_ID);
constexpr uid_t kNobody = 65534;

QSet<QString> filesUnder(const QString &folder)
{
    QSet<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(folder).relativeFilePath(it.next()));
    return files;
}

QString sample(const QString &relative) { return QStringLiteral(LEXITKA_SAMPLE_DATA "/") + relative; }

// Exit code and all output of a program; -1 when it did not end in a minute.
std::pair<int, QString> runProgram(QProcess &p, const QString &program, const QStringList &arguments)
{
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool done = p.waitForFinished(60000);
    if (!done)
        p.kill();
    p.waitForFinished();
    return {done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void installedTree();
    void desktopFiles();
    void fileTypesStealNothing();
    void debianPackage();
    void readOnlyInstallationUsesPerUserFolder();

private:
    QString path(const QString &relative) const { return m_root.filePath(QStringLiteral("prefix/") + relative); }
    // Starts the installed program with the hook that reports what it shows
    // (the lines "title: …", "lessons: …", "message: …") and closes it.
    QStringList start(const QString &home);

    QTemporaryDir m_root;
    bool m_asRoot = ::geteuid() == 0;
};

void TestInstall::initTestCase()
{
    // Open to "nobody", who runs the program when the test runs as root.
    QVERIFY(
        QFile::setPermissions(m_root.path(), QFile::permissions(m_root.path()) | QFile::ReadOther | QFile::ExeOther));
    QProcess cmake;
    const auto [code, out] = runProgram(cmake, QStringLiteral(LEXITKA_CMAKE),
                                        {QStringLiteral("--install"), QStringLiteral(LEXITKA_BUILD_DIR),
                                         QStringLiteral("--prefix"), m_root.filePath(QStringLiteral("prefix"))});
    QVERIFY2(code == 0, qPrintable(out));
    QVERIFY(QFile::copy(QStringLiteral(LEXITKA_CLOSE_HOOK), m_root.filePath(QStringLiteral("closehook.so"))));
}

void TestInstall::installedTree()
{
    // Exactly these files: nothing forgotten, nothing extra.
    QSet<QString> expected = {"bin/lexitka",
                              "share/doc/lexitka/copyright",
                              "share/applications/" + kAppId + ".desktop",
                              "share/metainfo/" + kAppId + ".metainfo.xml",
                              "share/mime/packages/" + kAppId + ".xml",
                              "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
                              "share/man/man1/lexitka.1",
                              "share/man/cs/man1/lexitka.1"};
    const QStringList sizes = QStringLiteral(LEXITKA_ICON_SIZES).split(u',');
    for (const QString &size : sizes)
        expected.insert(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, kAppId));
    const QSet<QString> samples = filesUnder(QStringLiteral(LEXITKA_SAMPLE_DATA));
    for (const QString &s : samples)
        expected.insert(QStringLiteral("share/lexitka/") + s);
    expected.insert(QStringLiteral("share/lexitka/help/navod.html"));
    const QStringList pictures = QDir(QStringLiteral(LEXITKA_SOURCE_DIR "/docs/images")).entryList(QDir::Files);
    for (const QString &picture : pictures)
        expected.insert(QStringLiteral("share/lexitka/help/images/") + picture);
    QCOMPARE(filesUnder(path({})), expected);
    QVERIFY(QFileInfo(path(QStringLiteral("bin/lexitka"))).isExecutable());
    for (const QString &s : samples)
        QCOMPARE(readFile(path(QStringLiteral("share/lexitka/") + s)), readFile(sample(s)));

    // Each PNG is the icon at its size: see-through corners, a solid middle.
    for (const QString &size : sizes) {
        const QImage png(path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size, kAppId)));
        QCOMPARE(png.size(), QSize(size.toInt(), size.toInt()));
        QCOMPARE(png.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(png.pixelColor(png.width() / 2, png.height() * 3 / 4).alpha(), 255);
    }
    QVERIFY(readFile(path(QStringLiteral("share/doc/lexitka/copyright"))).contains("License: GPL-3.0+"));
    // Each page lists every file the program writes.
    const QByteArray mastery = QFile::encodeName(masteryFilePath(QStringLiteral("errors.ene")));
    const QByteArray written[] = {
        "data.en", "lexitka.ini",   "errors.ene",
        mastery,   "statistic.ens", "review.enr",
        ".lock",   "/locks/",       QFile::encodeName(QFileInfo(journalFolder()).fileName()) + '/'};
    for (const char *page : {"share/man/man1/lexitka.1", "share/man/cs/man1/lexitka.1"}) {
        const QByteArray text = readFile(path(QString::fromLatin1(page)));
        QVERIFY2(text.startsWith(".TH LEXITKA 1 "), page);
        qsizetype from = text.indexOf("\n.SH FILES");
        if (from < 0)
            from = text.indexOf("\n.SH SOUBORY");
        QVERIFY2(from >= 0, page);
        const QByteArray files = text.mid(from, text.indexOf("\n.SH ", from + 1) - from);
        for (const QByteArray &name : written)
            QVERIFY2(files.contains(name), (QByteArray(page) + ": " + name).constData());
    }
}

void TestInstall::desktopFiles()
{
    const QString desktop = path("share/applications/" + kAppId + ".desktop");
    const QString metainfoPath = path("share/metainfo/" + kAppId + ".metainfo.xml");
    const QString mimePath = path("share/mime/packages/" + kAppId + ".xml");
    const QByteArray entry = readFile(desktop);
    for (const char *line : {"Exec=lexitka %f\n", "Categories=Education;Languages;\n", "Name=Lexitka\n"})
        QVERIFY2(entry.contains(line), line);
    QVERIFY(entry.contains("\nIcon=" + kAppId.toUtf8() + '\n'));

    // One file type per language the program knows, named in all three files.
    const QByteArray mime = readFile(mimePath);
    const QByteArray metainfo = readFile(metainfoPath);
    QByteArray types;
    for (int code : allLanguageCodes()) {
        const QByteArray ext = languageInfo(code).extension;
        const QByteArray type = "application/x-lexitka-" + ext;
        types += type + ';';
        const qsizetype at = mime.indexOf("<mime-type type=\"" + type + "\">");
        QVERIFY2(at >= 0, type.constData());
        QVERIFY(mime.mid(at, mime.indexOf("</mime-type>", at) - at).contains("<glob pattern=\"*." + ext + "\""));
        QVERIFY(metainfo.contains("<mediatype>" + type + "</mediatype>"));
    }
    QVERIFY(entry.contains("\nMimeType=" + types + '\n'));
    QCOMPARE(mime.count("<mime-type "), allLanguageCodes().size());
    QVERIFY(metainfo.contains("<launchable type=\"desktop-id\">" + kAppId.toUtf8() + ".desktop</launchable>"));
    QVERIFY(metainfo.contains("<project_license>GPL-3.0-or-later</project_license>"));
    QVERIFY(metainfo.contains(QStringLiteral("<release version=\"%1.%2.%3.%4\"")
                                  .arg(LEXITKA_VERSION_MAJOR)
                                  .arg(LEXITKA_VERSION_MINOR)
                                  .arg(LEXITKA_VERSION_PATCH)
                                  .arg(LEXITKA_VERSION_TWEAK)
                                  .toUtf8()));

    // Debian's tools, where installed. Their warnings count as failures;
    // appstreamcli's pedantic hints (capitals in the ID) do not run.
    int ran = 0;
    if (haveTools({QStringLiteral("desktop-file-validate")})) {
        QProcess p;
        const auto [code, out] = runProgram(p, QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(code == 0 && out.trimmed().isEmpty(), qPrintable(out));
        ++ran;
    }
    if (haveTools({QStringLiteral("appstreamcli")})) {
        QProcess p;
        const auto [code, out] = runProgram(p, QStringLiteral("appstreamcli"),
                                            {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfoPath});
        QVERIFY2(code == 0 && !out.contains(QStringLiteral("\nW:")) && !out.startsWith(QStringLiteral("W:")),
                 qPrintable(out));
        ++ran;
    }
    if (ran == 0)
        QSKIP("desktop-file-validate and appstreamcli are missing");
}

void TestInstall::fileTypesStealNothing()
{
    // The desktop's own file-type database, built from the system's types and
    // ours alone, asked through gio as a file manager would.
    const QString system = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
    if (!haveTools({QStringLiteral("update-mime-database"), QStringLiteral("gio")}) || !QFileInfo::exists(system))
        QSKIP("shared-mime-info or gio is missing");
    QTemporaryDir tmp;
    const QString mime = tmp.filePath(QStringLiteral("share/mime"));
    QVERIFY(QDir().mkpath(mime + QStringLiteral("/packages")) && QDir().mkpath(tmp.filePath(QStringLiteral("files"))));
    QVERIFY(QFile::copy(system, mime + QStringLiteral("/packages/freedesktop.org.xml")));
    QVERIFY(QFile::copy(path("share/mime/packages/" + kAppId + ".xml"), mime + "/packages/" + kAppId + ".xml"));
    QProcess update;
    const auto [code, out] = runProgram(update, QStringLiteral("update-mime-database"), {mime});
    QVERIFY2(code == 0, qPrintable(out));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_DIRS"), tmp.filePath(QStringLiteral("share")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), tmp.filePath(QStringLiteral("home")));
    const auto typeOf = [&](const QString &name, const QByteArray &bytes) {
        const QString file = tmp.filePath(QStringLiteral("files/") + name);
        writeFile(file, bytes);
        QProcess gio;
        gio.setProcessEnvironment(env);
        const auto [rc, said] =
            runProgram(gio, QStringLiteral("gio"),
                       {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::content-type"), file});
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("standard::content-type: (\\S+)")).match(said);
        return rc == 0 && m.hasMatch() ? m.captured(1) : said;
    };

    // Scripts keep the type the system gives them.
    const QString script = QStringLiteral("application/ecmascript");
    QCOMPARE(typeOf(QStringLiteral("module.es"), "export function greet(name) {\n  return `Hola, ${name}`;\n}\n"),
             script);
    QCOMPARE(typeOf(QStringLiteral("strict.es"), "'use strict';\nconst lessons = [1, 2];\n"), script);
    QCOMPARE(typeOf(QStringLiteral("comment.es"), "// greets\nexport const greet = (name) => `Hola, ${name}`;\n"),
             script);
    QCOMPARE(typeOf(QStringLiteral("block.es"), "/* lessons */\nexport default [\"uno\", \"dos\"];\n"), script);
    // A settings file without an extension is no dictionary either.
    QCOMPARE(typeOf(QStringLiteral("config"), "[core]\n\tbare = false\n"), QStringLiteral("text/plain"));

    // Every sample dictionary is ours, and so is one a user starts with a
    // comment, or saved by an editor with a byte-order mark.
    const QSet<QString> samples = filesUnder(QStringLiteral(LEXITKA_SAMPLE_DATA));
    QVERIFY(!samples.isEmpty());
    for (const QString &s : samples) {
        const QString name = QFileInfo(s).fileName();
        QCOMPARE(typeOf(name, readFile(sample(s))), "application/x-lexitka-" + QFileInfo(s).suffix());
    }
    QCOMPARE(typeOf(QStringLiteral("moje.es"), cz("; moje slovíčka\r\n[Lekce 1]\r\n0=0\\perro\\pes\r\n")),
             QStringLiteral("application/x-lexitka-es"));
    QCOMPARE(typeOf(QStringLiteral("utf8.es"), "\xef\xbb\xbf[Lekce 1]\r\n0=0\\perro\\pes\r\n"),
             QStringLiteral("application/x-lexitka-es"));
}

void TestInstall::debianPackage()
{
    // The source package has the build's version and the installed licence,
    // and the program depends on what it runs with when no recommended
    // package is installed: a window system plugin, the Czech dialog
    // buttons, the fonts it asks for.
    const QString debian = QStringLiteral(LEXITKA_SOURCE_DIR "/debian/");
    const QByteArray changelog = readFile(debian + QStringLiteral("changelog"));
    const QString version = QStringLiteral("%1.%2.%3.%4")
                                .arg(LEXITKA_VERSION_MAJOR)
                                .arg(LEXITKA_VERSION_MINOR)
                                .arg(LEXITKA_VERSION_PATCH)
                                .arg(LEXITKA_VERSION_TWEAK);
    QVERIFY2(changelog.startsWith("lexitka (" + version.toUtf8() + ") "), changelog.left(60).constData());
    QCOMPARE(readFile(debian + QStringLiteral("copyright")),
             readFile(path(QStringLiteral("share/doc/lexitka/copyright"))));
    const QByteArray control = readFile(debian + QStringLiteral("control"));
    const qsizetype binary = control.indexOf("\nPackage: lexitka\n");
    QVERIFY(binary > 0);
    const QRegularExpressionMatch depends =
        QRegularExpression(QStringLiteral("\nDepends:((?:.|\n )*)")).match(QString::fromUtf8(control.mid(binary)));
    QVERIFY(depends.hasMatch());
    QStringList packages;
    for (const QString &d : depends.captured(1).split(u','))
        packages.append(d.trimmed());
    for (const char *needed : {"qt6-qpa-plugins", "qt6-translations-l10n", "fonts-dejavu-core", "fonts-dejavu-extra",
                               "fonts-wine", "${shlibs:Depends}"})
        QVERIFY2(packages.contains(QString::fromLatin1(needed)), needed);
}

QStringList TestInstall::start(const QString &home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), m_root.filePath(QStringLiteral("closehook.so")));
    // Under the sanitizers, the hook is loaded before their runtime.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    p.setProcessEnvironment(env);
    if (m_asRoot) {
        // Root may write any folder; "nobody" may not write the root-owned prefix.
        p.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(126);
        });
    }
    const auto [code, out] = runProgram(p, path(QStringLiteral("bin/lexitka")), {});
    QStringList said =
        out.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^(title|lessons|message): ")));
    if (code != 0)
        said << QStringLiteral("exit %1: %2").arg(code).arg(out);
    return said;
}

void TestInstall::readOnlyInstallationUsesPerUserFolder()
{
    const QString home = m_root.filePath(QStringLiteral("home"));
    const QString perUser = home + QStringLiteral("/data/Lexitka");
    const QString bin = path(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(home));
    if (m_asRoot)
        QVERIFY(::chown(QFile::encodeName(home).constData(), kNobody, kNobody) == 0);
    else
        QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const int lessons = int(IniDocument::fromFile(sample(QStringLiteral("data.en"))).sectionNames().size());

    // First start: the settings and the samples go to the per-user folder.
    QCOMPARE(start(home), (QStringList{QStringLiteral("title: Lexitka - Anglické [data.en]"),
                                       QStringLiteral("lessons: %1").arg(lessons)}));
    const QSet<QString> samples = filesUnder(QStringLiteral(LEXITKA_SAMPLE_DATA));
    QCOMPARE(filesUnder(perUser), samples + QSet<QString>{QStringLiteral("lexitka.ini")});
    for (const QString &s : samples)
        QCOMPARE(readFile(perUser + u'/' + s), readFile(sample(s)));
    const QByteArray settings = readFile(perUser + QStringLiteral("/lexitka.ini"));
    QVERIFY2(settings.contains("File=" + QFile::encodeName(perUser) + "/data.en\r\n"), settings.constData());
    QVERIFY(settings.contains("statistic=1"));

    // The user edits a sample and the settings, and deletes a sample.
    const QByteArray edited = readFile(perUser + QStringLiteral("/data.en")) + cz("[Moje lekce]\r\n0=cat\\kočka\r\n");
    writeFile(perUser + QStringLiteral("/data.en"), edited);
    writeFile(perUser + QStringLiteral("/lexitka.ini"), QByteArray(settings).replace("statistic=1", "statistic=0"));
    QVERIFY(QFile::remove(perUser + QStringLiteral("/Slovniky/latina.lt")));

    // Second start: all of it as the user left it.
    QCOMPARE(start(home), (QStringList{QStringLiteral("title: Lexitka - Anglické [data.en]"),
                                       QStringLiteral("lessons: %1").arg(lessons + 1)}));
    QCOMPARE(readFile(perUser + QStringLiteral("/data.en")), edited);
    QVERIFY(!QFileInfo::exists(perUser + QStringLiteral("/Slovniky/latina.lt")));
    const QByteArray after = readFile(perUser + QStringLiteral("/lexitka.ini"));
    QVERIFY2(after.contains("statistic=0") && !after.contains("statistic=1"), after.constData());
    QCOMPARE(filesUnder(bin), QSet<QString>{QStringLiteral("lexitka")});
    if (!m_asRoot)
        QFile::setPermissions(bin, QFile::permissions(bin) | QFile::WriteOwner);
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
