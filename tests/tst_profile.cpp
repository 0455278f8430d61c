#include "data/profile.h"
#include "data/settings.h"
#include "support/logicfakes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lexitka;
using namespace lexitka::testing;

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void writesKeepEveryOtherByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray odd = "; my settings\n"
                               "stray=line\n"
                               "[Slovnik]\n"
                               "  File = D:\\old.en  \n"
                               "\tstatistic=0\r\n"
                               "\n"
                               "[en]\r"
                               "0=1\r"
                               "\r";
        QTest::newRow("update in place") << odd << QByteArray("Slovnik") << QByteArray("File")
                                         << QByteArray("/home/x/nemcina.de")
                                         << QByteArray("; my settings\nstray=line\n[Slovnik]\nFile=/home/x/nemcina.de\n"
                                                       "\tstatistic=0\r\n\n[en]\r0=1\r\r");
        QTest::newRow("case of section and key")
            << odd << QByteArray("SLOVNIK") << QByteArray("STATISTIC") << QByteArray("1")
            << QByteArray("; my settings\nstray=line\n[Slovnik]\n"
                          "  File = D:\\old.en  \nSTATISTIC=1\r\n\n[en]\r0=1\r\r");
        QTest::newRow("append to a section") << odd << QByteArray("Slovnik") << QByteArray("errors") << QByteArray("0")
                                             << QByteArray("; my settings\nstray=line\n[Slovnik]\n"
                                                           "  File = D:\\old.en  \n\tstatistic=0\r\nerrors=0\r\n\n"
                                                           "[en]\r0=1\r\r");
        QTest::newRow("append to the last section")
            << odd << QByteArray("en") << QByteArray("1") << QByteArray("0") << odd.chopped(1) + "1=0\r\n\r";
        QTest::newRow("new section") << odd << QByteArray("de") << QByteArray("2") << QByteArray("1")
                                     << odd + "[de]\r\n2=1\r\n";
        QTest::newRow("no final line end") << QByteArray("[de]\n0=1") << QByteArray("de") << QByteArray("1")
                                           << QByteArray("1") << QByteArray("[de]\n0=1\r\n1=1\r\n");
        QTest::newRow("new section, no final line end")
            << QByteArray("[de]\n0=1") << QByteArray("en") << QByteArray("0") << QByteArray("0")
            << QByteArray("[de]\n0=1\r\n[en]\r\n0=0\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("Slovnik") << QByteArray("File")
                                    << QByteArray("data.en") << QByteArray("[Slovnik]\r\nFile=data.en\r\n");
        QTest::newRow("first of two keys, first of two sections")
            << QByteArray("[en]\r\n0=1\r\n0=1\r\n[EN]\r\n0=1\r\n") << QByteArray("en") << QByteArray("0")
            << QByteArray("0") << QByteArray("[en]\r\n0=0\r\n0=1\r\n[EN]\r\n0=1\r\n");
        QTest::newRow("same key in another section")
            << QByteArray("[en]\r\n0=1\r\n[de]\r\n") << QByteArray("de") << QByteArray("0") << QByteArray("0")
            << QByteArray("[en]\r\n0=1\r\n[de]\r\n0=0\r\n");
        // A dictionary named "x.en " has the section "en ": found as the
        // reader finds it, not appended again at every exit.
        QTest::newRow("blanks around section and key")
            << QByteArray("[en]\r\n0=1\r\n") << QByteArray(" en\t") << QByteArray(" 0 ") << QByteArray("0")
            << QByteArray("[en]\r\n0=0\r\n");
        QTest::newRow("new section with blanks around")
            << QByteArray("[de]\r\n") << QByteArray("en ") << QByteArray("\t1") << QByteArray("1")
            << QByteArray("[de]\r\n[en]\r\n1=1\r\n");
        // Only a "[" that starts a line (blanks aside) and finds its "]" opens a section.
        QTest::newRow("headers only at line starts")
            << QByteArray("[de]\r\nk=[en]\r\n;[en]\r\n\t[en] \r\n0=1\r\n[broken\r\n[fr]\r\n") << QByteArray("en")
            << QByteArray("1") << QByteArray("1")
            << QByteArray("[de]\r\nk=[en]\r\n;[en]\r\n\t[en] \r\n0=1\r\n[broken\r\n1=1\r\n[fr]\r\n");
        QTest::newRow("header without a line end")
            << QByteArray("[de]\r\n0=1\r\n[en]") << QByteArray("en") << QByteArray("0") << QByteArray("1")
            << QByteArray("[de]\r\n0=1\r\n[en]\r\n0=1\r\n");
        QTest::newRow("comment that looks like the key")
            << QByteArray("[en]\r\n;0=1\r\n") << QByteArray("en") << QByteArray("0") << QByteArray("1")
            << QByteArray("[en]\r\n;0=1\r\n0=1\r\n");
    }

    void writesKeepEveryOtherByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, after);
        QCOMPARE(ProfileFile::withValue(before, section, key, value), after);
        // The same write again changes nothing, or the file would grow at every exit.
        QCOMPARE(ProfileFile::withValue(after, section, key, value), after);
        // Several keys in one pass: as if written one after the other.
        QCOMPARE(ProfileFile::withValues(before, section, {{key, value}, {"extra", "x"}, {" EXTRA", "y"}}),
                 ProfileFile::withValue(after, section, "extra", "y"));
        QCOMPARE(Settings::lookUp(after, section, key), std::optional<QByteArray>(value));

        QTemporaryDir dir;
        ProfileFile file(dir.filePath("lexitka.ini"));
        if (!before.isEmpty())
            writeFile(file.path(), before);
        QVERIFY(file.writeString(section, key, value));
        QCOMPARE(readFile(file.path()), after);
        QCOMPARE(file.readString(section, key, "default"), value);
    }

    void readsValues()
    {
        QTemporaryDir dir;
        ProfileFile file(dir.filePath("lexitka.ini"));
        // No file at all: every read gives its default.
        QCOMPARE(file.readString("Slovnik", "File", "data.en"), QByteArray("data.en"));
        QCOMPARE(file.readBool("Slovnik", "statistic", true), true);
        QCOMPARE(file.readInt("en", "0", 7), 7);

        writeFile(file.path(), "[Slovnik]\r\n"
                               "dec=42\r\n"
                               "neg=-3\r\n"
                               "hex=0x1F\r\n"
                               "HEX2=0XfF\r\n"
                               "zero=0\r\n"
                               "zerohex=0x0\r\n"
                               "blanks=  12  \r\n"
                               "word=abc\r\n"
                               "half=12abc\r\n"
                               "bare=0x\r\n"
                               "empty=\r\n"
                               "huge=99999999999\r\n"
                               "two=2\r\n"
                               "path=D:\\Slovniky\\\r\n");
        QCOMPARE(file.readInt("slovnik", "dec", -1), 42);
        QCOMPARE(file.readInt("Slovnik", "neg", -1), -3);
        QCOMPARE(file.readInt("Slovnik", "hex", -1), 31);
        QCOMPARE(file.readInt("Slovnik", "hex2", -1), 255);
        QCOMPARE(file.readInt("Slovnik", "blanks", -1), 12);
        for (const char *bad : {"word", "half", "bare", "empty", "huge", "missing"})
            QCOMPARE(file.readInt("Slovnik", bad, -1), -1);
        QCOMPARE(file.readInt("Other", "dec", -1), -1);
        QCOMPARE(file.readString("Slovnik", "path", ""), QByteArray("D:\\Slovniky\\"));

        // Any number other than 0 is true; what is not a number is the default.
        QCOMPARE(file.readBool("Slovnik", "two", false), true);
        QCOMPARE(file.readBool("Slovnik", "neg", false), true);
        QCOMPARE(file.readBool("Slovnik", "zero", true), false);
        QCOMPARE(file.readBool("Slovnik", "zerohex", true), false);
        QCOMPARE(file.readBool("Slovnik", "word", true), true);
        QCOMPARE(file.readBool("Slovnik", "word", false), false);
        QCOMPARE(file.readBool("Slovnik", "missing", true), true);

        QVERIFY(file.writeBool("en", "0", true));
        QVERIFY(file.writeBool("en", "1", false));
        QVERIFY(readFile(file.path()).endsWith("[en]\r\n0=1\r\n1=0\r\n"));
        QCOMPARE(file.readBool("en", "0", false), true);
        QCOMPARE(file.readBool("en", "1", true), false);

        // Writing the value that is already there leaves the file alone.
        const QDateTime past = QDateTime::currentDateTime().addDays(-3);
        {
            QFile touch(file.path());
            QVERIFY(touch.open(QIODevice::ReadWrite));
            QVERIFY(touch.setFileTime(past, QFileDevice::FileModificationTime));
        }
        QVERIFY(file.writeBool("en", "0", true));
        QCOMPARE(QFileInfo(file.path()).lastModified().toSecsSinceEpoch(), past.toSecsSinceEpoch());
        QVERIFY(file.writeBool("en", "0", false));
        QVERIFY(QFileInfo(file.path()).lastModified() > past);
    }

    void failedWritesKeepTheOldFile()
    {
        QTemporaryDir dir;
        // A folder where the file should be: nothing can be written.
        QVERIFY(QDir(dir.path()).mkdir("lexitka.ini"));
        ProfileFile folder(dir.filePath("lexitka.ini"));
        QVERIFY(!folder.writeBool("en", "0", true));
        QVERIFY(QFileInfo(folder.path()).isDir());
        QCOMPARE(folder.readBool("en", "0", false), false);

        ProfileFile nowhere(dir.filePath("missing/lexitka.ini"));
        QVERIFY(!nowhere.writeString("Slovnik", "File", "x"));
        QVERIFY(!QFileInfo::exists(nowhere.path()));

        // A read-only folder refuses the write, except to root.
        QTemporaryDir locked;
        const QByteArray old = "[Slovnik]\r\nFile=old.en\r\n";
        ProfileFile file(locked.filePath("lexitka.ini"));
        writeFile(file.path(), old);
        QVERIFY(QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool written = file.writeString("Slovnik", "File", "new.en");
        QFile::setPermissions(locked.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(readFile(file.path()), written ? QByteArray("[Slovnik]\r\nFile=new.en\r\n") : old);

        // An existing file that cannot be read is never replaced by a stub.
        QFile::setPermissions(file.path(), QFileDevice::Permissions());
        QFile probe(file.path());
        if (!probe.open(QIODevice::ReadOnly)) {
            QVERIFY(!file.writeString("Slovnik", "statistic", "1"));
            QFile::setPermissions(file.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QVERIFY(!readFile(file.path()).contains("statistic"));
        }
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
