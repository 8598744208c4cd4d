// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which reference values a calculation rests on. A value of the main window counts as
// the table's when it is the value the table gives for the entry chosen in the window's
// list (the same number): a value the user typed over it is the user's and is not named.
// A layer's values are a material's when the layer's name is that material's (as the
// material picker inserts it, with or without its "J=…. " density prefix).
#include "engine/envelope_calc.h"
#include "refdata/ref_tables.h"

namespace ogrado {

// The entries of the main window's lists (0-based, -1 for none) a run took its values from.
struct TableChoices {
    int buildingType = -1;    // cboTipZd
    int region = -1;          // cboObl
    int coefficientN = -1;    // cboN
    int alphaIn = -1;         // cboAlv
    int alphaOut = -1;        // cboAln
    int envelopeType = -1;    // cboTp_0
    int envelopeColumn = -1;  // cboTp_1
    int normativeResistance = -1;  // cboRtNorm
};

// The reference values a finished main calculation used, with their origin: t(в), фи(в),
// the heating period's four values, tн, n, α(в), α(н), Δt(в) and each layer's λ, s and μ
// of the columns the calculation took. Nothing for a run that did not finish.
QVector<UsedReference> referencesOfRun(const RefTables& tables, const TableChoices& choices,
                                       const EnvelopeOutcome& outcome);

// The material (0-based) a layer named `layerName` was inserted from, or -1.
int materialOfLayer(const MaterialTable& materials, const QString& layerName);

// The monthly outside air of city `city` (0-based) the monthly balance used, months 1..12.
QVector<UsedReference> referencesOfClimate(const RefTables& tables, int city, const QVector<int>& months);
// The outside air the monthly moisture balance of city `city` rests on: its months
// outside summer.
QVector<UsedReference> referencesOfMoistureBalance(const RefTables& tables, int city);

}  // namespace ogrado
