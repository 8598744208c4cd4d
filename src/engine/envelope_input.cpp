// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/envelope_input.h"

#include "common/number_text.h"

namespace ogrado {

namespace {

InputEntry entry(const QString& text, const QString& what, const char* control,
                 std::optional<InputRange> range = std::nullopt)
{
    return InputEntry{text, parseNumber(text), what, mainWindowField(QLatin1String(control)), range};
}

}  // namespace

double InputEntry::number() const
{
    if (value)
        return *value;
    return headerNumber(text, what, field);  // throws: the text is empty or not a number
}

double InputEntry::checked() const
{
    const double v = number();
    if (range)
        requireInRange(v, text, what, *range, field);
    return v;
}

void InputEntry::set(double v)
{
    text = generalText(v);
    value = v;
}

void EnvelopeInput::setThickness(int layer, double mm)
{
    QString& text = table.layers[layer - 1].cells[kColThickness];
    text = generalText(mm);
    cells[layer - 1][kColThickness] = mm;
}

void EnvelopeInput::setInsideAir(double t, double phi)
{
    tIn.set(t);
    phiIn.set(phi);
    table.header.tIn = tIn.text;
    table.header.phiIn = phiIn.text;
}

EnvelopeInput readEnvelopeInput(const LayerTable& table, const EnvelopeInputs& inputs)
{
    EnvelopeInput in;
    in.table = table;
    in.inputs = inputs;
    in.cells = parseLayerCells(table);
    const LayerTableHeader& h = table.header;
    in.alphaIn = entry(h.alphaIn, QStringLiteral("Коэффициент теплоотдачи внутренней поверхности альфа(в)"), "txtAlv",
                       kPositiveRange);
    in.alphaOut = entry(h.alphaOut, QStringLiteral("Коэффициент теплоотдачи наружной поверхности альфа(н)"), "txtAln",
                        kPositiveRange);
    in.tIn = entry(h.tIn, QStringLiteral("Температура внутреннего воздуха t(в)"), "txtTv");
    in.phiIn = entry(h.phiIn, QStringLiteral("Влажность внутреннего воздуха фи(в)"), "txtFiv", kHumidityRange);
    in.tHeat = entry(h.tHeat, QStringLiteral("Средняя температура отопительного периода t(от.)"), "txtTot_1");
    in.phiHeat = entry(h.phiHeat, QStringLiteral("Средняя влажность отопительного периода фи(от.)"), "txtTot_2",
                       kHumidityRange);
    in.eHeat = entry(h.eHeat, QStringLiteral("Среднее парциальное давление водяного пара отопительного периода е(от.)"),
                     "txtTot_3", kNonNegativeRange);
    in.zHeat = entry(h.zHeat, QStringLiteral("Продолжительность отопительного периода z(от.)"), "txtTot_4",
                     kPositiveRange);
    in.n = entry(inputs.n, QStringLiteral("Коэффициент n"), "txtN", kPositiveRange);
    in.tempDiff = entry(inputs.tempDiff, QStringLiteral("Температурный перепад дельта(tв)"), "txtTp", kNonNegativeRange);
    in.rtNorm = entry(inputs.rtNorm, QStringLiteral("Нормативное сопротивление теплопередаче Rт.норм"), "txtRtNorm",
                      kPositiveRange);
    static const char* const tnFields[4] = {"txtTn_1", "txtTn_2", "txtTn_3", "txtTn_4"};
    for (size_t k = 0; k < in.tn.size(); ++k)
        in.tn[k] = entry(inputs.tn[k], QStringLiteral("Расчетная температура наружного воздуха tн"), tnFields[k]);
    return in;
}

}  // namespace ogrado
