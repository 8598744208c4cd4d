// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/thickness_search.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/point_field.h"

#include <algorithm>
#include <cmath>

namespace ogrado {

namespace {

// A value within this share of a step from "до" counts as reaching it: (2000 − 10)/0,1
// is not a whole number in binary, and the candidates must still end at 2000.
constexpr double kStepTolerance = 1e-9;

// Candidates are kept to a micrometre, so that 10 + 3·0,1 is written 10,3.
double roundedThickness(double v)
{
    return std::round(v * 1e6) / 1e6;
}

// The entries of the selection window frmTolsh, which messages about them name.
FieldRef entryField(const char* control)
{
    return fieldOf(QStringLiteral("frmTolsh"), QLatin1String(control));
}

double entryNumber(const QString& text, const QString& entry, const char* control)
{
    if (text.trimmed().isEmpty())
        throw AppError(QStringLiteral("Не задано значение «%1» толщины слоя. Введите толщину в мм.").arg(entry),
                       entryField(control));
    const std::optional<double> v = parseNumber(text);
    if (!v || !std::isfinite(*v))
        throw AppError(QStringLiteral("Значение «%1» толщины слоя «%2» не является числом. Введите толщину в мм.")
                           .arg(entry, text.trimmed()),
                       entryField(control));
    return *v;
}

QString mm(double v)
{
    return generalText(v) + QStringLiteral(" мм");
}

struct Criterion {
    QString name;
    std::function<bool(const ThicknessCandidate&)> met;
};

QVector<Criterion> criteriaOf(const ThicknessCase& c)
{
    QVector<Criterion> list;
    list.append({QStringLiteral("Rт ≥ Rт.тр."), [](const ThicknessCandidate& r) { return r.heatOk; }});
    if (!c.input.inputs.rtNorm.trimmed().isEmpty())
        list.append({QStringLiteral("Rт ≥ Rт.норм (табл. 5.1)"), [](const ThicknessCandidate& r) { return r.normOk; }});
    if (c.vapourCriterion)
        list.append({QStringLiteral("п. 9.1 на всех границах слоев"),
                     [](const ThicknessCandidate& r) { return r.vapourOk; }});
    if (c.moisture)
        list.append({QStringLiteral("влагонакопление за период не больше высыхания летом"),
                     [](const ThicknessCandidate& r) { return r.moistureOk; }});
    return list;
}

QString quotedList(const QStringList& names)
{
    QStringList q;
    for (const QString& n : names)
        q.append(QStringLiteral("«%1»").arg(n));
    if (q.size() <= 1)
        return q.join(QString());
    return q.mid(0, q.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" и ") + q.last();
}

QString yesNo(bool v)
{
    return v ? QStringLiteral("да") : QStringLiteral("нет");
}

}  // namespace

const QString kNoLayersToSelect = QStringLiteral(
    "Нет слоев для подбора: ни в одной строке таблицы слоев не указана толщина. Заполните слои конструкции в "
    "главном окне.");

QVector<double> thicknessRange(const QString& from, const QString& to, const QString& step)
{
    const double first = entryNumber(from, QStringLiteral("от"), "txtOt");
    const double last = entryNumber(to, QStringLiteral("до"), "txtDo");
    const double by = entryNumber(step, QStringLiteral("шаг"), "txtShag");
    if (by <= 0)
        throw AppError(QStringLiteral("Шаг толщины слоя «%1» недопустим. Укажите шаг больше нуля.").arg(step.trimmed()),
                       entryField("txtShag"));
    if (first <= 0)
        throw AppError(QStringLiteral("Толщина «от» (%1) недопустима. Укажите толщину «от» больше нуля.").arg(mm(first)),
                       entryField("txtOt"));
    if (first > last)
        throw AppError(QStringLiteral("Толщина «от» (%1) больше толщины «до» (%2): задайте «от» не больше «до».")
                           .arg(mm(first), mm(last)),
                       entryField("txtOt"));
    const double q = (last - first) / by;
    if (!std::isfinite(q) || q + 1 > double(kMaxThicknessCandidates))
        throw AppError(QStringLiteral("Слишком много толщин: от %1 до %2 с шагом %3 — более %4 расчетов. Увеличьте "
                                      "шаг или сократите диапазон.")
                           .arg(mm(first), mm(last), mm(by))
                           .arg(kMaxThicknessCandidates),
                       entryField("txtShag"));
    const double steps = std::floor(q + kStepTolerance);
    const int count = int(steps) + 1;
    const bool landsOnLast = std::abs(q - steps) <= kStepTolerance;
    QVector<double> values;
    values.reserve(count);
    for (int i = 0; i < count; ++i)
        values.append(landsOnLast && i == count - 1 ? last : roundedThickness(first + i * by));
    // every candidate is a layer thickness the calculation accepts: refused here, not at
    // the candidate after all the thinner ones were calculated
    if (!inRange(values.last(), kThicknessRange))
        throw AppError(QStringLiteral("Толщина %1 из диапазона подбора больше наибольшей толщины слоя %2. Укажите "
                                      "толщину «до» не более %2.")
                           .arg(mm(values.last()), mm(*kThicknessRange.high)),
                       entryField("txtDo"));
    return values;
}

QVector<double> thicknessList(const QString& list)
{
    QVector<double> values;
    for (const QString& item : list.split(u';')) {
        const QString t = item.trimmed();
        if (t.isEmpty())
            continue;
        const std::optional<double> v = parseNumber(t);
        if (!v || !std::isfinite(*v))
            throw AppError(QStringLiteral("Список толщин: «%1» не является числом. Введите толщины в мм через «;», "
                                          "например 50;80;100.")
                               .arg(t),
                           entryField("txtSpisok"));
        if (*v <= 0)
            throw AppError(QStringLiteral("Список толщин: толщина «%1» недопустима. Укажите толщины больше нуля.").arg(t),
                           entryField("txtSpisok"));
        if (!inRange(*v, kThicknessRange))
            throw AppError(QStringLiteral("Список толщин: толщина «%1» больше наибольшей толщины слоя %2. Укажите "
                                          "толщины не более %2.")
                               .arg(t, mm(*kThicknessRange.high)),
                           entryField("txtSpisok"));
        values.append(*v);
    }
    if (values.isEmpty())
        throw AppError(QStringLiteral("Список толщин пуст: введите толщины в мм через «;», например 50;80;100."),
                       entryField("txtSpisok"));
    if (values.size() > kMaxThicknessCandidates)
        throw AppError(QStringLiteral("Слишком много толщин в списке: %1 (допускается не более %2). Сократите список.")
                           .arg(values.size())
                           .arg(kMaxThicknessCandidates),
                       entryField("txtSpisok"));
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

QString defaultFromThickness(const QString& thickness, const QString& step)
{
    const std::optional<double> t = parseNumber(thickness);
    const std::optional<double> s = parseNumber(step);
    if (!t || !s || !std::isfinite(*t) || !std::isfinite(*s) || *s <= 0)
        return {};
    const double down = std::floor(*t / *s + kStepTolerance) * *s;
    return generalText(down > 0 ? roundedThickness(down) : *s);
}

int layerWithSmallestLambda(const EnvelopeInput& input)
{
    if (input.layerCount() == 0)
        return 0;
    const std::optional<double> tIn = input.tIn.value;
    const std::optional<double> phiIn = input.phiIn.value;
    const int column = !tIn || !phiIn || conditionIsA(*tIn, *phiIn) ? kColLambdaA : kColLambdaB;
    int best = 1;
    std::optional<double> smallest;
    for (int i = 0; i < input.layerCount(); ++i) {
        const std::optional<double> lambda = input.cells[i][size_t(column)];
        if (lambda && *lambda > 0 && (!smallest || *lambda < *smallest)) {
            smallest = lambda;
            best = i + 1;
        }
    }
    return best;
}

bool ThicknessCase::sameButThickness(const ThicknessCase& other) const
{
    if (layer != other.layer || input.layerCount() != other.input.layerCount())
        return false;
    EnvelopeInput mine = input;
    mine.table.layers[layer - 1].cells[kColThickness] = other.input.table.layers[layer - 1].cell(kColThickness);
    return mine == other.input && saturation == other.saturation && vapourCriterion == other.vapourCriterion &&
           moisture == other.moisture;
}

QString ThicknessCandidate::firstFailingText() const
{
    return firstFailing > 0 ? QStringLiteral("%1-%2").arg(firstFailing).arg(firstFailing + 1) : QString();
}

void checkThicknessCase(const ThicknessCase& c)
{
    const int n = c.input.layerCount();
    if (n == 0)
        throw AppError(kNoLayersToSelect);
    if (c.layer < 1 || c.layer > n)
        throw AppError(QStringLiteral("Слоя №%1 нет среди слоев расчета (их %2). Выберите слой в списке.")
                           .arg(c.layer)
                           .arg(n),
                       entryField("cboSloj"));
    if (!c.saturation)
        throw AppError(QStringLiteral("Нет таблицы максимального парциального давления водяного пара. Проверьте файл "
                                      "справочных данных «СтенарийТКП.txt»."));
    if (c.moisture) {
        if (!c.moisture->city)
            throw AppError(QStringLiteral("Не выбран город: климатические данные для расчета влагонакопления не "
                                          "заданы. Выберите город в главном окне."),
                           mainWindowField(QStringLiteral("cboGorod")));
        const int k = c.moisture->planeLayer;
        if (k < 2 || k > n - 1)
            throw AppError(QStringLiteral("Увлажняемый слой не помечен или помечен первый, или последний слой: "
                                          "влагонакопление при подборе толщины не рассчитать. Пометьте увлажняемый "
                                          "слой или снимите условие по влагонакоплению."));
    }
}

ThicknessCandidate EvaluateThickness(const ThicknessCase& c, double thickness)
{
    const std::optional<YearClimate> climate =
        c.moisture && c.moisture->city ? std::optional(yearClimate(*c.moisture->city)) : std::nullopt;
    return EvaluateThickness(c, thickness, climate ? &*climate : nullptr);
}

ThicknessCandidate EvaluateThickness(const ThicknessCase& c, double thickness, const YearClimate* climate)
{
    EnvelopeInput input = c.input;
    input.setThickness(c.layer, generalValue(thickness));  // the thickness as the lists show it
    const EnvelopeOutcome o = RunEnvelopeCalculation(input, *c.saturation, nullptr);
    const QString at = QStringLiteral("Толщина слоя %1:").arg(mm(thickness));
    if (!o.finished()) {
        const EnvelopeMessage m = o.error     ? *o.error
                                : o.warning ? *o.warning
                                            : EnvelopeMessage{QStringLiteral("Расчет не завершен."),
                                                              QStringLiteral("Ошибка")};
        // the thickness tried is not the one in the grid: the cell is not the input to change
        const FieldRef searched = input.table.layers[c.layer - 1].field(kColThickness);
        throw AppError(at + u'\r' + m.text, m.title, m.field.controls == searched.controls ? FieldRef{} : m.field);
    }
    const CalcState& st = o.state;
    ThicknessCandidate r;
    r.thickness = thickness;
    r.rt = st.rt;
    r.D = st.D;
    r.tnText = st.tnText;
    r.tn = st.tn;
    r.rtRequired = st.rtRequired.value_or(0);
    r.heatOk = st.rtRequired && !(st.rt < *st.rtRequired);
    r.rtNormative = st.rtNormative;
    r.normOk = !st.rtNormative || !(st.rt < *st.rtNormative);
    r.heatLoss = st.heatLoss;
    r.vapourOk = true;
    for (int i = 0; i + 1 < st.layers.size(); ++i) {
        if (!st.layers[i].passes) {
            r.vapourOk = false;
            r.firstFailing = i + 1;
            break;
        }
    }
    if (c.moisture) {
        MoistureSetup setup;
        setup.input = o.input;
        setup.saturation = c.saturation;
        setup.planeLayer = c.moisture->planeLayer;
        setup.pointLists = false;
        try {
            const double tv = setup.input.tIn.number();
            const double phiV = setup.input.phiIn.number();
            r.moisture = climate ? RunMoistureYear(setup, *climate, tv, phiV) : RunMoistureYear(setup, *c.moisture->city);
        } catch (const AppError& e) {
            throw AppError(at + QStringLiteral("\rвлагонакопление: ") + e.message(), e.title(), e.field());
        }
        r.moistureOk = !(r.moisture->accumulated > r.moisture->summerDrying);
    }
    r.complies = r.heatOk && r.normOk && (!c.vapourCriterion || r.vapourOk) && r.moistureOk;
    return r;
}

QVector<int> ThicknessSelection::thickerFailing() const
{
    QVector<int> failing;
    if (answer < 0)
        return failing;
    for (int i = answer + 1; i < rows.size(); ++i)
        if (!rows[i].complies && rows[i].thickness > rows[answer].thickness)
            failing.append(i);
    return failing;
}

ThicknessSelection SearchThickness(const ThicknessCase& c, const QVector<double>& candidates,
                                   const std::function<bool(const ThicknessCandidate&)>& candidateDone)
{
    checkThicknessCase(c);
    // the climate of the twelve months is read once, before the first candidate
    const std::optional<YearClimate> climate =
        c.moisture ? std::optional(yearClimate(*c.moisture->city)) : std::nullopt;
    ThicknessSelection s;
    s.rows.reserve(candidates.size());
    s.completed = true;
    for (const double thickness : candidates) {
        s.rows.append(EvaluateThickness(c, thickness, climate ? &*climate : nullptr));
        const ThicknessCandidate& row = s.rows.last();
        if (s.answer < 0 && row.complies)
            s.answer = int(s.rows.size()) - 1;
        if (candidateDone && !candidateDone(row)) {
            s.completed = s.rows.size() == candidates.size();
            break;
        }
    }
    return s;
}

QString noThicknessReason(const ThicknessCase& c, const QVector<ThicknessCandidate>& rows)
{
    const QVector<Criterion> criteria = criteriaOf(c);
    QStringList neverMet;
    QStringList all;
    for (const Criterion& k : criteria) {
        all.append(k.name);
        if (std::none_of(rows.begin(), rows.end(), k.met))
            neverMet.append(k.name);
    }
    if (rows.isEmpty())
        return QStringLiteral("Ни одна толщина не рассчитана.");
    if (neverMet.size() == 1)
        return QStringLiteral("Ни одна толщина не подходит: условие «%1» не выполняется ни при одной из них.")
            .arg(neverMet.first());
    if (!neverMet.isEmpty()) {
        QStringList each;
        for (const QString& name : neverMet)
            each.append(QStringLiteral("ни условие «%1»").arg(name));
        return QStringLiteral("Ни одна толщина не подходит: ни при одной из них не выполняется %1.")
            .arg(each.join(QStringLiteral(", ")));
    }
    return QStringLiteral("Ни одна толщина не подходит: условия %1 выполняются при разных толщинах, но ни при одной "
                          "— все вместе.")
        .arg(quotedList(all));
}

QString nonMonotoneNote(const ThicknessSelection& s)
{
    const QVector<int> failing = s.thickerFailing();
    if (failing.isEmpty())
        return {};
    QStringList shown;
    for (int i = 0; i < failing.size() && i < 10; ++i)
        shown.append(generalText(s.rows[failing[i]].thickness));
    if (failing.size() > 10)
        shown.append(QStringLiteral("…"));
    return QStringLiteral("Внимание: толщина %1 подходит, а более толстые %2 мм — нет: соответствие не растет с "
                          "толщиной. Проверьте выбранную толщину расчетом.")
        .arg(mm(s.rows[s.answer].thickness), shown.join(QStringLiteral("; ")));
}

QStringList thicknessCandidateCells(const ThicknessCandidate& r)
{
    const QString none;
    return {generalText(r.thickness),
            formatNumber(r.rt, "0.00"),
            r.heatLoss ? formatNumber(*r.heatLoss, "0.0") : none,
            formatNumber(r.D, "0.00"),
            r.tnText,
            formatNumber(r.rtRequired, "0.00"),
            yesNo(r.heatOk),
            r.rtNormative ? yesNo(r.normOk) : QStringLiteral("—"),
            yesNo(r.vapourOk),
            r.firstFailingText(),
            r.moisture ? formatNumber(r.moisture->accumulated, "0") : none,
            r.moisture ? formatNumber(r.moisture->summerDrying, "0") : none,
            yesNo(r.complies)};
}

QStringList thicknessSelectionLines(const ThicknessCase& c, const ThicknessSelection& s)
{
    QStringList lines;
    const QString name = c.layer >= 1 && c.layer <= c.input.layerCount() ? c.input.table.layers[c.layer - 1].name : QString();
    lines.append(QStringLiteral("Подбор толщины слоя №%1 «%2»").arg(c.layer).arg(name.trimmed()));
    QStringList criteria;
    for (const Criterion& k : criteriaOf(c))
        criteria.append(k.name);
    QString conditions = QStringLiteral("Условия: ") + criteria.join(QStringLiteral("; "));
    if (c.moisture)
        conditions += QStringLiteral(" (плоскость между слоями %1-%2, %3)")
                          .arg(c.moisture->planeLayer)
                          .arg(c.moisture->planeLayer + 1)
                          .arg(c.moisture->city ? c.moisture->city->name : QString());
    lines.append(conditions);
    lines.append(QStringLiteral("Толщина, мм;Rт;Теплопотери, кВт·ч/м2;D;tн;Rт.тр.;Rт≥Rт.тр.;Rт≥Rт.норм;п. 9.1;Граница;"
                                "Накопление, г/м2;Высыхание летом, г/м2;Соответствует"));
    for (const ThicknessCandidate& r : s.rows)
        lines.append(thicknessCandidateCells(r).join(u';'));
    if (s.answer >= 0) {
        lines.append(QStringLiteral("Ответ: %1.").arg(mm(s.rows[s.answer].thickness)));
        const QString note = nonMonotoneNote(s);
        if (!note.isEmpty())
            lines.append(note);
    } else if (!s.completed) {
        lines.append(QStringLiteral("Подбор прерван: среди рассчитанных толщин подходящей нет."));
    } else {
        lines.append(noThicknessReason(c, s.rows));
    }
    return lines;
}

}  // namespace ogrado
