// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_plot.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "common/text_file.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ogrado {

namespace {

const QColor kTemperatureColor(214, 96, 0);
const QColor kSaturationColor(31, 100, 180);
const QColor kVapourColor(0, 135, 60);
const QColor kFailColor(255, 0, 0);  // the colour of a failing boundary in the main window
const QColor kZoneColor(110, 50, 190);
const QColor kBands[2] = {QColor(236, 242, 251), QColor(252, 246, 232)};
const QColor kBoundaryColor(120, 120, 120);
const QColor kTextColor(30, 30, 30);

const QString kTitle = QStringLiteral("Температура и парциальное давление водяного пара в сечении конструкции");
const QString kTName = QStringLiteral("t — температура, °С (левая ось)");
const QString kEName = QStringLiteral("E — максимальное парциальное давление водяного пара, Па (правая ось)");
const QString keName = QStringLiteral("e — расчетное парциальное давление водяного пара, Па (правая ось)");
const QString kZoneName = QStringLiteral("зона возможной конденсации (e ≥ E)");
const QString kFailName = QStringLiteral("граница слоев, не удовлетворяющая п. 9.1 ТКП 45-2.04-43");
const QString kAirName = QStringLiteral("значения во внутреннем и наружном воздухе");

// A step of 1, 2, 2.5 or 5 (or the other given mantissas) times a power of ten, at least `raw`.
double niceStep(double raw, std::initializer_list<double> mantissas)
{
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : mantissas)
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    return 10 * power;
}

// Decimals that show every multiple of `step` exactly.
int decimalsOf(double step)
{
    for (int d = 0; d < 4; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::abs(scaled - std::round(scaled)) < 1e-6)
            return d;
    }
    return 4;
}

QFont pixelFont(double px, bool bold = false)
{
    QFont f = QApplication::font();
    f.setPixelSize(std::max(6, int(std::lround(px))));
    f.setBold(bold);
    return f;
}

QString temperatureText(double t)
{
    return generalText(t);
}

// Labels in one strip: each wants to be centred on `want`; rows are filled first-fit, a
// label keeps its place in the first row where it does not touch another one.
struct StripLabel {
    double want = 0;
    double width = 0;
    double left = 0;
    int row = 0;
};

int packRows(QVector<StripLabel>& labels, double lo, double hi, double gap, int maxRows)
{
    QVector<double> rowEnd;
    for (StripLabel& l : labels) {
        l.left = std::clamp(l.want - l.width / 2, lo, std::max(lo, hi - l.width));
        int row = -1;
        for (int r = 0; r < rowEnd.size(); ++r) {
            if (rowEnd[r] + gap <= l.left) {
                row = r;
                break;
            }
        }
        if (row < 0 && rowEnd.size() < maxRows) {
            rowEnd.append(-1e9);
            row = int(rowEnd.size()) - 1;
        }
        if (row < 0) {  // more labels than rows: beside the least filled row
            row = int(std::min_element(rowEnd.begin(), rowEnd.end()) - rowEnd.begin());
            l.left = rowEnd[row] + gap;
        }
        l.row = row;
        rowEnd[row] = l.left + l.width;
    }
    return int(rowEnd.size());
}

// Labels in one row, in order, pushed apart as little as possible within [lo, hi].
void spreadRow(QVector<StripLabel>& labels, double lo, double hi, double gap)
{
    double end = lo - gap;
    for (StripLabel& l : labels) {
        l.left = std::max(l.want - l.width / 2, end + gap);
        end = l.left + l.width;
    }
    double start = hi + gap;
    for (qsizetype i = labels.size() - 1; i >= 0; --i) {
        StripLabel& l = labels[i];
        l.left = std::max(lo, std::min(l.left, start - gap - l.width));
        start = l.left;
    }
}

// One entry of the legend: its symbol is drawn by `kind`.
enum class Symbol { Temperature, Saturation, Vapour, Zone, Fail, Air };

void drawHatch(QPainter& p, const QRectF& r, double scale)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    QColor fill = kZoneColor;
    fill.setAlpha(40);
    p.fillRect(r, fill);
    QColor line = kZoneColor;
    line.setAlpha(150);
    p.setPen(QPen(line, 1.2 * scale));
    const double step = 9 * scale;
    for (double x = r.left() - r.height(); x < r.right(); x += step)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

void drawTriangle(QPainter& p, QPointF tip, bool pointsRight, double size, const QColor& color)
{
    const double d = pointsRight ? -size : size;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip.x() + d, tip.y() - size * 0.6);
    path.lineTo(tip.x() + d, tip.y() + size * 0.6);
    path.closeSubpath();
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(color);
    p.drawPath(path);
}

