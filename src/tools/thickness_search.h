// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Selecting the thickness of one layer: for each candidate thickness the whole main
// calculation (and, when asked, the monthly moisture balance) runs on a copy of the
// collected table; the answer is the thinnest candidate that meets every criterion.
// Every candidate is calculated: D selects tн, п. 9.1 gets harder as the plane behind
// an outer insulation cools, and the refined λ depends on the humidity, so compliance
// need not grow with the thickness.
#include "engine/envelope_calc.h"
#include "engine/layer_table.h"
#include "moisture/moisture_calc.h"
#include "refdata/ref_tables.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

namespace ogrado {

// At most this many candidates per selection.
constexpr int kMaxThicknessCandidates = 10000;

// The candidates from "от" to "до" by "шаг", mm, ascending; a step that does not land
// on "до" stops before passing it. Throws AppError naming the entry when a text is
// empty or not a number, when "от" or the step is not above 0, when "от" is above "до",
// when there would be more than kMaxThicknessCandidates candidates or when the last
// one is thicker than a layer may be (10 000 mm).
// "Нет слоев для подбора: …": the table has no layer with a thickness.
extern const QString kNoLayersToSelect;

QVector<double> thicknessRange(const QString& from, const QString& to, const QString& step);

// The candidates of a list of product thicknesses "50;80;100", mm, sorted ascending,
// each once. Empty items between separators are skipped. Throws AppError when the
// list is empty or an item is not a number above 0 and at most 10 000 mm.
QVector<double> thicknessList(const QString& list);

// The default "от": the thickness rounded down to a multiple of the step, as a text;
// the step itself when that is 0 or less; empty when either is not a number.
QString defaultFromThickness(const QString& thickness, const QString& step);

// The layer whose λ is the smallest (the column of the operating condition of the
// header's inside air; λА when that cannot be read), 1-based; the first of equals.
// 1 when no λ can be read, 0 for an empty table.
int layerWithSmallestLambda(const EnvelopeInput& input);

// What every candidate shares: the main window's input (each candidate gives the chosen
// layer its thickness as a number) and the criteria.
struct ThicknessCase {
    EnvelopeInput input;  // the main window's input read once
    int layer = 1;        // the layer's number in the collected table
    const SaturationTable* saturation = nullptr;
    bool vapourCriterion = true;  // п. 9.1 at every boundary is judged
    // The monthly moisture balance at the plane behind layer `planeLayer`; when set, a
    // candidate complies only when what accumulates does not exceed what dries in summer.
    struct Moisture {
        const ClimateRecord* city = nullptr;
        int planeLayer = 0;
        bool operator==(const Moisture&) const = default;
    };
    std::optional<Moisture> moisture;

    // Whether two cases calculate the same thing but for the chosen layer's thickness.
    bool sameButThickness(const ThicknessCase& other) const;
};

struct ThicknessCandidate {
    double thickness = 0;  // δ, mm
    double rt = 0;         // Rт (refined when the refine flag is ticked)
    double D = 0;
    QString tnText;  // the chosen txtTn text
    double tn = 0;
    double rtRequired = 0;  // Rт.тр.
    bool heatOk = false;    // Rт ≥ Rт.тр.
    std::optional<double> rtNormative;  // Rт.норм of table 5.1, when given
    bool normOk = true;                 // Rт ≥ Rт.норм (true when none is given)
    std::optional<double> heatLoss;     // кВт·ч/м2 over the heating period, for information
    bool vapourOk = false;  // п. 9.1 at every boundary
    int firstFailing = 0;   // the boundary after this layer fails first; 0: none fails
    std::optional<MoistureTotals> moisture;
    bool moistureOk = true;  // accumulated ≤ summer drying (true when not calculated)
    bool complies = false;   // every criterion of the case holds

    // "2-3" for the boundary between layers 2 and 3; empty when none fails.
    QString firstFailingText() const;
};

// The whole main calculation for one thickness, on a copy of the case's input, keeping
// only its results (no report lines, no field texts). Throws AppError naming the
// thickness when the calculation or the moisture balance stops.
ThicknessCandidate EvaluateThickness(const ThicknessCase& c, double thickness);
// The same with the climate of the case's city read once for every candidate.
ThicknessCandidate EvaluateThickness(const ThicknessCase& c, double thickness, const YearClimate* climate);

struct ThicknessSelection {
    QVector<ThicknessCandidate> rows;  // in the order of the candidates
    bool completed = false;            // every candidate was calculated
    int answer = -1;                   // index of the thinnest complying candidate

    // Thicker candidates than the answer that do not comply (indices).
    QVector<int> thickerFailing() const;
};

// Checks the case before a search; throws AppError (no layers, no such layer, a
// moisture plane without a layer on each side, no city).
void checkThicknessCase(const ThicknessCase& c);

// Calculates every candidate in order; `candidateDone` sees each row after it is
// calculated and returns false to stop. The climate of the moisture criterion is read
// (and checked) once, before the first candidate. The answer is chosen among the rows
// calculated. Throws AppError when a candidate cannot be calculated.
ThicknessSelection SearchThickness(const ThicknessCase& c, const QVector<double>& candidates,
                                   const std::function<bool(const ThicknessCandidate&)>& candidateDone = {});

// Why no candidate complies: the criteria no candidate met, or, when each was met by
// some, that none met them together.
QString noThicknessReason(const ThicknessCase& c, const QVector<ThicknessCandidate>& rows);

// The sentence on thicker candidates that fail although the answer complies; empty
// when there are none.
QString nonMonotoneNote(const ThicknessSelection& s);

// The cells of a candidate's row, in the order of the selection's columns:
// "Толщина, мм;Rт;Теплопотери, кВт·ч/м2;D;tн;Rт.тр.;Rт≥Rт.тр.;Rт≥Rт.норм;п. 9.1;Граница;
// Накопление, г/м2;Высыхание летом, г/м2;Соответствует".
QStringList thicknessCandidateCells(const ThicknessCandidate& r);

// The selection as text lines: a heading, the column line, one line per candidate and
// the answer (or why there is none), with the note on thicker candidates.
QStringList thicknessSelectionLines(const ThicknessCase& c, const ThicknessSelection& s);

}  // namespace ogrado
