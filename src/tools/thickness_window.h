// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layer-thickness selection window over ThicknessForm.
#include "common/form_view.h"
#include "tools/thickness_form.h"

namespace ogrado {

class ThicknessWindow : public FormWindow {
    Q_OBJECT
public:
    ThicknessWindow(ThicknessForm& form, QWidget* parent = nullptr);

private:
    QWidget* buildCandidates();
    QWidget* buildCriteria();
    QWidget* buildTable();  // one list per column, scrolled together
};

}  // namespace ogrado
