// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The row-operations window frmMove ("Работа со строками"): copies, moves, swaps or
// empties whole rows of the main window's layer grid. The layer numbers, exclusion
// boxes and moistened-layer marks stay as they are.
#include "mainwindow/main_form.h"

namespace ogrado {

class RowOperationsForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmMove"); }

    enum Operation { Copy = 0, Move = 1, Swap = 2, Empty = 3 };

    explicit RowOperationsForm(MainForm& main, QObject* parent = nullptr);
    ~RowOperationsForm() override;

    // "Выполнить": the lowest-numbered chosen operation from the "Откуда" row to the
    // "Куда" row, after the check that neither row is excluded from the calculation.
    void execute();

    std::optional<QPoint> placement(const QRect& mainTwips) const override;

protected:
    void onLoad() override;

private:
    MainForm& main_;
};

}  // namespace ogrado
