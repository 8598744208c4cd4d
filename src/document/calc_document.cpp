// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/calc_document.h"

#include "common/app_error.h"
#include "common/number_text.h"

#include <QFileInfo>
#include <QHash>

namespace ogrado {

namespace {

// A value with its unit; an empty value stays empty.
QString withUnit(const QString& value, const QString& unit)
{
    const QString v = value.trimmed();
    return v.isEmpty() || unit.isEmpty() ? v : v + u' ' + unit;
}

// What the main window's fields hold after the run: the last text and the last
// background the run wrote into each.
struct WindowFields {
    QHash<QString, QString> texts;
    QHash<QString, Rgb> backgrounds;

    explicit WindowFields(const QVector<FieldUpdate>& updates)
    {
        for (const FieldUpdate& u : updates) {
            if (u.text)
                texts.insert(u.name, *u.text);
            if (u.background)
                backgrounds.insert(u.name, *u.background);
        }
    }
    QString text(const QString& name, const QString& otherwise = QString()) const
    {
        return texts.value(name, otherwise);
    }
    bool highlighted(const QString& name) const { return backgrounds.value(name, kWhite) == kHighlight; }
};

QString indexed(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

QVector<DocumentItem> sourceDataItems(const EnvelopeOutcome& calc, const WindowFields& fields)
{
    const LayerTableHeader& h = calc.input.table.header;
    const EnvelopeInputs& in = calc.input.inputs;
    const QString deg = QStringLiteral("°С");
    const QString alphaUnit = QStringLiteral("Вт/(м²·°С)");
    QVector<DocumentItem> items = {
        {QStringLiteral("Тип здания"), in.buildingType.trimmed(), {}, false},
        {QStringLiteral("Расчетная температура внутреннего воздуха tв"), withUnit(h.tIn, deg), {}, false},
        {QStringLiteral("Расчетная относительная влажность внутреннего воздуха φв"), withUnit(h.phiIn, QStringLiteral("%")),
         {}, false},
        {QStringLiteral("Область"), in.region.trimmed(), {}, false},
        {QStringLiteral("Средняя температура наружного воздуха отопительного периода tот"), withUnit(h.tHeat, deg), {},
         false},
        {QStringLiteral("Средняя относительная влажность наружного воздуха отопительного периода φот"),
         withUnit(h.phiHeat, QStringLiteral("%")), {}, false},
        {QStringLiteral("Среднее парциальное давление водяного пара отопительного периода eот"),
         withUnit(h.eHeat, QStringLiteral("Па")), {}, false},
        {QStringLiteral("Продолжительность отопительного периода zот"), withUnit(h.zHeat, QStringLiteral("сут.")), {},
         false},
    };
    static const char* const designTemperatures[4] = {
        "Средняя температура наиболее холодных суток обеспеченностью 0,98",
        "Средняя температура наиболее холодных суток обеспеченностью 0,92",
        "Средняя температура наиболее холодных трех суток обеспеченностью 0,92",
        "Средняя температура наиболее холодной пятидневки обеспеченностью 0,92",
    };
    for (int k = 1; k <= 4; ++k) {
        const bool chosen = fields.highlighted(indexed("txtTn", k));
        items.append({QString::fromUtf8(designTemperatures[k - 1]), withUnit(in.tn[size_t(k - 1)], deg),
                      chosen ? QStringLiteral("принята расчетной по тепловой инерции D (табл. 5.2 ТКП 45-2.04-43)")
                             : QString(),
                      chosen});
    }
    items += QVector<DocumentItem>{
        {QStringLiteral("Коэффициент n (табл. 5.3 ТКП 45-2.04-43)"), in.n.trimmed(), in.nCaption.trimmed(), false},
        {QStringLiteral("Коэффициент теплоотдачи внутренней поверхности α(в) (табл. 5.4 ТКП 45-2.04-43)"),
         withUnit(h.alphaIn, alphaUnit), in.alphaInCaption.trimmed(), false},
        {QStringLiteral("Коэффициент теплоотдачи наружной поверхности α(н) (табл. 5.7 ТКП 45-2.04-43)"),
         withUnit(h.alphaOut, alphaUnit), in.alphaOutCaption.trimmed(), false},
        {QStringLiteral("Нормативный температурный перепад Δt(в) (табл. 5.5 ТКП 45-2.04-43)"), withUnit(in.tempDiff, deg),
         in.envelopeCaption.trimmed(), false},
        {QStringLiteral("Уточнение Rт по п. 5.14 ТКП 45-2.04-43"),
         in.refine ? QStringLiteral("выполняется") : QStringLiteral("не выполняется"), {}, false},
    };
    return items;
}

QVector<DocumentLayer> layerRows(const LayerTable& table, const WindowFields& fields)
{
    QVector<DocumentLayer> rows;
    for (const LayerRow& layer : table.layers) {
        DocumentLayer row;
        row.cells[kDocNumber] = layer.cell(kColNumber).trimmed();
        row.cells[kDocName] = layer.name.trimmed();
        for (int c = kColThickness; c <= kColMu; ++c) {
            const int column = kDocThickness + (c - kColThickness);
            row.cells[size_t(column)] = layer.cell(c).trimmed();
            // grid cell (row, c) is txt1_k with k = (row − 1)·9 + c
            if (layer.sourceRow >= 1)
                row.marked[size_t(column)] = fields.highlighted(indexed("txt1", (layer.sourceRow - 1) * 9 + c));
        }
        rows.append(row);
    }
    return rows;
}

QVector<DocumentItem> resultItems(const EnvelopeOutcome& calc, const WindowFields& fields)
{
    const CalcState& st = calc.state;
    const QString rUnit = QStringLiteral("м²·°С/Вт");
    QVector<DocumentItem> items = {
        {QStringLiteral("Условия эксплуатации ограждающей конструкции (табл. 4.2 ТКП 45-2.04-43)"), st.conditionLetter,
         {}, false},
        {QStringLiteral("Сопротивление теплопередаче Rт"),
         withUnit(fields.text(QStringLiteral("txtRt"), formatNumber(st.rt, "0.00")), rUnit),
         calc.input.inputs.refine ? QStringLiteral("уточнено по п. 5.14 ТКП 45-2.04-43") : QString(),
         fields.highlighted(QStringLiteral("txtRt"))},
        {QStringLiteral("Сопротивление паропроницанию Rп"),
         withUnit(fields.text(QStringLiteral("txtRp"), formatNumber(st.rp, "0.00")), QStringLiteral("м²·ч·Па/мг")),
         {}, false},
        {QStringLiteral("Тепловая инерция D"), fields.text(QStringLiteral("txtD"), formatNumber(st.D, "0.00")), {},
         false},
        {QStringLiteral("Расчетная зимняя температура наружного воздуха tн"),
         withUnit(fields.text(QStringLiteral("txtTnras"), st.tnText), QStringLiteral("°С")), {}, false},
        {QStringLiteral("Требуемое сопротивление теплопередаче Rт.тр. (формула 5.2 ТКП 45-2.04-43)"),
         withUnit(fields.text(QStringLiteral("txtRtr"), st.rtRequired ? formatNumber(*st.rtRequired, "0.00") : QString()),
                  rUnit),
         {}, false},
    };
    if (st.rtNormative)
        items.append({QStringLiteral("Нормативное сопротивление теплопередаче Rт.норм (табл. 5.1 ТКП 45-2.04-43)"),
                      withUnit(calc.input.inputs.rtNorm.trimmed(), rUnit), {}, false});
    if (st.heatLoss)
        items.append({QStringLiteral("Теплопотери за отопительный период q = 0,024·(tв − tот)·zот/Rт"),
                      withUnit(formatNumber(*st.heatLoss, "0.0"), QStringLiteral("кВт·ч/м²")),
                      QStringLiteral("для сведения, не критерий"), false});
    return items;
}

QVector<DocumentBoundary> boundaryRows(const CalcState& st, const WindowFields& fields)
{
    QVector<DocumentBoundary> rows;
    for (int i = 0; i + 1 < st.layers.size(); ++i) {
        const LayerResult& r = st.layers[i];
        DocumentBoundary b;
        b.label = QStringLiteral("Граница слоев %1-%2").arg(i + 1).arg(i + 2);
        // the window shows seven boundaries; beyond them the same patterns
        const int k = i + 1;
        b.values = {fields.text(indexed("txtT", k), formatNumber(r.tBoundary, "0.00")),
                    fields.text(indexed("txtPm", k), formatNumber(r.eSatBoundary, "0.0")),
                    fields.text(indexed("txtPr", k), formatNumber(r.eBoundary, "0.0")),
                    fields.text(indexed("txtRptr", k), formatNumber(r.rpRequired, "0.000")),
                    fields.text(indexed("txtRpv", k), formatNumber(r.rpFromInside, "0.000"))};
        b.passes = r.passes;
        rows.append(b);
    }
    return rows;
}

}  // namespace

QString documentTitle()
{
    return QStringLiteral("Теплотехнический расчет ограждающей конструкции");
}

bool documentAvailable(const AppContext& ctx)
{
    const std::optional<EnvelopeOutcome>& calc = ctx.lastCalc;
    return calc && calc->finished() && !calc->error && !calc->warning && calc->lists && ctx.report.lineCount() > 0;
}

CalcDocument calcDocumentOf(const AppContext& ctx, const DocumentNames& names, const ReportChoice& choice,
                            const QDate& date)
{
    if (!documentAvailable(ctx)) {
        throw AppError(QStringLiteral("Нет результатов расчета для документа.") +
                       QStringLiteral("\rСначала выполните расчет (кнопка \"Расчет\")."));
    }
    const EnvelopeOutcome& calc = *ctx.lastCalc;
    const CalcState& st = calc.state;
    const WindowFields fields(calc.updates);

    CalcDocument d;
    d.title = documentTitle();
    if (!names.sourceFile.isEmpty())
        d.heading.append(QStringLiteral("Исходные данные: ") + QFileInfo(names.sourceFile).fileName());
    else if (!names.documentFile.isEmpty())
        d.heading.append(QStringLiteral("Файл: ") + QFileInfo(names.documentFile).fileName());
    d.heading.append(QStringLiteral("Дата: ") + date.toString(QStringLiteral("dd.MM.yyyy")));
    if (const QString summary = ctx.sourceDataSummary.trimmed(); !summary.isEmpty())
        d.heading.append(QStringLiteral("Сводка: ") + summary);

    d.sourceData = sourceDataItems(calc, fields);
    d.layers = layerRows(calc.input.table, fields);
    d.results = resultItems(calc, fields);
    d.verdict = verdictOf(st, ctx.tables.saturation);
    d.referencesNote = uncheckedValuesNote(ctx.calcReferences());
    d.boundaries = boundaryRows(st, fields);
    d.pointsCaption = calc.lists->caption;
    d.points = calc.lists->columns;
    try {
        d.chart = buildSectionChart(st, calc.input.table, calc.lists->caption);
    } catch (const AppError&) {
        // a field that does not belong to the table has no chart, as in the chart window
        d.chart.reset();
    }
    d.report = reportSections(ctx.reportBlocks, choice);
    return d;
}

}  // namespace ogrado
