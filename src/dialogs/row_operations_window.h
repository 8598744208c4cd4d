// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the row operations frmMove.
#include "common/form_view.h"
#include "dialogs/row_operations.h"

namespace ogrado {

class RowOperationsWindow : public FormWindow {
    Q_OBJECT
public:
    RowOperationsWindow(RowOperationsForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
