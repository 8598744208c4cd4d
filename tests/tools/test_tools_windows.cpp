// The windows of the dew-point tool and of the limits of use: every control has its
// widget, and typing and clicking reach the form models.
#include "app/application.h"
#include "test_support.h"
#include "tools/dew_point_window.h"
#include "tools/limits_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace ogrado;

namespace {

struct Fixture {
    Fixture() : ctx(prompter)
    {
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        app->mainForm().loadForm();
    }
    test::RecordingPrompter prompter;
    test::FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

}  // namespace

class TestToolsWindows : public QObject {
    Q_OBJECT
private slots:
    void dewPointWindow()
    {
        Fixture f;
        auto& form = static_cast<DewPointForm&>(*f.app->form("frmTrosa"));
        form.loadForm();
        DewPointWindow window(form);
        for (const Control& c : form.controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Точка росы"));
        auto* t = window.findChild<QLineEdit*>("txt1_1");
        t->clear();
        form.userEdit("txt1_1", QString());
        QTest::keyClicks(t, "18.5x");
        QCOMPARE(form.text("txt1_1"), QStringLiteral("18,5"));
        QCOMPARE(f.prompter.beeps, 1);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        // E(18,5) = 2130,5; e = 0,55·2130,5 = 1171,8: tр = 10 - (1228 - 1171,8)/80 = 9,30
        QCOMPARE(window.findChild<QLineEdit*>("txt1_3")->text(), QStringLiteral("2130,5"));
        QCOMPARE(window.findChild<QLineEdit*>("txt1_2")->text(), QStringLiteral("9,3"));
        QVERIFY(window.findChild<QLineEdit*>("txt1_2")->isReadOnly());
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!form.isLoaded());
    }

    void limitsWindow()
    {
        Fixture f;
        f.app->mainForm().userClick("cmdOk");
        auto& form = static_cast<LimitsForm&>(*f.app->form("frmVariant"));
        form.loadForm();
        LimitsWindow window(form);
        for (const Control& c : form.controls())
            QVERIFY2(window.findChild<QWidget*>(c.name), qPrintable(c.name));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Границы использования пирожка"));
        auto* last = window.findChild<QLineEdit*>("txtTv_1");
        QCOMPARE(last->text(), QStringLiteral("20"));
        last->clear();
        QTest::keyClicks(last, "8");
        QCOMPARE(form.text("txtTv_1"), QStringLiteral("8"));
        QTest::mouseClick(window.findChild<QPushButton*>("cvdOk"), Qt::LeftButton);
        QVERIFY(f.prompter.shown.isEmpty());
        for (int k = 0; k < 3; ++k)
            QCOMPARE(window.findChild<QListWidget*>(LimitsForm::list(k))->count(), 4);
        QCOMPARE(window.findChild<QListWidget*>("lst1_0")->item(3)->text(), QStringLiteral("8"));
        QVERIFY(window.findChild<QPushButton*>("cvdOk")->isEnabled());
        const int lines = f.ctx.report.lineCount();
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(f.ctx.report.lineCount(), lines + 3 + 4);
    }
};

QTEST_MAIN(TestToolsWindows)
#include "test_tools_windows.moc"
