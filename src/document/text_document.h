// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A calculation's document set as formatted text (QTextDocument, no widget): pages with
// the tables, the chart and the report, numbered "стр. N из M" in the footer; written
// as PDF, as an OpenDocument text (.odt), or painted on a printer.
#include "document/calc_document.h"

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTextDocument;

namespace ogrado {

// Draws the section chart into a painter over a rectangle with its fonts and lines
// multiplied by `scale`: the chart window's drawing (renderSectionChart), which needs
// the graphical part of the program.
using ChartRenderer =
    std::function<void(const SectionChart& chart, QPainter& painter, const QRectF& target, double scale)>;

// The page: A4 portrait, and the margins of the text, mm. The footer stands in the
// bottom margin.
struct DocumentPage {
    static constexpr double kWidthMm = 210;
    static constexpr double kHeightMm = 297;
    static constexpr double kLeftMm = 25;
    static constexpr double kTopMm = 15;
    static constexpr double kRightMm = 10;
    static constexpr double kBottomMm = 18;
};

// The chart in the document: its width in millimetres, its height, which grows with the
// layers the chart names below the plot, and the resolution of its picture.
constexpr double kChartWidthMm = 170;
constexpr int kChartDpi = 300;
double chartHeightMm(const SectionChart& chart);

// The document laid out for the pages of `device` (its paper, the margins above). The
// chart is left out without a renderer or when the calculation has none.
std::unique_ptr<QTextDocument> pagedTextDocument(const CalcDocument& content, const ChartRenderer& renderer,
                                                 QPagedPaintDevice& device);

// Paints a document laid out by pagedTextDocument on its device, page by page with the
// footers. Returns the number of pages, 0 when the device cannot be painted on.
int paintTextDocument(QTextDocument& document, QPagedPaintDevice& device);

// The same with a painter already begun on a device of the pages of `device`: `newPage`
// moves it to the next page (false when that fails, which stops the painting and returns 0).
int paintTextDocumentPages(QTextDocument& document, const QPagedPaintDevice& device, QPainter& painter,
                           const std::function<bool()>& newPage);

// Both of the above: the document of a calculation on a printer or another paged device.
int printCalcDocument(const CalcDocument& content, const ChartRenderer& renderer, QPagedPaintDevice& device);

// The document for an OpenDocument text: the same texts and tables, the chart as an
// embedded picture.
std::unique_ptr<QTextDocument> odfTextDocument(const CalcDocument& content, const ChartRenderer& renderer);

// Writes the document to `path` as PDF or as an OpenDocument text, whole or not at all.
// Returns the number of pages of a PDF (0 for an OpenDocument text, which the word
// processor paginates). Throws AppError naming the file and the reason.
int writeCalcDocument(const CalcDocument& content, DocumentFormat format, const QString& path,
                      const ChartRenderer& renderer);

}  // namespace ogrado
