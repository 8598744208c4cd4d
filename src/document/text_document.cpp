// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/text_document.h"

#include "common/app_error.h"
#include "common/colors.h"
#include "common/text_file.h"
#include "common/version.h"
#include "document/odf_package.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QHash>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ogrado {

namespace {

// DejaVu Sans has every Cyrillic and Greek letter and the signs the report uses, and
// comes with the program's Debian dependencies.
const QString kFamily = QStringLiteral("DejaVu Sans");

constexpr double kBodyPt = 10;
constexpr double kTablePt = 9;
constexpr double kReportPt = 9;
constexpr double kNotePt = 8;

// The resolution of a PDF: text and lines are drawn as vectors, the chart's picture
// has its own resolution.
constexpr int kPdfDpi = 1200;

// The chart is laid out as on a screen this many pixels wide, with larger letters.
constexpr double kChartLayoutWidth = 1000;
constexpr double kChartScale = 1.25;

constexpr int kChartObjectType = QTextFormat::UserObject + 1;
// A paragraph that a page break may not divide, and one that stays on the page of the
// text after it (a heading, the line that introduces a table).
constexpr int kReportLineProperty = QTextFormat::UserProperty + 1;
constexpr int kKeepWithNextProperty = QTextFormat::UserProperty + 2;

QColor rgb(Rgb c)
{
    return QColor::fromRgba(c);
}

const QColor kHeaderShade(235, 235, 235);

// Lengths in a text document: margins, paddings, borders and pictures are given in
// pixels of the screen's logical resolution (the layout scales them to its device);
// an object of our own is sized in the dots of the device. Fonts are in points.
struct Units {
    double lengthDpi = 96;
    double deviceDpi = 96;
    double pt(double points) const { return points * lengthDpi / 72.0; }
    double mm(double millimetres) const { return millimetres * lengthDpi / 25.4; }
    double deviceMm(double millimetres) const { return millimetres * deviceDpi / 25.4; }
};

// The resolution the text layout takes lengths in: that of the primary screen, or 96
// without one (as QTextDocument itself does).
double screenDpi()
{
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::round(screen->logicalDotsPerInchY());
    return 96;
}

// The chart as one object in the text: drawn from its picture into the place the layout
// gives it, at the size the document asks for on the device it is laid out for.
class ChartObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    ChartObject(QImage image, QSizeF size, QObject* parent) : QObject(parent), image_(std::move(image)), size_(size) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override { return size_; }
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&) override
    {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(rect, image_);
        painter->restore();
    }

private:
    QImage image_;
    QSizeF size_;
};

