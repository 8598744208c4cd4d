// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window of AirLayerForm.
#include "airlayer/airlayer_form.h"
#include "common/form_view.h"

namespace ogrado {

class AirLayerWindow : public FormWindow {
    Q_OBJECT
public:
    AirLayerWindow(AirLayerForm& form, QWidget* parent);

private:
    QLabel* heading(const QString& text);  // a bold caption over a column
    QLayout* buildInputs();
    QLayout* buildResults();
};

}  // namespace ogrado
