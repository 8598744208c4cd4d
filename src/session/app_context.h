// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What lives for the whole run of the program: settings, reference tables, the
// collected layer table, the last calculation and the report stores.
#include "engine/layer_table.h"
#include "session/settings.h"
#include "common/prompter.h"
#include "common/window_host.h"
#include "engine/calc_report.h"
#include "engine/envelope_calc.h"
#include "refdata/ref_tables.h"

#include <functional>
#include <optional>

namespace ogrado {

struct AppContext {
    explicit AppContext(Prompter& prompter) : prompter(prompter)
    {
        // The report of the envelope calculation opens every output.
        reportBlocks.append({QStringLiteral("Расчет"), QString(), [this] { return report.lines(); }});
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompter& prompter;
    WindowHost* host = nullptr;
    ProgramSettings settings;
    RefTables tables;
    LayerTable layerTable;          // as last collected
    CalcReport report;              // lines of the last calculation
    std::optional<EnvelopeOutcome> lastCalc;  // the last main calculation
    // The reference values the last main calculation rests on, with their origin, and
    // the climate of the monthly balance that "Расчет" ran after it.
    QVector<UsedReference> lastCalcReferences;
    QVector<UsedReference> moistureReferences;
    QVector<UsedReference> calcReferences() const { return lastCalcReferences + moistureReferences; }
    // The air-gap report lines of the construction shown (what its report block holds):
    // the air-gap window writes them, a construction taken up again brings its own.
    QStringList airLayerReportLines;
    // The blocks of the results file, the documents and the print, in their order: the
    // report above, then those the program registers (the air gap …).
    ReportBlocks reportBlocks;

    // The source-data file (".isx") the input was last opened from or saved to, empty
    // for new input, and its summary.
    QString sourceDataPath;
    QString sourceDataSummary;
    // The settings file that keeps the list of recent source-data files; empty: no list
    // is kept (ogrado_calc, tests).
    QString recentFilesStore;

    // Lets pending window events run during a long loop (set by the windows).
    std::function<void()> processEvents;
    void yieldToEvents() const
    {
        if (processEvents)
            processEvents();
    }

    // A calculation is running: no other may start from a yielded event.
    bool busy() const { return activeRuns > 0; }
    int activeRuns = 0;
};

// Marks a calculation as running for its lifetime.
class RunGuard {
public:
    explicit RunGuard(AppContext& ctx) : ctx_(ctx) { ++ctx_.activeRuns; }
    ~RunGuard() { --ctx_.activeRuns; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    AppContext& ctx_;
};

}  // namespace ogrado
