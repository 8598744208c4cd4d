// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the dew-point tool over DewPointForm.
#include "common/form_view.h"
#include "tools/dew_point_form.h"

namespace ogrado {

class DewPointWindow : public FormWindow {
    Q_OBJECT
public:
    DewPointWindow(DewPointForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
