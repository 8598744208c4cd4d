#pragma once
// The window of AirLayerForm.
#include "airlayer/airlayer_form.h"
#include "common/form_view.h"

namespace ogrado {

class AirLayerWindow : public FormWindow {
    Q_OBJECT
public:
    AirLayerWindow(AirLayerForm& form, QWidget* parent);
};

}  // namespace ogrado
