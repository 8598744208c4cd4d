// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The verdict of the last main calculation in a few lines the user reads at a glance:
// the overall conclusion, one line per criterion of ТКП 45-2.04-43 (Rт against Rт.тр.,
// Rт against Rт.норм of table 5.1, п. 9.1 at every boundary) and, for information only, the inner-surface temperature
// against the dew point of the inside air.
#include "engine/calc_state.h"
#include "refdata/ref_tables.h"

#include <QString>

namespace ogrado {

struct CalcVerdict {
    enum class Status { None, Complies, Fails };
    Status status = Status::None;  // None: the run did not reach the conclusion
    QString summary;       // "СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43" …
    QString resistance;    // "Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"
    QString normative;     // "Rт = 3,18 < Rт.норм = 3,2 — не выполнено", or that none was given
    QString vapour;        // "п. 9.1 — выполнено на всех границах"
    QString innerSurface;  // "τв = 17,3 °С, точка росы 8,8 °С — …", not part of the verdict
};

// The texts of a calculation's verdict, from its own results: Rт and Rт.тр. as the run
// compared them, the boundaries it checked, and the inner-surface temperature of the
// field it showed (the first point) against the dew point of the inside air ев,
// found by the inverse lookup in the saturation table.
CalcVerdict verdictOf(const CalcState& state, const SaturationTable& sat);

// The summary line of a calculation that did not reach its conclusion.
QString unfinishedVerdictText();

}  // namespace ogrado
