// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Putting a stored layer stack into the main window's layer grid.
#include "library/layer_stack_library.h"

namespace ogrado {

class MainForm;

// How a stack goes into the grid. Quick (a double click in a list): the exclusion marks
// are cleared, the grid emptied except the layer numbers of rows 1..6, and the stack's
// cells written; the cell colours stay. Full ("Загрузить"): the emptied cells turn
// white as well and the layer numbers 1..8 are written.
enum class StackLoad { Quick, Full };

// Copies a stack into the main window's layer grid. A stack with more layers than the
// grid has rows is refused with AppError before anything changes.
void LoadStackIntoTable(MainForm& form, const LayerStack& stack, StackLoad variant);

}  // namespace ogrado
