// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of frmMaterialEdit, the entry of an own material.
#include "common/form_view.h"
#include "dialogs/material_edit_form.h"

namespace ogrado {

class MaterialEditWindow : public FormWindow {
    Q_OBJECT
public:
    MaterialEditWindow(MaterialEditForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
