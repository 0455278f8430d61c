// The store of lines that the word pool and the lesson editor keep their
// lines in: lines from one buffer read once, lines added later, and copies
// that share the bytes but never see each other's changes.
#include "data/linestore.h"

#include <QTest>

#include <functional>

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
    builder.markEntry(QByteArrayView(data + 2, 3), QByteArrayView(data + 8, 5));
    builder.markEntry(QByteArrayView(data + 16, 1), QByteArrayView(data + 18, 1));
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

    // Parts and copies share one list of lines: whatever changes one of
    // them, the others keep theirs, and a store left alone with its part of
    // the list changes in place.
    using Change = std::function<void(LineStore &)>;
    const QList<Change> changes = {
        [](LineStore &s) { s.append("x"); },
        [](LineStore &s) { s.insert(1, "x"); },
        [](LineStore &s) { s.replace(0, "x"); },
        [](LineStore &s) { s.removeAt(0); },
        [](LineStore &s) { s.removeAt(1); },
        [](LineStore &s) { s.removeLast(); },
        [](LineStore &s) { s.swapItemsAt(0, 1); },
        [](LineStore &s) {
            s.permute({1, 0});
        },
        [](LineStore &s) { s.removeIf([](QByteArrayView l) { return l == "c"; }); },
        [](LineStore &s) { s.reserve(100); },
    };
    const QList<QByteArray> letters{"a", "b", "c", "d", "e"};
    for (const Change &change : changes) {
        const LineStore whole = LineStore::fromText("a\nb\nc\nd\ne");
        LineStore first = whole.mid(1, 2), second = whole.mid(2, 3), copy = whole;
        change(first);
        change(copy);
        QCOMPARE(whole.toList(), letters);
        QCOMPARE(second.toList(), letters.mid(2));
        QList<QByteArray> expected = letters.mid(1, 2);
        LineStore alone = LineStore(expected);
        change(alone);
        QCOMPARE(first.toList(), alone.toList());
        // Alone with a part of a list: its lines first taken away, then more added.
        LineStore last = LineStore::fromText("a\nb\nc\nd\ne").mid(1, 3);
        last.removeAt(0);
        change(last);
        last.insert(0, "y");
        last.append("z");
        expected = {"c", "d"};
        LineStore same(expected);
        change(same);
        same.insert(0, "y");
        same.append("z");
        QCOMPARE(last.toList(), same.toList());
    }

    // Large parts of one file's text, as the lessons of a big dictionary
    // are: each change to one part leaves the file's text and the other
    // parts as they were, whether the part still shares the text (its own
    // lines copied out first) or has it alone.
    QByteArray text;
    QList<QByteArray> all;
    for (int i = 0; i < 30000; ++i) {
        all.append("line" + QByteArray::number(i));
        text += all.back() + "\r\n";
    }
    const LineStore file = LineStore::fromText(text);
    LineStore big = file.mid(1000, 25000), neighbour = file.mid(26000, 4000);
    big.insert(0, big.at(5)); // a line of the shared text, copied before that text is left
    big.append(neighbour.at(0));
    big.replace(2, "changed");
    big.append(big.at(1)); // a line of its own text, once it has one alone
    QList<QByteArray> expected = all.mid(1000, 25000);
    expected.insert(0, all[1005]);
    expected.append(all[26000]);
    expected[2] = "changed";
    expected.append(expected[1]);
    QCOMPARE(big.toList(), expected);
    QCOMPARE(file.toList(), all);
    QCOMPARE(neighbour.toList(), all.mid(26000, 4000));
    LineStore copy = big;
    copy.removeIf([](QByteArrayView line) { return line.endsWith('7'); });
    QCOMPARE(big.toList(), expected);
    expected.removeIf([](const QByteArray &line) { return line.endsWith('7'); });
    QCOMPARE(copy.toList(), expected);

    QList<QByteArray> seen;
    for (QByteArrayView line : part)
        seen.append(line.toByteArray());
    QCOMPARE(seen, part.toList());
    part.clear();
    QVERIFY(part.isEmpty());
}

QTEST_GUILESS_MAIN(TestLineStore)
#include "tst_linestore.moc"
