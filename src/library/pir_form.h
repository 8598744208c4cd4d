// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmPir, "Запись и редактирование пирожков": the current construction is added to the
// layer-stack library under a name, stored stacks get a new name and description, are
// deleted, or are put into the main window's grid by a double click.
#include "session/app_context.h"
#include "common/form_model.h"
#include "library/stack_loading.h"

namespace ogrado {

class MainForm;

class PirForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmPir"); }

    PirForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // At the main window's left edge, 100 twips below its top.
    std::optional<QPoint> placement(const QRect& mainTwips) const override;

    // The 1-based position of the stack last chosen in cbo1 (0: none); rename acts on it.
    int selectedStack() const { return selectedStack_; }
    const LayerStackLibrary& library() const { return library_; }
    QString libraryPath() const;

    // The proposal for a new stack from the collected layers: the thicknesses joined by
    // "+" (380+100+20), and "name - thickness мм. " of every layer joined by " + ".
    static QString proposedName(const LayerTable& table);
    static QString proposedDescription(const LayerTable& table);

protected:
    void onLoad() override;

private:
    void fillNewStack();
    void readLibrary();
    void showStacks();
    void change(const std::function<void(LayerStackLibrary&)>& operation);

    AppContext& ctx_;
    MainForm& main_;
    LayerStackLibrary library_;
    bool libraryRead_ = false;  // a damaged or unreadable file is never written over
    int selectedStack_ = 0;
};

}  // namespace ogrado
