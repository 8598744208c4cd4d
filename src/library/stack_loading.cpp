// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/stack_loading.h"

#include "common/app_error.h"
#include "mainwindow/main_form.h"

namespace ogrado {

namespace {

// The grid column of stored layer cell c: the name is column 0, the others follow the
// "№" column.
int gridColumn(int c)
{
    return c == 0 ? 0 : c + 1;
}

}  // namespace

void LoadStackIntoTable(MainForm& form, const LayerStack& stack, StackLoad variant)
{
    if (stack.layerCount() > LayerGridRows)
        throw AppError(QStringLiteral("Пирожок «%1» не загружен: в нем %2 слоев, а в таблице слоев только %3 строк. "
                                      "Выберите пирожок, в котором не больше %3 слоев.")
                           .arg(stack.name)
                           .arg(stack.layerCount())
                           .arg(LayerGridRows));
    const bool full = variant == StackLoad::Full;
    // Clearing a mark runs the window's own handler: the row's cells are enabled again
    // and the layer numbers follow.
    for (int k = 1; k <= LayerGridRows; ++k) {
        const QString mark = QStringLiteral("chkIskl_%1").arg(k);
        if (form.isChecked(mark))
            form.userCheck(mark, false);
    }
    for (int r = 1; r <= LayerGridRows; ++r) {
        for (int c = 0; c <= 8; ++c) {
            if (c == 1 && r <= 6)
                continue;
            form.setText(MainForm::cellName(r, c), QString());
            if (full)
                form.setBackground(MainForm::cellName(r, c), kWhite);
        }
    }
    for (int l = 1; l <= stack.layerCount(); ++l) {
        const StackLayer& layer = stack.layers[l - 1];
        for (int c = 0; c < 8; ++c)
            form.setText(MainForm::cellName(l, gridColumn(c)), layer[size_t(c)]);
    }
    if (full) {
        for (int r = 1; r <= LayerGridRows; ++r)
            form.setText(MainForm::cellName(r, 1), QString::number(r));
    }
    form.notifyChanged();
}

}  // namespace ogrado
