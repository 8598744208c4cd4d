#pragma once
// One run of the envelope calculation: the computation (envelope_calc.cpp) and the
// report lines of each step (envelope_report.cpp) share this state.
#include "engine/envelope_calc.h"
#include "engine/point_field.h"

namespace ogrado {

class EnvelopeRun {
public:
    EnvelopeRun(LayerTable& table, const EnvelopeInputs& inputs, const SaturationTable& sat, CalcReport& report)
        : table(table), in(inputs), sat(sat), report(report)
    {
    }

    void run();

    LayerTable& table;
    const EnvelopeInputs& in;
    const SaturationTable& sat;
    CalcReport& report;
    EnvelopeOutcome out;
    CalcState& st = out.state;

private:
    void update(const QString& name, std::optional<QString> text, std::optional<Rgb> background = std::nullopt)
    {
        out.updates.append({name, std::move(text), background});
    }
    void highlightColumns(int layer, bool lambdaA, bool sA, bool resetOthers);
    void readInputs();
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
    void reportVapourCheck();
    void reportVerdict();
    QString resistanceLine(bool refined, double rt) const;
    QString tOutText() const;  // tот, in parentheses when negative

    QVector<LayerValues> values;
    QVector<bool> layerA;                  // per layer: mean humidity at most 75 %
    QVector<QVector<float>> averagedPhi;   // per layer: the φ values averaged
    double alphaIn = 0, alphaOut = 0, tIn = 0, phiIn = 0, tOut = 0, phiOut = 0;
    double n = 0, tempDiff = 0;
};

}  // namespace ogrado