void drawBadge(QPainter& p, const QRectF& r, int number, const QFont& font)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(r);
    p.setFont(font);
    p.setPen(kTextColor);
    p.drawText(r, Qt::AlignCenter, QString::number(number));
}

// An axis in the chart's fonts and lines, its title in the colour of its curves.
void styleAxis(QValueAxis* axis, const QString& title, const QColor& color, double s)
{
    axis->setTitleText(title);
    axis->setTitleFont(pixelFont(13 * s, true));
    axis->setTitleBrush(color);
    axis->setLabelsFont(pixelFont(12 * s));
    axis->setLabelsColor(kTextColor);
    axis->setLinePen(QPen(QColor(90, 90, 90), 1 * s));
    axis->setGridLinePen(QPen(QColor(205, 205, 205), 1 * s));
    axis->setMinorGridLineVisible(false);
}

// The symbol of a legend entry in `sym`, its middle at `cy`; a curve's symbol is drawn
// with the curve's pen.
void drawLegendSymbol(QPainter& p, Symbol symbol, const QRectF& sym, double cy, double s, const QPen& curvePen)
{
    switch (symbol) {
    case Symbol::Temperature:
    case Symbol::Saturation:
    case Symbol::Vapour:
        p.setPen(curvePen);
        p.drawLine(QPointF(sym.left(), cy), QPointF(sym.right(), cy));
        p.setPen(Qt::NoPen);
        p.setBrush(curvePen.color());
        p.drawEllipse(QPointF(sym.center().x(), cy), 3 * s, 3 * s);
        break;
    case Symbol::Zone:
        drawHatch(p, sym, s);
        p.setPen(QPen(kZoneColor, 1 * s));
        p.setBrush(Qt::NoBrush);
        p.drawRect(sym);
        break;
    case Symbol::Fail:
        p.setPen(QPen(kFailColor, 2.4 * s));
        p.drawLine(QPointF(sym.center().x(), sym.top() - 2 * s), QPointF(sym.center().x(), sym.bottom() + 2 * s));
        break;
    case Symbol::Air:
        drawTriangle(p, QPointF(sym.left() + 11 * s, cy), true, 9 * s, kTemperatureColor);
        drawTriangle(p, QPointF(sym.right() - 11 * s, cy), false, 9 * s, kTemperatureColor);
        break;
    }
}

}  // namespace

// The layout of everything outside the plot area, for the current size.
struct SectionChartPlot::Frame {
    // Fonts, line heights and gaps at this scale.
    explicit Frame(double scale);
    // The texts of the air on both sides, on one row over the plot or on two.
    void placeAir(const SectionChart& data);
    // The labels of the failing boundaries in rows, the layer numbers in one row;
    // `xPixel` gives the pixel of a position in the wall.
    template <typename XPixel>
    void placeStrips(const SectionChart& data, XPixel xPixel, double width);
    // The legend's entries in rows as wide as the chart.
    void placeLegend(const SectionChart& data, double width);
    // The table of layers (number, name, thickness) in up to four columns.
    void placeTable(const SectionChart& data, double width);
    // The room above the plot (header, failing labels, numbers) and below it (legend, table).
    void setMargins();

    double s = 1;
    QFont title, text, small, badge;
    double pad = 10, lineH = 16, smallH = 14, badgeD = 18, gap = 6;
    QRectF plot;
    // header
    QString insideText, outsideText;
    bool airOnTwoRows = false;
    // failing boundaries above the plot
    QVector<StripLabel> fails;
    QVector<int> failBoundary;  // index into data_.boundaries
    int failRows = 0;
    // layer numbers right above the plot
    QVector<StripLabel> numbers;
    // legend and table of layers at the bottom
    struct LegendItem {
        Symbol symbol;
        QString text;
        double width;
        int row;
        double left;
    };
    QVector<LegendItem> legend;
    int legendRows = 0;
    QStringList tableTexts;
    int tableCols = 1, tableRows = 0;
    double tableColW = 0, tableColGap = 24, tableRowH = 16;
    double topMargin = 0, bottomMargin = 0;
};

