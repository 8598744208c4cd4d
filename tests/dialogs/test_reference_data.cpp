// SPDX-License-Identifier: GPL-3.0-or-later
// The reference values a result rests on, and the window «Справочные данные»: the note
// of the verdict, the document and the JSON; typed values count as the user's; a value
// corrected in the window is used at once and stays after a restart.
#include "batch/batch.h"
#include "common/text_file.h"
#include "dialogs/reference_data_form.h"
#include "dialogs/reference_data_window.h"
#include "document/calc_document.h"
#include "moisture/moisture_form.h"
#include "program/application.h"
#include "refdata/ref_reader.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <memory>

using namespace ogrado;

namespace {

const QString kNote = QStringLiteral("Расчет использует непроверенные справочные значения: ");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program on a copy of the shipped data (with or without its provenance file), its
// main window loaded, as at start-up.
struct DataApp {
    explicit DataApp(bool withProvenance = true) : ctx(prompter)
    {
        const QDir shipped(QStringLiteral(OGRADO_SHIPPED_DATA));
        for (const QString& name : shipped.entryList(QDir::Files)) {
            if (withProvenance || name != QString::fromUtf8(kProvenanceFile))
                QFile::copy(shipped.filePath(name), dir.filePath(name));
        }
        ctx.settings.dataDir = dir.path();
        ctx.tables = loadReferenceData(dir.path());
        ctx.host = &host;
        app = std::make_unique<Application>(ctx);
        main().loadForm();
    }
    MainForm& main() { return app->mainForm(); }
    ReferenceDataForm& data()
    {
        auto& d = app->formAs<ReferenceDataForm>();
        if (!d.isLoaded())
            d.loadForm();
        d.setToday([] { return QDate(2025, 3, 14); });
        return d;
    }
    // Chooses the table `id` in the window.
    void showTable(const char* id)
    {
        ReferenceDataForm& d = data();
        for (int i = 0; i < d.shownTables().size(); ++i)
            if (d.shownTables()[i]->id == QLatin1String(id))
                d.userSelect("cboTable", i);
    }
    // The grid row that shows table row `row`.
    int gridRow(int row)
    {
        for (int r = 0; r < data().rows("grdData").size(); ++r)
            if (data().tableRowOf(r) == row)
                return r;
        return -1;
    }
    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    test::RecordingPrompter prompter;
    test::FakeHost host;
    AppContext ctx;
    std::unique_ptr<Application> app;
};

QJsonObject batchJson(const QStringList& args)
{
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    runBatch(args, o, e);
    o.flush();
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

}  // namespace

class TestReferenceData : public QObject {
    Q_OBJECT
private slots:
    // The example wall on the shipped data: the verdict, the document and the JSON name
    // the unchecked values it used, grouped by status in the order they are used.
    void exampleWallNamesItsUncheckedValues()
    {
        DataApp f;
        f.main().userClick("cmdOk");
        const QString expected =
            kNote + QStringLiteral("заглушка — t(от.), z(от.), Δt(в), материал «Газосиликат D=500» (λ(Б), s(Б), μ), "
                                   "материал «Белтеп ПП100» (λ(Б), s(Б), μ); выведено расчетом — фи(от.), e(от.), tн; "
                                   "по СНиП/СП (проверить) — t(в), фи(в), α(в), α(н), n, Rт.норм.");
        QCOMPARE(f.main().text("lblVerdictData"), expected);
        QCOMPARE(calcDocumentOf(f.ctx, {}, requiredReportBlocks()).referencesNote, expected);
        // stale results grey the note with the verdict
        f.main().userEdit("txtTv", "19");
        QCOMPARE(f.main().foreground("lblVerdictData"), kGrey);

        const QJsonArray json = batchJson({"--data", f.dir.path(), "--json"}).value("provenance").toArray();
        QCOMPARE(json.size(), 18);
        const QJsonObject norm = json[11].toObject();  // table 5.1, preselected for external walls
        QCOMPARE(norm.value("quantity").toString(), QStringLiteral("Rт.норм"));
        QCOMPARE(norm.value("value").toString(), QStringLiteral("3,2"));
        QCOMPARE(norm.value("status").toString(), QStringLiteral("по СНиП/СП (проверить)"));
        QVERIFY(norm.value("source").toString().contains(QStringLiteral("табл. 5.1")));
        const QJsonObject tn = json[8].toObject();
        QCOMPARE(tn.value("quantity").toString(), QStringLiteral("tн"));
        QCOMPARE(tn.value("value").toString(), QStringLiteral("-27"));
        QCOMPARE(tn.value("status").toString(), QStringLiteral("выведено расчетом"));
        QCOMPARE(tn.value("column").toString(), QStringLiteral("трех суток 0,92, °С"));
        QCOMPARE(tn.value("row").toString(), QStringLiteral("2"));  // Витебская
        QVERIFY(tn.value("source").toString().contains(QStringLiteral("пятидневки")));
        const QJsonObject mu = json[14].toObject();
        QCOMPARE(mu.value("quantity").toString(), QStringLiteral("материал «Газосиликат D=500»"));
        QCOMPARE(mu.value("detail").toString(), QStringLiteral("μ"));
        QCOMPARE(mu.value("status").toString(), QStringLiteral("заглушка"));
    }

