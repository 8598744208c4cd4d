#pragma once
// Readers of the four reference data files in the data directory.
#include "refdata/ref_tables.h"

namespace ogrado {

extern const char* const kNormativeFile;    // "СтенарийТКП.txt"
extern const char* const kMaterialsFile;    // "Стенарий материалы ТКП.txt"
extern const char* const kTemperatureFile;  // "СтенарийКлиматТемпература.txt"
extern const char* const kHumidityFile;     // "СтенарийКлиматВлажность.txt"

// Each reader takes the file's lines; `path` names the file in messages. A malformed
// file throws AppError naming the file and the line.
void readNormativeTables(const QStringList& lines, const QString& path, RefTables& tables);
MaterialTable readMaterials(const QStringList& lines);
// Temperature and humidity lines are matched by line number.
ClimateTable readClimate(const QStringList& temperatureLines, const QStringList& humidityLines);

// The names of the four files, in the order they are read.
QStringList referenceFileNames();

// Reads all four files from `dataDir`, in the order normative tables, materials,
// temperature, humidity, and after the materials the user's own materials when their
// file exists. Throws AppError naming the file that failed; a damaged file of own
// materials is not an error: the tables then hold the shipped materials and
// `userMaterialsProblem` says what is wrong.
RefTables loadReferenceData(const QString& dataDir);

// Splits a line at ";" into trimmed fields; a ";" at the very end of the line ends
// the last field and does not start an empty one.
QStringList splitFields(const QString& line);

}  // namespace ogrado
