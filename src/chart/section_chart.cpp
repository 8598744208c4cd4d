// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/section_chart.h"

#include "common/app_error.h"
#include "common/number_text.h"

namespace ogrado {

namespace {

double airTemperature(const QString& text, const QString& what)
{
    const std::optional<double> v = parseNumber(text);
    if (!v)
        throw AppError(QStringLiteral("График не построен: %1 «%2» не является числом. Исправьте это значение в "
                                      "главном окне и выполните «Расчет».")
                           .arg(what, text.trimmed()));
    return *v;
}

[[noreturn]] void notThisTable()
{
    throw AppError(QStringLiteral("График не построен: расчетные точки не соответствуют слоям расчета. "
                                  "Выполните «Расчет» еще раз."));
}

}  // namespace

bool SectionChart::hasFailingBoundary() const
{
    for (const ChartBoundary& b : boundaries)
        if (b.fails)
            return true;
    return false;
}

SectionChart buildSectionChart(const CalcState& state, const LayerTable& table, const QString& caption)
{
    const int N = int(state.layers.size());
    const int P = state.pointCount();
    if (N == 0 || table.count() != N || P < 1 || state.pointLabels.size() != P)
        notThisTable();

    SectionChart chart;
    chart.caption = caption;
    chart.complies = state.complies;

    // Layers: each one's thickness from the values the run converted; within a layer its
    // points stand at equal steps δ/(n+1), so a layer's last point falls on its band's end.
    double from = 0;
    int j = 1;  // index of the layer's first point (point 0 is the inner surface)
    chart.points.reserve(P);
    const CalcPoint& surface = state.points[0];
    chart.points.append({0, QStringLiteral("Внутренняя поверхность"), 0, surface.t, surface.E, surface.e, surface.phi});
    for (int i = 0; i < N; ++i) {
        const LayerValues& v = state.layers[i].inputs;
        ChartLayer layer;
        layer.number = i + 1;
        layer.name = table.layers[i].name.trimmed();
        layer.thickness = v.thickness;
        layer.from = from;
        layer.to = from + v.thickness;
        const double step = v.thickness / (v.points + 1);
        for (int k = 1; k <= v.points + 1; ++k, ++j) {
            if (j >= P || state.points[j].layer != i + 1)
                notThisTable();
            const CalcPoint& p = state.points[j];
            const double x = k == v.points + 1 ? layer.to : from + k * step;
            const QString name = j == P - 1 ? QStringLiteral("Наружная поверхность") : state.pointLabels[j];
            chart.points.append({x, name, i + 1, p.t, p.E, p.e, p.phi});
        }
        chart.layers.append(layer);
        if (i < N - 1) {
            const LayerResult& r = state.layers[i];
            chart.boundaries.append({i + 1, layer.to, !r.passes,
                                     QStringLiteral("Граница слоев %1-%2").arg(i + 1).arg(i + 2)});
        }
        from = layer.to;
    }
    if (j != P)
        notThisTable();

    chart.condensation = condensationStretches(chart.points);
    const LayerTableHeader& h = table.header;
    chart.inside = {airTemperature(h.tIn, QStringLiteral("температура внутреннего воздуха t(в)")), state.ev, state.Ev};
    chart.outside = {airTemperature(h.tHeat, QStringLiteral("средняя температура отопительного периода t(от.)")),
                     state.en, state.En};
    return chart;
}

QVector<ChartStretch> condensationStretches(const QVector<ChartPoint>& points)
{
    QVector<ChartStretch> stretches;
    if (points.isEmpty())
        return stretches;
    auto excess = [&](int j) { return double(points[j].e) - double(points[j].E); };
    // Where e − E changes sign between two points, it is 0 at this distance.
    auto crossing = [&](int j) {
        const double d0 = excess(j);
        const double d1 = excess(j + 1);
        return points[j].x + (points[j + 1].x - points[j].x) * d0 / (d0 - d1);
    };
    std::optional<double> start;
    if (excess(0) >= 0)
        start = points[0].x;
    for (int j = 0; j + 1 < points.size(); ++j) {
        const bool here = excess(j) >= 0;
        const bool next = excess(j + 1) >= 0;
        if (here && !next) {
            stretches.append({*start, crossing(j)});
            start.reset();
        } else if (!here && next) {
            start = crossing(j);
        }
    }
    if (start)
        stretches.append({*start, points.last().x});
    return stretches;
}

}  // namespace ogrado