SectionChartPlot::Frame::Frame(double scale) : s(scale)
{
    title = pixelFont(16 * s, true);
    text = pixelFont(13 * s);
    small = pixelFont(12 * s);
    badge = pixelFont(11 * s, true);
    const QFontMetricsF textMetrics(text);
    const QFontMetricsF smallMetrics(small);
    pad = 10 * s;
    gap = 6 * s;
    lineH = textMetrics.height() + 3 * s;
    smallH = smallMetrics.height() + 2 * s;
    badgeD = std::max(smallMetrics.height() + 4 * s, QFontMetricsF(badge).horizontalAdvance(QStringLiteral("88")) + 8 * s);
}

void SectionChartPlot::Frame::placeAir(const SectionChart& data)
{
    insideText = QStringLiteral("Внутренний воздух: tв = ") + temperatureText(data.inside.t) +
                 QStringLiteral(" °С, ев = ") + formatNumber(data.inside.e, "0.0") + QStringLiteral(" Па, Ев = ") +
                 formatNumber(data.inside.E, "0.0") + QStringLiteral(" Па");
    outsideText = QStringLiteral("Наружный воздух (отопительный период): tн.от. = ") +
                  temperatureText(data.outside.t) + QStringLiteral(" °С, ен = ") +
                  formatNumber(data.outside.e, "0.0") + QStringLiteral(" Па, Ен = ") +
                  formatNumber(data.outside.E, "0.0") + QStringLiteral(" Па");
    const QFontMetricsF metrics(text);
    airOnTwoRows = metrics.horizontalAdvance(insideText) + metrics.horizontalAdvance(outsideText) + 6 * gap >
                   plot.width();
}

template <typename XPixel>
void SectionChartPlot::Frame::placeStrips(const SectionChart& data, XPixel xPixel, double width)
{
    const QFontMetricsF metrics(small);
    for (int b = 0; b < data.boundaries.size(); ++b) {
        const ChartBoundary& boundary = data.boundaries[b];
        if (!boundary.fails)
            continue;
        fails.append({xPixel(boundary.x), metrics.horizontalAdvance(boundary.label) + 8 * s, 0, 0});
        failBoundary.append(b);
    }
    failRows = packRows(fails, pad, width - pad, gap, 8);

    for (const ChartLayer& layer : data.layers)
        numbers.append({(xPixel(layer.from) + xPixel(layer.to)) / 2, badgeD, 0, 0});
    spreadRow(numbers, plot.left(), plot.right(), 2 * s);
}

void SectionChartPlot::Frame::placeLegend(const SectionChart& data, double width)
{
    const QFontMetricsF metrics(small);
    auto legendItem = [&](Symbol symbol, const QString& name) {
        legend.append({symbol, name, 34 * s + metrics.horizontalAdvance(name), 0, 0});
    };
    legendItem(Symbol::Temperature, kTName);
    legendItem(Symbol::Saturation, kEName);
    legendItem(Symbol::Vapour, keName);
    if (!data.condensation.isEmpty())
        legendItem(Symbol::Zone, kZoneName);
    if (data.hasFailingBoundary())
        legendItem(Symbol::Fail, kFailName);
    legendItem(Symbol::Air, kAirName);
    const double legendGap = 18 * s;
    double x = pad;
    int row = 0;
    for (LegendItem& item : legend) {
        if (x > pad && x + item.width > width - pad) {
            ++row;
            x = pad;
        }
        item.row = row;
        item.left = x;
        x += item.width + legendGap;
    }
    legendRows = legend.isEmpty() ? 0 : row + 1;
}

void SectionChartPlot::Frame::placeTable(const SectionChart& data, double width)
{
    const QFontMetricsF metrics(text);
    double widest = 0;
    for (const ChartLayer& layer : data.layers) {
        const QString name = layer.name.isEmpty() ? QStringLiteral("(без наименования)") : layer.name;
        const QString t = name + QStringLiteral(", ") + generalText(layer.thickness) + QStringLiteral(" мм");
        tableTexts.append(t);
        widest = std::max(widest, metrics.horizontalAdvance(t));
    }
    tableColGap = 24 * s;
    const double entryW = badgeD + gap + widest;
    const double avail = width - 2 * pad;
    const int n = int(data.layers.size());
    tableCols = std::clamp(int((avail + tableColGap) / (entryW + tableColGap)), 1, std::max(1, std::min(n, 4)));
    tableRows = n == 0 ? 0 : (n + tableCols - 1) / tableCols;
    tableColW = std::min(entryW, (avail - tableColGap * (tableCols - 1)) / tableCols);
    tableRowH = std::max(lineH, badgeD + 3 * s);
}

