// SPDX-License-Identifier: GPL-3.0-or-later
// ogrado_calc on the shipped data: the exit status and the output of cases that stop,
// are refused or ask a question, and where the results file may be written.
#include "batch/batch.h"
#include "batch/batch_options.h"
#include "batch/batch_step.h"
#include "common/qt_translation.h"
#include "common/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>
#include <QtTest>

#include <thread>

#include <sys/stat.h>

using namespace ogrado;

namespace {

struct Run {
    int status = 0;
    QString out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

class TestBatch : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir_.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write a case file");
        f.write(bytes);
        return f.fileName();
    }

    Run run(const QStringList& args, const QString& dataDir = QStringLiteral(OGRADO_SHIPPED_DATA))
    {
        return runWith(args, {}, {}, dataDir);
    }

    Run runWith(const QStringList& args, const ChartForm::ImageWriter& chart, const DocumentWriter& document,
                const QString& dataDir = QStringLiteral(OGRADO_SHIPPED_DATA))
    {
        Run r;
        QTextStream o(&r.out);
        QTextStream e(&r.err);
        r.status = runBatch(QStringList{"--data", dataDir} + args, o, e, chart, document);
        o.flush();
        e.flush();
        return r;
    }

    static QString sourceFile(const char* path)
    {
        QFile f(QStringLiteral(OGRADO_SHIPPED_DATA "/../") + QLatin1String(path));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", path);
        return QString::fromUtf8(f.readAll());
    }

    // Writers that only note what they were asked to write.
    struct Writers {
        QStringList written;
        QString failure;  // the chart writer fails with this message
        ChartForm::ImageWriter chart = [this](const SectionChart&, const QString& path, QSize size) {
            if (!failure.isEmpty())
                throw AppError(failure);
            written << QStringLiteral("%1 %2x%3").arg(QFileInfo(path).fileName()).arg(size.width()).arg(size.height());
        };
        DocumentWriter document = [this](const CalcDocument&, DocumentFormat format, const QString& path) {
            written << (format == DocumentFormat::Pdf ? "PDF " : "ODT ") + QFileInfo(path).fileName();
        };
    };

private slots:
    // ogrado_calc runs with Qt's Russian catalogue, whose parser messages word and quote
    // otherwise: the program still names the option it refuses, in its own words, and
    // an option that takes no value is not told to want one.
    void refusedCommandLineNamesTheOption()
    {
        QTranslator russian;  // removes itself when the test ends
        QVERIFY(russian.load(QStringLiteral("qtbase_ru"), qtTranslationFolder()));
        QVERIFY(QCoreApplication::installTranslator(&russian));
        const auto refusal = [this](const QStringList& args) {
            const Run r = run(args);
            return r.status == 2 ? r.err.section(u'\n', 0, 0) : QStringLiteral("(принято)");
        };
        QCOMPARE(refusal({"--foo"}), QStringLiteral("Неизвестный параметр --foo."));
        QCOMPARE(refusal({"--json", "-bar", "case.json"}), QStringLiteral("Неизвестный параметр --bar."));
        QCOMPARE(refusal({"--json", "--out"}), QStringLiteral("После --out нужно значение."));
        QCOMPARE(refusal({"case.json", "-out"}), QStringLiteral("После -out нужно значение."));
        QCOMPARE(refusal({"--json=1", "case.json"}),
                 QStringLiteral("Параметр --json не принимает значения: уберите «=1»."));
        // "--json=1" here is the value of --out; the option refused comes after it
        QCOMPARE(refusal({"--out", "--json=1", "-moisture=", "case.json"}),
                 QStringLiteral("Параметр -moisture не принимает значения: уберите «=»."));
        // after "--" every argument is a case file
        QVERIFY(!refusal({"--json", "--", "--json=1"}).contains(QStringLiteral("не принимает значения")));
    }

