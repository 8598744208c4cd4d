// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's input as every calculation reads it, read once: each header value
// with the text the report prints, its number, the field a message marks and its
// allowed range; the layers' cells as numbers; the window's captions and the refine
// flag. Reading never refuses anything: each calculation checks the values it uses, in
// its own order, and a value refused is named with its text and field.
#include "common/app_error.h"
#include "common/input_check.h"
#include "engine/layer_table.h"
#include "engine/point_field.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace ogrado {

// Values the calculation reads from the main window besides the collected table.
struct EnvelopeInputs {
    std::array<QString, 4> tn;  // txtTn_1..4: T1(0.98), T1(0.92), T3(0.92), T5(0.92)
    QString n;                  // txtN
    QString tempDiff;           // txtTp: Δt(в)
    QString rtNorm;             // txtRtNorm: Rт.норм of table 5.1; empty: not checked
    bool refine = false;        // chkPr: "Уточнять Rt по п. 5,14 ТКП"
    // captions written into the report's source data
    QString buildingType;     // lblTipZd
    QString nCaption;         // lblN
    QString alphaInCaption;   // lblAlv
    QString alphaOutCaption;  // lblAln
    QString envelopeCaption;  // lblTp
    QString region;           // cboObl

    bool operator==(const EnvelopeInputs&) const = default;
};

// One typed value of the main window.
struct InputEntry {
    QString text;                     // as typed; the report prints it verbatim
    std::optional<double> value;      // the number, when the text is one
    QString what;                     // the value's name in messages
    FieldRef field;                   // the main-window field a message marks
    std::optional<InputRange> range;  // the values allowed; none: any number

    // The number; throws AppError "<what>: значение не задано. Введите число." or
    // "<what>: «text» не является числом. Введите число." about the field.
    double number() const;
    // The number within its range; throws as number() does, or as requireInRange.
    double checked() const;
    // A value a search tries instead of the typed one; its text is the general text of
    // the number, as lists and messages show it.
    void set(double v);
};

struct EnvelopeInput {
    LayerTable table;             // the collected texts, as the report and documents show them
    EnvelopeInputs inputs;        // the other values and captions as texts
    QVector<LayerNumbers> cells;  // per layer: grid columns 1..8 as numbers
    InputEntry alphaIn, alphaOut;  // α(в), α(н)
    InputEntry tIn, phiIn;         // t(в), фи(в)
    InputEntry tHeat, phiHeat;     // t(от.), фи(от.)
    InputEntry eHeat, zHeat;       // е(от.), z(от.): printed in the report only
    InputEntry n, tempDiff;        // n, Δt(в)
    InputEntry rtNorm;             // Rт.норм of table 5.1; empty text: not checked
    std::array<InputEntry, 4> tn;  // the four design winter temperatures

    bool refine() const { return inputs.refine; }
    int layerCount() const { return table.count(); }
    // Every layer as numbers; throws AppError naming the layer and the cell of a value
    // that is not a number or out of its range (thickness above 0 and at most 10000 mm;
    // λ, s and μ not below 0; the points a whole number up to 100).
    QVector<LayerValues> layerValues() const { return convertLayers(table, cells); }
    // A thickness (mm) a search tries for layer `layer` (1-based).
    void setThickness(int layer, double mm);
    // The inside air a search tries.
    void setInsideAir(double t, double phi);

    // Two inputs are the same when their texts are: the numbers follow from them.
    bool operator==(const EnvelopeInput& other) const { return table == other.table && inputs == other.inputs; }
};

// Reads the collected table and the other values of the main window once.
EnvelopeInput readEnvelopeInput(const LayerTable& table, const EnvelopeInputs& inputs);

}  // namespace ogrado
