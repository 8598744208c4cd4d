#pragma once
// The window of MoistureForm: the month table on the left, one month's field on the right.
#include "common/form_view.h"
#include "moisture/moisture_form.h"

namespace ogrado {

class MoistureWindow : public FormWindow {
    Q_OBJECT
public:
    MoistureWindow(MoistureForm& form, QWidget* parent);
};

}  // namespace ogrado
