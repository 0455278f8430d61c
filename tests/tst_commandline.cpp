// The dictionary named on the command line, as a Linux user types it: the
// real executable, copied into a program folder of its own, started from a
// current folder with the name's very bytes, and closed by a preloaded hook
// that reports what the main window and the message boxes show.
#include "support/fakes.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <QElapsedTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// n lessons, so that the count tells which file was opened.
QByteArray lessons(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += "[L" + QByteArray::number(i) + "]\r\n0=dog\\pes\r\n";
    return out;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void relativeNamesCurrentFolderFirst();
    void backslashIsPartOfTheName();
    void namesBeyondAscii();
    void endsWhenSpeechNeverAnswers();

private:
    // What the program reports ("title: …", "lessons: …", "message: …")
    // when started in `cwd` with the argument's bytes.
    QStringList start(const QString &cwd, const QByteArray &argument);
    // The program's own home, offscreen, closed by the preloaded hook.
    QProcessEnvironment environment() const;
    QString folder() const { return m_root.filePath(QStringLiteral("program")); }
    QString cwd() const { return m_root.filePath(QStringLiteral("here")); }

    QTemporaryDir m_root;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QDir().mkpath(cwd()));
    QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("home"))));
    QVERIFY(QFile::copy(QStringLiteral(LEXITKA_PROGRAM), folder() + QStringLiteral("/lexitka")));
    QVERIFY(QFile::copy(QStringLiteral(LEXITKA_CLOSE_HOOK), m_root.filePath(QStringLiteral("closehook.so"))));
    // The last-used dictionary, opened when the argument is not found.
    writeFile(folder() + QStringLiteral("/data.en"), lessons(7));
}

QProcessEnvironment TestCommandLine::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LD_PRELOAD"), m_root.filePath(QStringLiteral("closehook.so")));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    return env;
}

QStringList TestCommandLine::start(const QString &cwd, const QByteArray &argument)
{
    // Through the shell, so that bytes that are no UTF-8 reach argv as they are.
    QByteArray escaped;
    for (const char c : argument)
        escaped += "\\0" + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setWorkingDirectory(cwd);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf '%b' \"$1\")\""),
                                        folder() + QStringLiteral("/lexitka"), QString::fromLatin1(escaped)});
    const bool done = p.waitForFinished(60000);
    if (!done)
        p.kill();
    p.waitForFinished();
    const QString out = QString::fromUtf8(p.readAll());
    QStringList said =
        out.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^(title|lessons|message): ")));
    if (!done || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        said << QStringLiteral("exit %1: %2").arg(p.exitCode()).arg(out);
    return said;
}

void TestCommandLine::relativeNamesCurrentFolderFirst()
{
    writeFile(cwd() + QStringLiteral("/slovicka.en"), lessons(2));
    writeFile(folder() + QStringLiteral("/slovicka.en"), lessons(3));
    QVERIFY(QDir(cwd()).mkpath(QStringLiteral("sub")));
    writeFile(cwd() + QStringLiteral("/sub/jen.en"), lessons(4));
    writeFile(folder() + QStringLiteral("/jinde.en"), lessons(5));

    // There in the current folder: opened from there, and remembered whole.
    QCOMPARE(start(cwd(), "slovicka.en"),
             (QStringList{QStringLiteral("title: Lexitka - Anglické [slovicka.en]"), QStringLiteral("lessons: 2")}));
    QVERIFY(readFile(folder() + QStringLiteral("/lexitka.ini"))
                .contains("File=" + QFile::encodeName(cwd()) + "/slovicka.en\r\n"));
    QCOMPARE(start(cwd(), "./sub/../slovicka.en").value(1), QStringLiteral("lessons: 2"));
    QCOMPARE(start(cwd(), "sub/jen.en").value(1), QStringLiteral("lessons: 4"));
    // Not there: the program folder, as before.
    QCOMPARE(start(cwd(), "jinde.en"),
             (QStringList{QStringLiteral("title: Lexitka - Anglické [jinde.en]"), QStringLiteral("lessons: 5")}));
    QCOMPARE(start(cwd() + QStringLiteral("/sub"), "slovicka.en").value(1), QStringLiteral("lessons: 3"));
    // Absolute: itself.
    QCOMPARE(start(folder(), QFile::encodeName(cwd()) + "/slovicka.en").value(1), QStringLiteral("lessons: 2"));

    // Nowhere: the message names both places, and the last one opens.
    writeFile(folder() + QStringLiteral("/lexitka.ini"),
              "[Slovnik]\r\nFile=" + QFile::encodeName(folder()) + "/data.en\r\n");
    const QStringList said = start(cwd(), "nic.en");
    QCOMPARE(said.size(), 3);
    QCOMPARE(said[0], QStringLiteral("message: Slovník nic.en nebyl nalezen ani jako %1/nic.en, ani jako %2/nic.en. "
                                     "Otevírá se naposledy použitý slovník %2/data.en.")
                          .arg(cwd(), folder()));
    QCOMPARE(said[2], QStringLiteral("lessons: 7"));
    QVERIFY(start(cwd(), QFile::encodeName(cwd()) + "/nic.en")
                .value(0)
                .startsWith(QStringLiteral("message: Slovník %1/nic.en nebyl nalezen jako %1/nic.en. ").arg(cwd())));
}

