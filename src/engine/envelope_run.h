// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the envelope calculation: the computation (envelope_calc.cpp) and the
// report lines of each step (envelope_report.cpp) share this state.
#include "common/number_text.h"
#include "engine/envelope_calc.h"
#include "engine/point_field.h"

#include <string_view>

namespace ogrado {

class EnvelopeRun {
public:
    // `writing`: the report lines, the main window's field texts and the result lists
    // are produced; without it only the results (CalcState, the messages) are.
    EnvelopeRun(const EnvelopeInput& input, const SaturationTable& sat, CalcReport& report, bool writing = true)
        : input(input), sat(sat), report(report), writing(writing)
    {
    }

    void run();

    EnvelopeInput input;  // the run's own copy: μ = 0 is written back into it
    LayerTable& table = input.table;
    const EnvelopeInputs& in = input.inputs;
    const SaturationTable& sat;
    CalcReport& report;
    const bool writing;
    EnvelopeOutcome out;
    CalcState& st = out.state;

private:
    void update(const QString& name, std::optional<QString> text, std::optional<Rgb> background = std::nullopt)
    {
        if (writing)
            out.updates.append({name, std::move(text), background});
    }
    // A field that shows a number, formatted only when field texts are written.
    void updateNumber(const QString& name, double value, std::string_view pattern,
                      std::optional<Rgb> background = std::nullopt)
    {
        if (writing)
            out.updates.append({name, formatNumber(value, pattern), background});
    }
    void highlightColumns(int layer, bool lambdaA, bool sA, bool resetOthers);
    void readInputs();
    // the steps of run()
    void preliminaryResistances();
    void pointField();
    void layerSums();
    void inertiaAndDesignTemperature();
    void heatLossOverHeatingPeriod();
    bool requiredResistance();  // false: no Δt(в), the run ends with its warning
    void checkBoundaries();
    // Whether layer i uses the А columns where a temperature is divided by the run's Rт
    // (boundaries, layer sums, D): with the refine flag the layer's own condition
    // (φ ≤ 75 %), without it the preliminary condition of every layer.
    bool boundaryA(int i) const { return in.refine ? layerA[i] : st.conditionA; }

    // report steps
    void reportSourceData();
    void reportCondition();
    void reportResistances();
    void reportRefineIntro();
    void reportTemperatureField();
    void reportSaturationField();
    void reportAir();
    void reportVapourField();
    void reportMeanHumidity();
    void reportRefinedResistance();
    void reportInertia();
    void reportDesignTemperature();
    void reportRequiredResistance();
    void reportNormativeResistance();
    void reportVapourCheck();
    void reportVerdict();
    QString resistanceLine(bool refined, double rt) const;
    QString tOutText() const;  // tот, in parentheses when negative

    QVector<LayerValues> values;
    QVector<bool> layerA;                  // per layer: mean humidity at most 75 %
    QVector<QVector<float>> averagedPhi;   // per layer: the φ values averaged
    double alphaIn = 0, alphaOut = 0, tIn = 0, phiIn = 0, tOut = 0, phiOut = 0;
    double invAlphaIn = 0, invAlphaOut = 0;
    double n = 0, tempDiff = 0;
    std::optional<double> rtNorm, zHeat;  // when given
};

}  // namespace ogrado
