// File names whose bytes are no UTF-8: every byte comes back from a path
// string as it was, and every reader and writer finds the file by them.
#include "data/displaytext.h"
#include "data/filecopy.h"
#include "data/filestamp.h"
#include "data/fileread.h"
#include "data/journal.h"
#include "data/linestore.h"
#include "data/nativefile.h"
#include "data/nativepath.h"
#include "data/savefile.h"
#include "data/utf8dictionary.h"
#include "support/inireadings.h"
#include "support/nativefiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QString escaped(uchar byte) { return QString(QChar(char16_t(0xDC00 + byte))); }

} // namespace

class TestNativePath : public QObject {
    Q_OBJECT
private slots:
    void namesRoundTrip();
    void filesFoundByTheirBytes();
};

void TestNativePath::namesRoundTrip()
{
    // Every byte alone: ASCII is itself, any other is invalid on its own.
    for (int b = 1; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString text = pathFromNative(one);
        QCOMPARE(text, b < 0x80 ? QString(QChar(char16_t(b))) : escaped(uchar(b)));
        QCOMPARE(nativePath(text), one);
    }
    // Every pair, and random runs that mix valid and broken sequences.
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const QByteArray two = QByteArray(1, char(a)) + char(b);
            QCOMPARE(nativePath(pathFromNative(two)), two);
        }
    }
    QRandomGenerator random(22);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(int(random.bounded(1, 9)), Qt::Uninitialized);
        for (char &c : bytes)
            c = char(random.bounded(0x70, 0x100)); // mostly lead and continuation bytes
        QCOMPARE(nativePath(pathFromNative(bytes)), bytes);
    }

    // Valid UTF-8 reads as Qt reads it, and a name made by Qt writes as Qt writes it.
    for (const QByteArray &valid :
         {QByteArray("slovn\xC3\xADk.en"), QByteArray("\xE2\x82\xAC/\xF0\x9F\x98\x80"), QByteArray("a\\b c.en"),
          QByteArray("\xEF\xBF\xBD"), QByteArray("\xF4\x8F\xBF\xBF\xED\x9F\xBF")}) {
        QCOMPARE(pathFromNative(valid), QString::fromUtf8(valid));
        QCOMPARE(nativePath(QString::fromUtf8(valid)), valid);
    }
    // Only the bytes of broken sequences are escaped; a byte-order mark stays.
    QCOMPARE(pathFromNative("slovn\xEDk.en"), QStringLiteral("slovn") + escaped(0xED) + QStringLiteral("k.en"));
    QCOMPARE(pathFromNative("\xC3\xAD\xC3|\xE2\x82\xAC\xE2\x82"),
             QStringLiteral("\u00ED") + escaped(0xC3) + QStringLiteral("|\u20AC") + escaped(0xE2) + escaped(0x82));
    QCOMPARE(pathFromNative("\xED\xA0\x80\xC0\xAF"),
             escaped(0xED) + escaped(0xA0) + escaped(0x80) + escaped(0xC0) + escaped(0xAF));
    QCOMPARE(pathFromNative("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
    // A lone surrogate no name gave is no byte: it writes as U+FFFD and so
    // cannot pass for the name it came from.
    const QString stray = QStringLiteral("a") + QChar(char16_t(0xD800)) + u'b' + QChar(char16_t(0xDC41));
    QCOMPARE(nativePath(stray), QByteArray("a\xEF\xBF\xBD"
                                           "b\xEF\xBF\xBD"));
    QVERIFY(pathFromNative(nativePath(stray)) != stray);

    // Shown as windows-1250, and made absolute without losing a byte.
    const QString name = pathFromNative("/tmp/../data/slovn\xEDk \x9Akoln\xED.en");
    QCOMPARE(readablePath(name), QStringLiteral("/tmp/../data/slovník školní.en"));
    QCOMPARE(shownPath(name), QStringLiteral("/tmp/../data/slovník školní.en"));
    QCOMPARE(shownFileName(name), QStringLiteral("slovník školní.en"));
    QCOMPARE(nativePath(absolutePath(name)), QByteArray("/data/slovn\xEDk \x9Akoln\xED.en"));
    QCOMPARE(nativePath(absolutePath(pathFromNative("x/../\xE8.en"))), nativePath(currentFolder()) + "/\xE8.en");
}

void TestNativePath::filesFoundByTheirBytes()
{
    QTemporaryDir dir;
    const QByteArray folder = nativePath(dir.path());
    const QByteArray nativeName = folder + "/slovn\xEDk.en";
    const QString path = pathFromNative(nativeName);
    const QByteArray original = "[Lekce 1]\r\n0=dog\\pes\r\n1=cat\\ko\xE8ka\r\n[Lekce 2]\r\n0=cow\\kr\xE1va\r\n";
    QVERIFY(writeNative(nativeName, original));
    QVERIFY(::chmod(nativeName.constData(), 0640) == 0);

    // Every reader.
    QVERIFY(isFile(path) && pathExists(path) && entryExists(path) && isWritableFile(path));
    bool ok = false;
    QCOMPARE(readWholeFile(path, &ok), original);
    QVERIFY(ok);
    QString why;
    const IniReading reading = readIniEveryWay(path, 7, ~0u, &why);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QCOMPARE(reading.names, (QList<QByteArray>{"Lekce 1", "Lekce 2"}));
    QVERIFY(!isUtf8File(path));
    QVERIFY(FileStamp::of(path).exists);

    // Every writer: replaced whole (its permissions kept), appended to under
    // the lock, copied, and removed.
    const QByteArray saved = "[Lekce 1]\r\n0=hen\\slepice\r\n";
    QVERIFY(saveWholeFile(path, saved));
    QCOMPARE(readNative(nativeName), saved);
    struct stat st { };
    QVERIFY(::stat(nativeName.constData(), &st) == 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0640));
    QCOMPARE(appendLinesToFile(path, {"1=owl\\sova"}), UpdateResult::Done);
    QCOMPARE(readNative(nativeName), saved + "1=owl\\sova\r\n");
    const QString copy = pathFromNative(folder + "/kopie \xE8.en");
    QVERIFY(copyFileReplacing(path, copy));
    QCOMPARE(readNative(folder + "/kopie \xE8.en"), readNative(nativeName));
    QVERIFY(isSameFile(path, pathFromNative(folder + "/./slovn\xEDk.en")));
    QVERIFY(!isSameFile(path, copy));
    // Saved through a link, the file it points to gets the bytes.
    QVERIFY(::symlink("slovn\xEDk.en", (folder + "/odkaz.en").constData()) == 0);
    QVERIFY(isSameFile(path, pathFromNative(folder + "/odkaz.en")));
    QVERIFY(saveWholeFile(pathFromNative(folder + "/odkaz.en"), saved));
    QCOMPARE(readNative(nativeName), saved);
    QVERIFY(::unlink((folder + "/odkaz.en").constData()) == 0);
    // Nothing else was made: no lock, no temporary file, no name with U+FFFD.
    QCOMPARE(namesIn(folder), (QList<QByteArray>{"kopie \xE8.en", "slovn\xEDk.en"}));

    // A save cut off part way is put back by the next start under that name.
    const QString journals = dir.filePath(QStringLiteral("journal"));
    const QByteArray before = readNative(nativeName);
    {
        InPlaceJournal journal; // its process "dies" here: the journal stays
        QVERIFY(journal.begin(journals, path, before, "[X]\r\n"));
    }
    QVERIFY(writeNative(nativeName, "[X]\r"));
    const QList<JournalRecovery> recovered = recoverInterruptedSaves(journals);
    QCOMPARE(recovered.size(), 1);
    QCOMPARE(recovered[0].path, path);
    QVERIFY(recovered[0].outcome == JournalRecovery::Outcome::Restored);
    QCOMPARE(readNative(nativeName), before);

    QCOMPARE(removeFileLocked(copy), UpdateResult::Done);
    QVERIFY(removeFile(path));
    QCOMPARE(namesIn(folder), QList<QByteArray>{"journal"});
}

QTEST_GUILESS_MAIN(TestNativePath)
#include "tst_nativepath.moc"
