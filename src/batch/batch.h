// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ogrado_calc: the calculation without windows. Reads the reference data and a case
// file (the main window's control names with their values), runs what the window's
// buttons run and prints the report or a JSON object.
#include "chart/chart_form.h"
#include "document/calc_document.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace ogrado {

// Runs the batch front end with the program's arguments (without the program name).
// `chartWriter` draws the chart for --chart, `documentWriter` writes the documents of
// --pdf and --odt; without them these options are refused. Returns the exit status:
// 0 finished, 1 stopped with a message, 2 bad arguments, data or case file.
int runBatch(const QStringList& args, QTextStream& out, QTextStream& err,
             const ChartForm::ImageWriter& chartWriter = {}, const DocumentWriter& documentWriter = {});

// runBatch on the arguments of the running application, writing to standard output and
// standard error in UTF-8. Returns the exit status.
int runBatchOnConsole(const ChartForm::ImageWriter& chartWriter = {}, const DocumentWriter& documentWriter = {});

}  // namespace ogrado
