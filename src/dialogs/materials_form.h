#pragma once
// The materials window frmMaterial ("Материалы"): the material catalogue beside the
// main window. Its picker (cboM, lblM, txtM, lstM) works as the main window's and puts
// the chosen material into the main window's grid. The table grdM lists every material,
// the shipped ones ("ТКП") and the user's own ("свой"), sortable by any column and
// filtered by txtFind and chkOwn; own materials are added, changed, copied from any
// material and deleted here and kept in the user's materials file.
#include "dialogs/material_edit_form.h"
#include "mainwindow/main_form.h"

#include <memory>

namespace ogrado {

class MaterialsForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmMaterial"); }

    explicit MaterialsForm(MainForm& main, QObject* parent = nullptr);
    ~MaterialsForm() override;

    std::optional<QPoint> placement(const QRect& mainTwips) const override;

    // The entry window of own materials, opened modally by "Добавить", "Изменить" and
    // "Копировать".
    MaterialEditForm& editForm() { return *edit_; }
    const MaterialPicker& materialPicker() const { return picker_; }
    // The material (0-based) of row `row` of the table as shown, or -1.
    int materialOfRow(int row) const { return tableMaterials_.value(row, -1); }
    // The catalogue was read again: the lists and the table show it, the same material
    // chosen.
    void catalogueChanged();

protected:
    void onLoad() override;

private:
    void fillTable();
    void showChosenInTable();
    void updateButtons();
    int selectedMaterial() const;
    void openEditor(const QString& caption, const QStringList& texts, int replacing);
    void store(const MaterialTable& next, int chosen, int removed);
    void deleteSelected();
    void requireOwnFile() const;

    MainForm& main_;
    AppContext& ctx_;
    MaterialPicker picker_;
    std::unique_ptr<MaterialEditForm> edit_;
    QVector<int> tableMaterials_;  // the material of each table row shown
};

}  // namespace ogrado
