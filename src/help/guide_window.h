// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help window over GuideForm: the guide as formatted text.
#include "help/guide_form.h"
#include "common/form_view.h"

namespace ogrado {

class GuideWindow : public FormWindow {
    Q_OBJECT
public:
    GuideWindow(GuideForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
