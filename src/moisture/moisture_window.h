// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of MoistureForm: the month table on the left, one month's field on the right.
#include "common/form_view.h"
#include "moisture/moisture_form.h"

namespace ogrado {

class MoistureWindow : public FormWindow {
    Q_OBJECT
public:
    MoistureWindow(MoistureForm& form, QWidget* parent);

private:
    // The widgets are placed by coordinates, in these three parts.
    void placeMonthTable(const QFont& small);
    void placeTotalsAndNotes(const QFont& small);
    void placeMonthField(const QFont& small);
};

}  // namespace ogrado
