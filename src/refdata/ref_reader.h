// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Readers of the four reference data files in the data directory.
#include "refdata/ref_tables.h"

#include <QHash>

namespace ogrado {

extern const char* const kNormativeFile;    // "СтенарийТКП.txt"
extern const char* const kMaterialsFile;    // "Стенарий материалы ТКП.txt"
extern const char* const kTemperatureFile;  // "СтенарийКлиматТемпература.txt"
extern const char* const kHumidityFile;     // "СтенарийКлиматВлажность.txt"
// Optional: "СтенарийТКП Rт.норм.txt", table 5.1; a missing file means no values.
extern const char* const kNormativeResistanceFile;

// Each reader takes the file's lines; `path` names the file in messages. A malformed
// file throws AppError naming the file and the line.
void readNormativeTables(const QStringList& lines, const QString& path, RefTables& tables);
MaterialTable readMaterials(const QStringList& lines);
// One header line, then "name; Rт.норм" per line (empty lines skipped). A line of
// another shape, a value that is not a number above 0, a name given twice, or a header
// that is a data line throws AppError naming the file and the line.
NormativeResistanceTable readNormativeResistances(const QStringList& lines, const QString& path);
// The row of `table` for the envelope type named `envelopeType` (0-based), or -1: the
// row whose kind of envelope (walls; roofs and attic floors; floors over passages;
// floors over basements and undergrounds; glazing) covers every kind the type's name
// names, when exactly one row does.
int normativeRowOf(const QString& envelopeType, const NormativeResistanceTable& table);
// Temperature and humidity lines are matched by their order (blank lines skipped); the
// station each humidity line names must be the one of its temperature line, or AppError
// names both files and lines.
ClimateTable readClimate(const QStringList& temperatureLines, const QStringList& humidityLines,
                         const QString& temperaturePath, const QString& humidityPath);

// The names of the four files, in the order they are read.
QStringList referenceFileNames();

// Reads all four files from `dataDir`, in the order normative tables, materials,
// temperature, humidity, and after the materials the user's own materials when their
// file exists. Throws AppError naming the file that failed; a damaged file of own
// materials is not an error: the tables then hold the shipped materials and
// `userMaterialsProblem` says what is wrong. The optional file of table 5.1 follows the
// climate when it exists. The provenance file is read last (see
// readProvenance). `replaced` gives, by file name, lines to read in place of a file's
// own: an edit is checked by the readers before it is written.
RefTables loadReferenceData(const QString& dataDir, const QHash<QString, QStringList>& replaced = {});

// Reads the provenance file of `dataDir` into the tables: none when it is absent, and
// when it is damaged none either, with `provenanceProblem` saying why.
void readProvenance(const QString& dataDir, RefTables& tables);

// Splits a line at ";" into trimmed fields; a ";" at the very end of the line ends
// the last field and does not start an empty one.
QStringList splitFields(const QString& line);

}  // namespace ogrado