void SectionChartPlot::Frame::setMargins()
{
    topMargin = pad + QFontMetricsF(title).height() + 2 * s + lineH * (airOnTwoRows ? 3 : 2) + gap +
                failRows * (smallH + 4 * s) + badgeD + 10 * s;
    bottomMargin = gap + legendRows * lineH + gap + tableRows * tableRowH + pad;
}

class SectionChartPlot::Decor : public QGraphicsItem {
public:
    Decor(SectionChartPlot* chart, bool over) : QGraphicsItem(chart), chart_(chart), over_(over)
    {
        setZValue(over ? 20 : 0.5);
        setAcceptedMouseButtons(Qt::NoButton);
        setAcceptHoverEvents(false);
    }
    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), chart_->size()); }
    void sizeChanged()
    {
        prepareGeometryChange();
        update();
    }
    void paint(QPainter* p, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setRenderHint(QPainter::TextAntialiasing);
        if (over_)
            chart_->paintOver(*p);
        else
            chart_->paintUnder(*p);
        p->restore();
    }

private:
    SectionChartPlot* chart_;
    bool over_;
};

SectionChartPlot::SectionChartPlot(const SectionChart& data, double scale, QGraphicsItem* parent)
    : QChart(parent), data_(data), scale_(scale)
{
    layout()->setContentsMargins(0, 0, 0, 0);  // the white background reaches the edges
    setBackgroundRoundness(0);
    setDropShadowEnabled(false);
    setBackgroundBrush(Qt::white);
    setPlotAreaBackgroundVisible(false);
    legend()->hide();
    setAnimationOptions(QChart::NoAnimation);
    QLocale locale(QLocale::Russian, QLocale::Belarus);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    setLocale(locale);
    setLocalizeNumbers(true);

    addCurves();
    QValueAxis* x = addDistanceAxis();
    addValueAxes(x);
    addDecor();
}

void SectionChartPlot::addCurves()
{
    const double s = scale_;
    t_ = new QLineSeries(this);
    E_ = new QLineSeries(this);
    e_ = new QLineSeries(this);
    t_->setName(kTName);
    E_->setName(kEName);
    e_->setName(keName);
    for (const ChartPoint& pt : data_.points) {
        t_->append(pt.x, pt.t);
        E_->append(pt.x, pt.E);
        e_->append(pt.x, pt.e);
    }
    QPen tPen(kTemperatureColor, 2.6 * s);
    QPen EPen(kSaturationColor, 2.2 * s, Qt::DashLine);
    QPen ePen(kVapourColor, 2.2 * s);
    for (QPen* pen : {&tPen, &EPen, &ePen}) {
        pen->setCapStyle(Qt::RoundCap);
        pen->setJoinStyle(Qt::RoundJoin);
    }
    t_->setPen(tPen);
    E_->setPen(EPen);
    e_->setPen(ePen);
    for (QLineSeries* series : {t_, E_, e_}) {
        series->setPointsVisible(true);
        series->setMarkerSize(4 * s);
        addSeries(series);
    }
}

QValueAxis* SectionChartPlot::addDistanceAxis()
{
    // x: the wall, inner surface at 0
    auto* x = new QValueAxis(this);
    const double T = data_.thickness() > 0 ? data_.thickness() : 1;
    const double xStep = niceStep(T / 10, {1, 2, 2.5, 5});
    x->setRange(0, T);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(xStep);
    x->setLabelFormat(QStringLiteral("%.%1f").arg(decimalsOf(xStep)));
    styleAxis(x, QStringLiteral("Расстояние от внутренней поверхности, мм"), kTextColor, scale_);
    addAxis(x, Qt::AlignBottom);
    return x;
}