// The chart's picture: kChartWidthMm × chartHeightMm at kChartDpi, white behind.
QImage chartImage(const SectionChart& chart, const ChartRenderer& renderer)
{
    const QSize size(int(std::lround(kChartWidthMm / 25.4 * kChartDpi)),
                     int(std::lround(chartHeightMm(chart) / 25.4 * kChartDpi)));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int dotsPerMeter = int(std::lround(kChartDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double k = size.width() / kChartLayoutWidth;
    painter.scale(k, k);
    renderer(chart, painter, QRectF(0, 0, kChartLayoutWidth, size.height() / k), kChartScale);
    painter.end();
    return image;
}

// One cell of a table: its text, a note under it in smaller letters, and how it stands.
struct CellText {
    QString text;
    Qt::Alignment align = Qt::AlignHCenter;
    bool bold = false;
    std::optional<QColor> shade;
    QString note;
};

// The tables of the document, numbered in their order. A table that crosses a page is
// continued on the next one as a table of its own, under the same heading rows: a row
// of cells is read whole, never divided between two pages.
enum DocumentTable { kSourceTable, kLayerTable, kResultTable, kBoundaryTable, kPointTable };
using TableBreaks = QHash<int, QList<int>>;  // table → rows (0-based, without headings) that start a page

constexpr int kTableIdProperty = QTextFormat::UserProperty + 3;
constexpr int kTableFirstRowProperty = QTextFormat::UserProperty + 4;

// Sets the document's texts, one section after another, at the end of the document.
class Builder {
public:
    Builder(QTextDocument& doc, Units units, bool odf, TableBreaks breaks = {})
        : doc_(doc), cursor_(&doc), u_(units), odf_(odf), breaks_(std::move(breaks))
    {
        QFont font(kFamily);
        font.setPointSizeF(kBodyPt);
        doc_.setDefaultFont(font);
        doc_.setDocumentMargin(0);
        doc_.setUseDesignMetrics(true);
    }

    void build(const CalcDocument& d, const QImage& chartPicture)
    {
        // one edit: the layout follows once, at the end
        doc_.setUndoRedoEnabled(false);
        cursor_.beginEditBlock();
        buildTexts(d, chartPicture);
        cursor_.endEditBlock();
    }

private:
    void buildTexts(const CalcDocument& d, const QImage& chartPicture)
    {
        // the first block holds the title
        QTextBlockFormat title;
        title.setAlignment(Qt::AlignHCenter);
        title.setBottomMargin(u_.pt(6));
        cursor_.setBlockFormat(title);
        cursor_.setCharFormat(charFormat(14, true));
        cursor_.insertText(d.title);
        for (const QString& line : d.heading)
            paragraph(line, charFormat(kBodyPt), Qt::AlignHCenter);

        heading(QStringLiteral("Исходные данные"));
        itemsTable(kSourceTable, d.sourceData);
        paragraph(QStringLiteral("Состав ограждающей конструкции (1 слой — внутри здания):"), charFormat(kBodyPt),
                  Qt::AlignLeft, u_.pt(8), true);
        layersTable(d.layers);
        paragraph(QStringLiteral("Цветом выделены значения λ и s, принятые в расчете."), noteFormat(), Qt::AlignLeft);

        heading(QStringLiteral("Результаты"));
        itemsTable(kResultTable, d.results);
        verdict(d.verdict);
        if (!d.referencesNote.isEmpty())
            paragraph(d.referencesNote, charFormat(kBodyPt), Qt::AlignLeft);
        if (!d.boundaries.isEmpty()) {
            paragraph(QStringLiteral("Проверка сопротивления паропроницанию по п. 9.1 ТКП 45-2.04-43 на границах слоев:"),
                      charFormat(kBodyPt), Qt::AlignLeft, u_.pt(8), true);
            boundariesTable(d.boundaries);
        }
        paragraph(d.pointsCaption + u':', charFormat(kBodyPt), Qt::AlignLeft, u_.pt(8), true);
        pointsTable(d.points);

        if (!chartPicture.isNull())
            chart(chartPicture);

        for (const ReportSection& section : d.report)
            reportSection(section);
    }

    // A block of the report under its heading, without the blank lines at its ends; a
    // block with nothing else is left out.
    void reportSection(const ReportSection& section)
    {
        QStringList lines = section.lines;
        while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
            lines.removeFirst();
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        if (lines.isEmpty())
            return;
        heading(section.heading);
        reportLines(lines);
    }

    QTextCharFormat charFormat(double points, bool bold = false) const
    {
        QTextCharFormat f;
        f.setFontFamilies(QStringList{kFamily});
        // the single family, which the OpenDocument writer names
        f.setProperty(QTextFormat::FontFamily, kFamily);
        f.setFontPointSize(points);
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        f.setForeground(Qt::black);
        return f;
    }
    QTextCharFormat noteFormat() const
    {
        QTextCharFormat f = charFormat(kNotePt);
        f.setForeground(QColor(64, 64, 64));
        return f;
    }

    // Starts a paragraph: in the empty one a table leaves behind it, or a new one.
    void newBlock(const QTextBlockFormat& b, const QTextCharFormat& f)
    {
        if (afterTable_) {
            cursor_.setBlockFormat(b);
            cursor_.setBlockCharFormat(f);
            cursor_.setCharFormat(f);
            afterTable_ = false;
        } else {
            cursor_.insertBlock(b, f);
        }
    }

    void paragraph(const QString& text, const QTextCharFormat& format, Qt::Alignment align, double top = 0,
                   bool keepWithNext = false)
    {
        QTextBlockFormat b;
        b.setAlignment(align);
        b.setTopMargin(top);
        if (keepWithNext)
            b.setProperty(kKeepWithNextProperty, true);
        newBlock(b, format);
        cursor_.insertText(text, format);
    }

    // A section's heading: it follows the section before on the same page and goes to
    // the next page with the first lines of its section when they do not fit.
    void heading(const QString& text)
    {
        QTextBlockFormat b;
        b.setTopMargin(u_.pt(12));
        b.setBottomMargin(u_.pt(4));
        b.setProperty(kKeepWithNextProperty, true);
        const QTextCharFormat f = charFormat(12, true);
        newBlock(b, f);
        cursor_.insertText(text, f);
    }

    QTextTableFormat tableFormat(const QVector<double>& percent, int headerRows) const
    {
        QTextTableFormat t;
        // a collapsed table draws its grid from a border of one pixel up
        t.setBorder(std::max(1.0, u_.pt(0.5)));
        t.setBorderBrush(Qt::black);
        t.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        t.setBorderCollapse(true);
        t.setCellSpacing(0);
        t.setCellPadding(u_.pt(2));
        t.setTopMargin(u_.pt(3));
        t.setBottomMargin(u_.pt(3));
        QVector<QTextLength> widths;
        if (odf_) {
            // the OpenDocument writer takes a table's widths as points
            const double width = (DocumentPage::kWidthMm - DocumentPage::kLeftMm - DocumentPage::kRightMm) * 72 / 25.4;
            t.setWidth(QTextLength(QTextLength::FixedLength, width));
            for (double p : percent)
                widths.append(QTextLength(QTextLength::FixedLength, width * p / 100));
        } else {
            t.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            for (double p : percent)
                widths.append(QTextLength(QTextLength::PercentageLength, p));
        }
        t.setColumnWidthConstraints(widths);
        t.setHeaderRowCount(headerRows);
        return t;
    }

    void cell(QTextTable* table, int row, int column, const CellText& c)
    {
        QTextTableCell tc = table->cellAt(row, column);
        QTextTableCellFormat cf = tc.format().toTableCellFormat();
        QTextCharFormat f = charFormat(kTablePt, c.bold);
        if (c.shade) {
            cf.setBackground(*c.shade);
            // the OpenDocument writer keeps no cell's colour: the text carries it
            if (odf_)
                f.setBackground(*c.shade);
        }
        tc.setFormat(cf);
        QTextCursor at = tc.firstCursorPosition();
        QTextBlockFormat b;
        b.setAlignment(c.align);
        at.setBlockFormat(b);
        // (the block's own character format is the cell's format: it stays)
        at.insertText(c.text, f);
        if (!c.note.isEmpty()) {
            // The OpenDocument writer makes every paragraph of a cell a cell of its own,
            // which a word processor drops past the last column: there the note follows a
            // line break in the same paragraph.
            if (odf_) {
                at.insertText(QString(QChar::LineSeparator) + c.note, noteFormat());
            } else {
                at.insertBlock(b, noteFormat());
                at.insertText(c.note, noteFormat());
            }
        }
    }
    void headerCell(QTextTable* table, int row, int column, const QString& text)
    {
        cell(table, row, column, CellText{text, Qt::AlignHCenter, true, kHeaderShade, {}});
    }

    // A table: its heading rows (filled by `head`, which may merge cells) and its rows,
    // in as many pieces as the pages need.
    void table(DocumentTable id, const QVector<double>& percent, int headerRows,
               const std::function<void(QTextTable*)>& head, const QVector<QVector<CellText>>& rows)
    {
        QList<int> starts = {0};
        for (int r : breaks_.value(id)) {
            if (r > 0 && r < rows.size() && !starts.contains(r))
                starts.append(r);
        }
        std::sort(starts.begin(), starts.end());
        for (qsizetype k = 0; k < starts.size(); ++k) {
            const int from = starts[k];
            const int to = k + 1 < starts.size() ? starts[k + 1] : int(rows.size());
            if (k == 0 && breaks_.value(id).contains(0) && !afterTable_) {
                // the whole table starts the next page with the heading or the line that
                // introduces it
                QTextBlockFormat b;
                b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                cursor_.mergeBlockFormat(b);
            } else if (k > 0 || breaks_.value(id).contains(0)) {
                // the piece starts the next page under its own line
                QTextBlockFormat b;
                b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                newBlock(b, noteFormat());
                cursor_.insertText(k > 0 ? QStringLiteral("Продолжение таблицы") : QString(), noteFormat());
            }
            QTextTableFormat f = tableFormat(percent, headerRows);
            f.setProperty(kTableIdProperty, int(id));
            f.setProperty(kTableFirstRowProperty, from);
            QTextTable* t = cursor_.insertTable(headerRows + (to - from), int(percent.size()), f);
            if (head)
                head(t);
            for (int r = from; r < to; ++r) {
                for (int c = 0; c < rows[r].size(); ++c)
                    cell(t, headerRows + r - from, c, rows[r][c]);
            }
            cursor_.movePosition(QTextCursor::End);
            afterTable_ = true;
        }
    }

    void itemsTable(DocumentTable id, const QVector<DocumentItem>& items)
    {
        QVector<QVector<CellText>> rows;
        for (const DocumentItem& it : items) {
            const std::optional<QColor> shade = it.marked ? std::optional<QColor>(rgb(kHighlight)) : std::nullopt;
            rows.append({CellText{it.label, Qt::AlignLeft, false, {}, {}},
                         CellText{it.value, Qt::AlignLeft, it.marked, shade, it.note}});
        }
        table(id, {58, 42}, 0, {}, rows);
    }

    void layersTable(const QVector<DocumentLayer>& layers)
    {
        const auto head = [this](QTextTable* t) {
            const char* const spanned[] = {"№", "Наименование", "δ, мм", "Пром. точек"};
            for (int c = 0; c < 4; ++c) {
                t->mergeCells(0, c, 2, 1);
                headerCell(t, 0, c, QString::fromUtf8(spanned[c]));
            }
            t->mergeCells(0, kDocLambdaA, 1, 2);
            headerCell(t, 0, kDocLambdaA, QStringLiteral("λ, Вт/(м·°С)"));
            t->mergeCells(0, kDocSA, 1, 2);
            headerCell(t, 0, kDocSA, QStringLiteral("s, Вт/(м²·°С)"));
            t->mergeCells(0, kDocMu, 2, 1);
            headerCell(t, 0, kDocMu, QStringLiteral("μ, мг/(м·ч·Па)"));
            for (int c : {kDocLambdaA, kDocSA})
                headerCell(t, 1, c, QStringLiteral("А"));
            for (int c : {kDocLambdaB, kDocSB})
                headerCell(t, 1, c, QStringLiteral("Б"));
        };
        QVector<QVector<CellText>> rows;
        for (const DocumentLayer& l : layers) {
            QVector<CellText> row;
            for (int c = 0; c < kDocLayerColumns; ++c) {
                const bool marked = l.marked[size_t(c)];
                row.append(CellText{l.cells[size_t(c)], c == kDocName ? Qt::AlignLeft : Qt::AlignHCenter, marked,
                                    marked ? std::optional<QColor>(rgb(kHighlight)) : std::nullopt, {}});
            }
            rows.append(row);
        }
        table(kLayerTable, {5, 35, 8, 8, 8, 8, 8, 8, 12}, 2, head, rows);
    }

    void verdict(const CalcVerdict& v)
    {
        QTextBlockFormat b;
        b.setTopMargin(u_.pt(8));
        b.setBottomMargin(u_.pt(2));
        b.setProperty(kKeepWithNextProperty, true);
        QTextCharFormat f = charFormat(11, true);
        if (v.status == CalcVerdict::Status::Complies)
            f.setBackground(rgb(kVerdictGreen));
        else if (v.status == CalcVerdict::Status::Fails)
            f.setBackground(rgb(kVerdictRed));
        newBlock(b, charFormat(11, true));
        cursor_.insertText(QStringLiteral("Вывод: "), charFormat(11, true));
        cursor_.insertText(v.summary, f);
        for (const QString& line : {v.resistance, v.normative, v.vapour, v.innerSurface}) {
            if (!line.isEmpty())
                paragraph(line, charFormat(kBodyPt), Qt::AlignLeft);
        }
    }

    void boundariesTable(const QVector<DocumentBoundary>& boundaries)
    {
        const auto head = [this](QTextTable* t) {
            const char* const heads[] = {"Граница",           "t, °С", "E, Па", "e, Па", "Rп.тр., м²·ч·Па/мг",
                                         "Rп.в., м²·ч·Па/мг", "п. 9.1 выполнен"};
            for (int c = 0; c < 7; ++c)
                headerCell(t, 0, c, QString::fromUtf8(heads[c]));
        };
        QVector<QVector<CellText>> rows;
        for (const DocumentBoundary& b : boundaries) {
            // a failing boundary: the row red, Rп.в. and "нет" in bold
            const std::optional<QColor> shade = b.passes ? std::nullopt : std::optional<QColor>(rgb(kVerdictRed));
            QVector<CellText> row = {CellText{b.label, Qt::AlignLeft, false, shade, {}}};
            for (int c = 0; c < 5; ++c)
                row.append(CellText{b.values[size_t(c)], Qt::AlignHCenter, !b.passes && c == 4, shade, {}});
            row.append(CellText{b.passes ? QStringLiteral("да") : QStringLiteral("нет"), Qt::AlignHCenter, !b.passes,
                                shade, {}});
            rows.append(row);
        }
        table(kBoundaryTable, {25, 10, 11, 11, 15, 15, 13}, 1, head, rows);
    }

    void pointsTable(const std::array<QStringList, 5>& columns)
    {
        const auto head = [this](QTextTable* t) {
            const char* const heads[] = {"Точка", "t, °С", "E, Па", "e, Па", "φ, %"};
            for (int c = 0; c < 5; ++c)
                headerCell(t, 0, c, QString::fromUtf8(heads[c]));
        };
        QVector<QVector<CellText>> rows;
        for (qsizetype r = 0; r < columns[0].size(); ++r) {
            QVector<CellText> row;
            for (int c = 0; c < 5; ++c)
                row.append(CellText{columns[size_t(c)].value(r), c == 0 ? Qt::AlignLeft : Qt::AlignHCenter, false,
                                    {}, {}});
            rows.append(row);
        }
        table(kPointTable, {44, 14, 14, 14, 14}, 1, head, rows);
    }

    void chart(const QImage& image)
    {
        // The picture carries its own title; it is one line, which goes to the next page
        // whole when it does not fit.
        QTextBlockFormat b;
        b.setAlignment(Qt::AlignHCenter);
        b.setTopMargin(u_.pt(12));
        b.setProperty(kReportLineProperty, true);
        newBlock(b, charFormat(kBodyPt));
        if (odf_) {
            const QSizeF size(u_.mm(kChartWidthMm), u_.mm(kChartWidthMm * image.height() / image.width()));
            const QString name = QStringLiteral("chart.png");
            doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
            QTextImageFormat f;
            f.setName(name);
            f.setWidth(size.width());
            f.setHeight(size.height());
            cursor_.insertImage(f);
        } else {
            // With its margin the chart takes two thirds of a page at most: a page is never
            // left less than a third full for it (a chart of eight layers is made a little
            // smaller).
            constexpr double kBodyMm = DocumentPage::kHeightMm - DocumentPage::kTopMm - DocumentPage::kBottomMm;
            constexpr double kMaxHeightMm = kBodyMm * 2 / 3 - 12 * 25.4 / 72 - 2;
            const double heightMm = kChartWidthMm * image.height() / image.width();
            const double k = std::min(1.0, kMaxHeightMm / heightMm);
            const QSizeF size(u_.deviceMm(kChartWidthMm * k), u_.deviceMm(heightMm * k));
            auto* object = new ChartObject(image, size, &doc_);
            doc_.documentLayout()->registerHandler(kChartObjectType, object);
            QTextCharFormat f;
            f.setObjectType(kChartObjectType);
            cursor_.insertText(QString(QChar::ObjectReplacementCharacter), f);
        }
    }

    // The report's lines as the results file holds them, each its own paragraph (marked,
    // so that keepTogether finds them). On a page a long formula wraps after a "+", not
    // inside a number (a break opportunity of no width; the OpenDocument text keeps the
    // lines as they are).
    void reportLines(const QStringList& lines)
    {
        const QTextCharFormat f = charFormat(kReportPt);
        QTextBlockFormat b;
        b.setProperty(kReportLineProperty, true);
        for (const QString& line : lines) {
            newBlock(b, f);
            cursor_.insertText(odf_ ? line : QString(line).replace(u'+', QStringLiteral("+\u200B")), f);
        }
    }

    QTextDocument& doc_;
    QTextCursor cursor_;
    Units u_;
    bool odf_ = false;
    TableBreaks breaks_;
    bool afterTable_ = false;
};

// The page a height of the laid-out document falls on; a top that the layout's rounding
// leaves a fraction of a dot above a page counts to that page.
int pageAt(double y, double pageHeight)
{
    return int(std::floor(y / pageHeight));
}
int pageOfTop(double y, double pageHeight)
{
    return pageAt(y + 0.5, pageHeight);
}
int pageOfBottom(double y, double pageHeight)
{
    return pageAt(y - 0.5, pageHeight);
}

// The top of line `line` of a laid-out block and its bottom, in the document.
double lineTop(const QAbstractTextDocumentLayout& layout, const QTextBlock& b, int line)
{
    const QTextLayout* tl = b.layout();
    return layout.blockBoundingRect(b).top() - tl->boundingRect().top() + tl->lineAt(line).y();
}
double lineBottom(const QAbstractTextDocumentLayout& layout, const QTextBlock& b, int line)
{
    return lineTop(layout, b, line) + b.layout()->lineAt(line).height();
}

// Lays the pages out as an engineer reads them: a report line or the chart that a page
// break would divide starts the next page, and a heading or the line introducing a table
// goes to the next page with what follows it. Something longer than a page is divided.
void keepTogether(QTextDocument& doc)
{
    const double h = doc.pageSize().height();
    if (h <= 0)
        return;
    const QAbstractTextDocumentLayout& layout = *doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        const bool whole = f.boolProperty(kReportLineProperty);
        const bool withNext = f.boolProperty(kKeepWithNextProperty);
        const int lines = b.layout() ? b.layout()->lineCount() : 0;
        if ((!whole && !withNext) || lines == 0)
            continue;
        const double top = lineTop(layout, b, 0);
        const int first = pageOfTop(top, h);
        bool move = false;
        if (whole) {
            const double bottom = lineBottom(layout, b, lines - 1);
            move = pageOfBottom(bottom, h) != first && bottom - top < h;
        }
        if (withNext && !move) {
            const QTextBlock next = b.next();
            move = next.isValid() && next.layout() && next.layout()->lineCount() > 0 &&
                   pageOfTop(lineTop(layout, next, 0), h) != first;
        }
        if (move) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(b).mergeBlockFormat(breakBefore);
        }
    }
}

