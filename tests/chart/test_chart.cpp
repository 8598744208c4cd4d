// SPDX-License-Identifier: GPL-3.0-or-later
// The section chart: its model from the point field of a run (x positions, layer bands,
// failing boundaries, the stretches where e ≥ E, the refined and unrefined fields), the
// chart window's form (following "Расчет" and "Пересчитать", "Сохранить рисунок…"), the
// drawing and `ogrado_calc --chart`. Expected numbers are worked out from the formulas
// with the straight-line table E = 10·t + 1000, not taken from the program.
#include "batch/batch.h"
#include "chart/chart_form.h"
#include "chart/chart_plot.h"
#include "chart/chart_window.h"
#include "chart/section_chart.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "engine/envelope_calc.h"
#include "test_app.h"

#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolTip>
#include <QtTest>

#include <sys/stat.h>

using namespace ogrado;

namespace {

struct Layer {
    QString thickness, points, lambdaA, lambdaB, mu;
};

LayerTable table(const QVector<Layer>& layers, const QString& tIn, const QString& phiIn, const QString& tHeat,
                 const QString& phiHeat)
{
    LayerTable t;
    t.header = {"8,7", "23", tIn, phiIn, tHeat, phiHeat, "429", "207"};
    int row = 0;
    for (const Layer& l : layers) {
        LayerRow r;
        ++row;
        r.cells = {QString(), QString::number(row), l.thickness, l.points, l.lambdaA, l.lambdaB, "2", "2", l.mu};
        r.sourceRow = row;
        r.name = QStringLiteral("Слой %1").arg(row);
        t.layers.append(r);
    }
    return t;
}

EnvelopeInputs inputs(bool refine)
{
    EnvelopeInputs in;
    in.tn = {"-31", "-28", "-27", "-25"};
    in.n = "1";
    in.tempDiff = "6";
    in.refine = refine;
    return in;
}

// E = 10·t + 1000 between -100 and +100 °С.
SaturationTable linearTable()
{
    SaturationTable s;
    s.rows = {{-100, 0}, {100, 2000}};
    return s;
}

ChartPoint at(double x, double e, double E)
{
    ChartPoint p;
    p.x = x;
    p.e = float(e);
    p.E = float(E);
    return p;
}

// Share of the image's pixels that are not white.
double inkShare(const QImage& image)
{
    qint64 ink = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                ++ink;
    return double(ink) / (double(image.width() / 2) * (image.height() / 2));
}

ChartForm& chartForm(test::AppFixture& f)
{
    return f.app->formAs<ChartForm>();
}

}  // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    // One layer of 100 mm with one intermediate point, λА = 0,4, λБ = 0,5; tв = 18 °С,
    // фи(в) = 55 % (condition Б), tот = −2 °С, фи(от) = 50 %.
    //   Б: Rт = 1/8,7 + 0,1/0,5 + 1/23 = 0,358421; t = 18 − 20·(1/8,7 + Σδ/λ)/Rт gives
    //      11,586 at 0 mm, 6,006 at 50 mm, 0,426 at 100 mm.
    //   ев = 0,55·1180 = 649, ен = 0,5·980 = 490: фи = 58,2; 53,7; 48,8 %, the mean 53,6 %
    //   takes the А column in the refined field: Rт = 0,408421, t = 12,371; 6,250; 0,129.
    void followsTheFieldOfTheResultLists()
    {
        const QVector<Layer> wall = {{"100", "1", "0,4", "0,5", "0,1"}};
        const SaturationTable sat = linearTable();
        auto check = [](const SectionChart& c, const QString& caption, std::array<double, 3> t) {
            QCOMPARE(c.caption, caption);
            QCOMPARE(c.points.size(), 3);
            for (int j = 0; j < 3; ++j) {
                QCOMPARE(c.points[j].x, 50.0 * j);
                QVERIFY2(std::abs(c.points[j].t - t[size_t(j)]) < 1e-3,
                         qPrintable(QStringLiteral("t%1 = %2").arg(j).arg(c.points[j].t)));
            }
            QCOMPARE(c.points[0].name, QStringLiteral("Внутренняя поверхность"));
            QCOMPARE(c.points[1].name, QStringLiteral("1пр. точка.  Слой 1"));
            QCOMPARE(c.points[2].name, QStringLiteral("Наружная поверхность"));
            // e falls linearly with the vapour resistance: half of Rп halfway
            QVERIFY(std::abs(c.points[1].e - (c.inside.e + c.outside.e) / 2) < 1e-3);
        };

        // not refined: every layer with λБ, as the lists show it
        LayerTable t = table(wall, "18", "55", "-2", "50");
        CalcReport report;
        EnvelopeOutcome o = RunEnvelopeCalculation(t, inputs(false), sat, report);
        QVERIFY(o.finished() && o.lists);
        check(buildSectionChart(o.state, t, o.lists->caption), o.lists->caption, {11.5862, 6.0061, 0.4261});
        const SectionChart plain = buildSectionChart(o.state, t, o.lists->caption);
        QCOMPARE(plain.inside.t, 18.0);
        QCOMPARE(plain.outside.t, -2.0);
        QCOMPARE(plain.inside.e, 649.0);
        QCOMPARE(plain.outside.e, 490.0);
        QCOMPARE(plain.inside.E, 1180.0);
        QCOMPARE(plain.outside.E, 980.0);

        // refine ticked: "Расчет" lists the preliminary field (condition Б) ...
        o = RunEnvelopeCalculation(t, inputs(true), sat, report);
        QVERIFY(o.finished() && o.lists);
        QCOMPARE(o.lists->caption, QStringLiteral("Результаты предварительных расчетов"));
        check(buildSectionChart(o.state, t, o.lists->caption), o.lists->caption, {11.5862, 6.0061, 0.4261});
        // ... and "Пересчитать" the refined one
        const ResultLists refined = RecalculateRefinedField(o.input, o.state, true, sat);
        check(buildSectionChart(o.state, t, refined.caption), QStringLiteral("Результаты по уточненному Rt"),
              {12.3714, 6.2502, 0.1291});
    }

    // Two layers: 100 mm (μ = 0,1) and a vapour-tight 10 mm (μ = 0,0001), λ = 0,5, no
    // intermediate points; tв = 18 °С, фи(в) = 90 %, tот = −40 °С, фи(от) = 50 %.
    //   Rт = 1/8,7 + 0,2 + 0,02 + 1/23 = 0,378421; Rп = 1 + 100 = 101;
    //   ев = 0,9·1180 = 1062, ен = 0,5·600 = 300.
    //   x = 0: t = 0,383, E = 1003,83, e = 1062,   e − E = +58,17
    //   x = 100: t = −30,271, E = 697,29, e = 1054,46, e − E = +357,16
    //   x = 110: t = −33,336, E = 666,64, e = 300,  e − E = −366,64
    //   e ≥ E from 0 to 100 + 10·357,16/(357,16 + 366,64) = 104,935 mm;
    //   boundary 1-2: Rп.тр = (1062 − 697,29)·100/(697,29 − 300) = 91,8 > Rп.в = 1: fails.
    void aFailingWallShowsItsBoundaryAndTheCondensationZone()
    {
        LayerTable t = table({{"100", "0", "0,5", "0,5", "0,1"}, {"10", "0", "0,5", "0,5", "0,0001"}}, "18", "90",
                             "-40", "50");
        CalcReport report;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, inputs(false), linearTable(), report);
        QVERIFY(o.finished() && o.lists);
        const SectionChart c = buildSectionChart(o.state, t, o.lists->caption);
        QCOMPARE(c.boundaries.size(), 1);
        QCOMPARE(c.boundaries[0].label, QStringLiteral("Граница слоев 1-2"));
        QCOMPARE(c.boundaries[0].x, 100.0);
        QVERIFY(c.boundaries[0].fails);
        QVERIFY(c.hasFailingBoundary());
        QVERIFY(!c.complies);
        QCOMPARE(c.condensation.size(), 1);
        QCOMPARE(c.condensation[0].from, 0.0);
        QVERIFY2(std::abs(c.condensation[0].to - 104.935) < 0.01, qPrintable(QString::number(c.condensation[0].to)));
    }

    void condensationStretchesAreInterpolated()
    {
        // e − E: −100, +50, +20, −40 and a touch (0) at the end
        QCOMPARE(condensationStretches({at(0, 900, 1000), at(50, 850, 800), at(100, 720, 700), at(150, 560, 600),
                                        at(200, 500, 500)}),
                 (QVector<ChartStretch>{{50.0 * 100 / 150, 100 + 50.0 * 20 / 60}, {200, 200}}));
        // e = E at one point inside: a stretch of no length, where it touches
        QCOMPARE(condensationStretches({at(0, 100, 110), at(10, 120, 120), at(30, 100, 130)}),
                 (QVector<ChartStretch>{{10, 10}}));
        // e above E everywhere; and nowhere
        QCOMPARE(condensationStretches({at(0, 10, 5), at(40, 10, 9)}), (QVector<ChartStretch>{{0, 40}}));
        QVERIFY(condensationStretches({at(0, 1, 5), at(40, 1, 9)}).isEmpty());
    }

    void aStateOfAnotherTableIsRefused()
    {
        LayerTable t = table({{"100", "1", "0,4", "0,5", "0,1"}}, "18", "55", "-2", "50");
        CalcReport report;
        const EnvelopeOutcome o = RunEnvelopeCalculation(t, inputs(false), linearTable(), report);
        LayerTable other = table({{"100", "1", "0,4", "0,5", "0,1"}, {"10", "0", "1", "1", "1"}}, "18", "55", "-2",
                                 "50");
        QVERIFY_THROWS_EXCEPTION(AppError, buildSectionChart(o.state, other, QString()));
        CalcState broken = o.state;
        broken.points.removeLast();
        broken.pointLabels.removeLast();
        QVERIFY_THROWS_EXCEPTION(AppError, buildSectionChart(broken, t, QString()));
    }

    // The example wall with row 3 excluded: 20, 250 (3 points) and 10 mm.
    void theWindowFollowsEveryCalculation()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        QVERIFY(m.isVisible("mnuChart"));
        QCOMPARE(m.control("mnuChart").shortcut, QStringLiteral("Ctrl+G"));
        QCOMPARE(m.control("mnuChart").group, QStringLiteral("Расчет"));
        m.userClick("mnuChart");
        QVERIFY(f.host.opened.contains("frmChart"));
        ChartForm& c = chartForm(f);
        QVERIFY(!c.chart());
        QCOMPARE(c.text("lblHint"), QString::fromUtf8(kChartHintBeforeCalculation));
        QVERIFY(!c.isEnabled("cmdSaveImage"));

        m.userCheck("chkIskl_3", true);
        m.userClick("cmdOk");
        QVERIFY(c.chart());
        QCOMPARE(c.revision(), 1);
        QVERIFY(c.isEnabled("cmdSaveImage"));
        QVERIFY(!c.isVisible("lblHint"));
        const SectionChart& chart = *c.chart();
        QCOMPARE(chart.caption, m.text("lblRezList"));
        QCOMPARE(chart.layers.size(), 3);
        const QStringList names = {"Штукатурка изв.-песч", "Газосиликат D=500", "Штукатурка ц-песчаная"};
        const double bands[3][2] = {{0, 20}, {20, 270}, {270, 280}};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(chart.layers[i].number, i + 1);
            QCOMPARE(chart.layers[i].name, names[i]);
            QCOMPARE(chart.layers[i].from, bands[i][0]);
            QCOMPARE(chart.layers[i].to, bands[i][1]);
        }
        const QVector<double> xs = {0, 20, 82.5, 145, 207.5, 270, 280};
        QCOMPARE(chart.points.size(), xs.size());
        for (int j = 0; j < xs.size(); ++j)
            QCOMPARE(chart.points[j].x, xs[j]);
        QCOMPARE(chart.boundaries.size(), 2);
        QCOMPARE(chart.boundaries[1].label, QStringLiteral("Граница слоев 2-3"));
        // the values are those of the result lists
        for (int j = 0; j < xs.size(); ++j) {
            QCOMPARE(formatSingle(chart.points[j].t, "0.00"), m.items("lstRez_2")[j]);
            QCOMPARE(formatSingle(chart.points[j].e, "0.0"), m.items("lstRez_4")[j]);
            QCOMPARE(chart.points[j].name, m.items("lstRez_1")[j]);
        }

        // "Пересчитать" with the refine flag: the refined field, also with the window closed
        c.unloadForm();
        m.userCheck("chkPr", true);
        m.userClick("cmdOk");
        QCOMPARE(c.chart()->caption, QStringLiteral("Результаты предварительных расчетов"));
        m.userClick("cmdPR");
        QCOMPARE(c.revision(), 3);
        QCOMPARE(c.chart()->caption, QStringLiteral("Результаты по уточненному Rt"));
        for (int j = 0; j < xs.size(); ++j)
            QCOMPARE(formatSingle(c.chart()->points[j].t, "0.00"), m.items("lstRez_2")[j]);

        // a run that stops: no chart, the reason instead
        m.userEdit("txtTp", "");
        m.userClick("cmdOk");
        QVERIFY(!c.chart());
        QCOMPARE(c.text("lblHint"),
                 QStringLiteral("Расчет не завершен — график не построен.\nНет данных по температурному перепаду!!!"));
        c.loadForm();
        QVERIFY(c.isVisible("lblHint"));
        QVERIFY(!c.isEnabled("cmdSaveImage"));
    }

    void savingAsksForTheFileAndChecksTheSize()
    {
        test::AppFixture f;
        ChartForm& c = chartForm(f);
        c.loadForm();
        f.main().userClick("cmdOk");
        struct Call {
            QString path;
            QSize size;
        };
        QVector<Call> calls;
        c.setImageWriter([&](const SectionChart&, const QString& path, QSize size) { calls.append({path, size}); });

        // cancelled: nothing written; the file proposed is in the results folder
        f.ctx.settings.resultsDir = QStringLiteral("/tmp/Результаты");
        c.userClick("cmdSaveImage");
        QVERIFY(calls.isEmpty());
        QCOMPARE(f.prompter.fileRequests.size(), 1);
        QCOMPARE(f.prompter.fileRequests[0].path, QStringLiteral("/tmp/Результаты/График.png"));
        QCOMPARE(f.prompter.fileRequests[0].filter, QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));

        // a name without an extension is a PNG; the default size is 1600 × 1000
        f.prompter.fileAnswers = {"/tmp/x/Стена"};
        c.userClick("cmdSaveImage");
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].path, QStringLiteral("/tmp/x/Стена.png"));
        QCOMPARE(calls[0].size, QSize(1600, 1000));

        f.prompter.fileAnswers = {"/tmp/x/Стена.SVG"};
        c.userEdit("txtWidth", "800");
        c.userEdit("txtHeight", " 500 ");
        c.userClick("cmdSaveImage");
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[1].size, QSize(800, 500));
        QCOMPARE(f.prompter.fileRequests[2].path, QStringLiteral("/tmp/x/Стена.png"));  // the last file proposed

        f.prompter.clear();
        f.prompter.fileAnswers = {"/tmp/x/Стена.jpg"};
        c.userClick("cmdSaveImage");
        QCOMPARE(calls.size(), 2);
        QVERIFY(f.prompter.texts().value(0).contains(QStringLiteral("PNG или SVG")));

        // sizes out of range or not whole: a message naming the field, no file dialog
        for (const auto& [field, value] : {std::pair{"txtWidth", "199"}, std::pair{"txtWidth", "8001"},
                                           std::pair{"txtHeight", "700,5"}, std::pair{"txtHeight", ""}}) {
            c.userEdit("txtWidth", "1600");
            c.userEdit("txtHeight", "1000");
            c.userEdit(field, value);
            f.prompter.clear();
            const qsizetype asked = f.prompter.fileRequests.size();
            c.userClick("cmdSaveImage");
            QCOMPARE(f.prompter.fileRequests.size(), asked);
            QCOMPARE(f.prompter.shown.size(), 1);
            const QString what = QLatin1String(field) == u"txtWidth" ? QStringLiteral("Ширина") : QStringLiteral("Высота");
            QVERIFY2(f.prompter.shown[0].text.startsWith(what), qPrintable(f.prompter.shown[0].text));
        }
        QVERIFY(!c.userKey("txtWidth", u','));
        QCOMPARE(calls.size(), 2);
    }

    void toolTipsUseTheFormatsOfTheLists()
    {
        ChartPoint p;
        p.name = QStringLiteral("2пр. точка.  Белтеп ПП100");
        p.x = 300;
        p.t = 2.5f;
        p.E = 731.25f;
        p.e = 480.04f;
        p.phi = 65.66f;
        QCOMPARE(SectionChartPlot::pointToolTip(p), QStringLiteral("2пр. точка.  Белтеп ПП100\nx = 300,0 мм\n"
                                                                   "t = 2,50 °С\nE = 731,3 Па\ne = 480,0 Па\nфи = 65,7 %"));
        p.phi = 100.5f;
        QVERIFY(SectionChartPlot::pointToolTip(p).endsWith(QStringLiteral("фи = 100% !!!")));
    }

    void theWindowDrawsTheChartOfTheLastCalculation()
    {
        test::AppFixture f;
        ChartForm& c = chartForm(f);
        c.loadForm();
        ChartWindow w(c);
        w.resize(1100, 750);
        w.show();
        for (const char* name : {"lblHint", "txtWidth", "txtHeight", "cmdSaveImage", "cmdCancel", "chartView"})
            QVERIFY2(w.findChild<QWidget*>(QLatin1String(name)), name);
        QVERIFY(!w.plot());
        QCOMPARE(w.findChild<QLineEdit*>("txtWidth")->text(), QStringLiteral("1600"));

        f.main().userCheck("chkIskl_3", true);
        f.main().userEdit("txtFiv", "75");
        f.main().userClick("cmdOk");
        QApplication::processEvents();
        SectionChartPlot* plot = w.plot();
        QVERIFY(plot);
        const SectionChart& data = *c.chart();
        QCOMPARE(plot->temperatureSeries()->count(), data.points.size());
        // the curves meet the edges at the surface values; the bands line up with the boundaries
        QCOMPARE(plot->temperatureSeries()->at(0), QPointF(0, data.points.first().t));
        QCOMPARE(plot->temperatureSeries()->points().last(), QPointF(data.thickness(), data.points.last().t));
        const QRectF area = plot->plotArea();
        QVERIFY(area.width() > 300 && area.height() > 200);
        QVERIFY(std::abs(plot->xToPixel(0) - area.left()) < 0.5);
        QVERIFY(std::abs(plot->xToPixel(data.thickness()) - area.right()) < 0.5);
        // every value lies within its axis
        const auto [tMin, tMax] = plot->temperatureRange();
        const auto [pMin, pMax] = plot->pressureRange();
        for (const ChartPoint& p : data.points) {
            QVERIFY(p.t >= tMin && p.t <= tMax);
            QVERIFY(p.E >= pMin && p.E <= pMax && p.e >= pMin && p.e <= pMax);
        }
        QVERIFY(data.inside.t <= tMax && data.outside.t >= tMin);

        // resting on a curve shows its nearest point; away from the curves nothing
        const ChartPoint& third = data.points[3];
        const QPointF onCurve = plot->mapToPosition(QPointF(third.x, third.e), plot->vapourSeries()) + QPointF(3, 2);
        QCOMPARE(plot->pointAt(onCurve), 3);
        QCOMPARE(plot->pointAt(QPointF(area.center().x(), area.bottom() - 1)), -1);
        QChartView* view = w.chartView();
        const QPoint viewPos = view->mapFromScene(plot->mapToScene(onCurve));
        QHelpEvent help(QEvent::ToolTip, viewPos, view->viewport()->mapToGlobal(viewPos));
        QApplication::sendEvent(view->viewport(), &help);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), SectionChartPlot::pointToolTip(third));
        QCOMPARE(QToolTip::text().section(u'\n', 0, 0), f.main().items("lstRez_1")[3]);

        // "Сохранить рисунок…" writes a real picture of the size typed
        QTemporaryDir dir;
        f.prompter.fileAnswers = {dir.filePath("chart.png")};
        c.userEdit("txtWidth", "900");
        c.userEdit("txtHeight", "600");
        QTest::mouseClick(w.findChild<QPushButton*>("cmdSaveImage"), Qt::LeftButton);
        const QImage image(dir.filePath("chart.png"));
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY(inkShare(image) > 0.05);

        // the next calculation replaces the chart; a stopped one shows the reason
        f.main().userEdit("txtTp", "");
        f.main().userClick("cmdOk");
        QApplication::processEvents();
        QVERIFY(!w.plot());
        QVERIFY(w.findChild<QLabel*>("lblHint")->text().contains(QStringLiteral("Нет данных по температурному перепаду")));
    }

    void pngAndSvgOfTheRequestedSize()
    {
        test::AppFixture f;
        f.main().userClick("cmdOk");
        const SectionChart& chart = *chartForm(f).chart();
        QTemporaryDir dir;
        writeSectionChart(chart, dir.filePath("a.svg"), QSize(1200, 700));
        QSvgRenderer svg(dir.filePath("a.svg"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.defaultSize(), QSize(1200, 700));
        QImage drawn(svg.defaultSize(), QImage::Format_ARGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        QVERIFY(inkShare(drawn) > 0.05);
        QVERIFY_THROWS_EXCEPTION(AppError, writeSectionChart(chart, dir.filePath("a.bmp"), QSize(800, 600)));
        QVERIFY_THROWS_EXCEPTION(AppError, writeSectionChart(chart, dir.filePath("нет/a.png"), QSize(800, 600)));
        QVERIFY(!QFile::exists(dir.filePath("a.bmp")));
        const QString fifo = dir.filePath("канал.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY_THROWS_EXCEPTION(AppError, writeSectionChart(chart, fifo, QSize(800, 600)));
        QVERIFY(!QFileInfo(fifo).isFile());
    }

    void batchWritesTheChart()
    {
        QTemporaryDir dir;
        QString o, e;
        QTextStream out(&o), err(&e);
        const QString png = dir.filePath("стена.png");
        const ChartForm::ImageWriter draw = &writeSectionChart;
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--chart", png}, out, err, draw), 0);
        QVERIFY2(e.isEmpty(), qPrintable(e));
        QVERIFY(o.contains(QStringLiteral("ВЫВОД:")));  // the report is printed as without --chart
        const QImage image(png);
        QCOMPARE(image.size(), QSize(1600, 1000));
        QVERIFY(inkShare(image) > 0.05);

        const QString svg = dir.filePath("стена.svg");
        QCOMPARE(
            runBatch({"--data", OGRADO_SHIPPED_DATA, "--chart=" + svg, "--chart-size", "1000x640"}, out, err, draw), 0);
        QCOMPARE(QSvgRenderer(svg).defaultSize(), QSize(1000, 640));

        // wrong extension, size or company: the usage, status 2, nothing written
        for (const QStringList& args :
             {QStringList{"--chart", dir.filePath("a.jpg")}, QStringList{"--chart", svg, "--chart-size", "100x100"},
              QStringList{"--chart", svg, "--chart-size", "1600"}, QStringList{"--chart-size", "1600x1000"},
              QStringList{"--chart", svg, "--dewpoint", "18;55"}}) {
            e.clear();
            QCOMPARE(runBatch(QStringList{"--data", OGRADO_SHIPPED_DATA} + args, out, err, draw), 2);
            QVERIFY(e.contains(QStringLiteral("Использование")));
        }

        // a calculation that stops writes no chart
        const QString casePath = dir.filePath("case.json");
        QFile caseFile(casePath);
        QVERIFY(caseFile.open(QIODevice::WriteOnly));
        caseFile.write(R"({"txtTp": ""})");
        caseFile.close();
        e.clear();
        const QString none = dir.filePath("none.png");
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--chart", none, casePath}, out, err, draw), 1);
        QVERIFY(!QFile::exists(none));
        QVERIFY2(e.contains(QStringLiteral("график не записан")), qPrintable(e));
        // without the drawing module --chart is refused
        e.clear();
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--chart", none}, out, err), 2);
        QVERIFY(!QFile::exists(none));
    }

    // The program itself: plain runs without the graphical part, --chart through its
    // drawing module, off screen when no platform is chosen.
    void ogradoCalcDrawsWithoutADisplay()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath("wall.png");
        QProcess calc;
        QVERIFY(test::runCalcWithoutDisplay(calc, OGRADO_CALC, {"--data", OGRADO_SHIPPED_DATA, "--chart", png, "--chart-size", "1280x800"}));
        QCOMPARE(calc.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(calc.readAllStandardError()), QString());
        const QImage image(png);
        QCOMPARE(image.size(), QSize(1280, 800));
        QVERIFY(inkShare(image) > 0.05);

        calc.start(OGRADO_CALC, {"--data", OGRADO_SHIPPED_DATA});
        QVERIFY(calc.waitForFinished(60000));
        QCOMPARE(calc.exitCode(), 0);
        QVERIFY(QString::fromUtf8(calc.readAllStandardOutput()).contains(QStringLiteral("ВЫВОД:")));
    }
};

QTEST_MAIN(TestChart)
#include "test_chart.moc"
