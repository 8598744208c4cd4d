// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared steps of the envelope field: converting the collected layers, the operating
// condition, the point list and the temperature and vapour fields over it. The main
// calculation and the monthly moisture balance both build on them.
#include "engine/layer_table.h"
#include "engine/calc_state.h"
#include "refdata/ref_tables.h"

#include <array>
#include <functional>
#include <optional>

namespace ogrado {

constexpr int kMaxPoints = 100;

// The number in a header field; throws AppError "<what>: «text» не является числом.
// Введите число." (or "значение не задано") about the input `field`.
double headerNumber(const QString& text, const QString& what, const FieldRef& field = {});

// Divides, or throws AppError "<what> «text» — деление на ноль. Укажите значение больше
// нуля." about the input `field` when the divisor is 0.
double divideOrFail(double numerator, double divisor, const QString& what, const QString& text,
                    const FieldRef& field = {});

// Converts every collected layer to numbers (μ = 0 stays 0 here). Throws AppError
// naming the layer and the cell when a cell is not a number or out of its range
// (thickness above 0 and at most 10000 mm; λ, s and μ not below 0).
QVector<LayerValues> convertLayers(const LayerTable& table);
// The cells of every layer (columns 1..8) as numbers, nothing where a cell is not one.
using LayerNumbers = std::array<std::optional<double>, 9>;
QVector<LayerNumbers> parseLayerCells(const LayerTable& table);
// convertLayers on cells already read as numbers; the texts of `table` name a value refused.
QVector<LayerValues> convertLayers(const LayerTable& table, const QVector<LayerNumbers>& numbers);

// Writes μ = 0.00001 back into every layer whose μ is 0, in the table and the values.
void replaceZeroPermeability(LayerTable& table, QVector<LayerValues>& values);

// Operating condition after table 4.2 of ТКП 45-2.04-43: true for А, false for Б.
bool conditionIsA(double tIn, double phiIn);

// δ·0.001/λ of layer i (0-based) with the λ of column А or Б; throws on λ = 0.
double layerResistance(const LayerTable& table, const QVector<LayerValues>& values, int i, bool columnA);
// δ·0.001/μ of layer i.
double layerVapourResistance(const QVector<LayerValues>& values, int i);

// The point list: the inner surface, then for each layer n+1 sub-layer points (one when
// n = 0). Throws AppError when there would be more than kMaxPoints points.
void buildPointList(const LayerTable& table, const QVector<LayerValues>& values, QVector<CalcPoint>& points,
                    QStringList& labels);

// The name of point j in messages and lists: the surfaces by name, the others by label.
QString pointName(const QStringList& labels, int j);

// rSum, t, rpSum and E of every point; λ of column А where useA(point) holds. A value
// that is not finite in single precision throws AppError naming the point.
void fillTemperatureField(const LayerTable& table, QVector<CalcPoint>& points, const QStringList& labels,
                          const std::function<bool(const CalcPoint&)>& useA, double tIn, double tOut,
                          double alphaIn, double rt, const SaturationTable& sat);

// e and φ of every point, formula (9.3); the same check.
void fillVapourField(QVector<CalcPoint>& points, const QStringList& labels, double ev, double en, double rp);

// Mean relative humidity of each layer: the mean of φ over the point before the layer
// and the layer's own points. It is also stored into each of the layer's own points.
// `sums` receives the φ values averaged for each layer (for the report).
QVector<double> layerMeanHumidity(QVector<CalcPoint>& points, const QVector<LayerValues>& values,
                                  QVector<QVector<float>>* averaged = nullptr);

}  // namespace ogrado