// The first row of a table that crosses a page: divided between two pages, or put on
// the next page by the layout below the stretched row before it. Nothing when every row
// stands whole on its page. Returns the table and the row (without headings).
std::optional<std::pair<int, int>> firstRowAcrossPages(QTextDocument& doc)
{
    const double h = doc.pageSize().height();
    if (h <= 0)
        return std::nullopt;
    const QAbstractTextDocumentLayout& layout = *doc.documentLayout();
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* t = qobject_cast<QTextTable*>(frame);
        if (!t || !t->format().hasProperty(kTableIdProperty))
            continue;
        const int id = t->format().intProperty(kTableIdProperty);
        const int firstRow = t->format().intProperty(kTableFirstRowProperty);
        const int headerRows = t->format().headerRowCount();
        std::optional<int> previousBottomPage;
        for (int r = headerRows; r < t->rows(); ++r) {
            double top = std::numeric_limits<double>::max();
            double bottom = std::numeric_limits<double>::lowest();
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                const QTextBlock last = cell.lastCursorPosition().block();
                for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid(); b = b.next()) {
                    if (const int lines = b.layout() ? b.layout()->lineCount() : 0; lines > 0) {
                        top = std::min(top, lineTop(layout, b, 0));
                        bottom = std::max(bottom, lineBottom(layout, b, lines - 1));
                    }
                    if (b == last)
                        break;
                }
            }
            if (top > bottom)
                continue;
            const int topPage = pageOfTop(top, h);
            const int bottomPage = pageOfBottom(bottom, h);
            const bool divided = topPage != bottomPage && bottom - top < h / 2;
            const bool moved = previousBottomPage && topPage != *previousBottomPage;
            // the table's last border and margin past the foot of the page: the layout
            // would then start what follows a page too late
            const bool overhangs = r + 1 == t->rows() && pageOfBottom(layout.frameBoundingRect(t).bottom(), h) != bottomPage;
            if (divided || moved || overhangs)
                return std::pair{id, firstRow + (r - headerRows)};
            previousBottomPage = bottomPage;
        }
    }
    return std::nullopt;
}