    // A value typed over the table's is the user's; the same number written otherwise is
    // still the table's.
    void typedValuesAreTheUsers()
    {
        DataApp f;
        MainForm& m = f.main();
        m.userEdit("txtTp", "4,5");
        m.userEdit("txtTv", "18,0");  // the table's 18
        m.userEdit("txtTn_3", "-28");
        m.userEdit(MainForm::cellName(2, 5), "0,17");  // λБ of Газосиликат D=500
        m.userClick("cmdOk");
        const QString note = m.text("lblVerdictData");
        QVERIFY2(!note.contains(QStringLiteral("Δt(в)")) && !note.contains(QStringLiteral("tн")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("t(в), фи(в)")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("материал «Газосиликат D=500» (s(Б), μ)")), qPrintable(note));

        // a layer of the user's own material is the user's
        m.userEdit(MainForm::cellName(3, 0), QStringLiteral("Мой утеплитель"));
        // every value typed: nothing to name
        const char* const typed[][2] = {{"txtTv", "19"},       {"txtFiv", "54"},    {"txtAlv", "8,6"},
                                        {"txtAln", "22"},      {"txtN", "0,95"},    {"txtTot_1", "-2,5"},
                                        {"txtTot_2", "84,5"},  {"txtTot_3", "430"}, {"txtTot_4", "208"},
                                        {"txtRtNorm", "3,1"}};
        for (const auto& [field, value] : typed)
            m.userEdit(field, value);
        m.userEdit(MainForm::cellName(2, 0), QStringLiteral("Газобетон"));
        m.userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        QCOMPARE(m.text("lblVerdictData"), QString());
    }

