// SPDX-License-Identifier: GPL-3.0-or-later
// The document of a calculation: its texts taken from the run, the menu items of the
// main window, the pages of the PDF and the printer (rows and report lines whole on
// their page), the OpenDocument package, and ogrado_calc --pdf / --odt. Expected values
// of the example wall are worked out by hand from its layers.
#include "airlayer/airlayer_form.h"
#include "batch/batch.h"
#include "chart/chart_plot.h"
#include "common/app_error.h"
#include "common/text_file.h"
#include "document/calc_document.h"
#include "document/odf_package.h"
#include "document/text_document.h"
#include "mainwindow/main_window.h"
#include "test_app.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QBuffer>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextStream>
#include <QTextTable>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>
#include <zlib.h>

using namespace ogrado;

namespace {

const QString kCase8 = QStringLiteral(OGRADO_TEST_DATA "/wall_8_layers_90_points.json");

const QStringList kExampleNames = {QStringLiteral("Штукатурка изв.-песч"), QStringLiteral("Газосиликат D=500"),
                                   QStringLiteral("Белтеп ПП100"), QStringLiteral("Штукатурка ц-песчаная")};

void writeWith(const CalcDocument& d, DocumentFormat f, const QString& path)
{
    writeCalcDocument(d, f, path, &renderSectionChart);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The pages of a PDF as Qt's writer gives them: one "/Type /Page" object each, and the
// count in the page tree.
int pdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    static const QRegularExpression count(QStringLiteral("/Count\\s+(\\d+)"));
    const QString text = QString::fromLatin1(pdf);
    int objects = 0;
    for (auto it = page.globalMatch(text); it.hasNext(); it.next())
        ++objects;
    const QRegularExpressionMatch m = count.match(text);
    return m.hasMatch() && m.captured(1).toInt() == objects ? objects : -1;
}

// The files of a zip archive, read through its central directory; the CRC of every file
// is checked. Stored and deflated files only, as OpenDocument packages hold.
QMap<QString, QByteArray> unzip(const QByteArray& zip, QStringList* order = nullptr)
{
    QMap<QString, QByteArray> files;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(zip.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(zip.constData() + at); };
    const qsizetype eocd = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0)
        return files;
    qsizetype at = u32(eocd + 16);
    for (int i = 0; i < u16(eocd + 10); ++i) {
        if (u32(at) != 0x02014b50)
            return {};
        const int method = u16(at + 10);
        const quint32 crc = u32(at + 16);
        const qsizetype packed = u32(at + 20);
        const qsizetype size = u32(at + 24);
        const QString name = QString::fromUtf8(zip.mid(at + 46, u16(at + 28)));
        const qsizetype local = u32(at + 42);
        const QByteArray data = zip.mid(local + 30 + u16(local + 26) + u16(local + 28), packed);
        QByteArray out;
        if (method == 0) {
            out = data;
        } else if (method == 8) {
            out.resize(size);
            z_stream s{};
            inflateInit2(&s, -MAX_WBITS);
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
            s.avail_in = uInt(data.size());
            s.next_out = reinterpret_cast<Bytef*>(out.data());
            s.avail_out = uInt(out.size());
            const int status = inflate(&s, Z_FINISH);
            inflateEnd(&s);
            if (status != Z_STREAM_END)
                return {};
        }
        if (crc32(0, reinterpret_cast<const Bytef*>(out.constData()), uInt(out.size())) != crc)
            return {};
        files.insert(name, out);
        if (order)
            order->append(name);
        at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
    }
    return files;
}

// The program after "Расчет" of the example wall, or of the 8-layer wall with 90 points.
struct Calculated : test::AppFixture {
    explicit Calculated(bool eightLayers = false)
    {
        if (eightLayers) {
            QFile f(kCase8);
            if (f.open(QIODevice::ReadOnly))
                applyCase(main(), QJsonDocument::fromJson(f.readAll()).object());
        }
        main().userClick(QStringLiteral("cmdOk"));
    }
    // The air gap of a 3 m high facade calculated, its block started anew: the lines the
    // block of the report holds.
    QStringList airLayerBlock()
    {
        auto& air = app->formAs<AirLayerForm>();
        air.loadForm();
        air.userEdit(QStringLiteral("txtHst"), QStringLiteral("3"));
        air.userClick(QStringLiteral("cmdSave"));
        const QStringList lines = air.report().resultLines();
        if (lines.isEmpty())
            qWarning("the air gap was not calculated: %s", qPrintable(air.lastError()));
        return lines;
    }
};

// Where each line of the laid-out document stands: the page of its top and of its bottom.
struct LineSpan {
    double top = 0;
    double bottom = 0;
};
LineSpan lineSpan(const QTextDocument& doc, const QTextBlock& b, int line)
{
    const QRectF r = doc.documentLayout()->blockBoundingRect(b);
    const QTextLine l = b.layout()->lineAt(line);
    const double top = r.top() - b.layout()->boundingRect().top() + l.y();
    return {top, top + l.height()};
}
// The page of a top or a bottom (half a dot inside it: the layout rounds positions).
int pageOfTop(double y, double h)
{
    return int(std::floor((y + 0.5) / h));
}
int pageOfBottom(double y, double h)
{
    return int(std::floor((y - 0.5) / h));
}

