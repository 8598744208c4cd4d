// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project_summary.h"

#include "common/number_text.h"
#include "engine/verdict.h"

namespace ogrado {

namespace {

struct RowSource {
    const Construction& construction;
    const QJsonObject& input;
    const ConstructionResults& results;
    const SaturationTable& sat;
};

// The text the run wrote into a result field of the main window, or an empty text.
QString fieldText(const ConstructionResults& r, const char* name)
{
    if (!r.outcome)
        return {};
    QString text;
    for (const FieldUpdate& u : r.outcome->updates) {
        if (u.text && u.name == QLatin1String(name))
            text = *u.text;
    }
    return text;
}

// The message a run stopped or was refused with, on one line.
QString messageOf(const ConstructionResults& r)
{
    std::optional<EnvelopeMessage> m = r.refusal;
    if (!m && r.outcome)
        m = r.outcome->error ? r.outcome->error : r.outcome->warning;
    return m ? QString(m->text).replace(u'\r', u' ').simplified() : QString();
}

bool finished(const ConstructionResults& r)
{
    return r.outcome && r.outcome->finished();
}

// п. 9.1 at the boundaries between layers: "да", or "нет" and the boundaries where it fails.
QString vapourCheck(const RowSource& s)
{
    if (!finished(s.results))
        return {};
    const CalcState& st = s.results.outcome->state;
    QStringList failing;
    const int boundaries = int(st.layers.size()) - 1;
    if (boundaries <= 0)
        return QStringLiteral("границ нет");
    for (int i = 0; i < boundaries; ++i) {
        if (!st.layers[i].passes)
            failing.append(QStringLiteral("%1-%2").arg(i + 1).arg(i + 2));
    }
    return failing.isEmpty() ? QStringLiteral("да") : QStringLiteral("нет: ") + failing.join(QStringLiteral(", "));
}

// The balance of the moisture window's totals, in its own words' order: what comes in
// over the year, what dries out in summer and in the heating period.
QString moistureBalance(const RowSource& s)
{
    if (!s.input.value(QStringLiteral("chkVlaga")).toBool())
        return {};
    if (!s.results.moisture)
        return finished(s.results) ? QStringLiteral("не рассчитано") : QString();
    const MoistureTotals& t = *s.results.moisture;
    return QStringLiteral("%1 / %2 / -%3")
        .arg(formatNumber(t.accumulated, "0"), formatNumber(t.summerDrying, "0"), formatNumber(t.heatingDrying, "0"));
}

// Rт.норм of table 5.1 the run compared Rт with, or "не задано" when it had none.
QString normativeResistance(const RowSource& s)
{
    if (!finished(s.results))
        return {};
    const std::optional<double>& v = s.results.outcome->state.rtNormative;
    return v ? generalText(*v) : QStringLiteral("не задано");
}

// q = 0,024·(tв − t(от.))·z(от.)/Rт, kWh/m², as the main window shows it; empty without z(от.).
QString heatLoss(const RowSource& s)
{
    if (!finished(s.results))
        return {};
    const std::optional<double>& q = s.results.outcome->state.heatLoss;
    return q ? formatNumber(*q, "0.0") : QString();
}

QString verdict(const RowSource& s)
{
    const ConstructionResults& r = s.results;
    if (!r.calculated())
        return QStringLiteral("не рассчитана");
    if (r.refusal)
        return QStringLiteral("не рассчитана: ") + messageOf(r);
    if (!finished(r))
        return QStringLiteral("расчет не завершен: ") + messageOf(r);
    switch (verdictOf(r.outcome->state, s.sat).status) {
    case CalcVerdict::Status::Complies:
        return QStringLiteral("СООТВЕТСТВУЕТ");
    case CalcVerdict::Status::Fails:
        return QStringLiteral("НЕ СООТВЕТСТВУЕТ");
    case CalcVerdict::Status::None:
        break;
    }
    return QStringLiteral("расчет не завершен");
}

// The columns of the summary, in order.
struct Column {
    const char* heading;
    QString (*cell)(const RowSource&);
};
const Column kColumns[] = {
    {"Марка", [](const RowSource& s) { return s.construction.mark; }},
    {"Наименование", [](const RowSource& s) { return s.construction.name; }},
    {"Тип конструкции", [](const RowSource& s) { return s.input.value(QStringLiteral("cboTp_0")).toString(); }},
    {"Rт, м²·°С/Вт", [](const RowSource& s) { return fieldText(s.results, "txtRt"); }},
    {"Rт.тр., м²·°С/Вт", [](const RowSource& s) { return fieldText(s.results, "txtRtr"); }},
    {"Rт.норм, м²·°С/Вт", normativeResistance},
    {"D", [](const RowSource& s) { return fieldText(s.results, "txtD"); }},
    {"tн, °С", [](const RowSource& s) { return fieldText(s.results, "txtTnras"); }},
    {"п. 9.1", vapourCheck},
    {"Теплопотери за отопит. период, кВт·ч/м²", heatLoss},
    {"Влагонакопление, г/м²: поступит / высохнет летом / за отопит. период", moistureBalance},
    {"Вывод", verdict},
};

}  // namespace

QStringList summaryHeadings()
{
    QStringList headings;
    for (const Column& c : kColumns)
        headings.append(QString::fromUtf8(c.heading));
    return headings;
}

QStringList summaryRow(const Construction& construction, const QJsonObject& input,
                       const ConstructionResults& results, const SaturationTable& sat)
{
    const RowSource source{construction, input, results, sat};
    QStringList row;
    for (const Column& c : kColumns)
        row.append(c.cell(source));
    return row;
}

ProjectSummary projectSummary(const MainForm& main)
{
    ProjectSummary s;
    s.headings = summaryHeadings();
    const Project& project = main.project();
    for (int i = 0; i < project.count(); ++i) {
        const ConstructionResults results = main.constructionResults(i);
        s.rows.append(summaryRow(project.at(i), main.constructionInput(i), results, main.context().tables.saturation));
        s.stale.append(results.stale || !results.calculated());
    }
    return s;
}

QString ProjectSummary::tabSeparated() const
{
    auto line = [](const QStringList& cells) {
        QStringList clean;
        for (const QString& cell : cells)
            clean.append(QString(cell).replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' '));
        return clean.join(u'\t');
    };
    QStringList lines{line(headings)};
    for (const QStringList& row : rows)
        lines.append(line(row));
    return lines.join(u'\n') + u'\n';
}

}  // namespace ogrado
