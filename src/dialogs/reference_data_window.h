// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the reference tables frmData («Справочные данные»).
#include "common/form_view.h"
#include "dialogs/reference_data_form.h"

namespace ogrado {

class ReferenceDataWindow : public FormWindow {
    Q_OBJECT
public:
    ReferenceDataWindow(ReferenceDataForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
