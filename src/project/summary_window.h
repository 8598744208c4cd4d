// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window «Сводка по проекту» over SummaryForm.
#include "common/form_view.h"
#include "project/summary_form.h"

namespace ogrado {

class SummaryWindow : public FormWindow {
    Q_OBJECT
public:
    SummaryWindow(SummaryForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