    // Files without a provenance file: no note, no message, an empty list in the JSON.
    void noProvenanceNoNote()
    {
        DataApp f(false);
        f.main().userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished());
        QCOMPARE(f.main().text("lblVerdictData"), QString());
        QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.texts().join(u'|')));
        QCOMPARE(calcDocumentOf(f.ctx, {}, requiredReportBlocks()).referencesNote, QString());
        const QJsonObject o = batchJson({"--data", f.dir.path(), "--json"});
        QVERIFY(o.value("provenance").isArray());
        QVERIFY(o.value("provenance").toArray().isEmpty());
    }

    // January's humidity of Минск corrected in the window: the file holds exactly that
    // value changed, the moisture balance takes it at once, and it is no longer named.
    void correctedHumidityIsUsedAtOnce()
    {
        DataApp f;
        MainForm& m = f.main();
        m.userCheck("chkVlaga", true);
        m.userSelect("cboGorod", 4);  // Минск
        m.userCheck("optVlaga_3", true);
        m.userClick("cmdOk");
        auto& moisture = f.app->formAs<MoistureForm>();
        QCOMPARE(moisture.items("lstV_2").value(0), QStringLiteral("86"));
        QVERIFY(m.text("lblVerdictData").contains(QStringLiteral("климат «Минск», фи(н.) (январь–май, сентябрь–декабрь)")));

        const QByteArray before = readAll(f.file(kHumidityFile));
        f.showTable("climateHumidity");
        ReferenceDataForm& d = f.data();
        QCOMPARE(d.rows("grdData")[f.gridRow(4)].value(0), QStringLiteral("Минск"));
        QCOMPARE(d.cellBackground("grdData", f.gridRow(4), 1), ReferenceDataForm::statusColor(DataStatus::Placeholder));
        d.userEditCell("grdData", f.gridRow(4), 1, QStringLiteral("89"));
        QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.texts().join(u'|')));
        QCOMPARE(d.rows("grdData")[f.gridRow(4)].value(1), QStringLiteral("89"));
        QCOMPARE(d.cellBackground("grdData", f.gridRow(4), 1), ReferenceDataForm::statusColor(DataStatus::UserEntered));
        QVERIFY(d.text("lblRow").contains(QStringLiteral("Январь — введено пользователем (14.03.2025)")));

        QByteArray expected = before;
        const QByteArray line = encodeCp1251(QStringLiteral("Минск;86;"));
        expected.replace(expected.indexOf(line), line.size(), encodeCp1251(QStringLiteral("Минск;89;")));
        QCOMPARE(readAll(f.file(kHumidityFile)), expected);

        m.userClick("cmdOk");
        QCOMPARE(moisture.items("lstV_2").value(0), QStringLiteral("89"));
        const QString note = m.text("lblVerdictData");
        QVERIFY2(note.contains(QStringLiteral("климат «Минск», фи(н.) (февраль–май, сентябрь–декабрь)")), qPrintable(note));
        QCOMPARE(loadReferenceData(f.dir.path()).climate[4].monthHumidity(1), QStringLiteral("89"));
    }

    // A placeholder the calculation used, corrected in the window: the main window's
    // field that held it takes the new value and the note no longer names it; a field the
    // user typed over keeps the typed value.
    void correctedPlaceholderFollowsIntoTheWindow()
    {
        DataApp f;
        MainForm& m = f.main();
        m.userClick("cmdOk");
        QVERIFY(m.text("lblVerdictData").contains(QStringLiteral("Δt(в)")));
        m.userEdit("txtTot_4", "210");  // typed over z(от.)
        f.showTable("envelopeTypes");
        f.data().userEditCell("grdData", f.gridRow(0), 1, QStringLiteral("4"));
        f.showTable("regions");
        f.data().userEditCell("grdData", f.gridRow(1), 4, QStringLiteral("205"));  // z(от.) of Витебская
        QCOMPARE(m.text("txtTp"), QStringLiteral("4"));
        QCOMPARE(m.text("txtTot_4"), QStringLiteral("210"));
        QVERIFY(m.resultsStale());
        m.userClick("cmdOk");
        const QString note = m.text("lblVerdictData");
        QVERIFY2(!note.contains(QStringLiteral("Δt(в)")) && !note.contains(QStringLiteral("z(от.)")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("заглушка — t(от.), материал")), qPrintable(note));

        // a material corrected in the window: the layer inserted from it follows
        f.showTable("materials");
        f.data().userEditCell("grdData", f.gridRow(27), 3, QStringLiteral("0,18"));  // λБ of Газосиликат D=500
        QCOMPARE(m.cell(2, 5), QStringLiteral("0,18"));
        m.userClick("cmdOk");
        QVERIFY2(m.text("lblVerdictData").contains(QStringLiteral("материал «Газосиликат D=500» (s(Б), μ)")),
                 qPrintable(m.text("lblVerdictData")));
    }

    // Rт.норм of table 5.1 corrected in the window (its own file, a header line first):
    // the field that held it follows, the check takes it, the note names it as checked.
    void correctedNormativeResistanceFollowsIntoTheWindow()
    {
        DataApp f;
        MainForm& m = f.main();
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("3,2"));
        f.showTable("normativeResistances");
        f.data().userEditCell("grdData", f.gridRow(0), 1, QStringLiteral("3,1"));
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("3,1"));
        QCOMPARE(readTextLines(f.file("СтенарийТКП Rт.норм.txt")).value(1), QStringLiteral("Наружные стены; 3,1"));
        m.userClick("cmdOk");
        QVERIFY(f.ctx.lastCalc->complies());  // Rт 3,185 ≥ 3,1
        QCOMPARE(m.text("lblVerdictNorm"), QStringLiteral("Rт = 3,18 ≥ Rт.норм = 3,1 — выполнено"));
        QVERIFY2(!m.text("lblVerdictData").contains(QStringLiteral("Rт.норм")), qPrintable(m.text("lblVerdictData")));
    }

    // A value refused names its cell; the file, the grid and the tables stay as they were.
    void refusedEditLeavesEverything()
    {
        DataApp f;
        f.showTable("climateHumidity");
        ReferenceDataForm& d = f.data();
        const QByteArray before = readAll(f.file(kHumidityFile));
        const QByteArray provenance = readAll(f.file(kProvenanceFile));
        d.userEditCell("grdData", f.gridRow(4), 1, QStringLiteral("120"));
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("строка «Минск», столбец «Январь»")),
                 qPrintable(f.prompter.shown[0].text));
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(readAll(f.file(kHumidityFile)), before);
        QCOMPARE(readAll(f.file(kProvenanceFile)), provenance);
        QVERIFY(!QFile::exists(f.file(kHumidityFile) + ".bak"));
        QCOMPARE(d.rows("grdData")[f.gridRow(4)].value(1), QStringLiteral("86"));
        QCOMPARE(f.ctx.tables.climate[4].monthHumidity(1), QStringLiteral("86"));
        // the column of names shown from the temperatures is not edited here
        d.userEditCell("grdData", f.gridRow(4), 0, QStringLiteral("Минск-2"));
        QCOMPARE(d.rows("grdData")[f.gridRow(4)].value(0), QStringLiteral("Минск"));
    }

    // The window: every table of the files, its status column, sorting by value, and the
    // chosen row confirmed as checked.
    void tablesStatusesAndSorting()
    {
        DataApp f;
        ReferenceDataForm& d = f.data();
        QCOMPARE(d.items("cboTable").size(), 13);  // table 5.1 of its optional file among them
        QCOMPARE(d.caption(), QStringLiteral("Справочные данные"));
        f.showTable("regions");
        const Control& grid = d.control("grdData");
        QCOMPARE(grid.columns.last(), QStringLiteral("Источник"));
        QCOMPARE(grid.rows[0].value(9), QStringLiteral("заглушка, выведено расчетом"));
        QVERIFY(!grid.editableColumns.contains(9) && grid.editableColumns.contains(0));
        d.userSort("grdData", 4);  // z(от.), days: 187 … 207 by value
        QCOMPARE(d.rows("grdData")[0].value(0), QStringLiteral("Брестская"));
        QCOMPARE(d.rows("grdData")[5].value(0), QStringLiteral("Витебская"));
        d.userSort("grdData", 4);
        QCOMPARE(d.rows("grdData")[0].value(0), QStringLiteral("Витебская"));

        d.userSelect("grdData", 0);
        d.userClick("cmdConfirm");
        QCOMPARE(d.rows("grdData")[0].value(9), QStringLiteral("введено пользователем"));
        QVERIFY(d.text("lblRow").contains(QStringLiteral("значение проверено пользователем")));
        f.main().userClick("cmdOk");  // Витебская: its values are the user's now
        const QString note = f.main().text("lblVerdictData");
        QVERIFY2(!note.contains(QStringLiteral("t(от.)")) && !note.contains(QStringLiteral("фи(от.)")), qPrintable(note));
    }

    // The view: the grid edits in place and the change reaches the model.
    void windowEditsInPlace()
    {
        DataApp f;
        f.showTable("coefficientN");
        ReferenceDataWindow window(f.data());
        auto* grid = window.findChild<QTableWidget*>("grdData");
        QVERIFY(grid);
        QCOMPARE(grid->rowCount(), 5);
        QVERIFY(grid->item(2, 1)->flags() & Qt::ItemIsEditable);
        QVERIFY(!(grid->item(2, 2)->flags() & Qt::ItemIsEditable));  // the status
        QCOMPARE(grid->item(2, 1)->background().color(), QColor::fromRgba(ReferenceDataForm::statusColor(
                                                             DataStatus::CheckAgainstCode)));
        grid->item(2, 1)->setText(QStringLiteral("0,8"));
        QTRY_COMPARE(f.ctx.tables.coefficientN[2].value, QStringLiteral("0,8"));
        grid->item(2, 1)->setText(QStringLiteral("много"));
        QTRY_COMPARE(f.prompter.shown.size(), 1);
        QTRY_COMPARE(grid->item(2, 1)->text(), QStringLiteral("0,8"));  // the model's value again
    }
};

QTEST_MAIN(TestReferenceData)
#include "test_reference_data.moc"
