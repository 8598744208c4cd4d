// SPDX-License-Identifier: GPL-3.0-or-later
// AirLayerCalculation without a window on the example wall: h = 10 m and h = 30 m,
// ε = 0,01, d0 = 30 mm, Δd = 5 mm, Text = -24 °С, Tint = 18 °С, 85 % / 55 %; the
// halving search against trying every mean temperature in turn. And the worst input
// the search accepts: the highest gap (100 m), the finest steps (Δd = 1 mm from no gap,
// ε = 0,001) and moisture that no gap removes, so that every thickness up to 1000 mm
// is searched; its counter "per_trial" is the time of one mean temperature tried.
// "profile_h100" is the mean temperature of one trial alone at h = 100 m.
#include "airlayer/airlayer_calc.h"
#include "common/app_error.h"
#include "engine/envelope_calc.h"
#include "refdata/ref_reader.h"

#include <benchmark/benchmark.h>

using namespace ogrado;

namespace {

const RefTables& tables()
{
    static const RefTables t = loadReferenceData(QStringLiteral(OGRADO_SHIPPED_DATA));
    return t;
}

AirLayerInputs exampleWall(double h)
{
    LayerTable t;
    t.header = {"8,7", "23", "18", "55", "-2", "83", "429", "207"};
    const QStringList rows[4] = {{"20", "0", "0,7", "0,81", "8,69", "9,76", "0,12"},
                                 {"250", "3", "0,15", "0,16", "2,38", "2,48", "0,2"},
                                 {"60", "3", "0,041", "0,042", "0,58", "0,65", "0,48"},
                                 {"10", "0", "0,76", "0,93", "9,6", "11,09", "0,09"}};
    for (int i = 0; i < 4; ++i) {
        LayerRow r;
        r.cells = {QString(), QString::number(i + 1), rows[i][0], rows[i][1], rows[i][2],
                   rows[i][3], rows[i][4], rows[i][5], rows[i][6]};
        r.sourceRow = i + 1;
        t.layers.append(r);
    }
    EnvelopeInputs in;
    in.tn = {"-31", "-28", "-27", "-25"};
    in.n = "1";
    in.tempDiff = "6";
    in.refine = true;
    CalcReport report;
    const CalcState s = RunEnvelopeCalculation(t, in, tables().saturation, report).state;
    AirLayerInputs a;
    a.Text = -24;
    a.FIn = 85;
    a.Tint = 18;
    a.FIv = 55;
    a.ALext = 23;
    a.ALint = 8.7;
    a.h = h;
    a.d0 = 0.03;
    a.dd = 0.005;
    a.eps = 0.01;
    a.R1 = s.rLayersButLast;
    a.R2 = s.rLayersAll - s.rLayersButLast;
    a.Rp1 = s.layers[2].rpFromInside;
    a.Rp2 = s.layers[2].rpToOutside;
    return a;
}

void run(benchmark::State& state, double h, bool straightforward)
{
    const AirLayerInputs in = exampleWall(h);
    for (auto _ : state) {
        AirLayerResults r = AirLayerCalculation(in, tables().saturation, {}, straightforward);
        benchmark::DoNotOptimize(r);
    }
}

void worstAccepted(benchmark::State& state)
{
    AirLayerInputs in = exampleWall(100);
    in.d0 = 0;
    in.dd = 0.001;
    in.eps = 0.001;
    in.FIv = 100;
    in.Rp1 = 0.01;
    qint64 trials = 0;
    AirLayerHooks hooks;
    hooks.tcStep = [&](double, double) { ++trials; };
    for (auto _ : state) {
        trials = 0;
        try {
            AirLayerCalculation(in, tables().saturation, hooks);
            state.SkipWithError("the search found a gap");
        } catch (const AppError&) {
        }
    }
    state.counters["trials"] = double(trials);
    state.counters["per_trial"] =
        benchmark::Counter(double(trials), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void profileAt100m(benchmark::State& state)
{
    const ProfileTerms terms{-133.956, 5.886, -25, 100, profileSteps(100)};
    double i = 100;
    for (auto _ : state) {
        GapProfile g = gapProfile(terms, i);
        benchmark::DoNotOptimize(g);
        i = i < 1000 ? i + 1 : 100;
    }
}

}  // namespace

BENCHMARK(worstAccepted)->Unit(benchmark::kMillisecond);
BENCHMARK(profileAt100m)->Name("profile_h100");
BENCHMARK_CAPTURE(run, h10_halving, 10.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run, h30_halving, 30.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run, h10_each_Tc, 10.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run, h30_each_Tc, 30.0, true)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
