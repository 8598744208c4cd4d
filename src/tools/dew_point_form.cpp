// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dew_point_form.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/saturation.h"

namespace ogrado {

DewPointForm::DewPointForm(AppContext& ctx, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx)
{
    setCaption(QStringLiteral("Точка росы"));
    setSizeTwips(3420, 2850);
    add(entry(kHumidity), ControlKind::TextBox, QStringLiteral("55"));
    add(entry(kTemperature), ControlKind::TextBox, QStringLiteral("18"));
    add(entry(kDewPoint), ControlKind::TextBox).readOnly = true;
    add(entry(kPressure), ControlKind::TextBox).readOnly = true;
    add(noteName(), ControlKind::Label).foreground = kRed;
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("Расчет"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    for (int k = 0; k <= 3; ++k)
        setKeyFilter(entry(k), numericKeyFilter());
    setSelectAllOnClick(entry(kHumidity));
    setSelectAllOnClick(entry(kTemperature));

    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { calculate(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

std::optional<QPoint> DewPointForm::placement(const QRect& mainTwips) const
{
    return mainTwips.topLeft();
}

void DewPointForm::calculate()
{
    const QString tText = text(entry(kTemperature));
    const QString phiText = text(entry(kHumidity));
    setText(noteName(), QString());
    // No temperature, or one outside the range of the tool: nothing is computed, and no
    // value of an earlier run stays beside the empty dew point.
    const auto nothingComputed = [this](const QString& why) {
        setText(entry(kPressure), QString());
        setText(entry(kDewPoint), QString());
        setText(noteName(), why);
    };
    const auto bound = [](double t) { return generalText(t).replace(u'-', QChar(0x2212)); };
    const QString range = QStringLiteral("от %1 до %2 °С").arg(bound(kLowestTemperature), bound(kHighestTemperature));
    if (tText.trimmed().isEmpty()) {
        nothingComputed(QStringLiteral("Введите температуру воздуха ") + range + u'.');
        return;
    }
    const std::optional<double> t = parseNumber(tText);
    const FieldRef tField = fieldOf(formName(), entry(kTemperature));
    const FieldRef phiField = fieldOf(formName(), entry(kHumidity));
    if (!t)
        throw AppError(QStringLiteral("Температура воздуха «%1» не является числом. Введите число.").arg(tText.trimmed()),
                       tField);
    if (*t < kLowestTemperature || *t > kHighestTemperature) {
        nothingComputed(QStringLiteral("Температура %1 °С вне диапазона ").arg(tText.trimmed()) + range);
        return;
    }
    const std::optional<double> phi = parseNumber(phiText);
    if (!phi) {
        if (phiText.trimmed().isEmpty())
            throw AppError(QStringLiteral("Не задана влажность воздуха. Введите относительную влажность, %."), phiField);
        throw AppError(QStringLiteral("Влажность воздуха «%1» не является числом. Введите число.").arg(phiText.trimmed()),
                       phiField);
    }
    if (!inRange(*phi, kHumidityRange)) {
        setText(entry(kDewPoint), QString());
        requireInRange(*phi, phiText, QStringLiteral("Влажность воздуха"), kHumidityRange, phiField);
    }

    const SaturationTable& table = ctx_.tables.saturation;
    double E = 0;
    try {
        E = SaturationPressure(table, *t, QStringLiteral("Температура воздуха"), {}, tField);
    } catch (const AppError&) {
        // a shortened table: no value rather than the last one shown
        setText(entry(kPressure), QString());
        setText(entry(kDewPoint), QString());
        throw;
    }
    setText(entry(kPressure), formatNumber(E, "0.0"));

    // The dew point: the temperature at which the table reaches the air's partial pressure.
    const double e = PartialPressure(*phi, E);
    const SaturationRow& lowest = table.rows.first();
    const SaturationRow& highest = table.rows.last();
    if (e < double(lowest.E) || e > double(highest.E)) {
        setText(entry(kDewPoint), QString());
        const bool below = e < double(lowest.E);
        const SaturationRow& end = below ? lowest : highest;
        throw AppError(QStringLiteral("Влажность воздуха %1 % слишком %2: парциальное давление водяного пара "
                                      "e=%3 Па %4 значения таблицы максимальных парциальных давлений "
                                      "(%5 Па при %6 °С). Точка росы не определяется. %7")
                           .arg(phiText.trimmed(), below ? QStringLiteral("мала") : QStringLiteral("велика"),
                                formatNumber(e, "0.0"),
                                below ? QStringLiteral("ниже наименьшего") : QStringLiteral("выше наибольшего"),
                                generalTextSingle(end.E), generalTextSingle(end.t),
                                below ? QStringLiteral("Укажите большую влажность воздуха.")
                                      : QStringLiteral("Укажите меньшую влажность воздуха.")),
                       phiField);
    }
    setText(entry(kDewPoint), formatNumber(SaturationTemperature(table, e), "0.0"));
}

}  // namespace ogrado