void SectionChartPlot::addValueAxes(QValueAxis* x)
{
    // t on the left; E and e on the right with as many intervals, so the grids coincide
    double tLo = std::min(data_.inside.t, data_.outside.t);
    double tHi = std::max(data_.inside.t, data_.outside.t);
    double pHi = std::max({data_.inside.E, data_.inside.e, data_.outside.E, data_.outside.e});
    for (const ChartPoint& pt : data_.points) {
        tLo = std::min(tLo, double(pt.t));
        tHi = std::max(tHi, double(pt.t));
        pHi = std::max({pHi, double(pt.E), double(pt.e)});
    }
    if (tHi - tLo < 1e-6) {
        tLo -= 1;
        tHi += 1;
    }
    const double tStep = niceStep((tHi - tLo) / 8, {1, 2, 2.5, 5});
    const double tMin = std::floor(tLo / tStep - 1e-9) * tStep;
    const double tMax = std::ceil(tHi / tStep + 1e-9) * tStep;
    const int intervals = std::max(1, int(std::lround((tMax - tMin) / tStep)));
    auto* yT = new QValueAxis(this);
    yT->setRange(tMin, tMax);
    yT->setTickCount(intervals + 1);
    yT->setLabelFormat(QStringLiteral("%.%1f").arg(decimalsOf(tStep)));
    styleAxis(yT, QStringLiteral("Температура t, °С"), kTemperatureColor, scale_);
    addAxis(yT, Qt::AlignLeft);

    const double pStep = niceStep((pHi > 0 ? pHi : 1) / intervals, {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8});
    auto* yP = new QValueAxis(this);
    yP->setRange(0, pStep * intervals);
    yP->setTickCount(intervals + 1);
    yP->setLabelFormat(QStringLiteral("%.%1f").arg(decimalsOf(pStep)));
    styleAxis(yP, QStringLiteral("Парциальное давление E, e, Па"), kSaturationColor, scale_);
    yP->setGridLineVisible(false);
    addAxis(yP, Qt::AlignRight);

    t_->attachAxis(x);
    t_->attachAxis(yT);
    for (QLineSeries* series : {E_, e_}) {
        series->attachAxis(x);
        series->attachAxis(yP);
    }
}

void SectionChartPlot::addDecor()
{
    under_ = new Decor(this, false);
    over_ = new Decor(this, true);
    connect(this, &QChart::plotAreaChanged, this, [this] {
        fitFrame();
        under_->update();
        over_->update();
    });
    connect(this, &QGraphicsWidget::geometryChanged, this, [this] {
        under_->sizeChanged();
        over_->sizeChanged();
        fitFrame();
    });
    const int side = int(std::lround(10 * scale_));
    setMargins(QMargins(side, int(std::lround(120 * scale_)), side, int(std::lround(90 * scale_))));
}

SectionChartPlot::~SectionChartPlot() = default;

QPair<double, double> SectionChartPlot::temperatureRange() const
{
    const auto* axis = static_cast<QValueAxis*>(axes(Qt::Vertical, t_).value(0));
    return {axis->min(), axis->max()};
}

QPair<double, double> SectionChartPlot::pressureRange() const
{
    const auto* axis = static_cast<QValueAxis*>(axes(Qt::Vertical, e_).value(0));
    return {axis->min(), axis->max()};
}

double SectionChartPlot::xToPixel(double x) const
{
    return const_cast<SectionChartPlot*>(this)->mapToPosition(QPointF(x, 0), t_).x();
}

double SectionChartPlot::tToPixel(double t) const
{
    return const_cast<SectionChartPlot*>(this)->mapToPosition(QPointF(0, t), t_).y();
}

double SectionChartPlot::pToPixel(double p) const
{
    return const_cast<SectionChartPlot*>(this)->mapToPosition(QPointF(0, p), e_).y();
}

int SectionChartPlot::pointAt(QPointF position) const
{
    const QRectF plot = plotArea();
    const double reach = 8 * scale_;
    if (data_.points.isEmpty() || !plot.adjusted(-reach, -reach, reach, reach).contains(position))
        return -1;
    // distance from the position to each curve, segment by segment
    auto distanceToSegment = [](QPointF p, QPointF a, QPointF b) {
        const QPointF ab = b - a;
        const double length2 = QPointF::dotProduct(ab, ab);
        const double k = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
        const QPointF d = p - (a + k * ab);
        return std::hypot(d.x(), d.y());
    };
    double nearest = std::numeric_limits<double>::max();
    for (const QLineSeries* series : {t_, E_, e_}) {
        auto* self = const_cast<SectionChartPlot*>(this);
        QPointF previous = self->mapToPosition(series->at(0), const_cast<QLineSeries*>(series));
        nearest = std::min(nearest, std::hypot(position.x() - previous.x(), position.y() - previous.y()));
        for (int j = 1; j < series->count(); ++j) {
            const QPointF next = self->mapToPosition(series->at(j), const_cast<QLineSeries*>(series));
            nearest = std::min(nearest, distanceToSegment(position, previous, next));
            previous = next;
        }
    }
    if (nearest > reach)
        return -1;
    int best = 0;
    for (int j = 1; j < data_.points.size(); ++j)
        if (std::abs(xToPixel(data_.points[j].x) - position.x()) < std::abs(xToPixel(data_.points[best].x) - position.x()))
            best = j;
    return best;
}

