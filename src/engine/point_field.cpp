// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/point_field.h"

#include "common/app_error.h"
#include "common/input_check.h"
#include "common/number_text.h"
#include "engine/saturation.h"

#include <cmath>

namespace ogrado {

namespace {

QString cellName(int column)
{
    switch (column) {
    case kColThickness:
        return QStringLiteral("толщина");
    case kColPoints:
        return QStringLiteral("количество промежуточных точек");
    case kColLambdaA:
    case kColLambdaB:
        return QStringLiteral("коэффициент теплопроводности");
    case kColSA:
    case kColSB:
        return QStringLiteral("коэффициент теплоусвоения");
    case kColMu:
        return QStringLiteral("коэффициент паропроницаемости");
    default:
        return QStringLiteral("значение");
    }
}

QString columnSuffix(int column)
{
    switch (column) {
    case kColLambdaA:
    case kColSA:
        return QStringLiteral(" для условий А");
    case kColLambdaB:
    case kColSB:
        return QStringLiteral(" для условий Б");
    default:
        return QString();
    }
}

// "Слой №2: коэффициент теплопроводности для условий Б «0» — деление на ноль. Укажите …"
[[noreturn]] void layerFail(const LayerTable& table, int i, int column, const QString& what, const QString& advice)
{
    const LayerRow& row = table.layers[i];
    throw AppError(QStringLiteral("Слой №%1: %2%3 «%4» %5 %6")
                       .arg(i + 1)
                       .arg(cellName(column), columnSuffix(column), row.cell(column).trimmed(), what, advice),
                   row.field(column));
}

// " в точке «…»", the point of a message.
QString atPoint(const QStringList& labels, int j)
{
    return QStringLiteral(" в точке «%1»").arg(pointName(labels, j));
}

}  // namespace

double headerNumber(const QString& text, const QString& what, const FieldRef& field)
{
    if (text.trimmed().isEmpty())
        throw AppError(QStringLiteral("%1: значение не задано. Введите число.").arg(what), field);
    const auto v = parseNumber(text);
    if (!v)
        throw AppError(QStringLiteral("%1: «%2» не является числом. Введите число.").arg(what, text.trimmed()), field);
    return *v;
}

double divideOrFail(double numerator, double divisor, const QString& what, const QString& text, const FieldRef& field)
{
    if (divisor == 0)
        throw AppError(QStringLiteral("%1 «%2» — деление на ноль. Укажите значение больше нуля.").arg(what, text.trimmed()),
                       field);
    return numerator / divisor;
}

QVector<LayerNumbers> parseLayerCells(const LayerTable& table)
{
    QVector<LayerNumbers> numbers(table.count());
    for (int i = 0; i < table.count(); ++i)
        for (int column = kColNumber; column <= kColMu; ++column)
            numbers[i][size_t(column)] = parseNumber(table.layers[i].cell(column));
    return numbers;
}

QVector<LayerValues> convertLayers(const LayerTable& table)
{
    return convertLayers(table, parseLayerCells(table));
}

QVector<LayerValues> convertLayers(const LayerTable& table, const QVector<LayerNumbers>& numbers)
{
    QVector<LayerValues> values;
    values.reserve(table.count());
    for (int i = 0; i < table.count(); ++i) {
        auto number = [&](int column) {
            const std::optional<double> v = numbers[i][size_t(column)];
            if (!v)
                layerFail(table, i, column, QStringLiteral("не является числом."), QStringLiteral("Введите число."));
            const InputRange& range = column == kColThickness ? kThicknessRange : kNonNegativeRange;
            if (!inRange(*v, range))  // the message only for a value refused
                requireInRange(*v, table.layers[i].cell(column),
                               QStringLiteral("Слой №%1, %2%3").arg(i + 1).arg(cellName(column), columnSuffix(column)),
                               range, table.layers[i].field(column));
            return *v;
        };
        LayerValues v;
        v.thickness = number(kColThickness);
        const double points = number(kColPoints);
        if (points != std::floor(points) || points > kMaxPoints)
            layerFail(table, i, kColPoints, QStringLiteral("недопустимо."),
                      QStringLiteral("Укажите целое число от 0 до 100."));
        v.points = int(points);
        v.lambdaA = number(kColLambdaA);
        v.lambdaB = number(kColLambdaB);
        v.sA = number(kColSA);
        v.sB = number(kColSB);
        v.mu = number(kColMu);
        values.append(v);
    }
    return values;
}

void replaceZeroPermeability(LayerTable& table, QVector<LayerValues>& values)
{
    for (int i = 0; i < values.size(); ++i) {
        if (values[i].mu == 0) {
            values[i].mu = 0.00001;
            table.layers[i].cells[kColMu] = generalText(0.00001);
        }
    }
}

bool conditionIsA(double tIn, double phiIn)
{
    return (tIn <= 12 && phiIn <= 60) || (tIn > 12 && tIn <= 24 && phiIn <= 50) || (tIn > 24 && phiIn <= 40);
}

double layerResistance(const LayerTable& table, const QVector<LayerValues>& values, int i, bool columnA)
{
    const double lambda = columnA ? values[i].lambdaA : values[i].lambdaB;
    if (lambda == 0)
        layerFail(table, i, columnA ? kColLambdaA : kColLambdaB, QStringLiteral("— деление на ноль."),
                  QStringLiteral("Укажите коэффициент теплопроводности больше нуля."));
    return values[i].thickness * 0.001 / lambda;
}

double layerVapourResistance(const QVector<LayerValues>& values, int i)
{
    return values[i].thickness * 0.001 / values[i].mu;
}

void buildPointList(const LayerTable& table, const QVector<LayerValues>& values, QVector<CalcPoint>& points,
                    QStringList& labels)
{
    int total = 1;
    for (const LayerValues& v : values)
        total += v.points + 1;
    if (total > kMaxPoints) {
        // the cells to change: the points of every layer that has some
        FieldRef field;
        for (int i = 0; i < values.size() && i < table.count(); ++i) {
            if (values[i].points > 0) {
                const FieldRef cell = table.layers[i].field(kColPoints);
                field.form = cell.form;
                field.controls += cell.controls;
            }
        }
        throw AppError(QStringLiteral("Слишком много расчетных точек: %1 (допускается не более %2). "
                                      "Уменьшите количество промежуточных точек.")
                           .arg(total)
                           .arg(kMaxPoints),
                       field);
    }
    points.clear();
    labels.clear();
    points.reserve(total);
    labels.reserve(total);
    points.append(CalcPoint{});  // inner surface: no thickness, λ = μ = 1
    labels.append(QString());
    for (int i = 0; i < values.size(); ++i) {
        const LayerValues& v = values[i];
        CalcPoint p;
        p.layer = i + 1;
        p.thickness = float(v.thickness / (v.points + 1));
        p.lambdaA = float(v.lambdaA);
        p.lambdaB = float(v.lambdaB);
        p.sA = float(v.sA);
        p.sB = float(v.sB);
        p.mu = float(v.mu);
        for (int k = 1; k <= v.points; ++k) {
            points.append(p);
            labels.append(QString::number(k) + QStringLiteral("пр. точка.  ") + table.layers[i].name);
        }
        points.append(p);
        labels.append(QStringLiteral("Граница слоев ") + QString::number(i + 1) + u'-' + QString::number(i + 2));
    }
}

QString pointName(const QStringList& labels, int j)
{
    if (j == 0)
        return QStringLiteral("Внутренняя поверхность");
    if (j == labels.size() - 1)
        return QStringLiteral("Наружная поверхность");
    return labels.value(j);
}

void fillTemperatureField(const LayerTable& table, QVector<CalcPoint>& points, const QStringList& labels,
                          const std::function<bool(const CalcPoint&)>& useA, double tIn, double tOut,
                          double alphaIn, double rt, const SaturationTable& sat)
{
    float rSum = 0;
    float rpSum = 0;
    for (int j = 0; j < points.size(); ++j) {
        CalcPoint& p = points[j];
        const bool a = useA(p);
        const float lambda = a ? p.lambdaA : p.lambdaB;
        if (lambda == 0)
            layerFail(table, p.layer - 1, a ? kColLambdaA : kColLambdaB, QStringLiteral("— деление на ноль."),
                      QStringLiteral("Укажите коэффициент теплопроводности больше нуля."));
        // a value of a point inside a layer that is not finite comes from that layer's
        // values: the message names the point, the window marks the layer's first cell
        auto finite = [&](double v, const char* what) {
            if (isFiniteSingle(v))
                return float(v);
            try {
                return requireFiniteSingle(v, QString::fromUtf8(what) + atPoint(labels, j));
            } catch (AppError& e) {
                if (p.layer >= 1 && p.layer <= table.count())
                    e.orField(table.layers[p.layer - 1].field(0));
                throw;
            }
        };
        rSum = finite(double(rSum) + double(p.thickness) * 0.001 / double(lambda),
                      "Термическое сопротивление от внутренней поверхности");
        p.rSum = rSum;
        p.t = finite(tIn - (tIn - tOut) * (1 / alphaIn + double(rSum)) / rt, "Температура");
        rpSum = finite(double(rpSum) + double(p.thickness) * 0.001 / double(p.mu),
                       "Сопротивление паропроницанию от внутренней поверхности");
        p.rpSum = rpSum;
    }
    for (int j = 0; j < points.size(); ++j)
        points[j].E = float(SaturationPressureNamed(
            sat, double(points[j].t), [&]() -> QString { return QStringLiteral("Температура") + atPoint(labels, j); },
            kComputedTemperatureAdvice));
}

void fillVapourField(QVector<CalcPoint>& points, const QStringList& labels, double ev, double en, double rp)
{
    for (int j = 0; j < points.size(); ++j) {
        CalcPoint& p = points[j];
        p.e = requireFiniteSingleNamed(ev - (ev - en) * double(p.rpSum) / rp, [&]() -> QString {
            return QStringLiteral("Парциальное давление водяного пара") + atPoint(labels, j);
        });
        p.phi = RelativeHumidityNamed(double(p.e), double(p.E),
                                      [&]() -> QString { return QStringLiteral("Относительная влажность") + atPoint(labels, j); });
    }
}

QVector<double> layerMeanHumidity(QVector<CalcPoint>& points, const QVector<LayerValues>& values,
                                  QVector<QVector<float>>* averaged)
{
    QVector<double> means;
    means.reserve(values.size());
    if (averaged)
        averaged->clear();
    int cur = 0;  // 0-based index of the point before the layer
    for (const LayerValues& v : values) {
        const int last = cur + v.points + 1;
        double sum = 0;
        for (int k = cur; k <= last; ++k)
            sum += double(points[k].phi);
        const double mean = sum / (v.points + 2);
        for (int k = cur + 1; k <= last; ++k)
            points[k].phiMean = float(mean);
        means.append(mean);
        if (averaged) {
            QVector<float> used;
            for (int k = cur; k <= last; ++k)
                used.append(points[k].phi);
            averaged->append(used);
        }
        cur = last;
    }
    return means;
}

}  // namespace ogrado
