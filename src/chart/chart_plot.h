// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing of the section chart with Qt Charts: the same picture in the chart window,
// in PNG and SVG files and in documents. Layers as alternating light bands numbered
// above the plot and named in a table below it, boundaries as vertical lines (red where
// п. 9.1 fails, labelled above the plot), t on the left axis, E and e on the right one,
// the air values at the two edges, the stretches where e ≥ E hatched.
// Everything here needs a QApplication (on the offscreen platform without a display).
#include "chart/section_chart.h"

#include <QChart>

class QLineSeries;
class QValueAxis;
class QPainter;

namespace ogrado {

class SectionChartPlot : public QChart {
    Q_OBJECT
public:
    // `scale` multiplies every font, pen and gap (1 on the screen).
    explicit SectionChartPlot(const SectionChart& data, double scale = 1.0, QGraphicsItem* parent = nullptr);
    ~SectionChartPlot() override;

    const SectionChart& data() const { return data_; }
    double scale() const { return scale_; }
    QLineSeries* temperatureSeries() const { return t_; }
    QLineSeries* saturationSeries() const { return E_; }
    QLineSeries* vapourSeries() const { return e_; }

    // The point of the curve under `position` (chart coordinates): the one nearest to it
    // across, when one of the three curves passes within a few pixels; otherwise -1.
    int pointAt(QPointF position) const;
    // What the tooltip shows for a point: the name and the values in the formats of the
    // result lists.
    static QString pointToolTip(const ChartPoint& p);

    // Where the chart draws: x in mm, t in °С, p in Па.
    double xToPixel(double x) const;
    double tToPixel(double t) const;
    double pToPixel(double p) const;

    // The value ranges of the axes (for checks).
    QPair<double, double> temperatureRange() const;
    QPair<double, double> pressureRange() const;

    // Lays the chart out at its current size at once (rendering without a view).
    void layoutNow();

private:
    class Decor;
    struct Frame;
    // The chart is built of the three curves, the wall's axis below, t on the left and
    // E, e on the right, and the drawing under and over the curves.
    void addCurves();
    QValueAxis* addDistanceAxis();
    void addValueAxes(QValueAxis* x);
    void addDecor();
    void fitFrame();
    Frame frame() const;
    void paintUnder(QPainter& p) const;  // bands and the condensation zone, below the grid
    void paintOver(QPainter& p) const;   // boundaries, labels, legend and the table of layers
    // The layers of paintOver, in the order they are drawn.
    void paintBoundaries(QPainter& p, const QRectF& plot) const;
    void paintAirMarks(QPainter& p, const QRectF& plot) const;
    void paintHeader(QPainter& p, const Frame& f, const QRectF& plot) const;
    void paintStrips(QPainter& p, const Frame& f, const QRectF& plot) const;  // failing labels, layer numbers
    void paintLegend(QPainter& p, const Frame& f, double legendTop) const;
    void paintLayerTable(QPainter& p, const Frame& f, double tableTop) const;

    SectionChart data_;
    double scale_;
    QLineSeries* t_ = nullptr;
    QLineSeries* E_ = nullptr;
    QLineSeries* e_ = nullptr;
    Decor* under_ = nullptr;
    Decor* over_ = nullptr;
    bool fitting_ = false;
};

// The scale of fonts and lines for a picture of `size` pixels.
double sectionChartScale(QSize size);

// Draws the chart into `painter` over `target` (painter coordinates), laid out for the
// target's size with fonts and lines multiplied by `scale` (0: sectionChartScale of the
// target's size; a printed page takes larger letters than a screen of the same width).
// Usable without showing a window.
void renderSectionChart(const SectionChart& chart, QPainter& painter, const QRectF& target, double scale = 0);
// The chart as an image of `size` pixels on white.
QImage sectionChartImage(const SectionChart& chart, QSize size);
// Writes the chart to `path`, PNG or SVG by the suffix, at `size` pixels, through a
// temporary file that replaces `path` only when complete. Throws AppError.
void writeSectionChart(const SectionChart& chart, const QString& path, QSize size);

}  // namespace ogrado
