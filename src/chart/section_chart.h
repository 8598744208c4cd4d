// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The section chart: the temperature t, the maximum partial pressure E and the actual
// partial pressure e of water vapour through the envelope, from the same point field
// the main window's result lists show, with the layers, the boundaries that fail
// п. 9.1 ТКП 45-2.04-43 and the stretches where e ≥ E (possible condensation).
// Plain values: the drawing lives with the chart window.
#include "engine/calc_state.h"
#include "engine/layer_table.h"

#include <QString>
#include <QVector>

namespace ogrado {

// One point of the field at its distance from the inner surface.
struct ChartPoint {
    double x = 0;   // mm from the inner surface: the sum of the sub-layer thicknesses
    QString name;   // as the first result list shows it
    int layer = 0;  // owning layer 1..N; 0 for the inner surface
    float t = 0;    // °С
    float E = 0;    // Па
    float e = 0;    // Па
    float phi = 0;  // %
};

// A layer as a band across the chart.
struct ChartLayer {
    int number = 0;  // 1..N, counted among the collected layers
    QString name;
    double thickness = 0;  // mm
    double from = 0;       // mm from the inner surface
    double to = 0;
};

// The boundary between layer `number` and the next one.
struct ChartBoundary {
    int number = 0;
    double x = 0;
    bool fails = false;  // Rп.в. below Rп.тр., п. 9.1
    QString label;       // "Граница слоев i-j"
};

// A stretch of the section, mm from the inner surface.
struct ChartStretch {
    double from = 0;
    double to = 0;
    bool operator==(const ChartStretch&) const = default;
};

// The air on one side: temperature and the two partial pressures.
struct ChartAir {
    double t = 0;  // °С
    double e = 0;  // Па
    double E = 0;  // Па
};

struct SectionChart {
    QString caption;  // the caption of the result lists
    QVector<ChartPoint> points;
    QVector<ChartLayer> layers;
    QVector<ChartBoundary> boundaries;   // the N − 1 boundaries between layers
    QVector<ChartStretch> condensation;  // where e ≥ E
    ChartAir inside;   // tв, ев, Ев
    ChartAir outside;  // tот, ен, Ен
    bool complies = false;  // the verdict of the run

    double thickness() const { return layers.isEmpty() ? 0 : layers.last().to; }
    bool hasFailingBoundary() const;
};

// The chart of a finished run: `state` as the run and any refinement left it, `table`
// the collected input the run used, `caption` the caption of the result lists.
// Throws AppError when the point field does not belong to the table.
SectionChart buildSectionChart(const CalcState& state, const LayerTable& table, const QString& caption);

// The stretches where e ≥ E, with the crossings between two points found by linear
// interpolation of e − E. A stretch that only touches (e = E at one point) has zero
// length.
QVector<ChartStretch> condensationStretches(const QVector<ChartPoint>& points);

}  // namespace ogrado
