// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of the save dialog FileSave.
#include "common/form_view.h"
#include "dialogs/save_dialog.h"

namespace ogrado {

class SaveDialogWindow : public FormWindow {
    Q_OBJECT
public:
    SaveDialogWindow(SaveDialogForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
