// The window of each form model other than the main window.
#include "program/application.h"
#include "airlayer/airlayer_window.h"
#include "chart/chart_window.h"
#include "common/form_view.h"
#include "moisture/moisture_window.h"
#include "dialogs/material_edit_window.h"
#include "dialogs/materials_window.h"
#include "dialogs/row_operations_window.h"
#include "dialogs/save_dialog_window.h"
#include "tools/dew_point_window.h"
#include "tools/limits_window.h"
#include "tools/thickness_window.h"
#include "library/library_windows.h"
#include "help/guide_window.h"

namespace ogrado {

void registerWindows(GuiHost& host, Application& app)
{
    Q_UNUSED(app);
    host.registerWindow(QStringLiteral("frmPr"), [](FormModel& f, QWidget* main) {
        return new AirLayerWindow(static_cast<AirLayerForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmVlaga"), [](FormModel& f, QWidget* main) {
        return new MoistureWindow(static_cast<MoistureForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("FileSave"), [](FormModel& f, QWidget* main) {
        return new SaveDialogWindow(static_cast<SaveDialogForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmMove"), [](FormModel& f, QWidget* main) {
        return new RowOperationsWindow(static_cast<RowOperationsForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmMaterial"), [](FormModel& f, QWidget* main) {
        return new MaterialsWindow(static_cast<MaterialsForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmMaterialEdit"), [](FormModel& f, QWidget* main) {
        return new MaterialEditWindow(static_cast<MaterialEditForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmTrosa"), [](FormModel& f, QWidget* main) {
        return new DewPointWindow(static_cast<DewPointForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmVariant"), [](FormModel& f, QWidget* main) {
        return new LimitsWindow(static_cast<LimitsForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmTolsh"), [](FormModel& f, QWidget* main) {
        return new ThicknessWindow(static_cast<ThicknessForm&>(f), main);
    });
    host.registerWindow(QStringLiteral("frmPir"),
                        [](FormModel& f, QWidget* main) { return new PirWindow(static_cast<PirForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmOpenPir"),
                        [](FormModel& f, QWidget* main) { return new OpenPirWindow(static_cast<OpenPirForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmChart"),
                        [](FormModel& f, QWidget* main) { return new ChartWindow(static_cast<ChartForm&>(f), main); });
    host.registerWindow(QStringLiteral("frmGuide"),
                        [](FormModel& f, QWidget* main) { return new GuideWindow(static_cast<GuideForm&>(f), main); });
}

}  // namespace ogrado
