#pragma once
// The ventilated air gap behind a facade cladding after section 6.3 of
// ТКП 45-3.02-113-2009: the smallest gap thickness at which the air flowing up the gap
// carries the moisture away (the vapour pressure at the outlet does not exceed the
// saturation pressure there).
#include "refdata/ref_tables.h"

#include <QStringList>

#include <functional>

namespace ogrado {

struct AirLayerInputs {
    double Text = 0;  // design outside temperature, °С
    double FIn = 0;   // outside relative humidity, %
    double Tint = 0;  // inside temperature, °С
    double FIv = 0;   // inside relative humidity, %
    double ALext = 0;  // α(н) of the main window
    double ALint = 0;  // α(в) of the main window
    double h = 0;      // height between the inlet and outlet openings, m
    double d0 = 0;     // initial gap thickness, m
    double dd = 0;     // thickness increment, m
    double eps = 0;    // accuracy of the mean gap-air temperature, °С
    bool gridIn = false;
    bool gridOut = false;
    bool turns = false;
    double k = 1;          // coefficient k of formula (4), 1 without an inlet grille
    double turnCount = 0;  // turns of the air flow, counted only with `turns`
    float R1 = 0;          // thermal resistance of the layers between the room and the gap
    float R2 = 0;          // thermal resistance of the cladding
    double Rp1 = 0;        // vapour resistance from the inner surface to the gap
    double Rp2 = 0;        // vapour resistance from the gap to the outer surface
};

struct AirLayerResults {
    double d = 0;      // found gap thickness, m
    double Tc = 0;     // accepted mean gap-air temperature
    double Tcalc = 0;  // mean gap-air temperature of the profile, formula (9)
    double V = 0, i = 0, Th = 0;
    double Eint = 0, Eext = 0, eint = 0, eext = 0;
    double B = 0, eh = 0, Eh = 0;
    double ALm = 0, LAint = 0, LAext = 0, A = 0;
    double KSIint = 0, KSIext = 0, SymEp = 0, M = 0;
    double Pmid = 0, Pext = 0;
    qint64 trials = 0;  // mean temperatures tried, all thicknesses together
};

// The terms of the mean-temperature integral of formula (9): x = 0, 0,01, 0,02, … while
// x ≤ h, x advanced by repeated addition of 0,01; `lastX` is the last x reached, the
// outlet point whose temperature is Th.
struct ProfileSteps {
    qint64 count = 0;
    double lastX = 0;
};
ProfileSteps profileSteps(double h);

// What the temperature profile of formula (5) shares between trials.
struct ProfileTerms {
    double A = 0;      // formula (6)
    double LAsum = 0;  // LAint + LAext
    double Text = 0;
    double h = 0;
    ProfileSteps steps;
};

// The mean air temperature of the gap over the height (formula (9), the profile of
// formula (5) summed in steps of 0,01 m) and the temperature at the last step Th, for
// the mass flow i. The sum is taken in closed form (a geometric series): one trial
// costs the same at every height.
struct GapProfile {
    double Tcalc = 0;
    double Th = 0;
};
GapProfile gapProfile(const ProfileTerms& terms, double i);

// Progress and cancelling during the search.
struct AirLayerHooks {
    std::function<void(double d)> thickness;               // a new thickness is tried
    std::function<void(double Tc, double Tcalc)> tcStep;   // a mean temperature was tried
    std::function<bool()> cancelled;                       // true: stop the search
    // Takes the place of gapProfile when set (a test sums the profile step by step).
    std::function<GapProfile(const ProfileTerms& terms, double i)> profile;
};

// The limits of the inputs: h above 0 and at most 100 m, Δd from 1 to 1000 mm, d0 from
// 0 to 1000 mm, ε from 0,001 to 10 °С, humidities 0 < фи ≤ 100 %, α, k above 0, turns
// not below 0. Throws AppError titled "Ошибка в исходных данных!!" naming the field.
void checkAirLayerInputs(const AirLayerInputs& in);

// The search. Throws AppError with a Russian message when the inputs make no sense, a
// temperature lies outside the saturation table, the mean temperature cannot be found
// below the inside temperature, no thickness up to 1000 mm removes the moisture, or the
// search was cancelled. `straightforward` tries every mean temperature Text + n·ε in
// turn; otherwise the first one within the accuracy is found by halving (the same one,
// since Tc − Tcalc grows with Tc).
AirLayerResults AirLayerCalculation(const AirLayerInputs& in, const SaturationTable& sat,
                                    const AirLayerHooks& hooks = {}, bool straightforward = false);

// ALm after п. 6.3.7 from the height h.
double airGapSurfaceCoefficient(double h);

// The report block of one run; its first line is written at `start` + 2 (modes: a new
// report starts at 1, an appended block at the previous count).
struct AirLayerReportTexts {
    QString turnsText;  // txtEps as typed, written trimmed
};

class AirLayerReport {
public:
    // Mode 1: the report restarts with this run's block.
    void replace(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t);
    // Mode 2: this run's block after the previous ones.
    void append(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t);
    // Index after the last block: the last written line + 2; 0 when empty.
    int count() const { return count_; }
    // Line k, counted from 0; unwritten lines are empty.
    QString line(int k) const { return lines_.value(k); }
    // Lines 1..count, as the results file appends them; empty when nothing was stored.
    QStringList resultLines() const;
    // Lines 0..count.
    QStringList allLines() const;
    // The report whose resultLines() these are: a construction's report taken up again.
    static AirLayerReport fromResultLines(const QStringList& lines);

private:
    void write(int start, const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t);

    QStringList lines_;
    int count_ = 0;
};

}  // namespace ogrado