// The extent of the blocks from `first` to `last` on the laid-out pages.
LineSpan extent(const QTextDocument& doc, QTextBlock first, const QTextBlock& last)
{
    LineSpan e{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        for (int k = 0; k < b.layout()->lineCount(); ++k) {
            const LineSpan s = lineSpan(doc, b, k);
            e.top = std::min(e.top, s.top);
            e.bottom = std::max(e.bottom, s.bottom);
        }
        if (b == last)
            break;
    }
    return e;
}

// How full each laid-out page is: the foot of its last line (of text, of a table's cell,
// the chart) as a share of the page's height.
QVector<double> pageFill(const QTextDocument& doc)
{
    const double h = doc.pageSize().height();
    QVector<double> fill(doc.pageCount(), 0.0);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (int k = 0; k < b.layout()->lineCount(); ++k) {
            const LineSpan s = lineSpan(doc, b, k);
            const int page = pageOfBottom(s.bottom, h);
            if (page >= 0 && page < fill.size())
                fill[page] = std::max(fill[page], s.bottom / h - page);
        }
    }
    return fill;
}

// No page but the last is left less than a third full.
void checkPagesFilled(const QTextDocument& doc)
{
    const QVector<double> fill = pageFill(doc);
    for (qsizetype k = 0; k + 1 < fill.size(); ++k)
        QVERIFY2(fill[k] >= 1.0 / 3, qPrintable(QStringLiteral("page %1 of %2 is %3 full").arg(k + 1).arg(fill.size()).arg(fill[k])));
}

// The page on which the first paragraph of exactly this text starts (outside the tables
// or in a table's cell), -1 without one.
int pageOfParagraph(const QTextDocument& doc, const QString& text, bool inTable = false)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text() == text && (QTextCursor(b).currentTable() != nullptr) == inTable)
            return pageOfTop(lineSpan(doc, b, 0).top, doc.pageSize().height());
    }
    return -1;
}

// Every table of the document on one page (a longer one is continued as a table of its
// own on the next), and every paragraph outside the tables on one page.
void checkNothingDivided(QTextDocument& doc)
{
    const double h = doc.pageSize().height();
    QVERIFY(h > 0);
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* t = qobject_cast<QTextTable*>(frame);
        QVERIFY(t);
        const LineSpan e = extent(doc, t->cellAt(0, 0).firstCursorPosition().block(),
                                  t->cellAt(t->rows() - 1, t->columns() - 1).lastCursorPosition().block());
        QVERIFY2(pageOfTop(e.top, h) == pageOfBottom(e.bottom, h),
                 qPrintable(QStringLiteral("table from «%1» crosses a page").arg(t->cellAt(0, 0).firstCursorPosition().block().text())));
    }
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().isEmpty() || QTextCursor(b).currentTable())
            continue;
        const LineSpan e = extent(doc, b, b);
        QVERIFY2(pageOfTop(e.top, h) == pageOfBottom(e.bottom, h),
                 qPrintable(QStringLiteral("%1 %2 %3").arg(b.text().left(60)).arg(e.top / h).arg(e.bottom / h)));
    }
}


// A device that keeps the texts painted on it, page by page, with where they stand:
// the pages of a document read back as text.
class TextRecorder : public QPaintDevice {
public:
    struct Item {
        int page;
        QPointF at;  // in the device's coordinates
        QString text;
    };
    explicit TextRecorder(const QPaintDevice& like) : like_(like), engine_(*this) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    void nextPage() { ++page_; }
    QList<Item> items;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return like_.width();
        case PdmHeight: return like_.height();
        case PdmWidthMM: return like_.widthMM();
        case PdmHeightMM: return like_.heightMM();
        case PdmNumColors: return like_.colorCount();
        case PdmDepth: return like_.depth();
        case PdmDpiX: return like_.logicalDpiX();
        case PdmDpiY: return like_.logicalDpiY();
        case PdmPhysicalDpiX: return like_.physicalDpiX();
        case PdmPhysicalDpiY: return like_.physicalDpiY();
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder& owner) : QPaintEngine(AllFeatures), owner_(owner) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        // the painter's clip, which hides what the layout paints beyond the page's body
        void updateState(const QPaintEngineState& state) override
        {
            const DirtyFlags dirty = state.state();
            if (dirty & DirtyTransform)
                transform_ = state.transform();
            if (dirty & DirtyClipEnabled)
                clipped_ = state.isClipEnabled();
            if (dirty & DirtyClipPath)
                setClip(state.clipOperation(), state.transform().map(state.clipPath()).boundingRect());
            if (dirty & DirtyClipRegion)
                setClip(state.clipOperation(), state.transform().map(state.clipRegion()).boundingRect());
        }
        void setClip(Qt::ClipOperation op, const QRectF& r)
        {
            clipped_ = op != Qt::NoClip;
            clip_ = op == Qt::IntersectClip && clipped_ ? clip_.intersected(r) : r;
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            const QPointF at = transform_.map(p);
            if (!clipped_ || clip_.contains(at))
                owner_.items.append({owner_.page_, at, item.text()});
        }
        Type type() const override { return User; }

    private:
        TextRecorder& owner_;
        QTransform transform_;
        QRectF clip_;
        bool clipped_ = false;
    };
    const QPaintDevice& like_;
    int page_ = 0;
    mutable Engine engine_;
    friend class Engine;
};

