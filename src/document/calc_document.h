#pragma once
// The document a calculation is handed in as: the title, the source data and the results
// as tables, the section chart, the full report and the air-gap block. Plain texts, taken
// from the last calculation as it ran (its collected input, its results and the texts the
// main window shows), not from what the windows hold by the time the document is made.
// How the texts are set on pages lives in document/text_document.
#include "chart/section_chart.h"
#include "engine/verdict.h"
#include "session/app_context.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>
#include <optional>

namespace ogrado {

// One line of a table of values: what it is, its value and, for a value taken from a
// normative table, the chosen row's text.
struct DocumentItem {
    QString label;
    QString value;
    QString note;
    bool marked = false;  // chosen by the calculation, as the main window highlights it
};

// The columns of the layer table.
enum DocumentLayerColumn {
    kDocNumber,
    kDocName,
    kDocThickness,
    kDocPoints,
    kDocLambdaA,
    kDocLambdaB,
    kDocSA,
    kDocSB,
    kDocMu,
    kDocLayerColumns
};

struct DocumentLayer {
    std::array<QString, kDocLayerColumns> cells;
    std::array<bool, kDocLayerColumns> marked{};  // the λ and s the calculation took
};

// The check of п. 9.1 at the boundary between two layers.
struct DocumentBoundary {
    QString label;                  // "Граница слоев 1-2"
    std::array<QString, 5> values;  // t, E, e, Rп.тр., Rп.в. as the main window shows them
    bool passes = true;
};

struct CalcDocument {
    QString title;
    QStringList heading;  // the file, the date and the summary under the title
    QVector<DocumentItem> sourceData;
    QVector<DocumentLayer> layers;
    QVector<DocumentItem> results;
    CalcVerdict verdict;
    QString referencesNote;  // the unchecked reference values the calculation used, or empty
    QVector<DocumentBoundary> boundaries;
    QString pointsCaption;                // the caption of the result lists
    std::array<QStringList, 5> points;    // point, t, E, e, фи as the lists show them
    std::optional<SectionChart> chart;
    QStringList reportLines;              // the report as the results file holds it
    QStringList airLayerLines;            // the air-gap block, when the user added it
};

// The title of every document.
QString documentTitle();

// Whether the last calculation can be handed in: it reached its verdict without a
// message. A calculation that stopped gives no document.
bool documentAvailable(const AppContext& ctx);

// The names under the title: the source-data file the input came from, or else the
// file the document is written to (empty for a print).
struct DocumentNames {
    QString sourceFile;
    QString documentFile;
};

// The document of the last calculation, dated `date`; the air-gap block only when
// `withAirLayer`. Throws AppError when there is no document (see documentAvailable).
CalcDocument calcDocumentOf(const AppContext& ctx, const DocumentNames& names, bool withAirLayer,
                            const QDate& date = QDate::currentDate());

// The file types a document is written as.
enum class DocumentFormat { Pdf, Odt };

// Writes a document to a file: the drawing of pages and files needs the graphical part
// of the program, which the windows and the drawing module of ogrado_calc pass in.
// Throws AppError naming the file and the reason; a failure leaves an old file as it was.
using DocumentWriter = std::function<void(const CalcDocument& document, DocumentFormat format, const QString& path)>;

}  // namespace ogrado
