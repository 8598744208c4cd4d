#pragma once
// The materials window frmMaterial ("Материалы"): a second material picker beside the
// main window. Description and insertion are the main window's own; the chosen
// material goes into the main window's grid.
#include "mainwindow/main_form.h"

namespace ogrado {

class MaterialsForm : public FormModel {
    Q_OBJECT
public:
    explicit MaterialsForm(MainForm& main, QObject* parent = nullptr);
    ~MaterialsForm() override;

    std::optional<QPoint> placement(const QRect& mainTwips) const override;

protected:
    void onLoad() override;

private:
    MainForm& main_;
};

}  // namespace ogrado
