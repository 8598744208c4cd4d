// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The material picker of the main window and of the materials window: the list cboM,
// the description lblM and the density txtM of the chosen material. Typing into the
// list leaves in it only the entries whose name contains the text; each entry shown
// stands for one material of the catalogue, so that choosing an entry chooses that
// material whatever the list shows at the time.
#include "common/form_model.h"
#include "refdata/ref_tables.h"

namespace ogrado {

class MaterialPicker {
public:
    MaterialPicker(FormModel& form, const MaterialTable& materials);

    // The whole list, with material m (0-based) chosen and described; -1 chooses none.
    void fill(int m);
    // The user typed `text` into the list: the entries become the materials whose name
    // contains it (case and "е"/"ё" do not matter), every material for an empty text.
    // The chosen material stays chosen.
    void typed(const QString& text);
    // The user chose entry `index` of the list as it is shown.
    void chooseEntry(int index);
    // The catalogue changed (own materials added, changed or removed): the whole list
    // again, the same material chosen. `removed` is the material taken out, -1 for none;
    // when it was the chosen one, nothing is chosen.
    void materialsChanged(int removed = -1);

    // The chosen material (0-based), or -1.
    int chosen() const { return chosen_; }
    // The material of entry `index` as the list shows it, or -1.
    int materialOfEntry(int index) const { return shown_.value(index, -1); }

    // lblM for a material.
    static QString description(const Material& m);

private:
    FormModel& form_;
    const MaterialTable& materials_;
    QVector<int> shown_;  // the material of each entry shown
    int chosen_ = -1;
};

}  // namespace ogrado
