// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The limits-of-use window over LimitsForm.
#include "common/form_view.h"
#include "tools/limits_form.h"

namespace ogrado {

class LimitsWindow : public FormWindow {
    Q_OBJECT
public:
    LimitsWindow(LimitsForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