// Where the text and the footer stand on the device's pages, in painter coordinates.
struct PageGeometry {
    QRectF body;
    QRectF footer;
};

PageGeometry geometryOf(const QPagedPaintDevice& device)
{
    const QPageLayout layout = device.pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    // the painter's origin is the corner of the printable area
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    const double dx = device.logicalDpiX() / 25.4;
    const double dy = device.logicalDpiY() / 25.4;
    const double left = DocumentPage::kLeftMm - paint.left();
    const double top = DocumentPage::kTopMm - paint.top();
    const double width = paper.width() - DocumentPage::kLeftMm - DocumentPage::kRightMm;
    const double height = paper.height() - DocumentPage::kTopMm - DocumentPage::kBottomMm;
    PageGeometry g;
    g.body = QRectF(left * dx, top * dy, width * dx, height * dy);
    g.footer = QRectF(left * dx, (top + height + 4) * dy, width * dx, 8 * dy);
    return g;
}

}  // namespace

double chartHeightMm(const SectionChart& chart)
{
    // four layers take two rows of the table under the plot; more take a row each
    return 140 + 9 * std::max(0, int(chart.layers.size()) - 4);
}

std::unique_ptr<QTextDocument> pagedTextDocument(const CalcDocument& content, const ChartRenderer& renderer,
                                                 QPagedPaintDevice& device)
{
    const QImage chart = content.chart && renderer ? chartImage(*content.chart, renderer) : QImage();
    const Units units{screenDpi(), double(device.logicalDpiY())};
    const QSizeF body = geometryOf(device).body.size();
    // Each pass ends a table's piece before the first row that would cross a page (or
    // leave the table's foot across one), in the order of the tables; the passes are
    // bounded by the number of rows.
    TableBreaks breaks;
    const qsizetype rows = content.sourceData.size() + content.layers.size() + content.results.size() +
                           content.boundaries.size() + content.points[0].size();
    for (qsizetype pass = 0;; ++pass) {
        auto doc = std::make_unique<QTextDocument>();
        // laid out in the device's own dots, with its fonts
        doc->documentLayout()->setPaintDevice(&device);
        doc->setPageSize(body);
        Builder(*doc, units, false, breaks).build(content, chart);
        keepTogether(*doc);
        const std::optional<std::pair<int, int>> across = firstRowAcrossPages(*doc);
        if (!across || pass > rows || breaks.value(across->first).contains(across->second))
            return doc;
        // a table's first piece has two rows at least, or the table starts the next page
        const int table = across->first;
        const int row = across->second == 1 && !breaks.value(table).contains(0) ? 0 : across->second;
        if (breaks.value(table).contains(row))
            return doc;
        // the pages after the new break are laid out afresh: later breaks are found again
        for (auto it = breaks.begin(); it != breaks.end();) {
            if (it.key() > table) {
                it = breaks.erase(it);
                continue;
            }
            if (it.key() == table)
                it->removeIf([row](int r) { return r > row; });
            ++it;
        }
        breaks[table].append(row);
    }
}

