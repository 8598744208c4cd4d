// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The normative and climatic tables read from the reference data files. Values stay
// the texts of the files, except the saturation table, which holds numbers.
#include "refdata/provenance.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ogrado {

struct BuildingType {
    QString name;
    QString tIn;    // t(в), °С
    QString phiIn;  // фи(в), %
};
using BuildingTypeTable = QVector<BuildingType>;

// Four lines (T1(0.98), T1(0.92), T3(0.92), T5(0.92)), one value per region.
using DesignTemperatureTable = QVector<QStringList>;

struct Region {
    QString name;
    // t(от.), фи(от.), e(от.), z(от.) of the heating period: set 1 (mean daily
    // temperature up to 8 °С) and set 2 (up to 10 °С, the third building type)
    QStringList set1;
    QStringList set2;
};
using RegionTable = QVector<Region>;

struct NamedValue {
    QString name;
    QString value;
};
using CoefficientNTable = QVector<NamedValue>;
using InnerCoefficientTable = QVector<NamedValue>;
using OuterCoefficientTable = QVector<NamedValue>;
using TempDiffColumnNames = QStringList;
// Table 5.1 of ТКП 45-2.04-43: the normative resistance Rт.норм by kind of envelope
// (name; Rт.норм, м2·°С/Вт), from the optional file of its own.
using NormativeResistanceTable = QVector<NamedValue>;

struct EnvelopeType {
    QString name;
    QStringList tempDiff;  // Δt(в) for the three columns
};
using EnvelopeTypeTable = QVector<EnvelopeType>;

struct Material {
    QStringList fields;  // name, density, λА, λБ, sА, sБ, μ, ...
    bool own = false;    // the user's own material, not one of the shipped file
    // Field k counted from 1 as in the file; empty when the line is shorter.
    QString field(int k) const { return k >= 1 && k <= fields.size() ? fields[k - 1] : QString(); }
    // The name as the lists show it: the catalogue number, a blank and the name.
    QString name() const { return field(1); }
    // The catalogue number: the name's first word.
    QString number() const;
    // The name without its catalogue number (the whole name when it has no blank).
    QString plainName() const;
};
using MaterialTable = QVector<Material>;

inline QString Material::number() const
{
    const QString n = name();
    const qsizetype blank = n.indexOf(u' ');
    return blank >= 0 ? n.left(blank) : QString();
}

inline QString Material::plainName() const
{
    const QString n = name();
    const qsizetype blank = n.indexOf(u' ');
    return (blank >= 0 ? n.mid(blank + 1) : n).trimmed();
}

struct ClimateRecord {
    QString name;
    QStringList temperature;  // January .. December (and an unused 13th value)
    QStringList humidity;
    // Month m counted from 1; empty when the line is shorter.
    QString monthTemperature(int m) const { return m >= 1 && m <= temperature.size() ? temperature[m - 1] : QString(); }
    QString monthHumidity(int m) const { return m >= 1 && m <= humidity.size() ? humidity[m - 1] : QString(); }
};
using ClimateTable = QVector<ClimateRecord>;

struct SaturationRow {
    float t = 0;  // °С
    float E = 0;  // Па
};

// Appendix Е of ТКП 45-2.04-43: (t, E) rows in ascending order of t.
struct SaturationTable {
    QVector<SaturationRow> rows;
    QVector<QStringList> texts;  // each row's two values as the file writes them
};

struct RefTables {
    BuildingTypeTable buildingTypes;
    DesignTemperatureTable designTemperatures;
    RegionTable regions;
    CoefficientNTable coefficientN;
    InnerCoefficientTable innerCoefficients;
    TempDiffColumnNames tempDiffColumns;
    EnvelopeTypeTable envelopeTypes;
    OuterCoefficientTable outerCoefficients;
    SaturationTable saturation;
    // Empty when its file is absent: no normative resistance is known then.
    NormativeResistanceTable normativeResistances;
    MaterialTable materials;  // the shipped materials, then the user's own
    ClimateTable climate;
    // Why the user's own materials could not be read (the file and the line), or empty.
    // The file is then left as it is and the program works with the shipped materials.
    QString userMaterialsProblem;
    // Where the values come from (the provenance file beside the data files); empty
    // when the file is absent. A damaged file is not an error either: the values then
    // have no information and `provenanceProblem` says what is wrong.
    Provenance provenance;
    QString provenanceProblem;
};

}  // namespace ogrado
