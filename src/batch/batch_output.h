#pragma once
// What ogrado_calc prints: the collected input, the results of the main calculation
// and of the other windows, as JSON objects or text lines, exactly as the windows
// show them.
#include "engine/calc_report.h"
#include "engine/envelope_calc.h"
#include "engine/layer_table.h"
#include "tools/thickness_search.h"

#include "refdata/provenance.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <optional>

class QTextStream;

namespace ogrado {

class AirLayerForm;
class MainForm;
class MoistureForm;

QJsonObject layerTableJson(const LayerTable& t);
void printLayerTable(const LayerTable& t, QTextStream& out);

// Every result field and list of the main window, as the window shows them.
QJsonObject resultFieldsJson(const MainForm& form);
// The verdict lines under the main window's results, as the window shows them:
// summary, resistance, vapour, innerSurface (null when empty).
QJsonObject verdictJson(const MainForm& form);
// The results of the last main calculation, the window's fields and the report.
QJsonObject calcJson(const MainForm& form, const CalcReport& report, const std::optional<EnvelopeOutcome>& outcome,
                     const QString& error);

// The reference values a calculation used whose origin needs checking (placeholders,
// derived values, values of the predecessor codes): what the value is, its table, row,
// column and text, its status and source.
QJsonArray provenanceJson(const QVector<UsedReference>& used);

// The month table of the moisture window as the window shows it.
QJsonObject moistureJson(const MoistureForm& m, const QStringList& messages);
QStringList moistureLines(const MoistureForm& m);

// The thickness selection: the layer's number, a row per candidate calculated and the
// answer in mm (null when no candidate complies or nothing was selected).
QJsonObject selectionJson(int layer, const std::optional<ThicknessSelection>& selection);

// The air-gap window's result fields, the values behind them, its report and error.
QJsonObject airLayerJson(const AirLayerForm& f);

}  // namespace ogrado
