#pragma once
// The main calculation after ТКП 45-2.04-43: operating condition, Rт and Rп, the
// temperature and vapour field, the refined Rт after п. 5.14, D, tн, Rт.тр., the
// vapour-permeation check after п. 9.1 at every boundary, and the full report.
#include "engine/layer_table.h"
#include "common/colors.h"
#include "engine/calc_report.h"
#include "engine/calc_state.h"
#include "refdata/ref_tables.h"

#include <QtGlobal>

#include <array>
#include <optional>

namespace ogrado {

// Values the calculation reads from the main window besides the collected table.
struct EnvelopeInputs {
    std::array<QString, 4> tn;  // txtTn_1..4: T1(0.98), T1(0.92), T3(0.92), T5(0.92)
    QString n;                  // txtN
    QString tempDiff;           // txtTp: Δt(в)
    QString rtNorm;             // txtRtNorm: Rт.норм of table 5.1; empty: not checked
    bool refine = false;        // chkPr: "Уточнять Rt по п. 5,14 ТКП"
    // captions written into the report's source data
    QString buildingType;     // lblTipZd
    QString nCaption;         // lblN
    QString alphaInCaption;   // lblAlv
    QString alphaOutCaption;  // lblAln
    QString envelopeCaption;  // lblTp
    QString region;           // cboObl
};

// A main-window field the calculation writes.
struct FieldUpdate {
    QString name;
    std::optional<QString> text;
    std::optional<Rgb> background;
};

// The five result lists (point name, t, E, e, φ) with their caption and sizing.
struct ResultLists {
    QString caption;
    std::array<QStringList, 5> columns;
    int listHeightTwips = 2220;
    int windowHeightTwips = 11930;
};

struct EnvelopeMessage {
    QString text;
    QString title;
    FieldRef field;  // the inputs the message is about (main-window fields)
};

struct EnvelopeOutcome {
    CalcState state;
    QVector<FieldUpdate> updates;  // in the order the run writes them
    std::optional<ResultLists> lists;
    std::optional<EnvelopeMessage> warning;  // the run ended at the missing Δt(в)
    std::optional<EnvelopeMessage> error;    // the run stopped at an error or was refused
    // The input the run used: the collected table (with μ = 0 written back as 0,00001)
    // and the values read from the main window. Documents of the calculation show these,
    // whatever the window holds by then.
    LayerTable table;
    EnvelopeInputs inputs;
    bool finished() const { return state.finished; }
    bool complies() const { return state.complies; }
    // Refused before anything was calculated: there is no result of it at all.
    bool refused() const { return error && state.reached == CalcState::kNothing; }
};

// Runs the whole calculation on the collected table. Writes μ = 0.00001 back into the
// table where μ is 0. Restarts `report` and writes every line; a run that stops early
// leaves the lines written so far. Never throws for bad input: the outcome carries the
// warning or the error message. Every input is read and checked first: no layers, a
// text that is not a number or a value outside its physical limits refuses the run
// (refused(), the report store left empty, the result fields emptied). A value that
// is not finite stops the run with a message naming it.
EnvelopeOutcome RunEnvelopeCalculation(LayerTable& table, const EnvelopeInputs& inputs, const SaturationTable& sat,
                                       CalcReport& report);

// The same calculation; with `report` null, for a search that keeps only the results
// of each run: no report line, no field text (`updates` stays empty) and no result
// list is produced, while CalcState, finished(), complies() and the messages are those
// of the full run.
EnvelopeOutcome RunEnvelopeCalculation(LayerTable& table, const EnvelopeInputs& inputs, const SaturationTable& sat,
                                       CalcReport* report);

// A run refused before the calculation for a reason of the window (an incomplete
// layer): the result fields emptied as a run empties them, the report store emptied,
// and the reason as the error.
EnvelopeOutcome RefusedEnvelopeRun(CalcReport& report, const EnvelopeMessage& why);

// Recomputes the point field and refills the result lists. With `refine` each layer
// takes its own condition (А where its mean humidity is at most 75 %, otherwise Б),
// captioned "Результаты по уточненному Rt"; without it every layer takes the column of
// the preliminary condition, captioned "Результаты предварительных расчетов". Throws
// AppError.
ResultLists RecalculateRefinedField(const LayerTable& table, CalcState& state, bool refine,
                                    const SaturationTable& sat);
// The point field of RecalculateRefinedField without the lists.
void RecalculateField(const LayerTable& table, CalcState& state, bool refine, const SaturationTable& sat);

// The result lists of a point field, sized for the number of points.
ResultLists resultListsOf(const CalcState& state, const QString& caption);

}  // namespace ogrado
