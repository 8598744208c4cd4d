// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of the program: every form model has its view, and every button of the
// main window opens the window it names.
#include "app/window_registry.h"
#include "airlayer/airlayer_form.h"
#include "chart/chart_form.h"
#include "dialogs/materials_form.h"
#include "dialogs/row_operations.h"
#include "dialogs/save_dialog.h"
#include "help/guide_form.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"
#include "program/application.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "tools/thickness_form.h"
#include "test_app.h"

#include <QtTest>

using namespace ogrado;
using namespace ogrado::test;

namespace {

class TestApp : public QObject {
    Q_OBJECT

private slots:
    // A window the program can open without a view would do nothing on screen; a form
    // Application lists but cannot create would be a null form.
    void everyWindowHasItsView()
    {
        AppFixture f;
        GuiHost host;
        registerWindows(host);
        QStringList names = Application::windowNames();
        QVERIFY(names.contains(MainForm::windowName()));
        QVERIFY(names.contains(QStringLiteral("frmMaterialEdit")));
        QCOMPARE(names.removeDuplicates(), 0);
        for (const QString& name : names) {
            if (name == MainForm::windowName())
                continue;  // its window is built first, by the start-up
            QVERIFY2(host.hasWindow(name), qPrintable(name));
        }
        // every window Application creates comes back under its own name
        MaterialsForm& materials = f.app->formAs<MaterialsForm>();
        for (const QString& name : names) {
            const FormModel* form = name == materials.editForm().formName() ? &materials.editForm() : f.app->form(name);
            QVERIFY2(form, qPrintable(name));
            QCOMPARE(form->formName(), name);
        }
        QVERIFY(!f.app->form(QStringLiteral("frmNone")));
    }

    // Each button or menu item of the main window opens the window of its form class.
    void mainWindowOpensTheNamedWindows_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("afterCalculation");  // the button is enabled by "Расчет"
        QTest::newRow("Открыть пирожок") << "cmdOp" << OpenPirForm::windowName() << false;
        QTest::newRow("Сохранить пирожок") << "cmdSp" << PirForm::windowName() << false;
        QTest::newRow("Точка росы") << "cmdTr" << DewPointForm::windowName() << false;
        QTest::newRow("Варианты") << "cmdVariant" << LimitsForm::windowName() << false;
        QTest::newRow("Воздушная прослойка") << "cmdVpr" << AirLayerForm::windowName() << true;
        QTest::newRow("Материалы") << "cmdMaterial" << MaterialsForm::windowName() << false;
        QTest::newRow("Подбор толщины") << "mnuSelect" << ThicknessForm::windowName() << false;
        QTest::newRow("График") << "mnuChart" << ChartForm::windowName() << false;
        QTest::newRow("Руководство") << "mnuGuide" << GuideForm::windowName() << false;
        QTest::newRow("Сохранить") << "cmdSave" << SaveDialogForm::windowName() << false;
        QTest::newRow("двойной щелчок по ячейке") << "txt1_0" << RowOperationsForm::windowName() << false;
    }
    void mainWindowOpensTheNamedWindows()
    {
        QFETCH(QString, control);
        QFETCH(QString, window);
        QFETCH(bool, afterCalculation);
        AppFixture f;
        if (afterCalculation)
            f.main().userClick(QStringLiteral("cmdOk"));
        if (control.startsWith(u"txt"))
            f.main().userDblClick(control);
        else
            f.main().userClick(control);
        QVERIFY2(f.host.opened.contains(window), qPrintable(f.host.opened.join(u' ')));
    }
};

}  // namespace

QTEST_MAIN(TestApp)
#include "test_app.moc"