// The footer of each page of a document laid out for `writer`, read from its painting:
// the texts below the body of the page, in the order painted.
QStringList paintedFooters(QTextDocument& doc, QPdfWriter& writer)
{
    TextRecorder recorder(writer);
    QPainter painter(&recorder);
    const int pages = paintTextDocumentPages(doc, writer, painter, [&recorder] {
        recorder.nextPage();
        return true;
    });
    painter.end();
    const double bodyBottom = (DocumentPage::kHeightMm - DocumentPage::kBottomMm) * writer.logicalDpiY() / 25.4;
    QStringList footers(pages);
    for (const TextRecorder::Item& it : recorder.items) {
        if (it.page >= 0 && it.page < pages && it.at.y() > bodyBottom)
            footers[it.page] += it.text;
    }
    return footers;
}

// Each page painted with its own number and the count under it.
void checkFooters(QTextDocument& doc, QPdfWriter& writer)
{
    const QStringList footers = paintedFooters(doc, writer);
    QCOMPARE(footers.size(), doc.pageCount());
    for (qsizetype k = 0; k < footers.size(); ++k)
        QCOMPARE(footers[k], QStringLiteral("стр. %1 из %2").arg(k + 1).arg(footers.size()));
}
}  // namespace

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    // The texts of the example wall's document, from its run: the values worked out by
    // hand from the layers (condition Б: tв 18 °С and фи(в) 55 % > 50 %, table 4.2).
    void exampleWallDocument()
    {
        Calculated f;
        QVERIFY(documentAvailable(f.ctx));
        const CalcDocument d = calcDocumentOf(f.ctx, {QString(), QStringLiteral("/tmp/Отчет.pdf")}, requiredReportBlocks(),
                                              QDate(2024, 5, 12));
        QCOMPARE(d.title, QStringLiteral("Теплотехнический расчет ограждающей конструкции"));
        QCOMPARE(d.heading, (QStringList{QStringLiteral("Файл: Отчет.pdf"), QStringLiteral("Дата: 12.05.2024")}));

        QCOMPARE(d.layers.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(d.layers[i].cells[kDocName], kExampleNames[i]);
            // condition Б without refinement: the Б columns of every layer
            QVERIFY(d.layers[i].marked[kDocLambdaB] && d.layers[i].marked[kDocSB]);
            QVERIFY(!d.layers[i].marked[kDocLambdaA] && !d.layers[i].marked[kDocSA]);
        }
        QCOMPARE(d.layers[1].cells[kDocThickness], QStringLiteral("250"));
        QCOMPARE(d.layers[2].cells[kDocLambdaB], QStringLiteral("0,042"));

        // Rт = 1/8,7 + 0,02/0,81 + 0,25/0,16 + 0,06/0,042 + 0,01/0,93 + 1/23 = 3,185;
        // D = 0,02·9,76/0,81 + 0,25·2,48/0,16 + 0,06·0,65/0,042 + 0,01·11,09/0,93 = 5,164,
        // in (4; 7]: tн of the three coldest days, −27 °С; Rт.тр. = 1·(18 + 27)/(8,7·6) = 0,862
        auto value = [&d](const QString& label) {
            for (const DocumentItem& it : d.results + d.sourceData)
                if (it.label.startsWith(label))
                    return it.value;
            return QStringLiteral("?");
        };
        QCOMPARE(value(QStringLiteral("Условия эксплуатации")), QStringLiteral("Б"));
        QCOMPARE(value(QStringLiteral("Сопротивление теплопередаче Rт")), QStringLiteral("3,18 м²·°С/Вт"));
        QCOMPARE(value(QStringLiteral("Тепловая инерция D")), QStringLiteral("5,16"));
        QCOMPARE(value(QStringLiteral("Расчетная зимняя")), QStringLiteral("-27 °С"));
        QCOMPARE(value(QStringLiteral("Требуемое сопротивление")), QStringLiteral("0,86 м²·°С/Вт"));
        QCOMPARE(value(QStringLiteral("Нормативный температурный перепад")), QStringLiteral("6 °С"));
        int marked = 0;
        for (const DocumentItem& it : d.sourceData) {
            if (it.marked) {
                ++marked;
                QVERIFY(it.label.contains(QStringLiteral("трех суток")));
            }
        }
        QCOMPARE(marked, 1);

        // table 5.1 for external walls, 3,2, preselected: Rт 3,185 misses it; the heat loss
        // q = 0,024·(18 + 2)·207/3,185 = 31,2 кВт·ч/м² is for information
        QCOMPARE(value(QStringLiteral("Нормативное сопротивление теплопередаче Rт.норм")), QStringLiteral("3,2 м²·°С/Вт"));
        QCOMPARE(value(QStringLiteral("Теплопотери за отопительный период")), QStringLiteral("31,2 кВт·ч/м²"));
        QCOMPARE(d.verdict.status, CalcVerdict::Status::Fails);
        QCOMPARE(d.verdict.summary, QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(d.verdict.normative, QStringLiteral("Rт = 3,18 < Rт.норм = 3,2 — не выполнено"));
        QCOMPARE(d.boundaries.size(), 3);
        QCOMPARE(d.boundaries[0].label, QStringLiteral("Граница слоев 1-2"));
        QCOMPARE(d.boundaries[2].label, QStringLiteral("Граница слоев 3-4"));
        for (const DocumentBoundary& b : d.boundaries) {
            QVERIFY(b.passes);
            for (const QString& v : b.values)
                QVERIFY(!v.isEmpty());
        }
        // Rп.в. of boundary 1-2: 0,02/0,12 = 0,167
        QCOMPARE(d.boundaries[0].values[4], QStringLiteral("0,167"));
        // 1 + 1 + (3 + 1) + (3 + 1) + 1 points
        QCOMPARE(d.points[0].size(), 11);
        QCOMPARE(d.points[0].first(), QStringLiteral("Внутренняя поверхность"));
        QCOMPARE(d.points[0].last(), QStringLiteral("Наружная поверхность"));
        QVERIFY(d.chart);
        QCOMPARE(d.chart->layers.size(), 4);
        // the report alone: the air gap was not calculated
        QCOMPARE(d.report.size(), 1);
        QCOMPARE(d.report[0].heading, QStringLiteral("Расчет"));
        QCOMPARE(d.report[0].lines, f.ctx.report.lines());
        QVERIFY(d.report[0].lines.last().startsWith(QStringLiteral("ВЫВОД:")));

        // the source-data file and its summary when the input came from one
        f.ctx.sourceDataPath = QStringLiteral("/data/Isx/Стена.isx");
        f.ctx.sourceDataSummary = QStringLiteral("  Жилой дом, наружная стена ");
        const CalcDocument named = calcDocumentOf(f.ctx, {f.ctx.sourceDataPath, QStringLiteral("x.pdf")}, everyReportBlock(),
                                                  QDate(2024, 5, 12));
        QCOMPARE(named.heading.first(), QStringLiteral("Исходные данные: Стена.isx"));
        QCOMPARE(named.heading.last(), QStringLiteral("Сводка: Жилой дом, наружная стена"));
    }

    // The document shows the calculation as it ran, not what the window holds later.
    void documentFollowsTheRunNotTheWindow()
    {
        Calculated f;
        f.main().userEdit(MainForm::cellName(2, 0), QStringLiteral("Другой слой"));
        f.main().userEdit(QStringLiteral("txtTp"), QStringLiteral("4"));
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QCOMPARE(d.layers[1].cells[kDocName], QStringLiteral("Газосиликат D=500"));
        for (const DocumentItem& it : d.sourceData)
            if (it.label.startsWith(QStringLiteral("Нормативный")))
                QCOMPARE(it.value, QStringLiteral("6 °С"));
    }

    // No document before a calculation, after one that stopped with a message, or after
    // the results were cleared; the menu items follow.
    void menuItemsAndStoppedCalculations()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        const QStringList items = {QStringLiteral("mnuPdf"), QStringLiteral("mnuOdt"), QStringLiteral("mnuPrint")};
        for (const QString& name : items)
            QVERIFY(m.control(name).visible && !m.isEnabled(name));
        QCOMPARE(m.control(QStringLiteral("mnuPrint")).shortcut, QStringLiteral("Ctrl+P"));

        m.userClick(QStringLiteral("cmdOk"));
        for (const QString& name : items)
            QVERIFY(m.isEnabled(name));

        // without Δt(в) the run stops before Rт.тр.
        m.userEdit(QStringLiteral("txtTp"), QString());
        m.userClick(QStringLiteral("cmdOk"));
        QVERIFY(f.prompter.texts().contains(QStringLiteral("Нет данных по температурному перепаду!!!")));
        QVERIFY(!documentAvailable(f.ctx));
        for (const QString& name : items)
            QVERIFY(!m.isEnabled(name));
        QVERIFY_THROWS_EXCEPTION(AppError, calcDocumentOf(f.ctx, {}, requiredReportBlocks()));
        // a click through a stale menu is refused with a message, nothing is asked for
        f.prompter.clear();
        m.exportDocument(DocumentFormat::Pdf);
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.fileRequests.isEmpty());

        m.userEdit(QStringLiteral("txtTp"), QStringLiteral("6"));
        m.userClick(QStringLiteral("cmdOk"));
        QVERIFY(m.isEnabled(QStringLiteral("mnuPdf")));
        m.clearResults();
        QVERIFY(!m.isEnabled(QStringLiteral("mnuPdf")));
    }

    // "Экспорт в PDF…": the name and folder the save dialog proposes, the extension added
    // when the name has none (asking before it replaces a file), the air-gap question,
    // a failure shown with its reason.
    void exportFromTheMenu()
    {
        Calculated f;
        QTemporaryDir dir;
        f.ctx.settings.resultsDir = dir.path();
        MainForm& m = f.main();
        struct Written {
            DocumentFormat format;
            QString path;
            CalcDocument document;
        };
        QVector<Written> written;
        m.setDocumentWriter([&written](const CalcDocument& d, DocumentFormat format, const QString& path) {
            written.append({format, path, d});
        });

        f.prompter.fileAnswers = {dir.filePath("Стена")};
        m.userClick(QStringLiteral("mnuPdf"));
        QCOMPARE(f.prompter.fileRequests.size(), 1);
        QCOMPARE(f.prompter.fileRequests[0].kind, Prompter::FileChoice::Save);
        QCOMPARE(f.prompter.fileRequests[0].path, dir.filePath("Теплотехнический расчет.pdf"));
        QVERIFY(f.prompter.fileRequests[0].filter.contains(QStringLiteral("*.pdf")));
        QCOMPARE(written.size(), 1);
        QCOMPARE(written[0].format, DocumentFormat::Pdf);
        QCOMPARE(written[0].path, dir.filePath("Стена.pdf"));
        QCOMPARE(written[0].document.heading.first(), QStringLiteral("Файл: Стена.pdf"));
        QVERIFY(f.prompter.shown.isEmpty());  // no air-gap lines: nothing asked

        // an ODF name typed without extension over an existing file: asked, "Нет" keeps it
        QFile existing(dir.filePath("Стена.odt"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        f.prompter.fileAnswers = {dir.filePath("Стена")};
        f.prompter.answers = {MessageAnswer::No};
        m.userClick(QStringLiteral("mnuOdt"));
        QCOMPARE(written.size(), 1);
        QVERIFY(f.prompter.texts().last().contains(QStringLiteral("уже существует")));

        // the air-gap block only when the user agrees, asked as "Сохранить" asks
        const QStringList air = f.airLayerBlock();
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            f.prompter.clear();
            f.prompter.fileAnswers = {dir.filePath("Стена.odt")};
            f.prompter.answers = {answer};
            m.userClick(QStringLiteral("mnuOdt"));
            QCOMPARE(f.prompter.shown.size(), 1);
            QCOMPARE(f.prompter.shown[0].text,
                     QStringLiteral("Имеются результаты расчета воздушной прослойки. Сохранить их?"));
            QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Подтверждение записи"));
            const QVector<ReportSection>& report = written.last().document.report;
            QCOMPARE(report.size(), answer == MessageAnswer::Cancel ? 1 : 2);
            if (answer == MessageAnswer::Ok) {
                QCOMPARE(report[1].heading, QStringLiteral("Расчет вентилируемой воздушной прослойки"));
                QCOMPARE(report[1].lines, air);
            }
        }
        QCOMPARE(written.size(), 3);

        // cancelled file dialog: nothing written
        f.prompter.clear();
        m.userClick(QStringLiteral("mnuPdf"));
        QCOMPARE(written.size(), 3);

        // results of an earlier input: asked first, "Нет" writes nothing
        m.userEdit(QStringLiteral("txtTv"), QStringLiteral("20"));
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::No};
        f.prompter.fileAnswers = {dir.filePath("Стена.pdf")};
        m.userClick(QStringLiteral("mnuPdf"));
        QCOMPARE(written.size(), 3);
        QVERIFY(f.prompter.texts().first().contains(QStringLiteral("Исходные данные изменены")));

        // a writer that fails: its reason is shown
        m.userClick(QStringLiteral("cmdOk"));
        m.setDocumentWriter([](const CalcDocument&, DocumentFormat, const QString& path) {
            throw AppError(QStringLiteral("Не удалось записать документ в файл «%1»: диск заполнен").arg(path));
        });
        f.prompter.clear();
        f.prompter.fileAnswers = {dir.filePath("Стена.pdf")};
        m.userClick(QStringLiteral("mnuPdf"));
        QVERIFY(f.prompter.texts().last().contains(QStringLiteral("диск заполнен")));
    }

    // "Печать…": the document goes to the printer part with the air-gap question of its own.
    void printFromTheMenu()
    {
        Calculated f;
        QVector<CalcDocument> printed;
        f.main().setDocumentPrinter([&printed](const CalcDocument& d) { printed.append(d); });
        const QStringList air = f.airLayerBlock();
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::Ok};
        f.main().userClick(QStringLiteral("mnuPrint"));
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].report.size(), 2);
        QCOMPARE(printed[0].report[1].lines, air);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("Имеются результаты расчета воздушной прослойки. Напечатать их?"));
        // the date, and no file name: nothing is written
        QCOMPARE(printed[0].heading.size(), 1);
    }

    // A block registered after the air gap reaches the results file and the document in
    // the order of registration; an offered block without lines is not asked about, and
    // the document leaves out the blank lines at a block's ends.
    void reportBlocksInTheirOrder()
    {
        Calculated f;
        const QStringList air = f.airLayerBlock();
        QStringList summary = {QString(), QStringLiteral("Итог 1"), QStringLiteral(" "), QString()};
        QStringList empty;
        f.ctx.reportBlocks.append({QStringLiteral("Пустой блок"), QStringLiteral("Имеется пустой блок."),
                                   [&empty] { return empty; }});
        f.ctx.reportBlocks.append({QStringLiteral("Итоги"), QStringLiteral("Имеются итоги."),
                                   [&summary] { return summary; }});
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        const CalcDocument d =
            calcDocumentOf(f.ctx, {}, askForReportBlock(f.prompter, QStringLiteral("Добавить их?"), QStringLiteral("Т")));
        QCOMPARE(f.prompter.texts(), (QStringList{QStringLiteral("Имеются результаты расчета воздушной прослойки. "
                                                                 "Добавить их?"),
                                                  QStringLiteral("Имеются итоги. Добавить их?")}));
        QCOMPARE(d.report.size(), 2);
        QCOMPARE(d.report[1].heading, QStringLiteral("Итоги"));
        QCOMPARE(d.report[1].lines, summary);
        const QString text = odfTextDocument(d, {})->toPlainText();
        const qsizetype calc = text.indexOf(QStringLiteral("\nРасчет\n"));
        const qsizetype totals = text.indexOf(QStringLiteral("\nИтоги\nИтог 1"));
        QVERIFY(calc > 0 && totals > calc);
        QVERIFY(text.endsWith(QStringLiteral("Итог 1")));
        QVERIFY(!text.contains(QStringLiteral("Расчет вентилируемой воздушной прослойки в соответствии")));

        // the results file: every block in order, the offered ones accepted
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Отчет.doc"));
        f.prompter.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
        WriteCalcReport(path, f.ctx.reportBlocks, f.prompter);
        QCOMPARE(readTextLines(path), f.ctx.report.lines() + air + summary);
    }

    // The example wall's PDF: source data, results with the tables, the chart, and the
    // report of 96 lines. The sections follow one another on a page: «Результаты» under
    // the layers on page 1 with its first rows, «Расчет» under the chart on page 3; five
    // pages, the same as the layout counts (the results cannot share page 2 with the
    // chart, which needs half a page). Every table and paragraph whole on its page, no
    // page but the last under a third full, with or without the file's name under the
    // title (with it only one row of the results fits on page 1: the section starts
    // page 2, and no page is left empty).
    void examplePdf()
    {
        Calculated f;
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QTemporaryDir dir;
        const QString path = dir.filePath("Стена.pdf");
        QCOMPARE(writeCalcDocument(d, DocumentFormat::Pdf, path, &renderSectionChart), 5);
        const QByteArray pdf = readAll(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), 5);

        for (const DocumentNames& names : {DocumentNames{}, DocumentNames{{}, QStringLiteral("Стена.pdf")}}) {
            const CalcDocument named = calcDocumentOf(f.ctx, names, requiredReportBlocks());
            QBuffer sink;
            sink.open(QIODevice::WriteOnly);
            QPdfWriter writer(&sink);
            writer.setResolution(1200);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            const std::unique_ptr<QTextDocument> doc = pagedTextDocument(named, &renderSectionChart, writer);
            QCOMPARE(doc->pageCount(), 5);
            checkNothingDivided(*doc);
            checkPagesFilled(*doc);
            checkFooters(*doc, writer);
            // «Результаты» goes with its first two rows: under the layers when they fit
            const int results = pageOfParagraph(*doc, QStringLiteral("Результаты"));
            QCOMPARE(results, names.documentFile.isEmpty() ? 0 : 1);
            QCOMPARE(pageOfParagraph(*doc, d.results[1].label, true), results);
            QCOMPARE(pageOfParagraph(*doc, QStringLiteral("Расчет")),
                     pageOfParagraph(*doc, QString(QChar::ObjectReplacementCharacter)));
            QCOMPARE(pageOfParagraph(*doc, QStringLiteral("Расчет")), 2);
        }
    }

    // 8 layers and 90 points: the point table continues over pages under its heading row,
    // no row divided; the chart grows with its table of layers.
    void eightLayerPdf()
    {
        Calculated f(true);
        QVERIFY(documentAvailable(f.ctx));
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QCOMPARE(d.layers.size(), 8);
        QCOMPARE(d.points[0].size(), 90);
        QCOMPARE(d.boundaries.size(), 7);
        QTemporaryDir dir;
        const QString path = dir.filePath("8.pdf");
        const int pages = writeCalcDocument(d, DocumentFormat::Pdf, path, &renderSectionChart);
        QCOMPARE(pdfPages(readAll(path)), pages);
        QCOMPARE(pages, 28);  // the note on the unchecked reference values fits: sections follow on a page

        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter writer(&sink);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        const std::unique_ptr<QTextDocument> doc = pagedTextDocument(d, &renderSectionChart, writer);
        checkNothingDivided(*doc);
        checkPagesFilled(*doc);
        checkFooters(*doc, writer);
        int pieces = 0;
        for (QTextFrame* frame : doc->rootFrame()->childFrames()) {
            auto* t = qobject_cast<QTextTable*>(frame);
            if (t && t->cellAt(0, 0).firstCursorPosition().block().text() == QStringLiteral("Точка"))
                ++pieces;
        }
        QVERIFY(pieces >= 3);  // 90 rows do not fit on one or two pages
        QCOMPARE(chartHeightMm(*d.chart), 140.0 + 4 * 9);
        // on the page the chart takes two thirds of it at most with its margin, so that it
        // never leaves the page before it less than a third full
        bool found = false;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (b.text() != QString(QChar::ObjectReplacementCharacter))
                continue;
            found = true;
            const LineSpan s = lineSpan(*doc, b, 0);
            QVERIFY(s.bottom - s.top > doc->pageSize().height() * 0.6);
            const double margin = 12.0 * writer.logicalDpiY() / 72;  // 12 pt above it
            QVERIFY(margin + s.bottom - s.top <= doc->pageSize().height() * 2 / 3);
        }
        QVERIFY(found);
    }

    // A printer takes the same pages (here one writing a PDF file).
    void printerPages()
    {
        Calculated f;
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("print.pdf"));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        printer.setFullPage(true);
        QCOMPARE(printCalcDocument(d, &renderSectionChart, printer), 5);
        QCOMPARE(pdfPages(readAll(dir.filePath("print.pdf"))), 5);
    }

    // The print preview opens wide enough for its whole toolbar (its print button last),
    // within the screen's free area, and as tall as that allows.
    void printPreviewShowsItsToolbar()
    {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog preview(&printer);
        auto* tools = preview.findChild<QToolBar*>();
        QVERIFY(tools);
        const int needed = tools->sizeHint().width();
        // a screen at 150 %: 1280×720 free; three quarters of the height would cut it
        QVERIFY(720 * 3 / 4 < needed);
        const QSize wide = printPreviewSize(preview, QSize(1280, 720));
        QVERIFY2(wide.width() >= needed, qPrintable(QString::number(wide.width())));
        QVERIFY(wide.width() <= 1280);
        QCOMPARE(wide.height(), 648);
        preview.resize(wide);
        preview.show();
        QCoreApplication::processEvents();
        for (QAction* a : tools->actions())
            QVERIFY2(a->isSeparator() || tools->widgetForAction(a) == nullptr ||
                         tools->widgetForAction(a)->isVisible(),
                     qPrintable(a->text()));
        // a narrow screen: never wider than its free area; a roomy one keeps the page shape
        QCOMPARE(printPreviewSize(preview, QSize(600, 900)).width(), 600);
        QCOMPARE(printPreviewSize(preview, QSize(2560, 1600)), QSize(1200, 1440));
    }

    // The OpenDocument text: a zip whose content.xml holds the verdict, the layer names and
    // every boundary label, the chart as a PNG, the page and the footer in styles.xml.
    void odtPackage()
    {
        Calculated f;
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QTemporaryDir dir;
        const QString path = dir.filePath("Стена.odt");
        QCOMPARE(writeCalcDocument(d, DocumentFormat::Odt, path, &renderSectionChart), 0);
        QStringList order;
        const QMap<QString, QByteArray> files = unzip(readAll(path), &order);
        QVERIFY(!files.isEmpty());
        QCOMPARE(order.first(), QStringLiteral("mimetype"));
        QCOMPARE(files.value("mimetype"), QByteArray("application/vnd.oasis.opendocument.text"));
        const QString content = QString::fromUtf8(files.value("content.xml"));
        QVERIFY(content.contains(QStringLiteral("СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43")));
        for (const QString& name : kExampleNames)
            QVERIFY2(content.contains(name), qPrintable(name));
        for (const char* label : {"Граница слоев 1-2", "Граница слоев 2-3", "Граница слоев 3-4"})
            QVERIFY(content.contains(QString::fromUtf8(label)));
        QVERIFY(content.contains(d.report.last().lines.last()));
        // every row fills its table's columns, cells spanned from the rows above counted,
        // and no more: a word processor drops the cells past the last column, and with
        // them a note written as a cell of its own
        struct Table {
            QVector<int> covered;  // per column: the rows a cell above still spans
        };
        QXmlStreamReader xml(content);
        QVector<Table> tables;  // the open ones, innermost last
        int column = 0;
        int rows = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            const QStringView name = xml.name();
            const auto number = [&](const char* attribute) {
                const QStringView n = xml.attributes().value(QLatin1String(attribute));
                return n.isEmpty() ? 1 : n.toInt();
            };
            if (xml.isStartElement() && name == u"table") {
                tables.append(Table{});
            } else if (xml.isEndElement() && name == u"table") {
                tables.removeLast();
            } else if (xml.isStartElement() && name == u"table-column") {
                tables.last().covered.append(QVector<int>(number("table:number-columns-repeated"), 0));
            } else if (xml.isStartElement() && name == u"table-row") {
                column = 0;
            } else if (xml.isStartElement() && name == u"table-cell") {
                QVector<int>& covered = tables.last().covered;
                while (column < covered.size() && covered[column] > 0)
                    ++column;
                const int span = number("table:number-columns-spanned");
                QVERIFY2(column + span <= covered.size(), qPrintable(QStringLiteral("row %1").arg(rows)));
                for (int k = column; k < column + span; ++k)
                    covered[k] = number("table:number-rows-spanned");
                column += span;
            } else if (xml.isEndElement() && name == u"table-row") {
                for (int& c : tables.last().covered)
                    QVERIFY2(c-- > 0, qPrintable(QStringLiteral("row %1 leaves a column empty").arg(rows)));
                ++rows;
            }
        }
        QVERIFY(!xml.hasError());
        QVERIFY(rows > 20);
        // a cell's note follows its value after a line break, in the same paragraph
        static const QRegularExpression noted(QStringLiteral(
            "-27 °С</text:span><text:span[^>]*>(<text:tab/>)?\\s*<text:line-break/>принята расчетной"));
        QVERIFY(noted.match(content).hasMatch());
        const QString styles = QString::fromUtf8(files.value("styles.xml"));
        QVERIFY(styles.contains(QStringLiteral("стр. <text:page-number")));
        QVERIFY(styles.contains(QStringLiteral("<text:page-count/>")));
        QVERIFY(styles.contains(QStringLiteral("fo:page-width=\"210.0mm\"")));
        const QString manifest = QString::fromUtf8(files.value("META-INF/manifest.xml"));
        for (const QString& name : files.keys()) {
            if (name != u"mimetype" && !name.startsWith(u"META-INF"))
                QVERIFY2(manifest.contains(QStringLiteral("full-path=\"%1\"").arg(name)), qPrintable(name));
        }
        QVERIFY(manifest.contains(QStringLiteral("\"Pictures/Picture1\" manifest:media-type=\"image/png\"")));
        QVERIFY(files.value("Pictures/Picture1").startsWith("\x89PNG"));

        // a package that is not a zip is not passed on
        QVERIFY(withPageStyle(QByteArray("not a zip")).isEmpty());
    }

    // A document that cannot be written names the file and leaves the old one as it was.
    void failedWriteKeepsTheOldFile()
    {
        Calculated f;
        const CalcDocument d = calcDocumentOf(f.ctx, {}, requiredReportBlocks());
        QTemporaryDir dir;
        const QString path = dir.filePath("Стена.pdf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const ChartRenderer failing = [](const SectionChart&, QPainter&, const QRectF&, double) {
            throw AppError(QStringLiteral("рисунок не построен"));
        };
        QVERIFY_THROWS_EXCEPTION(AppError, writeCalcDocument(d, DocumentFormat::Pdf, path, failing));
        QCOMPARE(readAll(path), QByteArray("old"));

        const QString inFile = dir.filePath("Стена.pdf/Отчет.pdf");  // a file, not a folder
        EXPECT_APP_ERROR(writeWith(d, DocumentFormat::Odt, inFile), "written below a file", [&](const AppError& e) {
            QVERIFY(e.message().contains(QDir::toNativeSeparators(inFile)));
        });

        // a pipe under the name stays a pipe: the document is never renamed over it
        const QString fifo = dir.filePath("канал.pdf");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (DocumentFormat format : {DocumentFormat::Pdf, DocumentFormat::Odt})
            QVERIFY_THROWS_EXCEPTION(AppError, writeWith(d, format, fifo));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    }

    // ogrado_calc --pdf and --odt: the document of "Расчет"; a calculation that stopped
    // gives none and exit status 1; both options on one file are refused.
    void batchDocuments()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("8.pdf");
        const QString odt = dir.filePath("8.odt");
        QString outText;
        QString errText;
        QTextStream out(&outText);
        QTextStream err(&errText);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--pdf", pdf, "--odt", odt, kCase8}, out, err, {},
                          &writeWith),
                 0);
        QVERIFY(errText.isEmpty());
        QVERIFY(outText.contains(QStringLiteral("ВЫВОД:")));  // the report still printed
        QCOMPARE(pdfPages(readAll(pdf)), 28);
        const QString content = QString::fromUtf8(unzip(readAll(odt)).value("content.xml"));
        QVERIFY(content.contains(QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43")));
        // the results page names the unchecked reference values the calculation used
        QVERIFY(content.contains(QStringLiteral("Расчет использует непроверенные справочные значения: заглушка — ")));
        for (const char* name : {"Штукатурка изв.-песч", "Кирпич глиняный обыкновенный на цементно-песчаном растворе",
                                 "Пенополистирол ПСБ-С 25", "Плиты минераловатные", "Газосиликат D=500",
                                 "Плита цементно-стружечная", "Кирпич облицовочный", "Штукатурка ц-песчаная"})
            QVERIFY2(content.contains(QString::fromUtf8(name)), name);
        for (int b = 1; b <= 7; ++b)
            QVERIFY(content.contains(QStringLiteral("Граница слоев %1-%2").arg(b).arg(b + 1)));
        QVERIFY(content.contains(QStringLiteral("Исходные данные: wall_8_layers_90_points.json")));

        // no Δt(в): the run stops, no document is written
        const QString stopCase = dir.filePath("stop.json");
        QFile c(stopCase);
        QVERIFY(c.open(QIODevice::WriteOnly));
        c.write(R"({"txtTp": ""})");
        c.close();
        const QString none = dir.filePath("none.pdf");
        errText.clear();
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--pdf", none, stopCase}, out, err, {}, &writeWith), 1);
        QVERIFY(!QFile::exists(none));
        QVERIFY(errText.contains(QStringLiteral("не записан")));

        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--pdf", pdf, "--odt", pdf}, out, err, {}, &writeWith), 2);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--pdf", pdf, "--dewpoint", "20;50"}, out, err, {},
                          &writeWith),
                 2);
        // without the drawing module the options are refused
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--pdf", none}, out, err), 2);
        QVERIFY(!QFile::exists(none));
    }

    // The program itself loads its drawing module for --pdf, without a display.
    void ogradoCalcWritesAPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("Стена.pdf");
        QProcess calc;
        QVERIFY(test::runCalcWithoutDisplay(calc, OGRADO_CALC, {"--data", OGRADO_SHIPPED_DATA, "--pdf", pdf}));
        QCOMPARE(calc.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(calc.readAllStandardError()), QString());
        const QByteArray bytes = readAll(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(pdfPages(bytes), 5);
    }

    // The main window's menu "Файл" shows the three items, enabled after a calculation.
    void menuInTheWindow()
    {
        test::AppFixture f;
        MainWindow window(f.main(), f.host);
        auto* pdf = window.findChild<QAction*>(QStringLiteral("mnuPdf"));
        auto* odt = window.findChild<QAction*>(QStringLiteral("mnuOdt"));
        auto* print = window.findChild<QAction*>(QStringLiteral("mnuPrint"));
        QVERIFY(pdf && odt && print);
        QCOMPARE(pdf->text(), QStringLiteral("Экспорт в PDF…"));
        QCOMPARE(odt->text(), QStringLiteral("Экспорт в ODF (.odt)…"));
        QCOMPARE(print->text(), QStringLiteral("Печать…"));
        QCOMPARE(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        for (QAction* a : {pdf, odt, print})
            QVERIFY(a->isVisible() && !a->isEnabled());
        f.main().userClick(QStringLiteral("cmdOk"));
        QCoreApplication::processEvents();
        for (QAction* a : {pdf, odt, print})
            QVERIFY(a->isEnabled());
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