void TestCommandLine::backslashIsPartOfTheName()
{
    // "a\b.en" is one file; the folder "a" with "b.en" in it is another.
    writeFile(cwd() + QStringLiteral("/a\\b.en"), lessons(6));
    QVERIFY(QDir(cwd()).mkpath(QStringLiteral("a")));
    writeFile(cwd() + QStringLiteral("/a/b.en"), lessons(1));
    QCOMPARE(start(cwd(), "a\\b.en"),
             (QStringList{QStringLiteral("title: Lexitka - Anglické [a\\b.en]"), QStringLiteral("lessons: 6")}));
    QCOMPARE(start(cwd(), "a/b.en").value(1), QStringLiteral("lessons: 1"));
    // Nor is it a separator when the name is looked up in the program folder.
    writeFile(folder() + QStringLiteral("/x\\y.en"), lessons(8));
    QCOMPARE(start(cwd(), "x\\y.en").value(1), QStringLiteral("lessons: 8"));
}

void TestCommandLine::namesBeyondAscii()
{
    // A UTF-8 name: opened and remembered byte for byte.
    const QByteArray utf8Name = "slovn\xC3\xADk.en";
    QFile file(QFile::decodeName(QFile::encodeName(cwd()) + '/' + utf8Name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lessons(9));
    file.close();
    QCOMPARE(start(cwd(), utf8Name),
             (QStringList{QStringLiteral("title: Lexitka - Anglické [slovník.en]"), QStringLiteral("lessons: 9")}));
    QVERIFY(readFile(folder() + QStringLiteral("/lexitka.ini")).contains("/" + utf8Name + "\r\n"));

    // A windows-1250 name, as an archive unpacks it: opened by its very
    // bytes, shown as windows-1250, remembered byte for byte and opened
    // again at the next start without an argument.
    const QByteArray cp1250Name = "slovn\xEDk2.en";
    const QByteArray path = QFile::encodeName(cwd()) + '/' + cp1250Name;
    FILE *raw = std::fopen(path.constData(), "wb");
    QVERIFY(raw);
    std::fputs("[L1]\r\n[L2]\r\n[L3]\r\n", raw);
    std::fclose(raw);
    const QStringList opened = {QStringLiteral("title: Lexitka - Anglické [slovník2.en]"),
                                QStringLiteral("lessons: 3")};
    QCOMPARE(start(cwd(), cp1250Name), opened);
    QVERIFY(readFile(folder() + QStringLiteral("/lexitka.ini")).contains("\r\nFile=" + path + "\r\n"));
    QCOMPARE(start(folder(), QByteArray()), opened);
    // Where no such file is, it is simply not found, and named as the user reads it.
    QVERIFY(start(cwd(), "jin\xE9.en")
                .value(0)
                .startsWith(QStringLiteral("message: Slovník jiné.en nebyl nalezen ani jako")));
    QCOMPARE(::unlink(path.constData()), 0); // nor can the temporary folder remove it
}

void TestCommandLine::endsWhenSpeechNeverAnswers()
{
    // A speech daemon's socket that takes the connection and never answers
    // (a daemon starting slowly, or hung): never accepted, never read.
    const QByteArray socketPath = QFile::encodeName(m_root.filePath(QStringLiteral("speechd.sock")));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(listener >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(socketPath.size()) < sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    QCOMPARE(::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    QCOMPARE(::listen(listener, 16), 0);

    // The browser asks for the voices, then the main window is closed.
    QProcess p;
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("SPEECHD_ADDRESS"), QStringLiteral("unix_socket:") + QFile::decodeName(socketPath));
    env.insert(QStringLiteral("LEXITKA_HOOK_BROWSE"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(folder() + QStringLiteral("/lexitka"), {folder() + QStringLiteral("/data.en")});
    QByteArray out;
    QElapsedTimer sinceClose;
    while (!sinceClose.isValid() && p.waitForReadyRead(30000)) {
        out += p.readAll();
        if (out.contains("closing: frmMain"))
            sinceClose.start();
    }
    QVERIFY2(sinceClose.isValid(), out.constData());
    const bool ended = p.waitForFinished(5000);
    const qint64 ms = sinceClose.elapsed();
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    ::close(listener);
    QVERIFY2(ended, "still running 5 s after its main window was closed");
    QVERIFY2(ms < 1000, qPrintable(QStringLiteral("ended %1 ms after its main window was closed").arg(ms)));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
