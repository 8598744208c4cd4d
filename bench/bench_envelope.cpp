// SPDX-License-Identifier: GPL-3.0-or-later
// RunEnvelopeCalculation without a window: the example wall with refinement, and an
// eight-layer wall with 90 points.
#include "engine/layer_table.h"
#include "engine/envelope_calc.h"
#include "refdata/ref_reader.h"

#include <benchmark/benchmark.h>

using namespace ogrado;

namespace {

const SaturationTable& saturation()
{
    static const SaturationTable s = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA)).saturation;
    return s;
}

LayerTable wall(const QVector<QStringList>& rows)
{
    LayerTable t;
    t.header = {"8,7", "23", "18", "55", "-2", "83", "429", "207"};
    int n = 0;
    for (const QStringList& r : rows) {
        LayerRow row;
        ++n;
        row.cells = {QString(), QString::number(n), r[1], r[2], r[3], r[4], r[5], r[6], r[7]};
        row.sourceRow = n;
        row.name = r[0];
        t.layers.append(row);
    }
    return t;
}

EnvelopeInputs inputs()
{
    EnvelopeInputs in;
    in.tn = {"-31", "-28", "-27", "-25"};
    in.n = "1";
    in.tempDiff = "6";
    in.refine = true;
    return in;
}

void run(benchmark::State& state, const LayerTable& base)
{
    const EnvelopeInputs in = inputs();
    CalcReport report;
    for (auto _ : state) {
        LayerTable t = base;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, in, saturation(), report);
        benchmark::DoNotOptimize(o);
    }
}

void exampleWall(benchmark::State& state)
{
    run(state, wall({{"Штукатурка изв.-песч", "20", "0", "0,7", "0,81", "8,69", "9,76", "0,12"},
                     {"Газосиликат D=500", "250", "3", "0,15", "0,16", "2,38", "2,48", "0,2"},
                     {"Белтеп ПП100", "60", "3", "0,041", "0,042", "0,58", "0,65", "0,48"},
                     {"Штукатурка ц-песчаная", "10", "0", "0,76", "0,93", "9,6", "11,09", "0,09"}}));
}

void eightLayers90Points(benchmark::State& state)
{
    QVector<QStringList> rows;
    const int points[8] = {5, 15, 15, 15, 10, 10, 5, 7};  // 1 + Σ(n + 1) = 90
    for (int i = 0; i < 8; ++i)
        rows.append({QStringLiteral("Слой %1").arg(i + 1), "50", QString::number(points[i]), "0,5", "0,6", "6",
                     "7", "0,1"});
    run(state, wall(rows));
}

}  // namespace

BENCHMARK(exampleWall);
BENCHMARK(eightLayers90Points);
BENCHMARK_MAIN();
