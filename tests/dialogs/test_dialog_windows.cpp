// The windows of the save dialog, the row operations and the materials picker build
// every named control of their form models, and the user's actions reach the models.
#include "app/application.h"
#include "dialogs/materials_window.h"
#include "dialogs/row_operations_window.h"
#include "dialogs/save_dialog_window.h"
#include "test_support.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

class TestDialogWindows : public QObject {
    Q_OBJECT
private slots:
    void windowsAndTheirControls()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Результаты"));
        test::RecordingPrompter prompter;
        test::FakeHost host;
        AppContext ctx(prompter);
        ctx.settings = defaultDirectories(dir.path());
        ctx.tables = test::shippedTables();
        ctx.host = &host;
        Application app(ctx);
        app.mainForm().loadForm();

        auto& save = static_cast<SaveDialogForm&>(*app.form(QStringLiteral("FileSave")));
        auto& rows = static_cast<RowOperationsForm&>(*app.form(QStringLiteral("frmMove")));
        auto& materials = static_cast<MaterialsForm&>(*app.form(QStringLiteral("frmMaterial")));
        save.loadForm();
        rows.loadForm();
        materials.loadForm();
        SaveDialogWindow saveWindow(save);
        RowOperationsWindow rowsWindow(rows);
        MaterialsWindow materialsWindow(materials);
        for (FormWindow* w : {static_cast<FormWindow*>(&saveWindow), static_cast<FormWindow*>(&rowsWindow),
                              static_cast<FormWindow*>(&materialsWindow)}) {
            for (const Control& c : w->model().controls())
                QVERIFY2(w->findChild<QWidget*>(c.name), qPrintable(w->model().formName() + u' ' + c.name));
        }

        // typing a name shows the results path
        saveWindow.show();
        auto* name = saveWindow.findChild<QLineEdit*>("NameFile");
        name->selectAll();
        QTest::keyClicks(name, "report");
        QCOMPARE(saveWindow.findChild<QLabel*>("lblNameFileOut")->text(),
                 QDir(dir.path()).absolutePath() + QStringLiteral("/Результаты/report.doc"));

        // copy row 1 into row 7 with the window's own controls
        rowsWindow.show();
        rowsWindow.findChild<QListWidget*>("lst1_1")->setCurrentRow(6);
        QTest::mouseClick(rowsWindow.findChild<QRadioButton*>("opt1_0"), Qt::LeftButton);
        QTest::mouseClick(rowsWindow.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        QCOMPARE(app.mainForm().cell(7, 0), QStringLiteral("Штукатурка изв.-песч"));
        QCOMPARE(app.mainForm().cell(7, 1), QStringLiteral("7"));
        QTest::mouseClick(rowsWindow.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!rows.isLoaded());
        QVERIFY(!rowsWindow.isVisible());
    }
};

QTEST_MAIN(TestDialogWindows)
#include "test_dialog_windows.moc"
