// The About box and its version text.
#include "support/fakes.h"

#include "app/fabout.h"
#include "app/fmain.h"
#include "platform/appicon.h"
#include "platform/version.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace lexitka;
using namespace lexitka::testing;

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void versionText();
    void aboutBox();
};

void TestAbout::versionText()
{
    QCOMPARE(formatVersion(2, 0, 0, 20), QStringLiteral("2.00  (Build :20)"));
    QCOMPARE(formatVersion(3, 12, 5, 7), QStringLiteral("3.12  (Build :07)"));
    QCOMPARE(formatVersion(10, 1, 0, 123), QStringLiteral("10.01  (Build :123)"));
    // The release number never shows.
    QCOMPARE(formatVersion(2, 0, 9, 20), formatVersion(2, 0, 0, 20));
}

void TestAbout::aboutBox()
{
    Fixture f;
    auto app = f.makeApp();
    TfrmAbout &about = app->frmAbout();
    QCOMPARE(about.windowTitle(), QStringLiteral("O programu"));
    QCOMPARE(about.lblVerze->text(), QStringLiteral("VERZE"));

    struct Shown {
        bool modal = false;
        QStringList captions;
        QStringList values;
        QImage icon;
        bool okDefault = false;
    };
    QList<Shown> shown;
    auto inspectAndPressEnter = [&] {
        auto *box = qobject_cast<TfrmAbout *>(QApplication::activeModalWidget());
        if (!box)
            return;
        Shown s;
        s.modal = true;
        for (const QLabel *l : box->findChildren<QLabel *>()) {
            if (l->objectName().isEmpty())
                s.captions << l->text();
        }
        s.values = {box->lblProgram->text(), box->lblVerze->text(),   box->lblAutor->text(),
                    box->lblGrafika->text(), box->lblKontakt->text(), box->lblLicence->text()};
        s.icon = box->ProgramIcon->pixmap().toImage();
        s.okDefault = box->btnOK->isDefault() && box->btnOK->text() == QStringLiteral("OK");
        shown.append(s);
        QTest::keyClick(box, Qt::Key_Return);
    };

    QTimer::singleShot(0, inspectAndPressEnter);
    QTest::mouseClick(app->frmMain().btnAbout, Qt::LeftButton);
    QCOMPARE(shown.size(), 1); // Enter closed it, or the click would not have returned
    QVERIFY(!about.isVisible());
    const Shown s = shown.first();
    QCOMPARE(s.captions, (QStringList{"Program :", "Verze :", "Autor :", "Grafika :", "Kontakt :", "Licence :"}));
    QCOMPARE(s.values.at(0), QStringLiteral("Lexitka 2.0"));
    QCOMPARE(s.values.at(1), programVersionText());
    for (const QString &v : s.values)
        QVERIFY2(!v.isEmpty() && v != v.toUpper(), qPrintable(v)); // no placeholder left
    QVERIFY(s.values.at(4).contains(u'@'));
    QVERIFY(s.values.at(5).contains(QStringLiteral("GPL 3")));
    QVERIFY(s.values.at(5).contains(QStringLiteral("novější")));
    QVERIFY(s.okDefault);
    QCOMPARE(s.icon.size(), QSize(32, 32));
    QVERIFY(s.icon.pixelColor(16, 16).alpha() > 0);
    // The program's own icon, as the desktop shows it.
    QCOMPARE(s.icon.convertToFormat(QImage::Format_ARGB32),
             applicationIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));

    // The labels are filled afresh at every showing.
    about.lblVerze->setText(QStringLiteral("VERZE"));
    about.lblAutor->setText(QStringLiteral("AUTOR"));
    QTimer::singleShot(0, inspectAndPressEnter);
    app->frmMain().btnAboutClick();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].values, s.values);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
