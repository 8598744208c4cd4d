// SPDX-License-Identifier: GPL-3.0-or-later
#include "airlayer/airlayer_report.h"

#include "common/number_text.h"

#include <string_view>

namespace ogrado {

namespace {

// Writes lines at positions counted from a start: each line `advance` lines after the
// previous one, the lines skipped left empty.
class BlockLines {
public:
    BlockLines(QStringList& lines, int start) : lines_(lines), n_(start) {}
    void put(int advance, const QString& text)
    {
        n_ += advance;
        while (lines_.size() <= n_)
            lines_.append(QString());
        lines_[n_] = text;
    }
    void skip(int advance) { n_ += advance; }
    int position() const { return n_; }

private:
    QStringList& lines_;
    int n_;
};

QString plain(double v)
{
    return generalText(v);
}

QString F(double v, std::string_view pattern)
{
    return formatNumber(v, pattern);
}

void writeSourceData(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    b.put(2, QStringLiteral(" Расчет вентилируемой воздушной прослойки в соответствии с ТКП 45-3.02-113."));
    b.put(1, QString());
    b.put(1, QStringLiteral("ИСХОДНЫЕ ДАННЫЕ"));
    b.put(1, QString());
    b.put(1, QStringLiteral("1. Состав и расчет ограждающей конструкции см. выше"));
    b.put(1, QStringLiteral("2. Расчетная температура внутреннего воздуха: ") + plain(in.Tint) +
                 QStringLiteral(" градусов Цельсия."));
    b.put(1, QStringLiteral("3. Расчетная влажность внутреннего воздуха - ") + plain(in.FIv) + QStringLiteral("%."));
    b.put(1, QStringLiteral("4. Расчетная температура наружного воздуха: ") + plain(in.Text) +
                 QStringLiteral(" градусов Цельсия."));
    b.put(1, QStringLiteral("5. Расчетная влажность наружного воздуха - ") + plain(in.FIn) + QStringLiteral(" ."));
    b.put(1, QStringLiteral("6. Разность высот входного и выходного отверстия - ") + plain(in.h) + QStringLiteral(" м."));
    b.put(1, QStringLiteral("7. Толщина воздушной прослойки ") + plain(1000 * r.d) + QStringLiteral(" мм."));
    b.put(1, QStringLiteral("8. Точность определения средней температуры воздуха в прослойке ") + plain(in.eps) +
                 QStringLiteral(" градусов Цельсия."));
    if (in.gridIn)
        b.put(1, QStringLiteral("9. Имеется решетка на входе в прослойку."));
    if (in.gridOut)
        b.put(1, QStringLiteral("10. Имеется решетка на выходе из прослойки."));
    if (in.turns)
        b.put(1, QStringLiteral("11. Имеются повороты потока воздуха в прослойке - ") + t.turnsText.trimmed() +
                     QStringLiteral(" шт."));
}

// R1, R2, Rп1 and Rп2, which the main calculation gave.
void writeEnvelopeData(BlockLines& b, const AirLayerInputs& in)
{
    b.put(1, QStringLiteral("Данные из теплотехнического расчета конструкции"));
    b.put(1, QStringLiteral("1. Сумма  сопротивлений теплопередачи слоев ограждающей конструкции, расположенной между "
                            "внутренней поверхность и вентилируемой прослойкой: R1 = ") +
                 F(in.R1, "0.0###") + QStringLiteral(" м2 градус/Вт."));
    b.put(1, QStringLiteral("2. Сумма  сопротивлений теплопередачи слоев ограждающей конструкции, расположенной между "
                            "наружной поверхность и вентилируемой прослойкой - R2 = ") +
                 F(in.R2, "0.0####") + QStringLiteral(" м2 градус/Вт."));
    b.put(1, QStringLiteral("3. Расчетное сопротивление паропроницанию части ограждающей конструкции, расположенной между "
                            "внутренней поверхность и вентилируемой прослойкой - Rп1 = ") +
                 F(in.Rp1, "0.0##") + QStringLiteral(" м2 ч Па/мг."));
    b.put(1, QStringLiteral("4. Расчетное сопротивление паропроницанию части ограждающей конструкции, расположенной между "
                            "наружной поверхность и вентилируемой прослойкой - Rп2 = ") +
                 F(in.Rp2, "0.0##") + QStringLiteral(" м2 ч Па/мг."));
}

// ALm, the heat transfer coefficients (7), (8) and the inverse vapour resistances.
void writeTransferCoefficients(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r)
{
    b.put(2, QStringLiteral("РЕЗУЛЬТАТЫ  РАСЧЕТА"));
    b.put(1, QStringLiteral(" Коэффициент теплопередачи поверхности в прослойке по п. 6.3.7: ALm = ") + plain(r.ALm) +
                 QStringLiteral(",  Вт/(м2 градус):"));
    b.put(2, QStringLiteral(" Коэффициент теплопередачи части ограждающей конструкции, расположенной между внутренней "
                            "поверхность и вентилируемой прослойкой по формуле (8),  Вт/(м2 градус):"));
    b.put(1, QStringLiteral("LAint =1/(1/ALint+1/R1+1/ALm)=1/(1/") + plain(in.ALint) + QStringLiteral("+1/") +
                 F(in.R1, "0.0###") + QStringLiteral("+1/") + plain(r.ALm) + u'=' + F(r.LAint, "0.0##"));
    b.put(2, QStringLiteral(" Коэффициент теплопередачи части ограждающей конструкции, расположенной между наружной "
                            "поверхность и вентилируемой прослойкой по формуле (7),  Вт/(м2 градус):"));
    b.put(1, QStringLiteral("LAext=1/(1/ALext+1/R2+1/ALm)=1/(1/") + plain(in.ALext) + QStringLiteral("+1/") +
                 F(in.R2, "0.0####") + QStringLiteral("+1/") + plain(r.ALm) + u'=' + F(r.LAext, "0.0##"));
    b.put(2, QStringLiteral("  Величина, обратная сопротивленю паропроницанию части ограждающей конструкции, "
                            "расположенной между внутренней поверхность и вентилируемой прослойкой, мг/(м2 ч Па:"));
    b.put(1, QStringLiteral("KSIint=1/RПint=1/") + F(in.Rp1, "0.0##") + u'=' + F(r.KSIint, "0.0##"));
    b.put(2, QStringLiteral("  Величина, обратная сопротивленю паропроницанию части ограждающей конструкции, "
                            "расположенной между наружной поверхность и вентилируемой прослойкой, мг/(м2 ч Па:"));
    b.put(1, QStringLiteral("KSIext=1/RПext=1/") + F(in.Rp2, "0.0##") + u'=' + F(r.KSIext, "0.0##"));
}

// The mean temperature Tc, written to the precision the thickness step allows (nothing
// for a step above 100 mm).
QString meanTemperatureText(const AirLayerInputs& in, const AirLayerResults& r)
{
    if (in.dd <= 0.001)
        return F(r.Tc, "0.0##");
    if (in.dd <= 0.01)
        return F(r.Tc, "0.0#");
    if (in.dd <= 0.1)
        return F(r.Tc, "0.0");
    return QString();
}

// Tc, the densities, the local resistances, the speed (2) and the mass flow (3).
void writeAirFlow(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r)
{
    const QString tcText = meanTemperatureText(in, r);
    if (in.dd <= 0.1)
        b.put(2, QStringLiteral("  Методом последовательных приближений при заданной точности по формуле (9) "
                                "определена средняя температура воздухе в прослойке: Тс =") +
                     tcText + QStringLiteral(" градусов Цельсия."));
    else
        b.skip(2);
    b.put(2, QStringLiteral("  Плотность воздуха в прослойке при средней температуре Тс:"));
    b.put(1, QStringLiteral("Рmid=P0*273/(273+Tc) =") + plain(kAirDensityAtZero) + QStringLiteral("*273/(273") +
                 tcText + QStringLiteral(")=") + F(r.Pmid, "0.0###") + QStringLiteral(" кг/м3 "));
    b.put(2, QStringLiteral("  Плотность наружного воздуха:"));
    b.put(1, QStringLiteral("Рext=P0*273/(273+Text)=") + plain(kAirDensityAtZero) + QStringLiteral("*273/(273") +
                 plain(in.Text) + QStringLiteral(")=") + F(r.Pext, "0.0###") + QStringLiteral(" кг/м3 "));
    b.put(2, QStringLiteral("  Сумма коэффициентов местных сопротивлений - SymEp = ") + plain(r.SymEp));
    b.put(2, QStringLiteral("  Средняя скорость движения воздуха в прослойке по формуле (2):"));
    b.put(1, QStringLiteral("V=(2*g*(Pext-Pmid)/(Pmid*SymEp))^0.5=(2*9.81*(") + F(r.Pext, "0.0###") + u'-' +
                 F(r.Pmid, "0.0###") + QStringLiteral(")/(") + F(r.Pmid, "0.0###") + u'*' + plain(r.SymEp) +
                 QStringLiteral("))^0.5=") + F(r.V, "0.0##") + QStringLiteral(" м/с."));
    b.put(2, QStringLiteral("  Массовый расход воздуха в прослойке по формуле (3):"));
    b.put(1, QStringLiteral("i=3600*V*Pmid*k*Dpr=3600*") + F(r.V, "0.0##") + u'*' + F(r.Pmid, "0.0###") + u'*' +
                 plain(in.k) + u'*' + F(r.d, "0.0##") + u'=' + F(r.i, "0.0##") + QStringLiteral(" кг/ч."));
}

// A (6) and the outlet temperature Th (5).
void writeOutletTemperature(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r)
{
    const QString A = F(r.A, "0.0##");
    const QString LAint = F(r.LAint, "0.0##");
    const QString LAext = F(r.LAext, "0.0##");
    b.put(2, QStringLiteral("  Величина А по формуле (6):"));
    b.put(1, QStringLiteral("A=LAint*Tint+LAext*Text=") + LAint + u'*' + plain(in.Tint) + u'+' + LAext +
                 QStringLiteral("*(") + plain(in.Text) + QStringLiteral(")=") + A);
    b.put(2, QStringLiteral("  Температура воздуха на выходе из прослойке по формуле (5):"));
    b.put(1, QStringLiteral("Th={A+(Text*(LAint+LAexe)-A)*e^(-3.6*(LAint+LAext)*h/(1.005*i))}/( LAint+LAexe)={") + A +
                 QStringLiteral("+(") + plain(in.Text) + QStringLiteral("*(") + LAint + u'+' + LAext +
                 QStringLiteral(")-(") + A + QStringLiteral("))*2.718^(-3.6*(") + LAint + u'+' + LAext +
                 QStringLiteral(")*") + plain(in.h) + QStringLiteral("/(1.005*") + F(r.i, "0.0##") +
                 QStringLiteral("))}/(") + LAint + u'+' + LAext + QStringLiteral(")=") + F(r.Th, "0.0##") +
                 QStringLiteral(" градусов Цельсия"));
}

// The vapour pressures of the air on both sides and M (11).
void writeAirVapour(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r)
{
    b.put(2, QStringLiteral("  Упругость насыщеного водяного пара внутреннего воздуха, определяемая по приложению Е "
                            "ТКП 45-2.04-43 при Tint=") +
                 plain(in.Tint) + QStringLiteral(": Eint=") + F(r.Eint, "0.0#") + QStringLiteral(" Па."));
    b.put(1, QStringLiteral("  Упругость насыщеного водяного пара наружного воздуха, определяемая по приложению Е "
                            "ТКП 45-2.04-43 при Text=") +
                 plain(in.Text) + QStringLiteral(": Eext=:") + F(r.Eext, "0.0#") + QStringLiteral(" Па."));
    b.put(2, QStringLiteral("  Действительная упругость водяного пара внутреннего воздуха:"));
    b.put(1, QStringLiteral("eint=0.01*FIv*Eint=0.01*") + plain(in.FIv) + u'*' + F(r.Eint, "0.0#") + u'=' +
                 F(r.eint, "0.0#") + QStringLiteral(" Па."));
    b.put(1, QStringLiteral("  Действительная упругость водяного пара наружного воздуха:"));
    b.put(1, QStringLiteral("eint=0.01*FIn*Eext=0.01*") + plain(in.FIn) + u'*' + F(r.Eext, "0.0#") + u'=' +
                 F(r.eext, "0.0#") + QStringLiteral(" Па."));
    b.put(2, QStringLiteral("  Величина М по формуле (11):"));
    b.put(1, QStringLiteral("M=KSIint*eint+KSIext*eext=") + F(r.KSIint, "0.0#") + u'*' + F(r.eint, "0.0#") + u'+' +
                 F(r.KSIext, "0.0#") + u'*' + F(r.eext, "0.0#") + u'=' + F(r.M, "0.0##"));
}

// B (12), eh (10), Eh at the outlet and the conclusion.
void writeOutletMoisture(BlockLines& b, const AirLayerInputs& in, const AirLayerResults& r)
{
    b.put(2, QStringLiteral("  Максимальная абсолютная влажность воздуха на выходе из прослойки по формуле (12):"));
    b.put(1, QStringLiteral("B=7.935/{Pmid*(1+Th/273)}=7.935/{") + F(r.Pmid, "0.0###") + QStringLiteral("*(1+(") +
                 F(r.Th, "0.0##") + QStringLiteral(")/273}=") + F(r.B, "0.0##") + QStringLiteral(" мг/кг"));
    b.put(2, QStringLiteral("  Упругость водяного пара  на выходе из прослойки по формуле (10):"));
    b.put(1, QStringLiteral("eh={M+(eext*(KSIint+KSIext)-M)*e^(-(KSIint+KSIext)*h)/(i*B)}/ (KSIint+KSIext)={") +
                 F(r.M, "0.0##") + QStringLiteral("+(") + F(r.eext, "0.0#") + QStringLiteral("*(") +
                 F(r.KSIint, "0.0#") + u'+' + F(r.KSIext, "0.0#") + QStringLiteral(")-") + F(r.M, "0.0##") +
                 QStringLiteral(")*2.718^(-(") + F(r.KSIint, "0.0#") + u'+' + F(r.KSIext, "0.0#") +
                 QStringLiteral(")*") + plain(in.h) + QStringLiteral(")/(") + F(r.i, "0.0##") + u'*' +
                 F(r.B, "0.0##") + QStringLiteral(")}/(") + F(r.KSIint, "0.0##") + u'+' + F(r.KSIext, "0.0#") +
                 QStringLiteral(")=") + F(r.eh, "0.0#") + QStringLiteral(" Па"));
    b.put(2, QStringLiteral("  Упругость насыщеного водяного пара на выходе из прослойки, определяемая по приложению Е "
                            "ТКП 45-2.04-43 при Th=") +
                 F(r.Th, "0.0##") + QStringLiteral(": Eh=") + F(r.Eh, "0.0#") + QStringLiteral(" Па."));
    b.put(2, QStringLiteral("  ВЫВОД: так как действительная упругость водяного пара на выходе из прослойки меньше "
                            "упругости насыщенного водяного пара: ") +
                 F(r.eh, "0.0#") + u'<' + F(r.Eh, "0.0#") +
                 QStringLiteral(" - удаление влаги из прослойки обеспечено."));
}

}  // namespace

void AirLayerReport::replace(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    lines_.clear();
    count_ = 0;
    write(1, in, r, t);
}

void AirLayerReport::append(const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    write(count_, in, r, t);
}

QStringList AirLayerReport::resultLines() const
{
    if (count_ == 0)
        return {};
    QStringList out;
    for (int k = 1; k <= count_; ++k)
        out.append(line(k));
    return out;
}

AirLayerReport AirLayerReport::fromResultLines(const QStringList& lines)
{
    AirLayerReport r;
    if (!lines.isEmpty()) {
        r.lines_ = QStringList{QString()} + lines;
        r.count_ = int(lines.size());
    }
    return r;
}

QStringList AirLayerReport::allLines() const
{
    QStringList out;
    for (int k = 0; k <= count_; ++k)
        out.append(line(k));
    return out;
}

void AirLayerReport::write(int start, const AirLayerInputs& in, const AirLayerResults& r, const AirLayerReportTexts& t)
{
    BlockLines b(lines_, start);
    writeSourceData(b, in, r, t);
    writeEnvelopeData(b, in);
    writeTransferCoefficients(b, in, r);
    writeAirFlow(b, in, r);
    writeOutletTemperature(b, in, r);
    writeAirVapour(b, in, r);
    writeOutletMoisture(b, in, r);
    count_ = b.position() + 2;
    while (lines_.size() <= count_)
        lines_.append(QString());
}

}  // namespace ogrado
