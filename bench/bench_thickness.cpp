// SPDX-License-Identifier: GPL-3.0-or-later
// The layer-thickness selection without a window: 200 candidates (10 to 2000 mm by
// 10) for the insulation of the example wall, each a whole main calculation, without
// and with the monthly moisture balance at the plane 3-4 (Минск).
#include "refdata/ref_reader.h"
#include "tools/thickness_search.h"

#include <benchmark/benchmark.h>

using namespace ogrado;

namespace {

const RefTables& tables()
{
    static const RefTables t = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
    return t;
}

ThicknessCase exampleWall(bool refine, bool moisture)
{
    ThicknessCase c;
    LayerTable table;
    table.header = {"8,7", "23", "18", "55", "-2", "83", "429", "207"};
    const QStringList rows[4] = {{"Штукатурка изв.-песч", "20", "0", "0,7", "0,81", "8,69", "9,76", "0,12"},
                                 {"Газосиликат D=500", "250", "3", "0,15", "0,16", "2,38", "2,48", "0,2"},
                                 {"Белтеп ПП100", "60", "3", "0,041", "0,042", "0,58", "0,65", "0,48"},
                                 {"Штукатурка ц-песчаная", "10", "0", "0,76", "0,93", "9,6", "11,09", "0,09"}};
    for (int n = 0; n < 4; ++n) {
        LayerRow row;
        const QStringList& r = rows[n];
        row.cells = {QString(), QString::number(n + 1), r[1], r[2], r[3], r[4], r[5], r[6], r[7]};
        row.sourceRow = n + 1;
        row.name = r[0];
        table.layers.append(row);
    }
    EnvelopeInputs inputs;
    inputs.tn = {"-31", "-28", "-27", "-25"};
    inputs.n = "1";
    inputs.tempDiff = "6";
    inputs.refine = refine;
    c.input = readEnvelopeInput(table, inputs);
    c.layer = 3;
    c.saturation = &tables().saturation;
    if (moisture)
        c.moisture = ThicknessCase::Moisture{&tables().climate[4], 3};
    return c;
}

void select(benchmark::State& state, bool refine, bool moisture)
{
    const ThicknessCase c = exampleWall(refine, moisture);
    const QVector<double> candidates = thicknessRange("10", "2000", "10");
    for (auto _ : state) {
        ThicknessSelection s = SearchThickness(c, candidates);
        benchmark::DoNotOptimize(s);
    }
    state.counters["candidates"] = double(candidates.size());
}

void select200(benchmark::State& state)
{
    select(state, false, false);
}
void select200Refined(benchmark::State& state)
{
    select(state, true, false);
}
void select200WithMoisture(benchmark::State& state)
{
    select(state, false, true);
}
void select200RefinedWithMoisture(benchmark::State& state)
{
    select(state, true, true);
}

}  // namespace

BENCHMARK(select200)->Unit(benchmark::kMillisecond);
BENCHMARK(select200Refined)->Unit(benchmark::kMillisecond);
BENCHMARK(select200WithMoisture)->Unit(benchmark::kMillisecond);
BENCHMARK(select200RefinedWithMoisture)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