QString SectionChartPlot::pointToolTip(const ChartPoint& p)
{
    const QString phi = p.phi > 100 ? QStringLiteral("100% !!!") : formatSingle(p.phi, "0.0") + QStringLiteral(" %");
    return p.name + u'\n' + QStringLiteral("x = ") + formatNumber(p.x, "0.0#") + QStringLiteral(" мм") + u'\n' +
           QStringLiteral("t = ") + formatSingle(p.t, "0.00") + QStringLiteral(" °С") + u'\n' + QStringLiteral("E = ") +
           formatSingle(p.E, "0.0") + QStringLiteral(" Па") + u'\n' + QStringLiteral("e = ") +
           formatSingle(p.e, "0.0") + QStringLiteral(" Па") + u'\n' + QStringLiteral("фи = ") + phi;
}

SectionChartPlot::Frame SectionChartPlot::frame() const
{
    Frame f(scale_);
    const double s = scale_;
    const double W = size().width();
    const double H = size().height();
    f.plot = plotArea();
    const bool laidOut = f.plot.width() > 0;
    if (!laidOut)  // not laid out yet: a fair guess
        f.plot = QRectF(110 * s, 120 * s, std::max(100.0, W - 240 * s), std::max(100.0, H - 220 * s));
    const double T = data_.thickness() > 0 ? data_.thickness() : 1;
    auto xPixel = [&](double x) { return laidOut ? xToPixel(x) : f.plot.left() + f.plot.width() * x / T; };
    f.placeAir(data_);
    f.placeStrips(data_, xPixel, W);
    f.placeLegend(data_, W);
    f.placeTable(data_, W);
    f.setMargins();
    return f;
}

void SectionChartPlot::fitFrame()
{
    if (fitting_ || size().isEmpty())
        return;
    fitting_ = true;
    const Frame f = frame();
    const int side = int(std::lround(10 * scale_));
    const QMargins wanted(side, int(std::ceil(f.topMargin)), side, int(std::ceil(f.bottomMargin)));
    if (margins() != wanted)
        setMargins(wanted);
    fitting_ = false;
}

void SectionChartPlot::layoutNow()
{
    // a changed margin lays the chart out again; a few rounds settle it
    for (int round = 0; round < 4; ++round) {
        const QMargins before = margins();
        if (layout())
            layout()->activate();
        fitFrame();
        if (layout())
            layout()->activate();
        if (margins() == before)
            break;
    }
}

void SectionChartPlot::paintUnder(QPainter& p) const
{
    const QRectF plot = plotArea();
    if (plot.width() <= 0)
        return;
    for (int i = 0; i < data_.layers.size(); ++i) {
        const ChartLayer& layer = data_.layers[i];
        const double a = xToPixel(layer.from);
        const double b = xToPixel(layer.to);
        p.fillRect(QRectF(QPointF(a, plot.top()), QPointF(b, plot.bottom())), kBands[i % 2]);
    }
    for (const ChartStretch& zone : data_.condensation) {
        double a = xToPixel(zone.from);
        double b = xToPixel(zone.to);
        if (b - a < 3 * scale_) {  // e only touches E: a narrow mark stays visible
            const double mid = (a + b) / 2;
            a = mid - 1.5 * scale_;
            b = mid + 1.5 * scale_;
        }
        drawHatch(p, QRectF(QPointF(a, plot.top()), QPointF(b, plot.bottom())), scale_);
    }
}

void SectionChartPlot::paintOver(QPainter& p) const
{
    const QRectF plot = plotArea();
    if (plot.width() <= 0)
        return;
    const Frame f = frame();
    paintBoundaries(p, plot);
    paintAirMarks(p, plot);
    paintHeader(p, f, plot);
    paintStrips(p, f, plot);
    // legend and the table of layers at the bottom
    const double tableTop = size().height() - f.pad - f.tableRows * f.tableRowH;
    paintLegend(p, f, tableTop - f.gap - f.legendRows * f.lineH);
    paintLayerTable(p, f, tableTop);
}

