// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/verdict.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "engine/saturation.h"

namespace ogrado {

namespace {

// Two values formatted with as many decimals as it takes to show which one is smaller
// (two as in the window's fields, more when they round to the same text).
std::pair<QString, QString> comparedTexts(double a, double b)
{
    static const char* const patterns[] = {"0.00", "0.000", "0.0000", "0.00000", "0.000000"};
    QString ta;
    QString tb;
    for (const char* p : patterns) {
        ta = formatNumber(a, p);
        tb = formatNumber(b, p);
        if (ta != tb || a == b)
            break;
    }
    return {ta, tb};
}

}  // namespace

QString unfinishedVerdictText()
{
    return QStringLiteral("Расчет не завершен — вывод о соответствии не сделан");
}

CalcVerdict verdictOf(const CalcState& st, const SaturationTable& sat)
{
    CalcVerdict v;
    if (!st.finished || !st.rtRequired) {
        v.summary = unfinishedVerdictText();
        return v;
    }
    v.status = st.complies ? CalcVerdict::Status::Complies : CalcVerdict::Status::Fails;
    v.summary = st.complies ? QStringLiteral("СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43")
                            : QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43");

    // Rт against Rт.тр.: equality complies, as in the calculation
    const double rtr = *st.rtRequired;
    const bool rtPasses = !(st.rt < rtr);
    const auto [rtText, rtrText] = comparedTexts(st.rt, rtr);
    v.resistance = QStringLiteral("Rт = %1 %2 Rт.тр. = %3 — %4")
                       .arg(rtText, rtPasses ? QStringLiteral("≥") : QStringLiteral("<"), rtrText,
                            rtPasses ? QStringLiteral("выполнено") : QStringLiteral("не выполнено"));

    // Rт against Rт.норм of table 5.1, written as given
    if (st.rtNormative) {
        const double norm = *st.rtNormative;
        const bool passes = !(st.rt < norm);
        v.normative = QStringLiteral("Rт = %1 %2 Rт.норм = %3 — %4")
                          .arg(comparedTexts(st.rt, norm).first, passes ? QStringLiteral("≥") : QStringLiteral("<"),
                               generalText(norm),
                               passes ? QStringLiteral("выполнено") : QStringLiteral("не выполнено"));
    } else {
        v.normative = QStringLiteral("Rт.норм не задано — требование табл. 5.1 не проверялось");
    }

    // п. 9.1 at the boundaries between layers i and i+1
    QStringList failing;
    const int boundaries = int(st.layers.size()) - 1;
    for (int i = 0; i < boundaries; ++i) {
        if (!st.layers[i].passes)
            failing.append(QStringLiteral("%1-%2").arg(i + 1).arg(i + 2));
    }
    if (boundaries <= 0)
        v.vapour = QStringLiteral("п. 9.1 — границ между слоями нет (один слой), проверка не требуется");
    else if (failing.isEmpty())
        v.vapour = QStringLiteral("п. 9.1 — выполнено на всех границах");
    else if (failing.size() == 1)
        v.vapour = QStringLiteral("п. 9.1 — не выполнено на границе ") + failing.first();
    else
        v.vapour = QStringLiteral("п. 9.1 — не выполнено на границах ") + failing.join(QStringLiteral(", "));

    // For information: the inner surface of the shown field against the dew point of
    // the inside air.
    if (!st.points.isEmpty()) {
        const float tau = st.points.first().t;
        const QString tauText = QStringLiteral("τв = %1 °С").arg(formatSingle(tau, "0.0"));
        try {
            const double dew = SaturationTemperature(sat, st.ev);
            const bool condenses = double(tau) <= dew;
            v.innerSurface = QStringLiteral("%1, точка росы %2 °С — %3")
                                 .arg(tauText, formatNumber(dew, "0.0"),
                                      condenses ? QStringLiteral("возможна конденсация на внутренней поверхности")
                                                : QStringLiteral("конденсации на внутренней поверхности нет"));
        } catch (const AppError&) {
            v.innerSurface = tauText + QStringLiteral(", точка росы внутреннего воздуха лежит вне таблицы "
                                                      "максимальных парциальных давлений — не определяется");
        }
    }
    return v;
}

}  // namespace ogrado
