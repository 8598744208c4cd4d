// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The summary of a project: one row per construction with its mark, name, type and the
// main results of its last calculation, as the window «Сводка по проекту» shows it and
// copies it for a spreadsheet.
#include "mainwindow/main_form.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ogrado {

struct ProjectSummary {
    QStringList headings;
    QVector<QStringList> rows;  // in the order of the construction bar
    // A row whose results no longer belong to the input, or that has none: greyed.
    QVector<bool> stale;

    // Tab-separated lines, headings first: pasted into a spreadsheet, a cell each.
    QString tabSeparated() const;
};

// The row of one construction: `input` is its main-window input, `results` its last
// calculation.
QStringList summaryRow(const Construction& construction, const QJsonObject& input,
                       const ConstructionResults& results, const SaturationTable& sat);
QStringList summaryHeadings();

// The summary of the project the main window holds.
ProjectSummary projectSummary(const MainForm& main);

}  // namespace ogrado
