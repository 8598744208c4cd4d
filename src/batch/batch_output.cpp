// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_output.h"

#include "airlayer/airlayer_form.h"
#include "mainwindow/main_form.h"
#include "moisture/moisture_form.h"

#include <QJsonArray>
#include <QTextStream>

namespace ogrado {

namespace {

QJsonValue number(double v)
{
    return QJsonValue(v);
}

QJsonValue optionalNumber(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

}  // namespace

QJsonObject layerTableJson(const LayerTable& t)
{
    QJsonObject header{{"N", t.count()},           {"alphaIn", t.header.alphaIn}, {"alphaOut", t.header.alphaOut},
                       {"tIn", t.header.tIn},      {"phiIn", t.header.phiIn},     {"tHeat", t.header.tHeat},
                       {"phiHeat", t.header.phiHeat}, {"eHeat", t.header.eHeat},   {"zHeat", t.header.zHeat}};
    QJsonArray layers;
    for (const LayerRow& r : t.layers) {
        layers.append(QJsonObject{{"number", r.cell(kColNumber)},
                                  {"name", r.name},
                                  {"thickness", r.cell(kColThickness)},
                                  {"points", r.cell(kColPoints)},
                                  {"lambdaA", r.cell(kColLambdaA)},
                                  {"lambdaB", r.cell(kColLambdaB)},
                                  {"sA", r.cell(kColSA)},
                                  {"sB", r.cell(kColSB)},
                                  {"mu", r.cell(kColMu)},
                                  {"sourceRow", r.sourceRow}});
    }
    return QJsonObject{{"header", header}, {"layers", layers}};
}

void printLayerTable(const LayerTable& t, QTextStream& out)
{
    const LayerTableHeader& h = t.header;
    out << "N;alphaIn;alphaOut;tIn;phiIn;tHeat;phiHeat;eHeat;zHeat\n";
    out << t.count() << ';' << h.alphaIn << ';' << h.alphaOut << ';' << h.tIn << ';' << h.phiIn << ';' << h.tHeat
        << ';' << h.phiHeat << ';' << h.eHeat << ';' << h.zHeat << "\n";
    out << "number;name;thickness;points;lambdaA;lambdaB;sA;sB;mu;sourceRow\n";
    for (const LayerRow& r : t.layers) {
        out << r.cell(kColNumber) << ';' << r.name;
        for (int c = kColThickness; c <= kColMu; ++c)
            out << ';' << r.cell(c);
        out << ';' << r.sourceRow << "\n";
    }
}

QJsonObject resultFieldsJson(const MainForm& form)
{
    QJsonObject fields;
    auto addText = [&](const QString& name) { fields.insert(name, form.text(name)); };
    for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr", "lblQot", "lblRezList"})
        addText(QLatin1String(name));
    for (int k = 1; k <= LayerGridRows; ++k)
        addText(QStringLiteral("txtFiSl_%1").arg(k));
    for (const char* name : {"txtT", "txtPm", "txtPr", "txtRptr", "txtRpv"})
        for (int k = 1; k <= 7; ++k)
            addText(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k));
    for (int k = 1; k <= 5; ++k) {
        const QString name = QStringLiteral("lstRez_%1").arg(k);
        fields.insert(name, QJsonArray::fromStringList(form.items(name)));
    }
    return fields;
}

QJsonObject verdictJson(const MainForm& form)
{
    auto textOrNull = [&](const char* name) {
        const QString t = form.text(QLatin1String(name));
        return t.isEmpty() ? QJsonValue() : QJsonValue(t);
    };
    return QJsonObject{{"summary", textOrNull("lblVerdict")},
                       {"resistance", textOrNull("lblVerdictRt")},
                       {"normative", textOrNull("lblVerdictNorm")},
                       {"vapour", textOrNull("lblVerdictVapour")},
                       {"innerSurface", textOrNull("lblVerdictSurface")}};
}

QJsonObject calcJson(const MainForm& form, const CalcReport& report, const std::optional<EnvelopeOutcome>& outcome,
                     const QString& error)
{
    QJsonObject o;
    const CalcState st = outcome ? outcome->state : CalcState{};
    const bool cond = st.reached >= CalcState::kCondition;
    const bool res = st.reached >= CalcState::kResistances;
    const bool inert = st.reached >= CalcState::kInertia;
    o.insert("conditionLetter", cond ? QJsonValue(st.conditionLetter) : QJsonValue());
    o.insert("RtPreliminary", res ? number(st.rtPreliminary) : QJsonValue());
    o.insert("Rt", inert ? number(st.rt) : QJsonValue());
    o.insert("Rp", res ? number(st.rp) : QJsonValue());
    o.insert("D", inert ? number(st.D) : QJsonValue());
    o.insert("tnIndex", inert ? QJsonValue(st.tnIndex) : QJsonValue());
    o.insert("tn", inert ? QJsonValue(st.tnText) : QJsonValue());
    o.insert("Rtr", optionalNumber(st.rtRequired));
    o.insert("RtNorm", optionalNumber(st.rtNormative));
    o.insert("heatLoss", optionalNumber(st.heatLoss));
    o.insert("complies", st.finished ? QJsonValue(st.complies ? 1 : 0) : QJsonValue());
    QJsonArray phiMean;
    for (const LayerResult& r : st.layers)
        phiMean.append(optionalNumber(r.phiMean));
    o.insert("phiMean", phiMean);
    QJsonArray boundaries;
    if (st.finished) {
        for (int i = 0; i + 1 < st.layers.size(); ++i) {
            const LayerResult& r = st.layers[i];
            boundaries.append(QJsonObject{{"t", r.tBoundary},
                                          {"E", r.eSatBoundary},
                                          {"e", r.eBoundary},
                                          {"rpFromInside", r.rpFromInside},
                                          {"rpToOutside", r.rpToOutside},
                                          {"rpRequired", r.rpRequired},
                                          {"passes", r.passes}});
        }
    }
    o.insert("boundaries", boundaries);
    QJsonArray points;
    if (outcome && outcome->lists) {
        for (int j = 0; j < st.pointCount(); ++j) {
            const CalcPoint& p = st.points[j];
            points.append(QJsonObject{{"label", outcome->lists->columns[0].value(j)},
                                      {"t", double(p.t)},
                                      {"E", double(p.E)},
                                      {"e", double(p.e)},
                                      {"phi", double(p.phi)}});
        }
    }
    o.insert("points", points);
    o.insert("fields", resultFieldsJson(form));
    o.insert("verdict", verdictJson(form));
    o.insert("report", QJsonArray::fromStringList(report.lines()));
    o.insert("error", error.isEmpty() ? QJsonValue() : QJsonValue(error));
    return o;
}

QJsonArray provenanceJson(const QVector<UsedReference>& used)
{
    QJsonArray list;
    for (const UsedReference& u : used) {
        if (!needsChecking(u.origin.status))
            continue;
        QJsonObject o{{"quantity", u.quantity}, {"table", u.table},   {"row", u.row},
                      {"column", u.column},     {"value", u.text},    {"status", statusText(u.origin.status)},
                      {"source", u.origin.source}};
        o.insert("detail", u.detail.isEmpty() ? QJsonValue() : QJsonValue(u.detail));
        list.append(o);
    }
    return list;
}

QJsonObject moistureJson(const MoistureForm& m, const QStringList& messages)
{
    QJsonArray months;
    const QStringList keys = {"tn", "phiN", "tv", "phiV", "gIn", "gOut", "tPlane", "balance"};
    const qsizetype rows = m.items(QStringLiteral("lstV_1")).size();
    for (qsizetype row = 0; row < rows; ++row) {
        QJsonObject month;
        for (int k = 1; k <= 8; ++k)
            month.insert(keys[k - 1], m.items(QStringLiteral("lstV_%1").arg(k)).value(row));
        months.append(month);
    }
    const MoistureTotals& t = m.totals();
    return QJsonObject{
        {"caption", m.caption()},
        {"months", months},
        {"totals", QJsonArray{m.text("txtV_0"), m.text("txtV_1"), m.text("txtV_2")}},
        {"values", QJsonObject{{"accumulated", t.accumulated},
                               {"summerDrying", t.summerDrying},
                               {"heatingDrying", t.heatingDrying}}},
        {"messages", QJsonArray::fromStringList(messages)},
    };
}

QStringList moistureLines(const MoistureForm& m)
{
    QStringList lines;
    lines << QString() << m.caption()
          << QStringLiteral("Месяц;tн.;фи(н.);tв.;фи(в.);g(в.);g(н.);t(гр.);g(в.)-g(н.)");
    const QStringList months = m.items(QStringLiteral("lstV_0"));
    const qsizetype rows = m.items(QStringLiteral("lstV_1")).size();
    for (qsizetype row = 0; row < rows; ++row) {
        QString line = months.value(row);
        for (int k = 1; k <= 8; ++k)
            line += u';' + m.items(QStringLiteral("lstV_%1").arg(k)).value(row);
        lines << line;
    }
    lines << QStringLiteral("За период влагонакопления поступило воды, г/м2;") + m.text("txtV_0")
          << QStringLiteral("За период высыхания может диффундировать воды, г/м2;") + m.text("txtV_1")
          << QStringLiteral("За отопительный период может диффундировать воды, г/м2;") + m.text("txtV_2");
    return lines;
}

QJsonObject airLayerJson(const AirLayerForm& f)
{
    QJsonObject fields;
    for (int k = 0; k <= 13; ++k) {
        const QString name = QStringLiteral("txtOut_%1").arg(k);
        fields.insert(name, f.text(name));
    }
    QJsonObject values;
    if (f.lastError().isEmpty() && f.lastResults() && f.lastInputs()) {
        const AirLayerResults& r = *f.lastResults();
        const AirLayerInputs& in = *f.lastInputs();
        values = QJsonObject{{"d", r.d},         {"Tc", r.Tc},         {"Tcalc", r.Tcalc},   {"V", r.V},
                             {"i", r.i},         {"Th", r.Th},         {"Eint", r.Eint},     {"Eext", r.Eext},
                             {"eint", r.eint},   {"eext", r.eext},     {"B", r.B},           {"eh", r.eh},
                             {"Eh", r.Eh},       {"R1", double(in.R1)}, {"R2", double(in.R2)}, {"Rp1", in.Rp1},
                             {"Rp2", in.Rp2},    {"ALm", r.ALm},       {"LAint", r.LAint},   {"LAext", r.LAext},
                             {"SymEp", r.SymEp}, {"M", r.M}};
    }
    return QJsonObject{{"fields", fields},
                       {"values", values},
                       {"report", QJsonArray::fromStringList(f.report().allLines())},
                       {"error", f.lastError().isEmpty() ? QJsonValue() : QJsonValue(f.lastError())}};
}

QJsonObject selectionJson(int layer, const std::optional<ThicknessSelection>& selection)
{
    QJsonArray rows;
    QJsonValue answer;
    if (selection) {
        for (const ThicknessCandidate& r : selection->rows) {
            rows.append(QJsonObject{
                {"thickness", r.thickness},
                {"Rt", r.rt},
                {"D", r.D},
                {"tn", r.tn},
                {"Rtr", r.rtRequired},
                {"heatOk", r.heatOk},
                {"RtNorm", r.rtNormative ? QJsonValue(*r.rtNormative) : QJsonValue()},
                {"normOk", r.normOk},
                {"heatLoss", r.heatLoss ? QJsonValue(*r.heatLoss) : QJsonValue()},
                {"vapourOk", r.vapourOk},
                {"firstFailing", r.firstFailing > 0 ? QJsonValue(r.firstFailingText()) : QJsonValue()},
                {"accumulated", r.moisture ? QJsonValue(r.moisture->accumulated) : QJsonValue()},
                {"complies", r.complies}});
        }
        if (selection->answer >= 0)
            answer = selection->rows[selection->answer].thickness;
    }
    return QJsonObject{{"layer", layer}, {"rows", rows}, {"answer", answer}};
}

}  // namespace ogrado
