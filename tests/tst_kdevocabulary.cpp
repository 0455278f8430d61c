// Our KVTML against KDE's own KVTML library, through a small tool built on
// it (tests/kdelibrary): what the library writes imports exactly, and what
// we export the library reads with every plural and verb form, also after
// it has saved the file again.
#include "data/dictionary.h"
#include "exchange/kvtml.h"
#include "exchange/kvtmlwriter.h"
#include "exchange/wordimport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace lexitka;

namespace {

QByteArray cz(const char *utf8) { return encode(QString::fromUtf8(utf8), CodePage::Cp1250); }

QList<QByteArray> values(const QList<QByteArray> &lines)
{
    QList<QByteArray> v;
    for (const QByteArray &line : lines)
        v.append(line.mid(line.indexOf('=') + 1));
    return v;
}

// The tool's output, or a failed comparison when it fails.
QString library(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(LEXITKA_KVTML_LIBRARY), args);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromLocal8Bit(tool.readAllStandardError());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

std::optional<WordTable> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readKvtml(&file);
}

} // namespace

class TestKdeVocabulary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void libraryFilesImportExactly();
    void exportsReadByTheLibrary();

private:
    QTemporaryDir m_dir;
};

void TestKdeVocabulary::initTestCase()
{
#ifndef LEXITKA_KVTML_LIBRARY
    QSKIP("KDE's KVTML library is not installed (libkeduvocdocument-dev)");
#endif
    QVERIFY(m_dir.isValid());
}

void TestKdeVocabulary::libraryFilesImportExactly()
{
    // Genders, plurals under them, the three tenses sorted by name and a
    // lesson inside a lesson, as the library writes them.
    const QString file = m_dir.filePath(QStringLiteral("library.kvtml"));
    QCOMPARE(library({QStringLiteral("write"), file}), QString());
    QString error;
    const std::optional<WordTable> table = readFile(file);
    QVERIFY(table);
    const ImportResult german = importRows(*table, guessColumns(*table, LangGerman), LangGerman, true);
    QVERIFY(german.refused.isEmpty());
    QCOMPARE(german.lessons.size(), 3);
    QCOMPARE(german.lessons[0].name, QStringLiteral("Tiere"));
    QCOMPARE(
        values(german.lessons[0].lines),
        (QList<QByteArray>{cz("0\\Hund\\Hunde\\pes"), cz("1\\Katze\\Katzen\\kočka"), cz("2\\Pferd\\Pferde\\kůň")}));
    QCOMPARE(german.lessons[1].name, QStringLiteral("Tiere / Haustiere"));
    QCOMPARE(values(german.lessons[1].lines), QList<QByteArray>{cz("1\\Maus\\Mäuse\\myš")});
    QCOMPARE(german.lessons[2].name, QStringLiteral("Verben"));
    QCOMPARE(values(german.lessons[2].lines),
             (QList<QByteArray>{cz("3\\sehen\\sieht,sah,h gesehen\\vidět"), cz("3\\gehen\\geht,ging,i gegangen\\jít"),
                                cz("3\\fahren\\fährt,fuhr,i gefahren\\jet")}));
}

void TestKdeVocabulary::exportsReadByTheLibrary()
{
    const QList<QByteArray> animals{cz("0=0\\Hund\\Hunde\\pes"), cz("1=1\\Katze\\Katzen\\kočka"),
                                    cz("2=2\\Mädchen\\Mädchen\\dívka"), cz("3=3\\Leute\\Leute\\lidé"),
                                    cz("4=3\\schnell\\\\rychlý")};
    const QList<QByteArray> verbs{cz("0=3\\sehen\\sieht,sah,h gesehen\\vidět"),
                                  cz("1=3\\gehen\\geht,ging,i gegangen\\jít")};
    const QString file = m_dir.filePath(QStringLiteral("ours.kvtml"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(writeKvtml({{cz("Zvířata"), animals}, {cz("Slovesa"), verbs}}, LangGerman, QStringLiteral("Test")));
    }
    // Lesson, word, gender, plural under its gender, tenses, Czech.
    const QString expected =
        QStringLiteral("identifier\tde\n"
                       "identifier\tcs\n"
                       "Zvířata\tHund\tmale\tmale:Hunde\t-\tpes\n"
                       "Zvířata\tKatze\tfemale\tfemale:Katzen\t-\tkočka\n"
                       "Zvířata\tMädchen\tneutral\tneutral:Mädchen\t-\tdívka\n"
                       "Zvířata\tLeute\t-\tmale:Leute\t-\tlidé\n"
                       "Zvířata\tschnell\t-\t-\t-\trychlý\n"
                       "Slovesa\tsehen\t-\t-\tPerfekt=hat gesehen;Präsens=sieht;Präteritum=sah\tvidět\n"
                       "Slovesa\tgehen\t-\t-\tPerfekt=ist gegangen;Präsens=geht;Präteritum=ging\tjít\n");
    QCOMPARE(library({QStringLiteral("dump"), file}), expected);

    // Saved again by the library: it still reads every form, and so do we.
    const QString resaved = m_dir.filePath(QStringLiteral("resaved.kvtml"));
    QCOMPARE(library({QStringLiteral("resave"), file, resaved}), QString());
    QCOMPARE(library({QStringLiteral("dump"), resaved}), expected);
    const std::optional<WordTable> table = readFile(resaved);
    QVERIFY(table);
    const ImportResult back = importRows(*table, guessColumns(*table, LangGerman), LangGerman, true);
    QVERIFY(back.refused.isEmpty());
    QCOMPARE(back.lessons.size(), 2);
    QCOMPARE(values(back.lessons[0].lines), values(animals));
    QCOMPARE(values(back.lessons[1].lines), values(verbs));
}

QTEST_GUILESS_MAIN(TestKdeVocabulary)
#include "tst_kdevocabulary.moc"
