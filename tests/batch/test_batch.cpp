// ogrado_calc on the shipped data: the exit status and the output of cases that stop,
// are refused or ask a question, and where the results file may be written.
#include "batch/batch.h"
#include "common/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
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
        Run r;
        QTextStream o(&r.out);
        QTextStream e(&r.err);
        r.status = runBatch(QStringList{"--data", dataDir} + args, o, e);
        o.flush();
        e.flush();
        return r;
    }

private slots:
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
