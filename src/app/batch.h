#pragma once
// ogrado_calc: the calculation without windows. Reads the reference data and a case
// file (the main window's control names with their values), runs what the window's
// buttons run and prints the report or a JSON object.
#include <QJsonObject>
#include <QString>
#include <QStringList>

class QTextStream;

namespace ogrado {

class MainForm;

// Applies a case object to a loaded main form: lists first (by 0-based index, in the
// order of the window's load sequence, each firing its click), then texts, then check
// boxes and option buttons. Throws AppError naming the key for an unknown control or
// a value of the wrong kind.
void applyCase(MainForm& form, const QJsonObject& caseObject);

// Runs the batch front end with the program's arguments (without the program name).
// Returns the exit status: 0 finished, 1 stopped with a message, 2 bad arguments,
// data or case file.
int runBatch(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace ogrado
