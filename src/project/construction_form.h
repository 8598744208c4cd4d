// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmConstr: the mark and the name of a construction of the project, for "Добавить…"
// (with how the new construction starts: without layers, a copy of the shown one, or a
// stack of the layer-stack library) and for "Переименовать…".
#include "session/app_context.h"
#include "common/form_model.h"
#include "library/layer_stack_library.h"

namespace ogrado {

class MainForm;

class ConstructionForm : public FormModel {
    Q_OBJECT
public:
    static QString windowName() { return QStringLiteral("frmConstr"); }

    ConstructionForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // How a new construction starts: optKind_0 … optKind_2.
    enum Kind { kEmpty = 0, kCopy = 1, kLibrary = 2 };

protected:
    void onLoad() override;

private:
    void confirm();
    void addNew();

    AppContext& ctx_;
    MainForm& main_;
    LayerStackLibrary library_;
};

}  // namespace ogrado
