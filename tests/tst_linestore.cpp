// The store of lines that the word pool and the lesson editor keep their
// lines in: lines from one buffer read once, lines added later, and copies
// that share the bytes but never see each other's changes.
#include "data/linestore.h"

#include <QTest>

using namespace lexitka;

class TestLineStore : public QObject {
    Q_OBJECT
private slots:
    void linesOfABuffer();
    void changesAndCopies();
};

void TestLineStore::linesOfABuffer()
{
    // Every line end the readers know, an empty line, no final line end.
    const LineStore text = LineStore::fromText("a\r\nbb\ncc\r\rd");
    QCOMPARE(text.toList(), (QList<QByteArray>{"a", "bb", "cc", "", "d"}));
    QCOMPARE(LineStore::fromText(QByteArray()).size(), 0);

    // Entry lines marked where they lie; blanks around "=" closed up in place.
    QByteArray buffer = "  key = value \r\nk=v\r\n";
    LineStoreBuilder builder(buffer);
    const char *data = builder.constData();
    QVERIFY(builder.markEntry(QByteArrayView(data + 2, 3), QByteArrayView(data + 8, 5)));
    QVERIFY(builder.markEntry(QByteArrayView(data + 16, 1), QByteArrayView(data + 18, 1)));
    builder.mark(2, 3);
    const LineStore marked = builder.take();
    QCOMPARE(marked.toList(), (QList<QByteArray>{"key=value", "k=v", "key"}));
    QCOMPARE(buffer, QByteArray("  key = value \r\nk=v\r\n")); // the caller's copy is its own
}

void TestLineStore::changesAndCopies()
{
    LineStore store = LineStore::fromText("one\ntwo\nthree\nfour");
    const LineStore before = store;
    store.append("five");
    store.insert(0, "zero");
    store.replace(2, "TWO");
    store.removeAt(3);
    store.swapItemsAt(0, store.size() - 1);
    QCOMPARE(store.toList(), (QList<QByteArray>{"five", "one", "TWO", "four", "zero"}));
    QCOMPARE(before.toList(), (QList<QByteArray>{"one", "two", "three", "four"}));
    QCOMPARE(store.last(), QByteArrayView("zero"));
    store.removeLast();

    store.removeIf([](QByteArrayView line) { return line.startsWith('f'); });
    QCOMPARE(store.toList(), (QList<QByteArray>{"one", "TWO"}));
    store.permute({1, 0, 1});
    QCOMPARE(store.toList(), (QList<QByteArray>{"TWO", "one", "TWO"}));
    QCOMPARE(store.joinedCrLf(), QByteArray("TWO\r\none\r\nTWO\r\n"));

    // A part shares the bytes; adding to it leaves the whole as it was.
    LineStore part = before.mid(1, 2);
    part.append("2.5");
    QCOMPARE(part.toList(), (QList<QByteArray>{"two", "three", "2.5"}));
    QCOMPARE(before.toList(), (QList<QByteArray>{"one", "two", "three", "four"}));
    QVERIFY(part == LineStore({"two", "three", "2.5"}));
    QVERIFY(!(part == before));

    QList<QByteArray> seen;
    for (QByteArrayView line : part)
        seen.append(line.toByteArray());
    QCOMPARE(seen, part.toList());
    part.clear();
    QVERIFY(part.isEmpty());
}

QTEST_GUILESS_MAIN(TestLineStore)
#include "tst_linestore.moc"