int paintTextDocumentPages(QTextDocument& document, const QPagedPaintDevice& device, QPainter& painter,
                           const std::function<bool()>& newPage)
{
    const PageGeometry g = geometryOf(device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont footerFont(kFamily);
    footerFont.setPointSizeF(kNotePt);
    const int pages = document.pageCount();
    const double h = g.body.height();
    for (int k = 0; k < pages; ++k) {
        if (k > 0 && !newPage())
            return 0;
        painter.save();
        painter.setClipRect(g.body);
        painter.translate(g.body.left(), g.body.top() - k * h);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(0, k * h, g.body.width(), h);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, ctx);
        painter.restore();
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(g.footer, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("стр. %1 из %2").arg(k + 1).arg(pages));
    }
    return pages;
}

int paintTextDocument(QTextDocument& document, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const int pages = paintTextDocumentPages(document, device, painter, [&device] { return device.newPage(); });
    const bool ended = painter.end();
    return ended ? pages : 0;
}

int printCalcDocument(const CalcDocument& content, const ChartRenderer& renderer, QPagedPaintDevice& device)
{
    const std::unique_ptr<QTextDocument> doc = pagedTextDocument(content, renderer, device);
    return paintTextDocument(*doc, device);
}

std::unique_ptr<QTextDocument> odfTextDocument(const CalcDocument& content, const ChartRenderer& renderer)
{
    auto doc = std::make_unique<QTextDocument>();
    // an OpenDocument text takes lengths in pixels of 1/96 inch; the word processor
    // lays the pages out itself
    const Units units{96, 96};
    const QImage chart = content.chart && renderer ? chartImage(*content.chart, renderer) : QImage();
    Builder(*doc, units, true).build(content, chart);
    doc->setMetaInformation(QTextDocument::DocumentTitle, content.title);
    return doc;
}

