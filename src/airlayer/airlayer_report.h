// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report block of the ventilated air gap: the inputs and results of a run written
// out as lines, every formula with its numbers. The results file appends the block on
// request; a new run replaces it or is added after the earlier ones.
#include "airlayer/airlayer_calc.h"

#include <QString>
#include <QStringList>

namespace ogrado {

// The texts of the window a block writes as typed.
struct AirLayerReportTexts {
    QString turnsText;  // txtEps as typed, written trimmed
};

// The lines of the report blocks, counted from 0; a run's first line is written at
// `start` + 2 (modes: a new report starts at 1, an appended block at the previous
// count).
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