    // Every option ogrado_calc reads is written where users look for it: the usage text
    // (but --version, which like --help is not in the usage line), the manual page and
    // the README.
    void everyOptionIsDocumented()
    {
        const QString usage = QString::fromUtf8(kBatchUsage);
        const QString manual = sourceFile("packaging/ogrado_calc.1");
        const QString readme = sourceFile("README.md");
        QStringList names;
        for (const auto& step : batchSteps()) {
            for (const QCommandLineOption& option : step->options())
                names += option.names();
        }
        QVERIFY(names.contains("select-list") && names.contains("chart-size") && names.contains("version"));
        QCOMPARE(names.removeDuplicates(), 0);
        for (const QString& name : names) {
            // "--select" must not be found inside "--select-list"
            const QRegularExpression plain(QStringLiteral("--%1(?![-\\w])").arg(name));
            const QRegularExpression roff(
                QStringLiteral("\\\\-\\\\-%1(?![\\\\\\w])").arg(QString(name).replace("-", "\\\\-")));
            QVERIFY2(name == u"version" || usage.contains(plain), qPrintable(name));
            QVERIFY2(manual.contains(roff), qPrintable(name));
            QVERIFY2(readme.contains(plain), qPrintable(name));
        }
    }

    // Only the chart and the documents load the drawing module.
    void drawingOptionsNeedTheModule()
    {
        QVERIFY(wantsDrawing({"--chart", "c.png"}));
        QVERIFY(wantsDrawing({"--json", "--pdf=d.pdf"}));
        QVERIFY(wantsDrawing({"-odt", "d.odt"}));
        QVERIFY(!wantsDrawing({"--chart-size", "800x600"}));
        QVERIFY(!wantsDrawing({"--out", "chart.png", "--json", "pdf"}));
    }

