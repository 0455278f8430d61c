#include "app/fmain.h"
#include "app/lessonlist.h"
#include "support/fakes.h"

#include <QGroupBox>
#include <QImage>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace lexitka;
using namespace lexitka::testing;

namespace {

QByteArray lessons(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "[Lekce " + QByteArray::number(i) + "]\r\n0=a\\b\r\n";
    return bytes;
}

// Qt's own list, set up as the main window sets up lbLekce, over its model.
std::unique_ptr<QListView> qtListLike(QListView *list)
{
    auto ref = std::make_unique<QListView>(list->parentWidget());
    ref->setModel(list->model());
    ref->setItemDelegate(new LessonListDelegate(ref.get()));
    ref->setGeometry(list->geometry());
    ref->setFont(list->font());
    ref->setPalette(list->palette());
    ref->setFrameShape(list->frameShape());
    ref->setFlow(QListView::TopToBottom);
    ref->setWrapping(true);
    ref->setResizeMode(QListView::Adjust);
    ref->setGridSize(list->gridSize());
    ref->setUniformItemSizes(true);
    ref->setEditTriggers(list->editTriggers());
    ref->show();
    return ref;
}

QString differences(QListView *list, QListView *ref)
{
    QStringList why;
    QAbstractItemModel *model = list->model();
    const int rows = model->rowCount();
    auto compare = [&why](const QString &what, const auto &mine, const auto &theirs) {
        if (mine != theirs && why.size() < 10)
            why << what;
    };
    QScrollBar *h = list->horizontalScrollBar();
    QScrollBar *hr = ref->horizontalScrollBar();
    compare(QStringLiteral("scroll range"), QList<int>{h->minimum(), h->maximum(), h->pageStep(), h->isVisible()},
            QList<int>{hr->minimum(), hr->maximum(), hr->pageStep(), hr->isVisible()});
    compare(QStringLiteral("viewport"), list->viewport()->size(), ref->viewport()->size());
    for (int value = h->minimum(); value <= h->maximum(); ++value) {
        h->setValue(value);
        hr->setValue(value);
        for (int row = 0; row < rows; ++row)
            compare(QStringLiteral("place of row %1 at %2").arg(row).arg(value), list->visualRect(model->index(row, 0)),
                    ref->visualRect(model->index(row, 0)));
        for (int x = -1; x < list->width() + 1; x += 3)
            for (int y = -1; y < list->height() + 1; y += 2)
                compare(QStringLiteral("row at %1,%2 at %3").arg(x).arg(y).arg(value), list->indexAt({x, y}),
                        ref->indexAt({x, y}));
        for (int row = 0; row < rows; row += 5) {
            list->setCurrentIndex(model->index(row, 0));
            ref->setCurrentIndex(model->index(row, 0));
            h->setValue(value);
            hr->setValue(value);
            compare(QStringLiteral("painted, row %1 current at %2").arg(row).arg(value), list->grab().toImage(),
                    ref->grab().toImage());
        }
    }
    // Keys, and scrolling to show the row that becomes current.
    const std::initializer_list<int> keys{Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left, Qt::Key_Right,
                                          Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    for (const int key : keys) {
        for (int row = 0; row < rows; ++row) {
            for (QListView *v : {list, ref}) {
                v->horizontalScrollBar()->setValue(row % 3);
                v->setCurrentIndex(model->index(row, 0));
                QTest::keyClick(v, Qt::Key(key));
            }
            compare(QStringLiteral("key %1 from row %2").arg(key).arg(row),
                    QList<int>{list->currentIndex().row(), h->value(),
                               list->selectionModel()->isSelected(list->currentIndex())},
                    QList<int>{ref->currentIndex().row(), hr->value(),
                               ref->selectionModel()->isSelected(ref->currentIndex())});
        }
    }
    for (const auto hint : {QAbstractItemView::EnsureVisible, QAbstractItemView::PositionAtTop,
                            QAbstractItemView::PositionAtBottom, QAbstractItemView::PositionAtCenter}) {
        for (int from = h->minimum(); from <= h->maximum(); ++from) {
            for (int row = 0; row < rows; ++row) {
                h->setValue(from);
                hr->setValue(from);
                list->scrollTo(model->index(row, 0), hint);
                ref->scrollTo(model->index(row, 0), hint);
                compare(QStringLiteral("scrolled to row %1 (%2) from %3").arg(row).arg(hint).arg(from), h->value(),
                        hr->value());
            }
        }
    }
    // The wheel turns the columns.
    for (const int delta : {-120, -120, 120, -360, 240}) {
        for (QListView *v : {list, ref}) {
            QWheelEvent wheel(QPointF(50, 50), QPointF(v->viewport()->mapToGlobal(QPoint(50, 50))), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(v->viewport(), &wheel);
        }
        compare(QStringLiteral("wheel %1").arg(delta), h->value(), hr->value());
    }
    // A click selects the row under the mouse; one between rows, none.
    h->setValue(h->maximum());
    hr->setValue(hr->maximum());
    for (const QPoint point : {QPoint(5, 5), QPoint(150, 40), QPoint(120, 17), QPoint(60, 140)}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseClick(ref->viewport(), Qt::LeftButton, {}, point);
        compare(QStringLiteral("click at %1,%2").arg(point.x()).arg(point.y()),
                list->selectionModel()->selectedIndexes(), ref->selectionModel()->selectedIndexes());
    }
    // A click on a row's box ticks it, in either list alike.
    if (const QModelIndex under = list->indexAt({5, 5}); under.isValid()) {
        const QVariant before = under.data(Qt::CheckStateRole);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        compare(QStringLiteral("ticked by a click"), under.data(Qt::CheckStateRole) != before, true);
        QTest::mouseClick(ref->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        compare(QStringLiteral("unticked by a click"), under.data(Qt::CheckStateRole) == before, true);
    }
    return why.join(QStringLiteral("; "));
}

} // namespace

class TestLessonView : public QObject {
    Q_OBJECT
private slots:
    // The lesson list places, paints, moves and scrolls its rows as Qt's own
    // list does, however many rows fill however many columns.
    void asQtsOwnList()
    {
        Fixture f;
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        w.show();
        QListView *list = w.lbLekce;
        for (const int count : {0, 1, 7, 8, 9, 16, 17, 30, 45}) {
            const QString file = f.path(QStringLiteral("l%1.en").arg(count));
            writeFile(file, lessons(count));
            w.OpenSlovnik(file);
            QCOMPARE(list->model()->rowCount(), count);
            const auto ref = qtListLike(list);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            const QString why = differences(list, ref.get());
            QVERIFY2(why.isEmpty(), qPrintable(QStringLiteral("%1 lessons: %2").arg(count).arg(why)));
        }
        // However tall the list: where a column is full depends on it.
        const QRect geometry = list->geometry();
        const auto ref = qtListLike(list);
        for (int height = 100; height < 200; ++height) {
            for (QListView *v : {list, ref.get()})
                v->setGeometry(QRect(geometry.topLeft(), QSize(geometry.width(), height)));
            QCoreApplication::processEvents();
            for (QListView *v : {list, ref.get()})
                v->horizontalScrollBar()->setValue(1);
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QModelIndex index = list->model()->index(row, 0);
                QVERIFY2(list->visualRect(index) == ref->visualRect(index),
                         qPrintable(QStringLiteral("row %1, height %2").arg(row).arg(height)));
            }
            QCOMPARE(list->horizontalScrollBar()->maximum(), ref->horizontalScrollBar()->maximum());
        }
        list->setGeometry(geometry);
    }

    // A million lessons: the last is reached by End and shown in the last
    // column, as Qt's own list shows it.
    void millionRows()
    {
        Fixture f;
        writeFile(f.path("data.en"), lessons(1'000'000));
        auto app = f.makeApp();
        TfrmMain &w = app->frmMain();
        w.show();
        QListView *list = w.lbLekce;
        const auto ref = qtListLike(list);
        QCoreApplication::processEvents();
        QCOMPARE(list->horizontalScrollBar()->maximum(), ref->horizontalScrollBar()->maximum());
        QVERIFY(list->horizontalScrollBar()->maximum() > 100'000);
        for (QListView *v : {list, ref.get()}) {
            v->setCurrentIndex(v->model()->index(0, 0));
            QTest::keyClick(v, Qt::Key_End);
        }
        QCOMPARE(list->currentIndex().row(), 999'999);
        QCOMPARE(list->horizontalScrollBar()->value(), ref->horizontalScrollBar()->value());
        const QModelIndex last = list->model()->index(999'999, 0);
        QCOMPARE(list->visualRect(last), ref->visualRect(last));
        QCOMPARE(list->indexAt(list->visualRect(last).center()), last);
        QCOMPARE(list->grab().toImage(), ref->grab().toImage());
    }
};

QTEST_MAIN(TestLessonView)
#include "tst_lessonview.moc"