int writeCalcDocument(const CalcDocument& content, DocumentFormat format, const QString& path,
                      const ChartRenderer& renderer)
{
    const QString shown = QDir::toNativeSeparators(path);
    // The document is made in memory and then written whole: a device, a pipe or a
    // directory under that name is refused, never replaced.
    QByteArray bytes;
    int pages = 0;
    if (format == DocumentFormat::Pdf) {
        QBuffer pdf(&bytes);
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(kPdfDpi);
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            writer.setTitle(content.title);
            writer.setCreator(QStringLiteral("ogrado ") + programVersion());
            const std::unique_ptr<QTextDocument> doc = pagedTextDocument(content, renderer, writer);
            pages = paintTextDocument(*doc, writer);
        }
        if (pages <= 0 || bytes.isEmpty())
            throw AppError(QStringLiteral("Не удалось записать документ в файл «%1»: страницы PDF не "
                                          "сформированы.")
                               .arg(shown));
    } else {
        const std::unique_ptr<QTextDocument> doc = odfTextDocument(content, renderer);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter writer(&buffer, "ODF");
        bytes = writer.write(doc.get()) ? withPageStyle(buffer.data()) : QByteArray();
        if (bytes.isEmpty())
            throw AppError(QStringLiteral("Не удалось записать документ в файл «%1»: текст OpenDocument не "
                                          "сформирован.")
                               .arg(shown));
    }
    writeFileBytes(path, bytes);
    return pages;
}

}  // namespace ogrado

#include "text_document.moc"
