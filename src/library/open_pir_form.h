// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmOpenPir, "Загрузить пирожок": lists the stored layer stacks and puts the chosen
// one into the main window's grid.
#include "session/app_context.h"
#include "common/form_model.h"
#include "library/stack_loading.h"

namespace ogrado {

class MainForm;

class OpenPirForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmOpenPir"); }

    OpenPirForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // At the main window's left edge, 2700 twips below its top.
    std::optional<QPoint> placement(const QRect& mainTwips) const override;

    const LayerStackLibrary& library() const { return library_; }

protected:
    void onLoad() override;

private:
    void loadChosen(StackLoad variant);

    AppContext& ctx_;
    MainForm& main_;
    LayerStackLibrary library_;
};

}  // namespace ogrado