    // Command lines the program does not carry out: exit status 2, the reason and the
    // usage, before anything runs (no file is written, nothing on stdout).
    void refusedCommandLines_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said");
        QTest::newRow("--pdf --dewpoint") << QStringList{"--pdf", "d.pdf", "--dewpoint", "20;55"}
                                          << "--pdf записывает документ расчета: он не сочетается с --dewpoint.";
        QTest::newRow("--odt --dump-input") << QStringList{"--odt", "d.odt", "--dump-input"}
                                            << "--odt записывает документ расчета: он не сочетается с --dump-input.";
        QTest::newRow("--chart --dump-input --dewpoint")
            << QStringList{"--chart", "c.png", "--dump-input", "--dewpoint", "20;55"}
            << "--chart рисует график расчета: он не сочетается с --dewpoint.";
        QTest::newRow("--chart-size") << QStringList{"--chart-size", "800x600"}
                                      << "--chart-size задается вместе с --chart.";
        QTest::newRow("--select --select-list") << QStringList{"--select", "3;1;2", "--select-list", "3;50"}
                                                << "--select и --select-list вместе не задаются: выберите одно.";
        QTest::newRow("two cases") << QStringList{"a.json", "b.json"} << "Лишний параметр b.json.";
        QTest::newRow("--pdf and --chart on one file") << QStringList{"--pdf", "x.png", "--chart", "x.png"}
                                                       << "--chart и --pdf указывают один и тот же файл «x.png».";
    }
    void refusedCommandLines()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        Writers w;
        const Run r = runWith(args, w.chart, w.document);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith(said), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("Использование: ogrado_calc")));
        QVERIFY(r.out.isEmpty());
        QVERIFY(w.written.isEmpty());
    }

    // --version answers before anything is checked or loaded.
    void versionNeedsNothing()
    {
        const Run r = run({"--version", "--chart", "c.png", "--out", dir_.path()}, dir_.filePath("нет"));
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("ogrado_calc ")), qPrintable(r.out));
        QVERIFY(r.err.isEmpty());
    }

    // The files come at the end of a run, the results file last: a picture that cannot be
    // written leaves the documents and the results file unwritten, and a calculation that
    // stopped says of each file, in that order, that it was not written.
    void filesAtTheEndResultsFileLast()
    {
        const QString results = dir_.filePath("r.txt");
        const QStringList outputs{"--out",  results,    "--odt", dir_.filePath("d.odt"), "--chart-size", "800x600",
                                  "--pdf", dir_.filePath("d.pdf"), "--chart", dir_.filePath("c.png")};
        Writers w;
        QFile::remove(results);
        Run r = runWith(outputs + QStringList{write("ok.json", R"({"txtFiv":"50"})")}, w.chart, w.document);
        QCOMPARE(r.status, 0);
        QCOMPARE(w.written, (QStringList{"c.png 800x600", "PDF d.pdf", "ODT d.odt"}));
        QVERIFY(QFile::exists(results));

        Writers failing;
        failing.failure = QStringLiteral("Диск переполнен.");
        QFile::remove(results);
        r = runWith(outputs + QStringList{write("ok.json", R"({"txtFiv":"50"})")}, failing.chart, failing.document);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.endsWith(QStringLiteral("Ошибка: Диск переполнен.\n")), qPrintable(r.err));
        QVERIFY(failing.written.isEmpty());
        QVERIFY(!QFile::exists(results));
        QVERIFY(r.out.isEmpty());

        Writers stopped;
        r = runWith(outputs + QStringList{write("stop.json", R"({"txtAlv":"0"})")}, stopped.chart, stopped.document);
        QCOMPARE(r.status, 1);
        QVERIFY(stopped.written.isEmpty());
        QVERIFY(!QFile::exists(results));
        const QStringList said{QStringLiteral("график не записан"), QStringLiteral("d.pdf\" не записан"),
                               QStringLiteral("d.odt\" не записан"), QStringLiteral("r.txt не записан")};
        qsizetype at = 0;
        for (const QString& s : said) {
            const qsizetype next = r.err.indexOf(s);
            QVERIFY2(next > at, qPrintable(s + QStringLiteral(" ") + r.err));
            at = next;
        }
    }

    // A step after the main calculation that stops (an air gap refused, a moisture balance
    // without its mark, no thickness found) leaves every output as it was: existing files
    // are not replaced, new ones not created, and each says why.
    void laterStopWritesNoOutput()
    {
        const QString results = dir_.filePath("r.txt");
        const QStringList outputs{"--out", results, "--odt", dir_.filePath("d.odt"), "--pdf", dir_.filePath("d.pdf"),
                                  "--chart", dir_.filePath("c.png")};
        const QString air = write("air.json", R"({"txtHst":"abc"})");
        const QString wall = write("wall.json", "{}");
        const QList<QStringList> laterStops{{"--airlayer", air, wall},
                                            {"--moisture", wall},
                                            {"--select", "3;10;20;10", wall}};
        for (const QStringList& stop : laterStops) {
            QFile::remove(results);
            writeTextLines(results, {QStringLiteral("старый отчет")});
            Writers w;
            const Run r = runWith(outputs + stop, w.chart, w.document);
            QCOMPARE(r.status, 1);
            QVERIFY(w.written.isEmpty());
            QCOMPARE(readTextLines(results), QStringList{"старый отчет"});
            QStringList said;
            for (const char* name : {"c.png", "d.pdf", "d.odt"})
                said << u'"' + QDir::toNativeSeparators(dir_.filePath(QString::fromUtf8(name))) + u'"';
            said << QStringLiteral("Файл ") + results;
            for (const QString& file : said)
                QVERIFY2(r.err.contains(file + QStringLiteral(" не записан: не все заданные расчеты завершены.")),
                         qPrintable(stop.constFirst() + u' ' + file + u' ' + r.err));
        }
    }

    // The boundary temperature of a condition-А wall: one column in the report line.
    void conditionAReportLine()
    {
        const Run r = run({write("a.json", R"({"txtFiv":"50"})")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QStringLiteral(
            "t(3-4)=18-(18-(-2))/3,330*(1/8,7+0,02/0,7+0,25/0,15+0,06/0,041)= -1,66°С.\n")));
        const Run j = run({"--json", write("a.json", R"({"txtFiv":"50"})")});
        const QJsonObject fields = j.json()["fields"].toObject();
        QCOMPARE(fields["lblRezList"].toString(), QStringLiteral("Результаты предварительных расчетов"));
        QCOMPARE(fields["txtT_3"].toString(), QStringLiteral("-1,66"));
        QCOMPARE(fields["lstRez_2"].toArray()[9].toString(), QStringLiteral("-1,66"));
    }

    // Values that overflow or are impossible: a message and exit status 1, never a verdict.
    void overflowsAndImpossibleValuesStop_data()
    {
        QTest::addColumn<QByteArray>("caseJson");
        QTest::addColumn<QString>("said");
        QTest::newRow("фи(в) 1e308") << QByteArray(R"({"txtFiv":"1e308"})") << "фи(в)";
        QTest::newRow("μ 1e-308") << QByteArray(R"({"txt1_17":"1e-308"})") << "не определяется";
        QTest::newRow("фи(от.) 1e308") << QByteArray(R"({"txtTot_2":"1e308"})") << "фи(от.)";
    }
    void overflowsAndImpossibleValuesStop()
    {
        QFETCH(QByteArray, caseJson);
        QFETCH(QString, said);
        const Run r = run({write("c.json", caseJson)});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
        QVERIFY(!r.out.contains(QStringLiteral("ВЫВОД")));
        const Run j = run({"--json", write("c.json", caseJson)});
        QCOMPARE(j.status, 1);
        QVERIFY(j.json()["complies"].isNull());
        QVERIFY2(j.json()["error"].toString().contains(said), qPrintable(j.json()["error"].toString()));
    }

    // A January humidity of 1e308 refuses the moisture balance: exit status 1.
    void moistureBalanceRefusedOrStoppedExitsWithOne()
    {
        QTemporaryDir data;
        for (const QString& name : QDir(OGRADO_SHIPPED_DATA).entryList({"*.txt"}))
            QFile::copy(QStringLiteral(OGRADO_SHIPPED_DATA "/") + name, data.filePath(name));
        QStringList humidity = readTextLines(data.filePath("СтенарийКлиматВлажность.txt"));
        humidity[1].replace(QStringLiteral(";86;"), QStringLiteral(";1e308;"));
        QFile::remove(data.filePath("СтенарийКлиматВлажность.txt"));
        writeTextLines(data.filePath("СтенарийКлиматВлажность.txt"), humidity);
        const QString marked = write("m.json", R"({"optVlaga_3": true})");
        Run r = run({"--moisture", marked}, data.path());
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("больше 0 и не более 100 %")), qPrintable(r.err));
        // no mark at all
        r = run({"--moisture"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains(QStringLiteral("Расчет влагонакопления не выполнен.")));
        r = run({"--moisture", marked});
        QCOMPARE(r.status, 0);
    }

    // --out: a stopped run leaves the old file; only a regular file is written.
    void resultsFileOnlyForAFinishedRun()
    {
        const QString out = dir_.filePath("prev.doc");
        QFile::remove(out);
        QCOMPARE(run({"--out", out}).status, 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const Run r = run({"--out", out, write("s.json", R"({"txtAlv":"0"})")});
        QCOMPARE(r.status, 1);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        f.close();

        const QString fifo = dir_.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QDir(dir_.path()).mkpath("folder"));
        for (const QString& target : {fifo, dir_.filePath("folder")}) {
            // refused before anything runs: no report is printed
            const Run bad = run({"--out", target});
            QCOMPARE(bad.status, 2);
            QVERIFY2(bad.err.contains(target), qPrintable(bad.err));
            QVERIFY(bad.out.isEmpty());
        }
        QVERIFY(!QFileInfo(fifo).isFile());
    }

    // A case file that is a device or not there ends in a message, not in a hang or a
    // full memory; a pipe with a case in it is read.
    void caseFileFromADeviceOrAPipe()
    {
        Run r = run({QStringLiteral("/dev/zero")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("/dev/zero")) && r.err.contains(QStringLiteral("Укажите другой файл")),
                 qPrintable(r.err));
        r = run({dir_.filePath("нет.json")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("файл не найден")), qPrintable(r.err));

        const QString fifo = dir_.filePath("case-fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        std::thread writer([&] {
            QFile pipe(fifo);
            if (pipe.open(QIODevice::WriteOnly))
                pipe.write(R"({"txtFiv":"50"})");
        });
        r = run({fifo});
        writer.join();
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(QStringLiteral("фи(в)=50%")), qPrintable(r.out.left(2000)));
    }

    // Two outputs on one file, or an output on the case file, are refused before
    // anything runs: the case file stays as it was.
    void outputsNeverShareAFileOrOverwriteTheCase()
    {
        const QString kase = write("wall.json", R"({"txtFiv":"50"})");
        Run r = run({kase, "--out", kase});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("перезаписан")), qPrintable(r.err));
        QFile f(kase);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(R"({"txtFiv":"50"})"));

        const QString doc = dir_.filePath("same.doc");
        r = run({"--out", doc, "--pdf", QDir(dir_.path()).filePath("./same.doc")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("--out и --pdf указывают один и тот же файл")), qPrintable(r.err));
        QVERIFY(!QFile::exists(doc));
    }

    // A text the Windows-1251 report cannot hold is an error of the case file.
    void caseTextsMustFitTheResultsFile()
    {
        const Run r = run({write("n.json", R"({"txt1_0":"Кирпич λ≤0,7"})")});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("txt1_0")) && r.err.contains(QStringLiteral("«λ»")), qPrintable(r.err));
    }

    // A row with data but no thickness: the question on stderr, answered Да.
    void layerWithoutThicknessIsAnsweredYes()
    {
        const Run r = run({write("t.json", R"({"txt1_45":"Кирпич","txt1_49":"0,7"})")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains(QStringLiteral("В строке №6 заполнены данные слоя «Кирпич», но не указана толщина: "
                                               "слой не войдет в расчет. Продолжить?")),
                 qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("СООТВЕТСТВУЕТ")));
    }

    // An empty catalogue is said to be empty.
    void emptyMaterialsCatalogue()
    {
        QTemporaryDir data;
        for (const QString& name : QDir(OGRADO_SHIPPED_DATA).entryList({"*.txt"}))
            QFile::copy(QStringLiteral(OGRADO_SHIPPED_DATA "/") + name, data.filePath(name));
        QFile::remove(data.filePath("Стенарий материалы ТКП.txt"));
        writeTextLines(data.filePath("Стенарий материалы ТКП.txt"), {});
        const Run r = run({write("m.json", R"({"cboM":0})")}, data.path());
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains(QStringLiteral("каталог материалов пуст")) && !r.err.contains(QStringLiteral("-1")),
                 qPrintable(r.err));
    }

    // The air-gap case that did not finish in a minute: refused before the search, so
    // no thickness is tried and the report has no air-gap block.
    void airGapCaseEndsQuickly()
    {
        const QString air = write("air.json", R"({"txtHst":"1000","txtDpr":"0,01","txtDnac":"0"})");
        const Run r = run({"--airlayer", air});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("не более 100 м")), qPrintable(r.err));
        QVERIFY(!r.out.contains(QStringLiteral("Расчет вентилируемой воздушной прослойки")));
        const QJsonObject gap = run({"--json", "--airlayer", air}).json()["airlayer"].toObject();
        QVERIFY(gap["error"].toString().contains(QStringLiteral("не более 100 м")));
        QCOMPARE(gap["fields"].toObject()["txtOut_0"].toString(), QString());
    }
};

}  // namespace

QTEST_GUILESS_MAIN(TestBatch)
#include "test_batch.moc"
