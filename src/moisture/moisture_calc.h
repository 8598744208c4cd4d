#pragma once
// The monthly moisture balance at the plane behind the moistened layer: the vapour
// flux that reaches the plane from the room against the flux that leaves it towards
// the outside, month by month.
#include "engine/calc_state.h"
#include "engine/layer_table.h"
#include "refdata/ref_tables.h"

#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace ogrado {

// Water collected in the plane and what can dry out again, g/m².
struct MoistureTotals {
    double accumulated = 0;    // months in which the inflow exceeds the outflow
    double summerDrying = 0;   // June to August, both directions
    double heatingDrying = 0;  // January to May, condensation conditions but outflow not below inflow
};

// What a month's calculation works on: the collected layers, the refine flag and the
// plane of possible condensation (the boundary after layer `planeLayer`, 1-based).
struct MoistureSetup {
    const LayerTable* table = nullptr;
    const SaturationTable* saturation = nullptr;
    bool refine = false;
    int planeLayer = 0;
    bool pointLists = true;  // fill the point lists of the result (texts); the flag is set either way
};

struct MoistureMonthResult {
    bool condensation = false;  // φ above 100 % at some point of the field
    double dailyBalance = 0;    // (g(в.) − g(н.))/30, g/m² per day (month 0 only)
    // month-list texts (months 1..12 only): t(гр.), g(в.), g(н.), g(в.)−g(н.)
    QString tPlane, gIn, gOut, balance;
    // the point lists: name, t, E, e, φ
    std::array<QStringList, 5> points;
};

// The air of month m (1..12) for the monthly balance: the city's mean outside air, the
// design inside air; June to August 12 °С and 70 % inside and outside. Texts as shown.
struct MonthAir {
    QString tn, phiN, tv, phiV;
};
// June to August: the balance takes its fixed summer air, not the city's.
bool isSummerMonth(int month);
MonthAir monthAir(const ClimateRecord& city, int month, const QString& tIn, const QString& phiIn);

// The number of a climate value; throws AppError naming the city, month and value,
// also for a humidity outside 0 < фи ≤ 100 %.
double climateNumber(const QString& text, const ClimateRecord& city, int month, bool humidity);

// What every month of a balance shares: the layers as numbers (μ = 0 taken as
// 0,00001), α, the operating condition of the design inside air, Rт of that condition,
// Rп and the point list. Throws AppError for a value that is not a number, λ = 0 or
// Rп = 0.
struct MoistureEnvelope {
    QVector<LayerValues> values;
    double alphaIn = 0, alphaOut = 0;
    bool conditionA = true;
    double rt = 0, rp = 0;
    QVector<CalcPoint> points;
    QStringList labels;
};
MoistureEnvelope prepareMoistureEnvelope(const MoistureSetup& setup);

// One month of the balance (month 1..12, totals updated) or a single case (month 0,
// the daily balance returned). Throws AppError for a value that is not a number, a
// temperature outside the saturation table or a plane without vapour resistance on one
// side.
MoistureMonthResult CalcMoistureMonth(const MoistureSetup& setup, double tv, double phiV, double tn, double phiN,
                                      int month, MoistureTotals& totals);
// The same on an envelope prepared once for several months.
MoistureMonthResult CalcMoistureMonth(const MoistureSetup& setup, const MoistureEnvelope& envelope, double tv,
                                      double phiV, double tn, double phiN, int month, MoistureTotals& totals);

// The outside air of the twelve months as numbers (June to August 12 °С and 70 %), each
// value checked in the order of the months, temperature before humidity: read once for
// a balance, or once for every candidate of a search. Throws AppError as climateNumber.
struct YearClimate {
    std::array<double, 12> tn{};
    std::array<double, 12> phiN{};
};
YearClimate yearClimate(const ClimateRecord& city);

// The twelve months of the balance for the city's climate and the design inside air
// (texts of the collected table), in order; `monthStarting` sees each month's air
// before it is calculated, `monthDone` its result. Returns the totals. Throws AppError
// as CalcMoistureMonth does, and for a climate value that is not a number.
struct MoistureYearHooks {
    std::function<void(int month, const MonthAir& air)> monthStarting;
    std::function<void(int month, const MoistureMonthResult& result)> monthDone;
};
MoistureTotals RunMoistureYear(const MoistureSetup& setup, const ClimateRecord& city, const QString& tIn,
                               const QString& phiIn, const MoistureYearHooks& hooks = {});
// The same on a climate already read and the design inside air as numbers.
MoistureTotals RunMoistureYear(const MoistureSetup& setup, const YearClimate& climate, double tv, double phiV);

enum class MarkCheck { Ok, FirstOrLast, NotPenultimate };
// Whether the marked layer k fits the balance of an envelope of n layers.
MarkCheck checkMoistenedLayer(std::optional<int> k, int n);

extern const char* const kMonthNames[12];

}  // namespace ogrado
