// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the materials picker frmMaterial.
#include "common/form_view.h"
#include "dialogs/materials_form.h"

namespace ogrado {

class MaterialsWindow : public FormWindow {
    Q_OBJECT
public:
    MaterialsWindow(MaterialsForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
