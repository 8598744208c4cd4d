#pragma once
// The normative and climatic tables read from the reference data files. Values stay
// the texts of the files, except the saturation table, which holds numbers.
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

struct EnvelopeType {
    QString name;
    QStringList tempDiff;  // Δt(в) for the three columns
};
using EnvelopeTypeTable = QVector<EnvelopeType>;

struct Material {
    QStringList fields;  // name, density, λА, λБ, sА, sБ, μ, ...
    // Field k counted from 1 as in the file; empty when the line is shorter.
    QString field(int k) const { return k >= 1 && k <= fields.size() ? fields[k - 1] : QString(); }
    QString name() const { return field(1); }
};
using MaterialTable = QVector<Material>;

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
    MaterialTable materials;
    ClimateTable climate;
};

}  // namespace ogrado
