#include "data/fileread.h"
#include "data/inifile.h"
#include "data/sectionnames.h"
#include "support/logicfakes.h"
#include "exam/wordcollection.h"
#include "support/inireadings.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

// Every way of reading a file must agree: the whole document, the names
// alone, the scanned lines and the piece-by-piece entry lines.
IniReading readAllWays(const QString &path, qsizetype readSize = qsizetype(1) << 16)
{
    QString why;
    const IniReading full = readIniEveryWay(path, readSize, ~0u, &why);
    if (!why.isEmpty())
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    return full;
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

private slots:
    void readerRules()
    {
        const QByteArray text = "ignored=before any lesson\r\n"
                                "[ignored too\r\n"
                                "; comment\r\n"
                                "[  Lekce 2  ]\r\n"
                                "  5 = five  \\  p\xECt \t\r\n"
                                "\r\n"
                                "   ; indented comment\r\n"
                                "\t\r\n"
                                "1=one\\jedna\r\n"
                                "5=second five\\p\xECt znovu\r\n"
                                "x=E=mc2\\vzorec\r\n"
                                "no equals sign here\r\n"
                                "=empty key\r\n"
                                "empty value=\r\n"
                                "[Lekce 1]trailing text\r\n"
                                "0=a\\b\r\n"
                                "[]\r\n"
                                "[\xD8"
                                "e\xE8i]\r\n" // Řeči in windows-1250
                                "k=v\r\n";
        const IniReading r = readAllWays(write("rules.en", text));
        QCOMPARE(r.names, (QList<QByteArray>{"Lekce 2", "Lekce 1", "",
                                             "\xD8"
                                             "e\xE8i"}));
        // Line order, blanks around key and value gone, blanks inside kept;
        // both entries with key 5 are there, in line order.
        QCOMPARE(r.lines[0], (QList<QByteArray>{"5=five  \\  p\xECt", "1=one\\jedna", "5=second five\\p\xECt znovu",
                                                "x=E=mc2\\vzorec", "=empty key", "empty value="}));
        QCOMPARE(r.lines[1], QList<QByteArray>{"0=a\\b"});
        QCOMPARE(r.lines[2], QList<QByteArray>{});
        QCOMPARE(r.lines[3], QList<QByteArray>{"k=v"});

        const IniDocument doc = IniDocument::fromBytes(text);
        // Lesson names are matched without regard to case, Czech letters too.
        QCOMPARE(doc.findSection("LEKCE 1"), 1);
        QCOMPARE(doc.findSection(" lekce 2 "), 0);
        QCOMPARE(doc.findSection("\xF8"
                                 "E\xC8I"),
                 3); // řEČI
        QCOMPARE(doc.findSection("Lekce 3"), -1);
        QCOMPARE(doc.findSection("ignored"), -1);
        // The first line of a key wins a lookup by key.
        QCOMPARE(doc.value("lekce 2", "5"), std::optional<QByteArray>("five  \\  p\xECt"));
        QCOMPARE(doc.value("Lekce 2", "X"), std::optional<QByteArray>("E=mc2\\vzorec"));
        QCOMPARE(doc.value("Lekce 2", "empty value"), std::optional<QByteArray>(""));
        QCOMPARE(doc.value("Lekce 2", "missing"), std::nullopt);
        QCOMPARE(doc.value("nowhere", "5"), std::nullopt);
        QCOMPARE(doc.key(0, 2), QByteArrayView("5"));
        QCOMPARE(doc.value(0, 2), QByteArrayView("second five\\p\xECt znovu"));
        QCOMPARE(doc.value(0, 5), QByteArrayView(""));
    }

    void duplicateLessonsAreTakenByPosition()
    {
        const QString path = write("dup.de", "[A]\n1=x\n[a]\n1=y\n2=z\n[B]\n3=w\n");
        const QList<QByteArray> names{"A", "a", "B"};
        QCOMPARE(collectLessonEntries(path, names, {false, true}).toList(), (QList<QByteArray>{"1=y", "2=z"}));
        QCOMPARE(collectLessonEntries(path, names, {true, false, true, true, true}).toList(),
                 (QList<QByteArray>{"1=x", "3=w"}));
        QVERIFY(collectLessonEntries(m_dir.filePath("missing.de"), names, {true}).isEmpty());
    }

    void lineEnds()
    {
        const QList<QByteArray> forms = {
            "[A]\r\n1=x\r\n[B]\r\n2=y\r\n", "[A]\n1=x\n[B]\n2=y\n",           "[A]\r1=x\r[B]\r2=y\r",
            "[A]\r\n1=x\r[B]\n2=y",         "[A]\n\r1=x\r\r\n[B]\r\n\n2=y\r",
        };
        for (const QByteArray &form : forms) {
            const IniReading r = readAllWays(write("ends.en", form));
            QCOMPARE(r.names, (QList<QByteArray>{"A", "B"}));
            QCOMPARE(r.lines, (QList<QList<QByteArray>>{{"1=x"}, {"2=y"}}));
        }
    }

    void badInput()
    {
        struct Case {
            const char *name;
            QByteArray bytes;
            QList<QByteArray> lessons;
        };
        QByteArray garbage(4096, '\0');
        QRandomGenerator rng(7);
        for (char &c : garbage)
            c = char(rng.bounded(256));
        garbage.replace(100, 15, QByteArray("\n[Lekce\0 1]\n1=a", 15));
        const QList<Case> cases = {
            {"empty", "", {}},
            {"comments", "; one\r\n\r\n   \r\n\t; two\r\n;[not a lesson]\r\n", {}},
            {"nul bytes", QByteArray("[A\0B]\r\n1=\0x\r\n\0[C]\r\n", 19), {QByteArray("A\0B", 3)}},
            {"garbage", garbage, {QByteArray("Lekce\0 1", 8)}},
            {"header without bracket", "[Lekce 1\r\n1=a\r\n[Lekce 2]\r\n2=b\r\n", {"Lekce 2"}},
            {"only bracket", "[", {}},
        };
        for (const Case &c : cases) {
            const IniReading r = readAllWays(write("bad.en", c.bytes));
            if (c.bytes == garbage)
                QVERIFY(r.names.contains(c.lessons.value(0)));
            else
                QVERIFY2(r.names == c.lessons, c.name);
        }
        const IniReading nul = readAllWays(write("bad.en", cases[2].bytes));
        QCOMPARE(nul.lines[0], QList<QByteArray>{QByteArray("1=\0x", 4)});
    }

    void unreadablePaths()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder.en"));
        for (const QString &path : {dir.filePath("folder.en"), dir.filePath("missing.en"), QString()}) {
            QCOMPARE(readAllWays(path).names, QList<QByteArray>{});
            bool ok = true;
            QVERIFY(readWholeFile(path, &ok).isEmpty());
            QVERIFY(!ok);
        }
        // A device never ends; it must not be read at all.
        QCOMPARE(IniDocument::fromFile("/dev/zero").sectionCount(), 0);
        QCOMPARE(SectionNames::fromFile("/dev/zero").size(), 0);

        const QString locked = dir.filePath("locked.en");
        writeFile(locked, "[A]\n1=x\n");
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        // Root reads it anyway: then it must read as usual.
        const bool readable = ::access(QFile::encodeName(locked).constData(), R_OK) == 0;
        const IniReading r = readAllWays(locked);
        QCOMPARE(r.names, readable ? QList<QByteArray>{"A"} : QList<QByteArray>{});
    }

    void veryLongLine()
    {
        // 50 MB on one line, a header at its start and a lesson after it.
        QByteArray big(50 * 1024 * 1024, 'x');
        big.replace(0, 9, "[Long]k=v");
        big[1000] = ']';
        big.append("\r\n[Next]\r\n1=a\r\n");
        const IniReading r = readAllWays(write("long.en", big));
        QCOMPARE(r.names, (QList<QByteArray>{"Long", "Next"}));
        QCOMPARE(r.lines[0], QList<QByteArray>{});
        QCOMPARE(r.lines[1], QList<QByteArray>{"1=a"});

        // The same line as an entry, without a final line end.
        QByteArray entry = "[E]\n1=";
        entry.append(QByteArray(50 * 1024 * 1024, 'y'));
        const IniReading e = readAllWays(write("long.en", entry));
        QCOMPARE(e.lines.size(), 1);
        QCOMPARE(e.lines[0].size(), 1);
        QCOMPARE(e.lines[0][0].size(), 50 * 1024 * 1024 + 2);
    }

    void pieceBoundaries()
    {
        // The file is read in pieces of 1 MiB: a CR LF, a lone CR, a header
        // and an entry may fall on the edge of a piece.
        constexpr qsizetype kPiece = qsizetype(1) << 20;
        for (qsizetype shift = -3; shift <= 3; ++shift) {
            for (const QByteArray &tail :
                 {QByteArray("\r\n[Edge]\r\n1=a\r\n"), QByteArray("\r[Edge]\r1=a\r"), QByteArray("\n[Edge]\n1=a")}) {
                QByteArray bytes = "[First]\r\n";
                while (bytes.size() < kPiece + shift - 12)
                    bytes.append("0=filler\\v\r\n");
                bytes.append(QByteArray(kPiece + shift - bytes.size(), 'z'));
                bytes.append(tail);
                const IniReading r = readAllWays(write("edge.en", bytes));
                QCOMPARE(r.names, (QList<QByteArray>{"First", "Edge"}));
                QCOMPARE(r.lines[1], QList<QByteArray>{"1=a"});
            }
        }
    }

    void headersAtEveryOffset()
    {
        // Names are looked for 64 bytes at a time: a header, its blanks, its
        // "]" and its line end may fall on either side of any such edge.
        const QByteArray longName(150, 'n');
        for (int shift = 0; shift < 140; ++shift) {
            const QByteArray bytes = "k" + QByteArray(shift, 'x') + "\n[a]\r\n \t[ b c ]\rx[no]\n[" + longName
                                     + "]\r\n[open\r\n" + QByteArray(shift % 70, ' ') + "[d]]\n;[no]\n[e";
            const IniReading r = readAllWays(write("offsets.en", bytes));
            QCOMPARE(r.names, (QList<QByteArray>{"a", "b c", longName, "d"}));
        }
    }

    void randomFilesReadAlike()
    {
        // Short random texts made of the characters that matter to the reader.
        QRandomGenerator rng(2024);
        const char alphabet[] = {'[', ']', '=', ';', ' ', '\t', '\r', '\n', '\0', 'a', 'B', '\xE8', '\\'};
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes;
            const int n = int(rng.bounded(200));
            for (int i = 0; i < n; ++i)
                bytes.append(alphabet[rng.bounded(int(sizeof alphabet))]);
            const QString path = write("random.en", bytes);
            // Pieces of a few bytes put a piece edge on every kind of line end.
            const IniReading fromFile = readAllWays(path, 1 + round % 7);
            const IniReading fromBytes = readingOf(IniDocument::fromBytes(bytes));
            QCOMPARE(fromFile.names, fromBytes.names);
            QCOMPARE(fromFile.lines, fromBytes.lines);
            QCOMPARE(SectionNames::fromBytes(bytes).toList(), fromBytes.names);
            // The lines, against the rule said plainly: a line ends at CR LF, LF or a lone CR.
            QList<QByteArray> lines, expected;
            forEachLine(bytes.constData(), bytes.size(),
                        [&](qsizetype b, qsizetype e, qsizetype) { lines.append(bytes.mid(b, e - b)); });
            for (qsizetype b = 0, i = 0; i <= bytes.size(); ++i) {
                if (i == bytes.size()) {
                    if (b < i)
                        expected.append(bytes.mid(b));
                } else if (bytes[i] == '\n' || bytes[i] == '\r') {
                    expected.append(bytes.mid(b, i - b));
                    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                        ++i;
                    b = i + 1;
                }
            }
            QCOMPARE(lines, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
