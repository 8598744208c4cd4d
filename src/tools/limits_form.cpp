// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/limits_form.h"

#include "mainwindow/main_form.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "engine/envelope_calc.h"

namespace ogrado {

namespace {

const QStringList& buttonNames()
{
    static const QStringList names = {QStringLiteral("cvdOk"), QStringLiteral("cmdSave"), QStringLiteral("cmdCancel")};
    return names;
}

// The tried t(в) and фи(в) come from this window's ranges, not from the main window's
// fields: a message about them names the first and last entries of the range.
FieldRef rangeField(const FieldRef& field)
{
    if (field.form == mainWindowName() && field.controls == QStringList{QStringLiteral("txtTv")})
        return FieldRef{LimitsForm::windowName(), {QStringLiteral("txtTv_0"), QStringLiteral("txtTv_1")}};
    if (field.form == mainWindowName() && field.controls == QStringList{QStringLiteral("txtFiv")})
        return FieldRef{LimitsForm::windowName(), {QStringLiteral("txtFiv_0"), QStringLiteral("txtFiv_1")}};
    return field;
}

// Rт.норм of table 5.1 does not depend on the inside air: the limits are those of
// Rт.тр. and п. 9.1, which do, whatever Rт.норм says of the envelope as a whole.
EnvelopeInputs withoutNormativeResistance(EnvelopeInputs inputs)
{
    inputs.rtNorm.clear();
    return inputs;
}

}  // namespace

LimitsForm::LimitsForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Границы использования пирожка"));
    const char* const tDefaults[3] = {"5", "20", "1"};
    const char* const phiDefaults[3] = {"50", "70", "1"};
    for (int k = 0; k < 3; ++k) {
        add(temperatureEntry(k), ControlKind::TextBox, QLatin1String(tDefaults[k]));
        add(humidityEntry(k), ControlKind::TextBox, QLatin1String(phiDefaults[k]));
        setSelectAllOnClick(temperatureEntry(k));
        setSelectAllOnClick(humidityEntry(k));
    }
    for (int k = 0; k < 3; ++k)
        add(list(k), ControlKind::ListBox);
    add(QStringLiteral("cvdOk"), ControlKind::Button, QStringLiteral("Расчет"));
    add(QStringLiteral("cmdSave"), ControlKind::Button, QStringLiteral("Добавить к результатам расчетов"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(QStringLiteral("cvdOk"), FormEvent::Click, [this] { search(); });
    on(QStringLiteral("cmdSave"), FormEvent::Click, [this] { appendToReport(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void LimitsForm::onLoad()
{
    rows_.clear();  // the lists start empty
}

void LimitsForm::onUnload()
{
    if (running_)
        closed_ = true;
}

void LimitsForm::setButtonsEnabled(bool enabled)
{
    for (const QString& b : buttonNames())
        setEnabled(b, enabled);
}

void LimitsForm::search()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    lastSearchCompleted_ = false;
    calculationsRun_ = 0;
    if (!ctx_.lastCalc || ctx_.layerTable.count() == 0)
        throw AppError(QStringLiteral("Нет конструкции для расчета вариантов: сначала выполните «Расчет» в главном "
                                      "окне, чтобы были собраны слои ограждающей конструкции."));
    const SearchRange tRange = makeSearchRange(text(temperatureEntry(0)), text(temperatureEntry(1)),
                                               text(temperatureEntry(2)), RangeQuantity::InsideTemperature);
    const SearchRange phiRange = makeSearchRange(text(humidityEntry(0)), text(humidityEntry(1)),
                                                 text(humidityEntry(2)), RangeQuantity::InsideHumidity);
    checkSearchSize(tRange, phiRange);
    checkTemperaturesInTable(tRange, ctx_.tables.saturation);

    RunGuard guard(ctx_);
    running_ = true;
    closed_ = false;
    setButtonsEnabled(false);
    for (int k = 0; k < 3; ++k)
        setItems(list(k), {});
    rows_.clear();
    notifyChanged();

    // Each candidate runs on a copy of the input read once with tв and фи(в) replaced,
    // keeping only its results (no report, no field texts): the collected table, the
    // report and the last calculation keep the design case while the search runs,
    // whatever stops it.
    const EnvelopeInputs inputs = main_.envelopeInputs();
    const EnvelopeInput design = readEnvelopeInput(ctx_.layerTable, withoutNormativeResistance(inputs));
    std::optional<EnvelopeMessage> stop;
    double stopT = 0;
    double stopPhi = 0;
    const ComplianceCheck complies = [&](double t, double phi) -> std::optional<bool> {
        EnvelopeInput candidate = design;
        candidate.setInsideAir(t, phi);
        ++calculationsRun_;
        const EnvelopeOutcome o = RunEnvelopeCalculation(candidate, ctx_.tables.saturation, nullptr);
        if (!o.finished()) {
            stop = o.error ? *o.error
                 : o.warning ? *o.warning
                             : EnvelopeMessage{QStringLiteral("Расчет не завершен."), QStringLiteral("Ошибка")};
            stopT = t;
            stopPhi = phi;
            return std::nullopt;
        }
        return o.complies();
    };
    const RowDone rowDone = [&](const LimitsRow& row) {
        showRow(row);
        ctx_.yieldToEvents();
        return !closed_;
    };

    bool completed = false;
    try {
        completed = SearchLimits(tRange, phiRange, complies, rowDone);
    } catch (...) {
        restoreDesignCase(inputs, QString());
        running_ = false;
        setButtonsEnabled(true);
        throw;
    }
    QString shown;
    if (stop) {
        showError(QStringLiteral("Расчет вариантов остановлен при t(в)=%1 °С, фи(в)=%2 %:")
                          .arg(generalText(stopT), generalText(stopPhi)) +
                      u'\r' + stop->text,
                  stop->title, rangeField(stop->field));
        shown = stop->text;
    }
    restoreDesignCase(inputs, shown);
    lastSearchCompleted_ = completed;
    running_ = false;
    setButtonsEnabled(true);
}

void LimitsForm::showRow(const LimitsRow& row)
{
    rows_.append(row);
    const LimitsRowText text = limitsRowText(row);
    addItem(list(0), text.t);
    addItem(list(1), text.from);
    addItem(list(2), text.to);
}

void LimitsForm::restoreDesignCase(const EnvelopeInputs& inputs, const QString& alreadyShown)
{
    // The design case once more, shown in the main window as its "Расчет" shows it.
    const EnvelopeOutcome outcome =
        RunEnvelopeCalculation(ctx_.layerTable, inputs, ctx_.tables.saturation, ctx_.report);
    if (outcome.refused())
        ctx_.lastCalc.reset();
    else
        ctx_.lastCalc = outcome;
    main_.applyOutcome(outcome);
    main_.notifyChanged();
    notifyChanged();
    for (const std::optional<EnvelopeMessage>& m : {outcome.warning, outcome.error}) {
        if (m && m->text != alreadyShown)
            showError(m->text, m->title, m->field);
    }
}

void LimitsForm::appendToReport()
{
    for (const QString& line : limitsReportLines(rows_))
        ctx_.report.add(line);
}

}  // namespace ogrado