void SectionChartPlot::paintBoundaries(QPainter& p, const QRectF& plot) const
{
    // boundaries: grey, red where п. 9.1 fails; the two surfaces frame the plot
    for (const ChartBoundary& b : data_.boundaries) {
        const double x = xToPixel(b.x);
        p.setPen(b.fails ? QPen(kFailColor, 2.4 * scale_) : QPen(kBoundaryColor, 1 * scale_, Qt::SolidLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.4 * scale_));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
}

void SectionChartPlot::paintAirMarks(QPainter& p, const QRectF& plot) const
{
    // the air values at the edges; marks that would cover each other step away from the edge
    const double tri = 9 * scale_;
    for (const bool inside : {true, false}) {
        const ChartAir& air = inside ? data_.inside : data_.outside;
        struct Mark {
            double y;
            QColor color;
        };
        QVector<Mark> marks = {{tToPixel(air.t), kTemperatureColor},
                               {pToPixel(air.E), kSaturationColor},
                               {pToPixel(air.e), kVapourColor}};
        QVector<double> placed;
        for (const Mark& m : marks) {
            int step = 0;
            for (double y : placed)
                if (std::abs(y - m.y) < 1.3 * tri)
                    ++step;
            placed.append(m.y);
            const double offset = tri * (1 + 1.2 * step);
            const double x = inside ? plot.left() + offset : plot.right() - offset;
            drawTriangle(p, QPointF(x, m.y), inside, tri, m.color);
        }
    }
}

void SectionChartPlot::paintHeader(QPainter& p, const Frame& f, const QRectF& plot) const
{
    // the title, the caption of the result lists, the air
    const double W = size().width();
    double y = f.pad;
    p.setPen(kTextColor);
    p.setFont(f.title);
    const double titleH = QFontMetricsF(f.title).height();
    p.drawText(QRectF(f.pad, y, W - 2 * f.pad, titleH), Qt::AlignCenter,
               QFontMetricsF(f.title).elidedText(kTitle, Qt::ElideRight, W - 2 * f.pad));
    y += titleH + 2 * scale_;
    p.setFont(f.text);
    const QFontMetricsF text(f.text);
    p.drawText(QRectF(f.pad, y, W - 2 * f.pad, f.lineH), Qt::AlignCenter, data_.caption);
    y += f.lineH;
    // the air texts stand over the edge they belong to; on two rows when they do not fit in one
    const double airLeft = f.airOnTwoRows ? f.pad : plot.left();
    const double airW = (f.airOnTwoRows ? W - f.pad : plot.right()) - airLeft;
    p.drawText(QRectF(airLeft, y, airW, f.lineH), Qt::AlignLeft | Qt::AlignVCenter,
               text.elidedText(f.insideText, Qt::ElideRight, airW));
    if (f.airOnTwoRows)
        y += f.lineH;
    p.drawText(QRectF(airLeft, y, airW, f.lineH), Qt::AlignRight | Qt::AlignVCenter,
               text.elidedText(f.outsideText, Qt::ElideRight, airW));
}

void SectionChartPlot::paintStrips(QPainter& p, const Frame& f, const QRectF& plot) const
{
    const double s = scale_;
    // Failing boundaries: their labels in rows above the layer numbers, a red dotted line
    // down to the plot. The lines go first, so that labels and numbers cover them.
    const double numbersTop = plot.top() - f.badgeD - 8 * s;
    const double failBottom = numbersTop - 4 * s;
    QVector<QRectF> failBoxes;
    for (const StripLabel& l : f.fails) {
        const double rowTop = failBottom - (f.failRows - l.row) * (f.smallH + 4 * s);
        const QRectF box(l.left, rowTop, l.width, f.smallH);
        failBoxes.append(box);
        p.setPen(QPen(kFailColor, 1.2 * s, Qt::DotLine));
        const double anchor = std::clamp(l.want, box.left() + 2 * s, box.right() - 2 * s);
        p.drawLine(QPointF(anchor, box.bottom()), QPointF(l.want, plot.top()));
    }

    // layer numbers right above the plot, with a short line to the middle of the band
    for (int i = 0; i < f.numbers.size(); ++i) {
        const StripLabel& l = f.numbers[i];
        const QRectF badge(l.left, numbersTop, l.width, f.badgeD);
        p.setPen(QPen(QColor(110, 110, 110), 1 * s));
        p.drawLine(QPointF(badge.center().x(), badge.bottom()), QPointF(l.want, plot.top()));
        drawBadge(p, badge, data_.layers[i].number, f.badge);
    }

    p.setFont(f.small);
    for (int k = 0; k < failBoxes.size(); ++k) {
        p.setPen(QPen(kFailColor, 1 * s));
        p.setBrush(QColor(255, 235, 235));
        p.drawRect(failBoxes[k]);
        p.setPen(QColor(190, 0, 0));
        p.drawText(failBoxes[k], Qt::AlignCenter, data_.boundaries[f.failBoundary[k]].label);
    }
}

void SectionChartPlot::paintLegend(QPainter& p, const Frame& f, double legendTop) const
{
    const double s = scale_;
    p.setFont(f.small);
    for (const Frame::LegendItem& item : f.legend) {
        const double cy = legendTop + item.row * f.lineH + f.lineH / 2;
        const QRectF sym(item.left, cy - 6 * s, 28 * s, 12 * s);
        const QLineSeries* curve = item.symbol == Symbol::Temperature  ? t_
                                   : item.symbol == Symbol::Saturation ? E_
                                                                       : e_;
        drawLegendSymbol(p, item.symbol, sym, cy, s, curve->pen());
        p.setPen(kTextColor);
        p.drawText(QRectF(sym.right() + 6 * s, legendTop + item.row * f.lineH, item.width, f.lineH),
                   Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
}

void SectionChartPlot::paintLayerTable(QPainter& p, const Frame& f, double tableTop) const
{
    const double s = scale_;
    const double rowH = f.tableRowH;
    const QFontMetricsF text(f.text);
    p.setFont(f.text);
    for (int i = 0; i < data_.layers.size(); ++i) {
        const int col = i / f.tableRows;
        const int row = i % f.tableRows;
        const double left = f.pad + col * (f.tableColW + f.tableColGap);
        const double top = tableTop + row * rowH;
        const QRectF badge(left, top + (rowH - f.badgeD) / 2, f.badgeD, f.badgeD);
        p.setBrush(kBands[i % 2]);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(left - 2 * s, top + 1 * s, f.tableColW + 4 * s, rowH - 2 * s));
        drawBadge(p, badge, data_.layers[i].number, f.badge);
        p.setFont(f.text);
        p.setPen(kTextColor);
        const double textLeft = badge.right() + f.gap;
        const double textW = left + f.tableColW - textLeft;
        p.drawText(QRectF(textLeft, top, textW, rowH), Qt::AlignLeft | Qt::AlignVCenter,
                   text.elidedText(f.tableTexts[i], Qt::ElideRight, textW));
    }
}

double sectionChartScale(QSize size)
{
    return std::clamp(std::min(size.width() / 1100.0, size.height() / 700.0), 0.75, 4.0);
}

void renderSectionChart(const SectionChart& chart, QPainter& painter, const QRectF& target, double scale)
{
    if (target.width() < 1 || target.height() < 1)
        return;
    QGraphicsScene scene;
    const QSizeF size = target.size();
    auto* plot = new SectionChartPlot(chart, scale > 0 ? scale : sectionChartScale(size.toSize()));
    scene.addItem(plot);
    plot->setGeometry(QRectF(QPointF(0, 0), size));
    plot->layoutNow();
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    scene.render(&painter, target, QRectF(QPointF(0, 0), size));
}

QImage sectionChartImage(const SectionChart& chart, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw AppError(QStringLiteral("Не хватает памяти для рисунка %1 × %2 пикселей. Уменьшите размер рисунка.")
                           .arg(size.width())
                           .arg(size.height()));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderSectionChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

void writeSectionChart(const SectionChart& chart, const QString& path, QSize size)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"png" && suffix != u"svg")
        throw AppError(QStringLiteral("Рисунок записывается в формате PNG или SVG: имя файла «%1» должно "
                                      "оканчиваться на .png или .svg.")
                           .arg(QFileInfo(path).fileName()));
    // The picture is made in memory and then written whole: a device, a pipe or a
    // directory under that name is refused, never replaced.
    QByteArray bytes;
    bool written = false;
    if (suffix == u"png") {
        QBuffer png(&bytes);
        png.open(QIODevice::WriteOnly);
        written = sectionChartImage(chart, size).save(&png, "PNG");
    } else {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(kTitle);
        svg.setDescription(chart.caption);
        QPainter painter;
        written = painter.begin(&svg);
        if (written) {
            painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
            renderSectionChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)));
            written = painter.end();
        }
        // The generator gives the size in millimetres; the picture is asked for in pixels.
        QByteArray text = buffer.data();
        static const QRegularExpression mm(QStringLiteral("<svg width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
        const QString head = QString::fromUtf8(text.left(400));
        const QRegularExpressionMatch m = mm.match(head);
        if (m.hasMatch()) {
            const QString px = QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height());
            text.replace(m.captured(0).toUtf8(), px.toUtf8());
        }
        bytes = text;
    }
    if (!written)
        throw AppError(QStringLiteral("Не удалось нарисовать рисунок для файла «%1». Уменьшите размер рисунка.")
                           .arg(QDir::toNativeSeparators(path)));
    writeFileBytes(path, bytes);
}

}  // namespace ogrado
