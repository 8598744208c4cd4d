// SPDX-License-Identifier: GPL-3.0-or-later
// The report lines of the envelope calculation, step by step, with every formula
// written out with its numbers.
#include "common/number_text.h"
#include "engine/envelope_run.h"

namespace ogrado {

namespace {

QString g(double v)
{
    return generalText(v);
}

}  // namespace

QString EnvelopeRun::tOutText() const
{
    const QString& t = table.header.tHeat;
    return tOut < 0 ? QStringLiteral("(") + t + QStringLiteral(")") : t;
}

void EnvelopeRun::reportSourceData()
{
    const LayerTableHeader& h = table.header;
    report.add(QStringLiteral(" Теплотехнический расчет ограждающей конструкции в соответствии с ТКП 45-2.04-43."));
    report.addEmpty();
    report.add(QStringLiteral("ИСХОДНЫЕ ДАННЫЕ"));
    report.addEmpty();
    report.add(QStringLiteral("1. Состав ограждающей конструкции с теплотехническими характеристиками представлен в таблице:"));
    report.add(QStringLiteral("№ п/п;Наименование;Толщина, мм;Кол-во промежуточных точек;"
                              "Коэффициент теплопроводности для условий эксплуатации , Вт/(м °С);;"
                              "Коэффициент теплоусвоения для условий эксплуатации , Вт/(м2 °С;;"
                              "Коэффициент паропроницаемости, мг/(м ч Па"));
    report.add(QStringLiteral(";;;;А; Б;А; Б;"));
    for (const LayerRow& row : table.layers) {
        QString line = row.cell(kColNumber) + u';' + row.name;
        for (int c = kColThickness; c <= kColMu; ++c)
            line += u';' + row.cell(c);
        report.add(line);
    }

    report.addEmpty();
    report.add(QStringLiteral("2. Тип здания, сооружения по табл. 4.1 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("   - ") + in.buildingType.trimmed() + u';');
    report.add(QStringLiteral("   - расчетная температура внутреннего воздуха tв=") + h.tIn + QStringLiteral("°С;"));
    report.add(QStringLiteral("   - расчетная относительная влажность внутреннего воздуха фи(в)=") + h.phiIn +
               QStringLiteral("%."));

    report.addEmpty();
    report.add(QStringLiteral("3. Тип ограждающей конструкции по табл. 5.3 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("   - ") + in.nCaption.trimmed() + u';');
    report.add(QStringLiteral("   - коэффициент, учитывающий положение наружной поверхности ограждающей конструкции "
                              "по отношению к наружному воздуху, n=") +
               in.n + u'.');

    report.addEmpty();
    report.add(QStringLiteral("4. Тип ограждающей конструкции по табл. 5.4 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("   - ") + in.alphaInCaption.trimmed() + u';');
    report.add(QStringLiteral("   - коэффициент теплоотдачи внутренней поверхности альфа(в)=") + h.alphaIn +
               QStringLiteral(" Вт/(м2· °С)."));

    report.addEmpty();
    report.add(QStringLiteral("5. Тип ограждающей конструкции по табл. 5.7 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("   - ") + in.alphaOutCaption.trimmed() + u';');
    report.add(QStringLiteral("   - коэффициент теплоотдачи наружной поверхности альфа(н)=") + h.alphaOut +
               QStringLiteral(" Вт/(м2· °С)."));

    report.addEmpty();
    report.add(QStringLiteral("6. Тип ограждающей конструкции по табл. 5.5 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("   - ") + in.envelopeCaption.trimmed() + u';');
    report.add(QStringLiteral("   - нормируемый температурный перепад дельта(tв)=") + in.tempDiff +
               QStringLiteral("°С."));

    report.addEmpty();
    report.add(QStringLiteral("7. Место расположения объекта - ") + in.region + QStringLiteral(" область:"));
    report.add(QStringLiteral("   - средняя температура наиболее холодных суток обеспеченность 0,98 - tн=") + in.tn[0] +
               QStringLiteral("°С;"));
    report.add(QStringLiteral("   - средняя температура наиболее холодных суток обеспеченность 0,92 - tн=") + in.tn[1] +
               QStringLiteral("°С;"));
    report.add(QStringLiteral("   - средняя температура наиболее холодных трех суток обеспеченность 0,92 - tн=") +
               in.tn[2] + QStringLiteral("°С;"));
    report.add(QStringLiteral("   - средняя температура наиболее холодной пятидневки обеспеченность 0,92 - tн=") +
               in.tn[3] + QStringLiteral("°С;"));
    report.add(QStringLiteral("   - средняя температура наружного воздуха отопительного периода- tот.=") + h.tHeat +
               QStringLiteral("°С;"));
    report.add(QStringLiteral("   - средняя влажность наружного воздуха отопительного периода - фи(от.)=") + h.phiHeat +
               QStringLiteral("%;"));
    report.add(QStringLiteral("   - среднее парциальное давление водяного пара отопительного периода - е(от.)=") +
               h.eHeat + QStringLiteral(" Па;"));
    report.add(QStringLiteral("   - продолжительность отопительного периода - z(от.)=") + h.zHeat +
               QStringLiteral(" суток."));
}

void EnvelopeRun::reportCondition()
{
    report.addEmpty();
    report.add(QStringLiteral("РЕЗУЛЬТАТЫ РАСЧЕТА"));
    report.addEmpty();
    report.add(QStringLiteral("    При заданных параметрах внутреннего воздуха в соответствии с таблицей 4.2 ТКП 45-2.04-43 "
                              "приняты условия эксплуатации ограждающих конструкций - ") +
               st.conditionLetter + u'.');
}

QString EnvelopeRun::resistanceLine(bool refined, double rt) const
{
    QString line = QStringLiteral("Rт=1/") + table.header.alphaIn;
    for (int i = 0; i < table.count(); ++i) {
        const bool a = refined ? layerA[i] : st.conditionA;
        line += u'+' + g(values[i].thickness * 0.001) + u'/' + table.layers[i].cell(a ? kColLambdaA : kColLambdaB);
    }
    line += QStringLiteral("+1/") + table.header.alphaOut + u'=' + formatNumber(rt, "0.000") +
            QStringLiteral(" м2*градус/Вт.");
    return line;
}

void EnvelopeRun::reportResistances()
{
    report.addEmpty();
    report.add(QStringLiteral("Расчетное сопротивление теплопередаче ограждающей конструкции составляет:"));
    report.add(resistanceLine(false, st.rtPreliminary));

    report.addEmpty();
    report.add(QStringLiteral("Сопротивление паропроницанию ограждающей конструкции:"));
    QString line = QStringLiteral("Rп =");
    for (int i = 0; i < table.count(); ++i) {
        if (i > 0)
            line += u'+';
        line += g(values[i].thickness * 0.001) + u'/' + table.layers[i].cell(kColMu);
    }
    line += u'=' + formatNumber(st.rp, "0.000") + QStringLiteral(" м2*ч*Па/мг.");
    report.add(line);
}

void EnvelopeRun::reportRefineIntro()
{
    report.addBlank();
    if (!in.refine) {
        report.add(QStringLiteral("    По решению пользователя уточнение значения сопротивления теплопередаче в соответствии "
                                  "с п. 5.14 ТКП 45-2.04-43 не производится."));
    } else {
        report.add(QStringLiteral("    Так как данная ограждающая конструкция является многослойной, то в соответствии с п. 5.14 "
                                  "ТКП 45-2.04-43 определенное значение сопротивления теплопередаче является предварительным и "
                                  "подлежит уточнению согласно влажностным режимам материалов слоев."));
    }
}

void EnvelopeRun::reportTemperatureField()
{
    const LayerTableHeader& h = table.header;
    report.addBlank();
    report.add(QStringLiteral("   Определяем температуру на поверхностях ограждающей конструкции, граничных поверхностях "
                              "материалов и в промежуточных сечениях при средней температуре наружного воздуха за "
                              "отопительный период tот.= ") +
               h.tHeat + QStringLiteral("°С."));
    const QString F = formatNumber((tIn - tOut) / st.rtPreliminary, "0.0##");
    const int P = st.pointCount();
    QString terms = u'=' + h.tIn + u'-' + F + QStringLiteral("*(1/") + h.alphaIn;
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = st.points[j];
        const QString t = formatSingle(p.t, "0.00");
        if (j == 0) {
            report.add(QStringLiteral("tв.п.=") + h.tIn + QStringLiteral("-(") + h.tIn + u'-' + tOutText() +
                       QStringLiteral(")/") + formatNumber(st.rtPreliminary, "0.000") + QStringLiteral("*(1/") +
                       h.alphaIn + QStringLiteral(")= ") + h.tIn + u'-' + F + QStringLiteral("*(1/") + h.alphaIn +
                       QStringLiteral(")= ") + t + QStringLiteral("°С."));
        } else if (j < P - 1) {
            const float lambda = st.conditionA ? p.lambdaA : p.lambdaB;
            terms += u'+' + formatNumber(double(p.thickness) * 0.001, "0.0##") + u'/' + generalTextSingle(lambda);
            report.add(u't' + QString::number(j) + terms + QStringLiteral(")= ") + t + QStringLiteral("°С."));
        } else {
            report.add(QStringLiteral("tн.п.") + terms + QStringLiteral("+1/") + h.alphaOut + QStringLiteral(")= ") + t +
                       QStringLiteral("°С."));
        }
    }
}

void EnvelopeRun::reportSaturationField()
{
    report.addBlank();
    report.add(QStringLiteral("   Определяем максимальные парциальные давления водяного пара, соответствующие температурам в "
                              "сечениях ограждающей конструкции, по приложению Е ТКП 45-2.04-43:"));
    const int P = st.pointCount();
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = st.points[j];
        const QString t = formatSingle(p.t, "0.00");
        const QString E = formatSingle(p.E, "0.0");
        if (j == 0)
            report.add(QStringLiteral("tв.п.=") + t + QStringLiteral("°С. Ев.п.=") + E + QStringLiteral(" Па."));
        else if (j == P - 1)
            report.add(QStringLiteral("tн.п.=") + t + QStringLiteral("°С. Ен.п.=") + E + QStringLiteral(" Па."));
        else
            report.add(u't' + QString::number(j) + u'=' + t + QStringLiteral("°С. Е") + QString::number(j) + u'=' + E +
                       QStringLiteral(" Па."));
    }
}

void EnvelopeRun::reportAir()
{
    const LayerTableHeader& h = table.header;
    report.addBlank();
    report.add(QStringLiteral("  Максимальное парциальное давление водяного пара внутреннего воздуха при tв=") + h.tIn +
               QStringLiteral("°С по приложению Е ТКП 45-2.04-43 составляет Ев=") + formatNumber(st.Ev, "0.0") +
               QStringLiteral(" Па."));
    report.add(QStringLiteral("  Парциальное давление водяного пара внутреннего воздуха при t =") + h.tIn +
               QStringLiteral("°С и  фи(в)=") + h.phiIn +
               QStringLiteral("%, определяем по формуле (9.2) ТКП 45-2.04-43:"));
    report.add(QStringLiteral("ев=0,01*") + h.phiIn + u'*' + formatNumber(st.Ev, "0.0") + u'=' +
               formatNumber(st.ev, "0.0") + QStringLiteral(" Па."));

    report.addBlank();
    report.add(QStringLiteral("  Максимальное парциальное давление водяного пара при средней температуре отопительного "
                              "периода tн.от.= ") +
               h.tHeat + QStringLiteral("°С по приложению Е ТКП 45-2.04-43 составляет Ен=") +
               formatNumber(st.En, "0.0") + QStringLiteral(" Па."));
    report.add(QStringLiteral("  Парциальное давление водяного пара  при средней температуре tн.от.=") + h.tHeat +
               QStringLiteral("°С и  относительной влажности фи(н.от.)=") + h.phiHeat +
               QStringLiteral("% отопительного периода, определяем по формуле (9.4) ТКП 45-2.04-43:"));
    report.add(QStringLiteral("ен=0,01*") + h.phiHeat + u'*' + formatNumber(st.En, "0.0") + u'=' +
               formatNumber(st.en, "0.0") + QStringLiteral(" Па."));
}

void EnvelopeRun::reportVapourField()
{
    report.addBlank();
    report.add(QStringLiteral("   Определяем расчетные парциальные давления водяного пара на граничных поверхностях "
                              "материалов, в промежуточных сечениях по формуле (9.3) ТКП 45-2.04-43 и расчетные значения "
                              "относительной влажности  по формуле фи(i)=e(i)*100\\E(i):"));
    const QString ev = formatNumber(st.ev, "0.0");
    const QString en = formatNumber(st.en, "0.0");
    const int P = st.pointCount();
    QString terms;
    for (int j = 0; j < P; ++j) {
        const CalcPoint& p = st.points[j];
        const QString E = formatSingle(p.E, "0.0");
        const QString phi = formatSingle(p.phi, "0.0");
        report.addBlank();
        if (j == 0) {
            report.add(QStringLiteral("е(в.п.)=ев=") + ev + QStringLiteral("Па."));
            report.add(QStringLiteral("фи(в.п.)=") + ev + QStringLiteral("*100/") + E + u'=' + phi + QStringLiteral("%."));
        } else if (j == P - 1) {
            report.add(QStringLiteral("е(н.п.)=ен=") + en + QStringLiteral("Па."));
            report.add(QStringLiteral("фи(н.п.)=") + en + QStringLiteral("*100/") + E + u'=' + phi + QStringLiteral("%."));
        } else {
            if (!terms.isEmpty())
                terms += u'+';
            terms += formatNumber(double(p.thickness) * 0.001, "0.0##") + u'/' + generalTextSingle(p.mu);
            const QString e = formatSingle(p.e, "0.0");
            report.add(QStringLiteral("е") + QString::number(j) + u'=' + ev + QStringLiteral("-(") + ev + u'-' + en +
                       QStringLiteral(")*(") + terms + QStringLiteral(")/") + formatNumber(st.rp, "0.000") + u'=' + e +
                       QStringLiteral("Па."));
            report.add(QStringLiteral("фи") + QString::number(j) + u'=' + e + QStringLiteral("*100/") + E + u'=' + phi +
                       QStringLiteral("%."));
        }
    }
}

void EnvelopeRun::reportMeanHumidity()
{
    report.addBlank();
    report.add(QStringLiteral("   Средние значения относительной влажности воздуха для материалов ограждающей конструкции "
                              "составляют:"));
    for (int i = 0; i < table.count(); ++i) {
        QStringList parts;
        for (float phi : averagedPhi[i])
            parts.append(formatSingle(phi, "0.0"));
        report.add(QStringLiteral("фи(ср.)") + QString::number(i + 1) + QStringLiteral("=(") + parts.join(u'+') +
                   QStringLiteral(")/") + QString::number(averagedPhi[i].size()) + u'=' +
                   formatNumber(*st.layers[i].phiMean, "0.0") + QStringLiteral("%."));
    }
}

void EnvelopeRun::reportRefinedResistance()
{
    report.addBlank();
    report.add(QStringLiteral("   Производим уточненный расчет сопротивления теплопередаче ограждающей конструкции  в "
                              "соответствии с п. 5.14 ТКП 45-2.04-43."));
    for (int i = 0; i < table.count(); ++i) {
        report.add(QStringLiteral("Слой №") + QString::number(i + 1) + QStringLiteral(". Средняя влажность ") +
                   formatNumber(*st.layers[i].phiMean, "0.0") +
                   (layerA[i] ? QStringLiteral("% <75% - принимаем условия эксплуатации А.")
                              : QStringLiteral("% >75% - принимаем условия эксплуатации Б.")));
    }
    report.add(QStringLiteral("   Уточненное сопротивление теплопередаче ограждающей конструкции  составляет:"));
    report.add(resistanceLine(true, st.rt));
}

void EnvelopeRun::reportInertia()
{
    report.addBlank();
    report.add(QStringLiteral("   Тепловая инерция данной конструкции стены составляет:"));
    QString line = QStringLiteral("D=");
    for (int i = 0; i < table.count(); ++i) {
        const bool a = boundaryA(i);
        if (i > 0)
            line += u'+';
        line += g(values[i].thickness * 0.001) + u'*' + table.layers[i].cell(a ? kColSA : kColSB) + u'/' +
                table.layers[i].cell(a ? kColLambdaA : kColLambdaB);
    }
    line += u'=' + formatNumber(st.D, "0.0#") + u'.';
    report.add(line);
}

void EnvelopeRun::reportDesignTemperature()
{
    static const char* const phrases[] = {
        "среднюю температуру наиболее холодных суток обеспеченность 0,98 - tн=",
        "среднюю температуру наиболее холодных суток обеспеченность 0,92 - tн=",
        "среднюю температуру наиболее холодных трех суток обеспеченность 0,92 - tн=",
        "среднюю температуру наиболее холодной пятидневки обеспеченность 0,92 - tн=",
    };
    report.add(QStringLiteral("   Согласно таблице 5.2 ТКП 45-2.04-43 за расчетную зимнюю температуру наружного воздуха "
                              "для данной ограждающей конструкции следует принимать ") +
               QString::fromUtf8(phrases[st.tnIndex - 1]) + st.tnText + QStringLiteral("°С."));
}

void EnvelopeRun::reportRequiredResistance()
{
    const LayerTableHeader& h = table.header;
    report.addBlank();
    report.add(QStringLiteral("   Требуемое сопротивление теплопередаче по формуле 5.2 ТКП 45-2.04-43:"));
    report.add(QStringLiteral("Rт.тр.=") + in.n + QStringLiteral("*( ") + h.tIn + QStringLiteral("-(") + st.tnText +
               QStringLiteral("))/(") + h.alphaIn + u'*' + in.tempDiff + QStringLiteral(")=") +
               formatNumber(*st.rtRequired, "0.00") + QStringLiteral(" м2*градус/Вт."));
}

void EnvelopeRun::reportNormativeResistance()
{
    // Rт as the report writes it, with more decimals where "0.000" would hide the side
    const double norm = *st.rtNormative;
    const bool fails = st.rt < norm;
    QString rt;
    for (const char* pattern : {"0.000", "0.0000", "0.00000", "0.000000"}) {
        rt = formatNumber(st.rt, pattern);
        if ((*parseNumber(rt) < norm) == fails)
            break;
    }
    report.add(QStringLiteral("Согласно таблице 5.1 ТКП 45-2.04-43 нормативное сопротивление теплопередаче Rт.норм=") +
               in.rtNorm.trimmed() + QStringLiteral(" м2·°С/Вт; Rт=") + rt +
               (fails ? QStringLiteral(" < Rт.норм — требование не выполнено.")
                      : QStringLiteral(" >= Rт.норм — требование выполнено.")));  // no "≥" in Windows-1251
}

void EnvelopeRun::reportVapourCheck()
{
    const LayerTableHeader& h = table.header;
    const int N = table.count();
    report.addBlank();
    report.add(QStringLiteral("   Расчет сопротивления паропроницанию."));
    // the conditions of the layers are refined only when the user asked for it
    report.add(QStringLiteral("   Определим расчетную температуру на границах слоев ограждающей конструкции при ") +
               (in.refine ? QStringLiteral("уточненных условиях эксплуатации  материалов")
                          : QStringLiteral("условиях эксплуатации материалов предварительного расчета")) +
               QStringLiteral(" и соответствующие максимальные парциальные давления водяного пара:"));
    const QString rt = formatNumber(st.rt, "0.000");
    QString terms;
    for (int b = 1; b < N; ++b) {
        const int i = b - 1;
        const LayerResult& r = st.layers[i];
        terms += u'+' + formatNumber(values[i].thickness * 0.001, "0.0##") + u'/' +
                 table.layers[i].cell(boundaryA(i) ? kColLambdaA : kColLambdaB);
        const QString pair = QString::number(b) + u'-' + QString::number(b + 1);
        report.add(QStringLiteral("t(") + pair + QStringLiteral(")=") + h.tIn + QStringLiteral("-(") + h.tIn + u'-' +
                   tOutText() + QStringLiteral(")/") + rt + QStringLiteral("*(1/") + h.alphaIn + terms +
                   QStringLiteral(")= ") + formatNumber(r.tBoundary, "0.00") + QStringLiteral("°С."));
        report.add(QStringLiteral("Е(") + pair + QStringLiteral(")=") + formatNumber(r.eSatBoundary, "0.0") +
                   QStringLiteral("Па."));
    }

    report.addBlank();
    report.add(QStringLiteral("   Сопротивление паропроницанию  от границ слоев до наружной поверхности: "));
    const QString rp = formatNumber(st.rp, "0.000");
    for (int b = 1; b < N; ++b) {
        const LayerResult& r = st.layers[b - 1];
        report.add(QStringLiteral("Rп.н.(") + QString::number(b) + u'-' + QString::number(b + 1) + QStringLiteral(")=") +
                   rp + u'-' + formatNumber(r.rpFromInside, "0.000") + u'=' + formatNumber(r.rpToOutside, "0.000") +
                   QStringLiteral(" м2*ч*Па/мг."));
    }

    report.addBlank();
    report.add(QStringLiteral("   Требуемое сопротивление паропроницанию  от внутренней поверхности до границ слоев по "
                              "формуле (9.1) ТКП 45-2.04-43:"));
    const QString ev = formatNumber(st.ev, "0.0");
    const QString en = formatNumber(st.en, "0.0");
    for (int b = 1; b < N; ++b) {
        const LayerResult& r = st.layers[b - 1];
        const QString pair = QString::number(b) + u'-' + QString::number(b + 1);
        const QString E = formatNumber(r.eSatBoundary, "0.0");
        const QString req = formatNumber(r.rpRequired, "0.000");
        report.addBlank();
        report.add(QStringLiteral("Rп.тр.(") + pair + QStringLiteral(")=") + formatNumber(r.rpToOutside, "0.000") +
                   QStringLiteral("*(") + ev + u'-' + E + QStringLiteral(")/(") + E + u'-' + en + QStringLiteral(")=") +
                   req + QStringLiteral(" м2*ч*Па/мг."));
        QString line = QStringLiteral("Расчетное сопротивление паропроницанию данной ограждающей конструкции  в пределах "
                                      "от внутренней поверхности до границы слоев ") +
                       pair + QStringLiteral(" составляет Rп.в.=") + formatNumber(r.rpFromInside, "0.000");
        if (!r.passes) {
            line += QStringLiteral(", что меньше требуемого сопротивления паропроницанию Rп.тр.=") + req +
                    QStringLiteral(". Требования п. 9.1 ТКП 45-2.04-43 не выполнены!!! Необходимо либо изменить "
                                   "конструкцию ограждающей конструкции, либо предусмотреть конструктивные мероприятия "
                                   "для увеличения коэффициента паропроницания (предусмотреть пароизоляцию).");
        } else {
            line += QStringLiteral(", что больше требуемого сопротивления Rп.тр.=") + req +
                    QStringLiteral(". Требования п. 9.1 ТКП 45-2.04-43 выполнены.");
        }
        report.add(line);
    }
}

void EnvelopeRun::reportVerdict()
{
    report.addBlank();
    report.add(st.complies
                   ? QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43.")
                   : QStringLiteral("ВЫВОД: рассчитанная ограждающая конструкция НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43."));
}

}  // namespace ogrado
