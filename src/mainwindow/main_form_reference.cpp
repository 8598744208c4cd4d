// SPDX-License-Identifier: GPL-3.0-or-later
// The main window after the reference tables were read again: its lists show the new
// tables, and the values it took from them follow the change. A field or grid cell
// follows only while it holds the old table value of its chosen entry or material: what
// the user typed over it stays the user's.
#include "mainwindow/main_form.h"

#include "refdata/ref_table_files.h"

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

template <class Table>
QStringList namesOf(const Table& table, int count)
{
    QStringList names;
    for (int i = 0; i < table.size() && i < count; ++i)
        names.append(table[i].name);
    return names;
}

}  // namespace

void MainForm::referenceTablesChanged(const RefTables& before)
{
    const RefTables& now = ctx_.tables;
    // a field that held the old value for its chosen entry takes the new one
    auto follow = [this](const QString& field, const QString& oldValue, const QString& newValue) {
        if (oldValue != newValue && !oldValue.isEmpty() && sameTableValue(oldValue, text(field)))
            setText(field, newValue);
    };
    // a list keeps its chosen entry; its caption follows a renamed entry
    auto relist = [this](const QString& combo, const QStringList& oldNames, const QStringList& newNames,
                         const QString& label) {
        const int i = currentIndex(combo);
        if (oldNames == newNames)
            return;
        if (!label.isEmpty() && text(label) == oldNames.value(i))
            setText(label, newNames.value(i));
        setItems(combo, newNames);
        setCurrentIndex(combo, i < newNames.size() ? i : -1);
    };
    const int type = currentIndex(QStringLiteral("cboTipZd"));
    const int region = currentIndex(QStringLiteral("cboObl"));
    follow(QStringLiteral("txtTv"), before.buildingTypes.value(type).tIn, now.buildingTypes.value(type).tIn);
    follow(QStringLiteral("txtFiv"), before.buildingTypes.value(type).phiIn, now.buildingTypes.value(type).phiIn);
    const bool set2 = type == 2;
    for (int k = 1; k <= 4; ++k) {
        follow(item("txtTn", k), before.designTemperatures.value(k - 1).value(region),
               now.designTemperatures.value(k - 1).value(region));
        const Region oldRegion = before.regions.value(region);
        const Region newRegion = now.regions.value(region);
        follow(item("txtTot", k), (set2 ? oldRegion.set2 : oldRegion.set1).value(k - 1),
               (set2 ? newRegion.set2 : newRegion.set1).value(k - 1));
    }
    struct Coefficient {
        const char* combo;
        const char* field;
        const char* label;
        const QVector<NamedValue> RefTables::*table;
    };
    for (const Coefficient& c : {Coefficient{"cboN", "txtN", "lblN", &RefTables::coefficientN},
                                 Coefficient{"cboAlv", "txtAlv", "lblAlv", &RefTables::innerCoefficients},
                                 Coefficient{"cboAln", "txtAln", "lblAln", &RefTables::outerCoefficients}}) {
        const int i = currentIndex(QLatin1String(c.combo));
        follow(QLatin1String(c.field), (before.*c.table).value(i).value, (now.*c.table).value(i).value);
        relist(QLatin1String(c.combo), namesOf(before.*c.table, 5), namesOf(now.*c.table, 5), QLatin1String(c.label));
    }
    const int envelope = currentIndex(QStringLiteral("cboTp_0"));
    const int column = currentIndex(QStringLiteral("cboTp_1"));
    follow(QStringLiteral("txtTp"), before.envelopeTypes.value(envelope).tempDiff.value(column),
           now.envelopeTypes.value(envelope).tempDiff.value(column));
    const QString envelopeCaption = text(QStringLiteral("cboTp_0")) + QStringLiteral(" Тип конструкции - ") +
                                    text(QStringLiteral("cboTp_1"));
    relist(QStringLiteral("cboTipZd"), namesOf(before.buildingTypes, 5), namesOf(now.buildingTypes, 5),
           QStringLiteral("lblTipZd"));
    relist(QStringLiteral("cboObl"), namesOf(before.regions, 6), namesOf(now.regions, 6), {});
    relist(QStringLiteral("cboTp_0"), namesOf(before.envelopeTypes, 8), namesOf(now.envelopeTypes, 8), {});
    relist(QStringLiteral("cboTp_1"), before.tempDiffColumns.mid(0, 3), now.tempDiffColumns.mid(0, 3), {});
    if (text(QStringLiteral("lblTp")) == envelopeCaption)
        setText(QStringLiteral("lblTp"), text(QStringLiteral("cboTp_0")) + QStringLiteral(" Тип конструкции - ") +
                                             text(QStringLiteral("cboTp_1")));
    const int norm = currentIndex(QStringLiteral("cboRtNorm"));
    follow(QStringLiteral("txtRtNorm"), before.normativeResistances.value(norm).value,
           now.normativeResistances.value(norm).value);
    relist(QStringLiteral("cboRtNorm"), namesOf(before.normativeResistances, int(before.normativeResistances.size())),
           namesOf(now.normativeResistances, int(now.normativeResistances.size())), {});
    relist(QStringLiteral("cboGorod"), namesOf(before.climate, int(before.climate.size())),
           namesOf(now.climate, int(now.climate.size())), {});
    gridFollowsMaterials(before);
    materialsChanged();
}

void MainForm::gridFollowsMaterials(const RefTables& before)
{
    const MaterialTable& now = ctx_.tables.materials;
    for (int r = 1; r <= LayerGridRows; ++r) {
        const int m = materialOfLayer(before.materials, cell(r, 0));
        if (m < 0 || before.materials[m].own || m >= now.size())
            continue;
        const Material& old = before.materials[m];
        const Material& changed = now[m];
        for (int c = 4; c <= 8; ++c) {
            const QString oldValue = old.field(c - 1);
            if (oldValue != changed.field(c - 1) && sameTableValue(oldValue, cell(r, c)))
                setText(cellName(r, c), changed.field(c - 1));
        }
        // the name as the picker inserts it names the material by its density and name
        const QString inserted = QStringLiteral("J=") + old.field(2) + QStringLiteral(". ") + old.plainName();
        if (cell(r, 0) == inserted)
            setText(cellName(r, 0), QStringLiteral("J=") + changed.field(2) + QStringLiteral(". ") + changed.plainName());
    }
}

}  // namespace ogrado
