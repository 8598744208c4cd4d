#pragma once
// ogrado_calc: the calculation without windows. Reads the reference data and a case
// file (the main window's control names with their values), runs what the window's
// buttons run and prints the report or a JSON object.
#include "chart/chart_form.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace ogrado {

// Runs the batch front end with the program's arguments (without the program name).
// `chartWriter` draws the chart for --chart; without one --chart is refused. Returns the
// exit status: 0 finished, 1 stopped with a message, 2 bad arguments, data or case file.
int runBatch(const QStringList& args, QTextStream& out, QTextStream& err,
             const ChartForm::ImageWriter& chartWriter = {});

}  // namespace ogrado
