// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/material_picker.h"

#include "refdata/material_catalogue.h"

namespace ogrado {

namespace {
const QString kList = QStringLiteral("cboM");
}

MaterialPicker::MaterialPicker(FormModel& form, const MaterialTable& materials) : form_(form), materials_(materials) {}

QString MaterialPicker::description(const Material& mat)
{
    return mat.field(1) + QStringLiteral(". Коэффициент теплопроводности для условий эксплуатации А - ") + mat.field(3) +
           QStringLiteral(", Б  - ") + mat.field(4) + QStringLiteral(". Коэффициент паропроницания  - ") + mat.field(7);
}

void MaterialPicker::fill(int m)
{
    if (m < 0 || m >= materials_.size())
        m = -1;
    shown_.clear();
    QStringList names;
    for (int i = 0; i < materials_.size(); ++i) {
        shown_.append(i);
        names.append(materials_[i].name());
    }
    form_.setItems(kList, names);
    form_.setCurrentIndex(kList, m);  // the list's text becomes the name
    chosen_ = m;
    form_.setText(QStringLiteral("lblM"), m >= 0 ? description(materials_[m]) : QString());
    form_.setText(QStringLiteral("txtM"), m >= 0 ? materials_[m].field(2) : QString());
}

void MaterialPicker::typed(const QString& text)
{
    shown_ = findMaterials(materials_, text);
    QStringList names;
    for (int m : shown_)
        names.append(materials_[m].name());
    form_.setItems(kList, names);
    const qsizetype exact = names.indexOf(text);
    if (exact >= 0)
        form_.setCurrentIndex(kList, int(exact));
    form_.setText(kList, text);
}

void MaterialPicker::chooseEntry(int index)
{
    fill(materialOfEntry(index));
}

void MaterialPicker::materialsChanged(int removed)
{
    int m = chosen_;
    if (removed >= 0 && m == removed)
        m = -1;
    else if (removed >= 0 && m > removed)
        --m;
    fill(m);
}

}  // namespace ogrado
