// The main window builds every named control of its form model, and the user's
// actions reach the model.
#include "app/application.h"
#include "app/main_window.h"
#include "test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace ogrado;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasItsWidget()
    {
        test::RecordingPrompter prompter;
        test::FakeHost host;
        AppContext ctx(prompter);
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        Application app(ctx);
        app.mainForm().loadForm();
        MainWindow window(app.mainForm(), host);
        for (const Control& c : app.mainForm().controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));

        auto* tv = window.findChild<QLineEdit*>("txtTv");
        QCOMPARE(tv->text(), QStringLiteral("18"));
        window.show();
        QTest::keyClicks(tv, "2.5");
        QCOMPARE(app.mainForm().text("txtTv"), QStringLiteral("182,5"));
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        QVERIFY(ctx.lastCalc);
        QVERIFY(!window.findChild<QLineEdit*>("txtRt")->text().isEmpty());
        QVERIFY(window.findChild<QPushButton*>("cmdVpr")->isEnabled());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
