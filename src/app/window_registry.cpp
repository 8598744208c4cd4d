// SPDX-License-Identifier: GPL-3.0-or-later
// The window of each form model other than the main window.
#include "app/window_registry.h"

#include "airlayer/airlayer_form.h"
#include "airlayer/airlayer_window.h"
#include "chart/chart_form.h"
#include "chart/chart_window.h"
#include "dialogs/material_edit_form.h"
#include "dialogs/material_edit_window.h"
#include "dialogs/materials_form.h"
#include "dialogs/materials_window.h"
#include "dialogs/reference_data_form.h"
#include "dialogs/reference_data_window.h"
#include "dialogs/row_operations.h"
#include "dialogs/row_operations_window.h"
#include "dialogs/save_dialog.h"
#include "dialogs/save_dialog_window.h"
#include "help/guide_form.h"
#include "help/guide_window.h"
#include "library/library_windows.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"
#include "moisture/moisture_form.h"
#include "project/construction_form.h"
#include "project/construction_window.h"
#include "project/summary_form.h"
#include "project/summary_window.h"
#include "moisture/moisture_window.h"
#include "tools/dew_point_form.h"
#include "tools/dew_point_window.h"
#include "tools/limits_form.h"
#include "tools/limits_window.h"
#include "tools/thickness_form.h"
#include "tools/thickness_window.h"

namespace ogrado {

void registerWindows(GuiHost& host)
{
    registerView<AirLayerForm, AirLayerWindow>(host);
    registerView<MoistureForm, MoistureWindow>(host);
    registerView<SaveDialogForm, SaveDialogWindow>(host);
    registerView<RowOperationsForm, RowOperationsWindow>(host);
    registerView<MaterialsForm, MaterialsWindow>(host);
    registerView<MaterialEditForm, MaterialEditWindow>(host);
    registerView<DewPointForm, DewPointWindow>(host);
    registerView<LimitsForm, LimitsWindow>(host);
    registerView<ThicknessForm, ThicknessWindow>(host);
    registerView<PirForm, PirWindow>(host);
    registerView<OpenPirForm, OpenPirWindow>(host);
    registerView<ChartForm, ChartWindow>(host);
    registerView<GuideForm, GuideWindow>(host);
    registerView<ReferenceDataForm, ReferenceDataWindow>(host);
    registerView<ConstructionForm, ConstructionWindow>(host);
    registerView<SummaryForm, SummaryWindow>(host);
}

}  // namespace ogrado
