// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows of the layer-stack library: frmPir and frmOpenPir.
#include "common/form_view.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"

class QComboBox;

namespace ogrado {

class PirWindow : public FormWindow {
    Q_OBJECT
public:
    PirWindow(PirForm& form, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBeginnings();

    QComboBox* stacks_ = nullptr;
};

class OpenPirWindow : public FormWindow {
    Q_OBJECT
public:
    OpenPirWindow(OpenPirForm& form, QWidget* parent = nullptr);
};

}  // namespace ogrado
