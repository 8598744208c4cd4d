// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/reference_use.h"

#include "common/number_text.h"
#include "moisture/moisture_calc.h"
#include "refdata/material_catalogue.h"
#include "refdata/ref_table_files.h"

namespace ogrado {

namespace {

class Collector {
public:
    Collector(const RefTables& tables, QVector<UsedReference>& out) : tables_(tables), out_(out) {}

    void add(const char* table, int row, int column, const QString& used, const QString& quantity,
             const QString& detail = {})
    {
        if (auto u = usedTableValue(tables_, QLatin1String(table), row, column, used, quantity, detail))
            out_.append(*u);
    }

private:
    const RefTables& tables_;
    QVector<UsedReference>& out_;
};

// The third building type takes the second set of heating-period values (mean daily
// temperature up to 10 °С).
constexpr int kSecondSetBuildingType = 2;

void addHeader(Collector& c, const TableChoices& ch, const EnvelopeOutcome& o)
{
    const LayerTableHeader& h = o.input.table.header;
    c.add("buildingTypes", ch.buildingType, 1, h.tIn, QStringLiteral("t(в)"));
    c.add("buildingTypes", ch.buildingType, 2, h.phiIn, QStringLiteral("фи(в)"));
    const int first = ch.buildingType == kSecondSetBuildingType ? 5 : 1;
    const QString heat[4] = {h.tHeat, h.phiHeat, h.eHeat, h.zHeat};
    const char* const names[4] = {"t(от.)", "фи(от.)", "e(от.)", "z(от.)"};
    for (int k = 0; k < 4; ++k)
        c.add("regions", ch.region, first + k, heat[k], QString::fromUtf8(names[k]));
    c.add("innerCoefficients", ch.alphaIn, 1, h.alphaIn, QStringLiteral("α(в)"));
    c.add("outerCoefficients", ch.alphaOut, 1, h.alphaOut, QStringLiteral("α(н)"));
    const CalcState& st = o.state;
    if (st.tnIndex >= 1 && st.tnIndex <= 4)
        c.add("designTemperatures", ch.region, st.tnIndex, st.tnText, QStringLiteral("tн"));
    c.add("coefficientN", ch.coefficientN, 1, o.input.inputs.n, QStringLiteral("n"));
    if (ch.envelopeColumn >= 0 && ch.envelopeColumn < 3)
        c.add("envelopeTypes", ch.envelopeType, 1 + ch.envelopeColumn, o.input.inputs.tempDiff, QStringLiteral("Δt(в)"));
    if (st.rtNormative)
        c.add("normativeResistances", ch.normativeResistance, 1, o.input.inputs.rtNorm, QStringLiteral("Rт.норм"));
}

// The material columns (1-based fields: 3, 4 λ; 5, 6 s; 7 μ) a layer's values came from.
void addLayer(Collector& c, const MaterialTable& materials, const LayerRow& row, const CalcState& st, int layer)
{
    const int m = materialOfLayer(materials, row.name);
    if (m < 0 || materials[m].own)
        return;  // the user's own material is the user's value
    const QString quantity = QStringLiteral("материал «%1»").arg(materials[m].plainName());
    const bool a = st.conditionA;
    QVector<int> columns{a ? kColLambdaA : kColLambdaB, a ? kColSA : kColSB, kColMu};
    // the refined Rт takes λ by the layer's own mean humidity
    if (st.refined && layer < st.layers.size()) {
        const std::optional<double>& phi = st.layers[layer].phiMean;
        const int refined = phi && *phi <= 75 ? kColLambdaA : kColLambdaB;
        if (!columns.contains(refined))
            columns.insert(1, refined);
    }
    for (int col : columns) {
        QString used = row.cell(col);
        // a μ of 0 (metals, glass) is calculated as 0,00001
        const std::optional<double> mu = parseNumber(used);
        if (col == kColMu && mu && *mu == 0.00001 && parseNumber(materials[m].field(7)) == 0.0)
            used = materials[m].field(7);
        // grid columns 4..8 are the material's fields 3..7, the table's columns 2..6
        c.add("materials", m, col - 2, used, quantity, columnShortName(col));
    }
}

}  // namespace

int materialOfLayer(const MaterialTable& materials, const QString& layerName)
{
    QString name = layerName.trimmed();
    // "J=500. Газосиликат D=500": the density and the name as the picker inserts them
    if (name.startsWith(QStringLiteral("J="))) {
        const qsizetype dot = name.indexOf(QStringLiteral(". "));
        if (dot > 0) {
            const QString density = name.mid(2, dot - 2);
            const int m = findMaterialByName(materials, name.mid(dot + 2));
            return m >= 0 && materials[m].field(2) == density ? m : -1;
        }
    }
    return findMaterialByName(materials, name);
}

QVector<UsedReference> referencesOfRun(const RefTables& tables, const TableChoices& choices,
                                       const EnvelopeOutcome& outcome)
{
    QVector<UsedReference> used;
    if (!outcome.finished())
        return used;
    Collector c(tables, used);
    addHeader(c, choices, outcome);
    for (int i = 0; i < outcome.input.table.layers.size(); ++i)
        addLayer(c, tables.materials, outcome.input.table.layers[i], outcome.state, i);
    return used;
}

QVector<UsedReference> referencesOfClimate(const RefTables& tables, int city, const QVector<int>& months)
{
    QVector<UsedReference> used;
    if (city < 0 || city >= tables.climate.size())
        return used;
    Collector c(tables, used);
    const ClimateRecord& r = tables.climate[city];
    const QString t = QStringLiteral("климат «%1», tн").arg(r.name);
    const QString phi = QStringLiteral("климат «%1», фи(н.)").arg(r.name);
    static const char* const monthNames[12] = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                                               "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
    for (int m : months) {
        if (m < 1 || m > 12)
            continue;
        const QString month = QString::fromUtf8(monthNames[m - 1]);
        c.add("climateTemperature", city, m, r.monthTemperature(m), t, month);
        c.add("climateHumidity", city, m, r.monthHumidity(m), phi, month);
    }
    return used;
}

QVector<UsedReference> referencesOfMoistureBalance(const RefTables& tables, int city)
{
    QVector<int> months;
    for (int m = 1; m <= 12; ++m)
        if (!isSummerMonth(m))
            months.append(m);
    return referencesOfClimate(tables, city, months);
}

}  // namespace ogrado
