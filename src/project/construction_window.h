// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog frmConstr over ConstructionForm: a construction's mark and name, and how a
// new one starts.
#include "common/form_view.h"
#include "project/construction_form.h"

namespace ogrado {

class ConstructionWindow : public FormWindow {
    Q_OBJECT
public:
    ConstructionWindow(ConstructionForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
