// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting a layer's thickness: the candidates and their refusals, the search on the
// example wall and on walls built so that п. 9.1 or the moisture balance decides, the
// window ("Подобрать", "Прервать", "Применить") and the two ogrado_calc options.
// Expected values are worked out by hand from the formulas of ТКП 45-2.04-43 with the
// shipped climate (Витебская: tот = -2 °С, фи(от.) = 83 %, tн = -31/-28/-27/-25 °С),
// tв = 18 °С, фи(в) = 55 % (condition Б, so λБ and sБ throughout), αв = 8,7, αн = 23,
// and are checked against separate main calculations of the same walls.
#include "batch/batch.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "moisture/moisture_form.h"
#include "program/application.h"
#include "test_app.h"
#include "tools/thickness_form.h"
#include "tools/thickness_search.h"
#include "tools/thickness_window.h"

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace ogrado;

namespace {

struct Fixture : test::AppFixture {
    ThicknessForm& form()
    {
        auto& f = app->formAs<ThicknessForm>();
        f.loadForm();
        return f;
    }
    void range(const QString& from, const QString& to, const QString& step)
    {
        ThicknessForm& f = form();
        f.userCheck(ThicknessForm::mode(0), true);
        f.userEdit("txtOt", from);
        f.userEdit("txtDo", to);
        f.userEdit("txtShag", step);
    }
    // "Перекрытия над проездами", column 1: Δt(в) = 2, so Rт.тр. = (18 + 27)/(8,7·2) = 2,586.
    void smallTemperatureDifference()
    {
        main().userSelect("cboTp_0", 2);
        QCOMPARE(main().text("txtTp"), QStringLiteral("2"));
    }
    // The example wall with the outer plaster `outer` mm thick.
    void outerPlaster(const QString& outer) { main().setText(MainForm::cellName(4, 2), outer); }
    QStringList column(int k) { return form().items(ThicknessForm::column(k)); }
    // "Расчет" with the insulation `mm` thick; whether the wall complies.
    bool calculateWith(const QString& mm)
    {
        main().setText(MainForm::cellName(3, 2), mm);
        main().userClick("cmdOk");
        return ctx.lastCalc && ctx.lastCalc->finished() && ctx.lastCalc->complies();
    }
};

int batch(const QStringList& args, QString& out, QString& err)
{
    QTextStream o(&out);
    QTextStream e(&err);
    return runBatch(QStringList{"--data", QStringLiteral(OGRADO_SHIPPED_DATA)} + args, o, e);
}

QString writeCase(QTemporaryDir& dir, const QByteArray& json)
{
    const QString path = dir.filePath("case.json");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(json);
    return path;
}

}  // namespace

class TestThickness : public QObject {
    Q_OBJECT
private slots:
    // ---- candidates ----

    void candidates()
    {
        QVector<double> v = thicknessRange("10", "2000", "10");
        QCOMPARE(v.size(), 200);
        QCOMPARE(v.first(), 10.0);
        QCOMPARE(v.last(), 2000.0);
        // a decimal step reaches "до" exactly and writes its values plainly
        v = thicknessRange("10", "11", "0,1");
        QCOMPARE(v.size(), 11);
        QCOMPARE(generalText(v[3]), QStringLiteral("10,3"));
        QCOMPARE(v.last(), 11.0);
        // a step that does not land on "до" stops before passing it
        QCOMPARE(thicknessRange("50", "200", "40"), QVector<double>({50, 90, 130, 170}));
        QCOMPARE(thicknessRange("80", "80", "10"), QVector<double>({80}));
        // the thickest layer there is, and a "до" beyond it that the step does not reach
        QCOMPARE(thicknessRange("9990", "10000", "10").last(), 10000.0);
        QCOMPARE(thicknessRange("9990", "10009", "10").last(), 10000.0);
        QCOMPARE(thicknessList("10000;50"), QVector<double>({50, 10000}));
        // a list: sorted, each thickness once, empty items skipped
        QCOMPARE(thicknessList(" 120;50; 80;;100;80;"), QVector<double>({50, 80, 100, 120}));
        QCOMPARE(thicknessList("62,5"), QVector<double>({62.5}));
        // "от" by default: the layer's thickness rounded down to the step
        QCOMPARE(defaultFromThickness("60", "10"), QStringLiteral("60"));
        QCOMPARE(defaultFromThickness("65", "10"), QStringLiteral("60"));
        QCOMPARE(defaultFromThickness("62,5", "2,5"), QStringLiteral("62,5"));
        QCOMPARE(defaultFromThickness("5", "10"), QStringLiteral("10"));
        QVERIFY(defaultFromThickness("х", "10").isEmpty());
    }

    void badEntries_data()
    {
        QTest::addColumn<QStringList>("entries");  // от, до, шаг; or one list
        QTest::addColumn<QString>("message");
        QTest::newRow("zero step") << QStringList{"10", "500", "0"}
                                   << "Шаг толщины слоя «0» недопустим. Укажите шаг больше нуля.";
        QTest::newRow("negative step") << QStringList{"10", "500", "-10"}
                                       << "Шаг толщины слоя «-10» недопустим. Укажите шаг больше нуля.";
        QTest::newRow("от above до") << QStringList{"200", "100", "10"}
                                     << "Толщина «от» (200 мм) больше толщины «до» (100 мм): задайте «от» не "
                                        "больше «до».";
        QTest::newRow("от not a number") << QStringList{"1о", "500", "10"}
                                         << "Значение «от» толщины слоя «1о» не является числом. Введите толщину "
                                            "в мм.";
        QTest::newRow("до empty") << QStringList{"10", " ", "10"}
                                  << "Не задано значение «до» толщины слоя. Введите толщину в мм.";
        QTest::newRow("шаг not a number") << QStringList{"10", "500", ","}
                                          << "Значение «шаг» толщины слоя «,» не является числом. Введите толщину "
                                             "в мм.";
        QTest::newRow("от zero") << QStringList{"0", "500", "10"}
                                 << "Толщина «от» (0 мм) недопустима. Укажите толщину «от» больше нуля.";
        QTest::newRow("too many") << QStringList{"1", "2000", "0,1"}
                                  << "Слишком много толщин: от 1 мм до 2000 мм с шагом 0,1 мм — более 10000 "
                                     "расчетов. Увеличьте шаг или сократите диапазон.";
        QTest::newRow("empty list") << QStringList{" ; ;"}
                                    << "Список толщин пуст: введите толщины в мм через «;», например 50;80;100.";
        QTest::newRow("list item") << QStringList{"50;8о;100"}
                                   << "Список толщин: «8о» не является числом. Введите толщины в мм через «;», "
                                      "например 50;80;100.";
        QTest::newRow("list zero") << QStringList{"50;0"}
                                   << "Список толщин: толщина «0» недопустима. Укажите толщины больше нуля.";
        // thicker than a layer may be: refused before the first candidate
        QTest::newRow("до above 10 m") << QStringList{"9000", "10100", "50"}
                                       << "Толщина 10100 мм из диапазона подбора больше наибольшей толщины слоя "
                                          "10000 мм. Укажите толщину «до» не более 10000 мм.";
        QTest::newRow("list above 10 m") << QStringList{"50;10000,5"}
                                         << "Список толщин: толщина «10000,5» больше наибольшей толщины слоя 10000 "
                                            "мм. Укажите толщины не более 10000 мм.";
    }
    // Refused in the domain and in the window, with the message naming the entry;
    // nothing is calculated and the main window keeps its state.
    void badEntries()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        const auto parse = [&] {
            if (entries.size() == 3)
                thicknessRange(entries[0], entries[1], entries[2]);
            else
                thicknessList(entries[0]);
        };
        EXPECT_APP_ERROR(parse(), "accepted", [&](const AppError& e) { QCOMPARE(e.message(), message); });
        Fixture f;
        f.main().userClick("cmdOk");
        const QStringList report = f.ctx.report.lines();
        ThicknessForm& t = f.form();
        if (entries.size() == 3) {
            f.range(entries[0], entries[1], entries[2]);
        } else {
            t.userCheck(ThicknessForm::mode(1), true);
            QVERIFY(t.isEnabled("txtSpisok") && !t.isEnabled("txtOt"));
            t.userEdit("txtSpisok", entries[0]);
        }
        t.userClick("cmdPodbor");
        QCOMPARE(f.prompter.texts(), QStringList{message});
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка"));
        // the entry to change is marked and takes the focus
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        const QString entry = entries.size() == 1          ? QStringLiteral("txtSpisok")
                              : tag.contains(u"шаг") || tag.contains(u"step") || tag == u"too many"
                                  ? QStringLiteral("txtShag")
                              : tag.startsWith(u"до") ? QStringLiteral("txtDo")
                                                       : QStringLiteral("txtOt");
        QCOMPARE(t.markedControls(), QStringList{entry});
        QCOMPARE(t.focusRequest(), entry);
        QVERIFY(f.column(0).isEmpty());
        QVERIFY(!t.selection());
        QVERIFY(t.isEnabled("cmdPodbor") && !t.isEnabled("cmdStop") && !t.isEnabled("cmdApply"));
        QCOMPARE(f.ctx.report.lines(), report);
        QCOMPARE(f.ctx.activeRuns, 0);
    }

    // ---- the example wall ----

    // Δt(в) = 2 makes the heat requirement decide: Rт = 1/8,7 + 0,02/0,81 + 0,25/0,16
    // + δ/0,042 + 0,01/0,93 + 1/23 = 1,756 + δ/0,042 and D = 4,235 + 15,48·δ (over 4,
    // so tн = -27 and Rт.тр. = 2,586): δ ≥ 0,042·(2,586 − 1,756) = 34,9 mm. At 30 mm
    // Rт = 2,47 fails, at 40 mm 2,71 complies; п. 9.1 holds at both.
    void exampleWallInsulation()
    {
        Fixture f;
        f.smallTemperatureDifference();
        f.main().userClick("cmdOk");
        const QStringList report = f.ctx.report.lines();
        const QString rt = f.main().text("txtRt");
        const double ev = f.ctx.lastCalc->state.ev;

        // "Расчет" → "Подбор толщины слоя…" (Ctrl+T) opens the window
        QVERIFY(f.main().isVisible("mnuSelect"));
        QCOMPARE(f.main().control("mnuSelect").shortcut, QStringLiteral("Ctrl+T"));
        f.main().userClick("mnuSelect");
        QCOMPARE(f.host.opened, QStringList{"frmTolsh"});
        ThicknessForm& t = f.form();
        QCOMPARE(t.caption(), QStringLiteral("Подбор толщины слоя"));
        // the layer with the smallest λ, "от" its thickness, "до" 500, "шаг" 10
        QCOMPARE(t.items("cboSloj"), QStringList({"1. Штукатурка изв.-песч", "2. Газосиликат D=500",
                                                   "3. Белтеп ПП100", "4. Штукатурка ц-песчаная"}));
        QCOMPARE(t.currentIndex("cboSloj"), 2);
        QCOMPARE(t.text("txtOt"), QStringLiteral("60"));
        QCOMPARE(t.text("txtDo"), QStringLiteral("500"));
        QCOMPARE(t.text("txtShag"), QStringLiteral("10"));
        QVERIFY(t.isChecked(ThicknessForm::criterion(0)) && !t.isEnabled(ThicknessForm::criterion(0)));
        QVERIFY(t.isChecked(ThicknessForm::criterion(1)));
        QVERIFY(!t.isChecked(ThicknessForm::criterion(2)));

        f.range("10", "100", "10");
        t.userClick("cmdPodbor");
        QVERIFY(f.prompter.shown.isEmpty());
        QCOMPARE(f.column(0), QStringList({"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}));
        QCOMPARE(f.column(1).mid(2, 2), QStringList({"2,47", "2,71"}));
        QCOMPARE(f.column(4).first(), QStringLiteral("-27"));
        QCOMPARE(f.column(5).first(), QStringLiteral("2,59"));
        QCOMPARE(f.column(6).mid(2, 2), QStringList({"нет", "да"}));
        QCOMPARE(f.column(7).mid(2, 2), QStringList({"—", "—"}));  // no Rт.норм for this type
        QCOMPARE(f.column(12).mid(2, 2), QStringList({"нет", "да"}));
        QCOMPARE(t.selection()->answer, 3);
        QCOMPARE(t.text("lblOtvet"), QStringLiteral("Наименьшая подходящая толщина слоя: 40 мм"));
        QVERIFY(t.text("lblPrim").isEmpty());
        for (int k = 0; k < ThicknessForm::kColumns; ++k) {
            QCOMPARE(t.itemBackground(ThicknessForm::column(k), 3), kHighlight);
            QCOMPARE(t.itemBackground(ThicknessForm::column(k), 2), kWhite);
        }
        QCOMPARE(t.text("lblHod"), QStringLiteral("Рассчитано 10 из 10"));
        QVERIFY(t.isEnabled("cmdApply"));

        // the main window, its collected table and its report are untouched
        QCOMPARE(f.ctx.report.lines(), report);
        QCOMPARE(f.main().text("txtRt"), rt);
        QCOMPARE(f.ctx.layerTable.layers[2].cell(kColThickness), QStringLiteral("60"));
        QCOMPARE(f.ctx.lastCalc->state.ev, ev);

        // separate main calculations one step below and at the answer
        const ThicknessSelection s = *t.selection();
        QVERIFY(!f.calculateWith("30"));
        QCOMPARE(f.ctx.lastCalc->state.rt, s.rows[2].rt);
        QVERIFY(qAbs(s.rows[2].rt - 2.4707) < 1e-4);
        QVERIFY(f.calculateWith("40"));
        QCOMPARE(f.ctx.lastCalc->state.rt, s.rows[3].rt);
        QCOMPARE(f.ctx.lastCalc->state.D, s.rows[3].D);
        QCOMPARE(*f.ctx.lastCalc->state.rtRequired, s.rows[3].rtRequired);
        QVERIFY(qAbs(s.rows[3].rtRequired - 45 / 17.4) < 1e-12);
    }

    // "Применить" writes the answer into the layer's thickness cell and runs "Расчет";
    // nothing else of the input changes.
    void applyChangesOnlyThatCell()
    {
        Fixture f;
        f.smallTemperatureDifference();
        ThicknessForm& t = f.form();
        f.range("10", "100", "10");
        t.userClick("cmdPodbor");
        QVERIFY(!f.ctx.lastCalc);
        QHash<QString, QString> before;
        for (const Control& c : f.main().controls())
            before.insert(c.name, c.text + (c.checked ? "☑" : ""));
        t.userClick("cmdApply");
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->finished() && f.ctx.lastCalc->complies());
        QCOMPARE(f.ctx.layerTable.layers[2].cell(kColThickness), QStringLiteral("40"));
        QCOMPARE(f.main().text("txtRt"), QStringLiteral("2,71"));
        QStringList changed;
        for (const Control& c : f.main().controls()) {
            const bool result = c.name.startsWith("txtRt") || c.name.startsWith("txtRp") || c.name == "txtD" ||
                                c.name == "txtTnras" || c.name.startsWith("txtT_") || c.name.startsWith("txtPm") ||
                                c.name.startsWith("lblVerdict") ||
                                c.name.startsWith("txtPr") || c.name == "lblRezList" || c.name == "lblQot";
            if (!result && before.value(c.name) != c.text + (c.checked ? "☑" : ""))
                changed.append(c.name);
        }
        QCOMPARE(changed, QStringList{MainForm::cellName(3, 2)});

        // a grid changed after the search is not overwritten with a stale answer
        f.main().setText(MainForm::cellName(2, 2), "300");
        f.prompter.clear();
        t.userClick("cmdApply");
        QCOMPARE(f.prompter.texts(), QStringList{"Исходные данные в главном окне изменились после подбора: нажмите "
                                                 "«Подобрать» еще раз, затем «Применить»."});
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("40"));
    }

    // A row of the candidate table can be chosen and applied instead of the answer (a
    // product's thickness above the thinnest); a row that does not comply is asked about
    // first, «Нет» by default. Choosing the answer's row again applies the answer.
    void chosenRowIsApplied()
    {
        Fixture f;
        f.smallTemperatureDifference();
        ThicknessForm& t = f.form();
        f.range("10", "100", "10");
        t.userClick("cmdPodbor");
        QCOMPARE(t.selection()->answer, 3);  // 40 mm, as above
        QCOMPARE(t.rowToApply(), 3);
        QCOMPARE(t.text("cmdApply"), QStringLiteral("Применить"));

        t.userSelect(ThicknessForm::column(6), 5);  // a click on any column chooses the row
        QCOMPARE(t.rowToApply(), 5);
        QCOMPARE(t.text("cmdApply"), QStringLiteral("Применить 60 мм"));
        for (int k = 0; k < ThicknessForm::kColumns; ++k) {
            QCOMPARE(t.currentIndex(ThicknessForm::column(k)), 5);
            QCOMPARE(t.itemBackground(ThicknessForm::column(k), 5), kUserChoice);
            QCOMPARE(t.itemBackground(ThicknessForm::column(k), 3), kHighlight);  // the answer stays marked
        }
        t.userClick("cmdApply");
        QVERIFY(f.prompter.shown.isEmpty());  // 60 mm complies: nothing asked
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("60"));
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->complies());

        // a row that does not comply: asked, «Нет» by default keeps the cell
        f.main().setText(MainForm::cellName(3, 2), QStringLiteral("60"));
        t.userClick("cmdPodbor");
        t.userSelect(ThicknessForm::column(0), 1);  // 20 mm: Rт < Rт.тр.
        QCOMPARE(f.column(12)[1], QStringLiteral("нет"));
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::No};
        t.userClick("cmdApply");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].text, QStringLiteral("Толщина 20 мм не удовлетворяет условиям подбора (в графе "
                                                          "«Подходит» — «нет»).\rПрименить ее?"));
        QCOMPARE(f.prompter.shown[0].buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("60"));
        f.prompter.answers = {MessageAnswer::Yes};
        t.userClick("cmdApply");
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("20"));
        QVERIFY(f.ctx.lastCalc && !f.ctx.lastCalc->complies());

        // the answer's row chosen again is the answer; a new search forgets the choice
        t.userClick("cmdPodbor");
        t.userSelect(ThicknessForm::column(0), 7);
        t.userSelect(ThicknessForm::column(0), 3);
        QCOMPARE(t.text("cmdApply"), QStringLiteral("Применить"));
        QCOMPARE(t.itemBackground(ThicknessForm::column(0), 7), kWhite);
        t.userSelect(ThicknessForm::column(0), 7);
        t.userClick("cmdPodbor");
        QCOMPARE(t.rowToApply(), 3);
        QCOMPARE(t.text("cmdApply"), QStringLiteral("Применить"));

        // without an answer a row can still be chosen and applied, after the question
        f.outerPlaster("26");
        t.userClick("cmdPodbor");
        QCOMPARE(t.selection()->answer, -1);
        QVERIFY(!t.isEnabled("cmdApply"));
        t.userSelect(ThicknessForm::column(0), 9);
        QVERIFY(t.isEnabled("cmdApply"));
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::Yes};
        t.userClick("cmdApply");
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("100"));
    }

    // The outer plaster 25 mm thick (Δt(в) = 2). At the plane 3-4 Rп.н. = 0,025/0,09 =
    // 0,278 and Rп.в. = 1,4167 + δ/0,48; as the insulation thickens the plane cools
    // (E from 540,2 Па at 40 mm to 532,3 Па at 100 mm) and Rп.тр. = (1135,2 − E)·Rп.н./
    // (E − 429,1) rises faster than Rп.в.: 50 mm 1,5208 ≥ 1,5173, 60 mm 1,5417 < 1,5438,
    // 90 mm 1,6042 < 1,6070, 100 mm 1,6250 ≥ 1,6239. Heat needs 40 mm (as above with
    // 0,027 m more plaster). D = 4,49 + 15,48·δ crosses 7 between 160 and 170 mm, where
    // tн turns from -27 to -25 and Rт.тр. from 2,59 to 2,47.
    void thickerCandidatesFailing()
    {
        Fixture f;
        f.smallTemperatureDifference();
        f.outerPlaster("25");
        ThicknessForm& t = f.form();
        f.range("30", "200", "10");
        t.userClick("cmdPodbor");
        const ThicknessSelection& s = *t.selection();
        QCOMPARE(s.rows.size(), 18);
        QCOMPARE(s.rows[s.answer].thickness, 40.0);
        QStringList complies;
        for (const ThicknessCandidate& r : s.rows)
            complies.append(r.complies ? "+" : "-");
        QCOMPARE(complies.join(QString()), QStringLiteral("-++----+++++++++++"));
        QCOMPARE(s.rows[3].firstFailingText(), QStringLiteral("3-4"));  // 60 mm
        QVERIFY(s.rows[3].heatOk && !s.rows[3].vapourOk);
        QCOMPARE(s.rows[13].tnText, QStringLiteral("-27"));  // 160 mm, D = 6,97
        QCOMPARE(s.rows[14].tnText, QStringLiteral("-25"));  // 170 mm, D = 7,12
        QCOMPARE(f.column(5).mid(13, 2), QStringList({"2,59", "2,47"}));
        QCOMPARE(t.text("lblPrim"), QStringLiteral("Внимание: толщина 40 мм подходит, а более толстые 60; 70; 80; 90 мм "
                                                   "— нет: соответствие не растет с толщиной. Проверьте выбранную "
                                                   "толщину расчетом."));
        QCOMPARE(t.control("lblPrim").foreground, kRed);
        // the separate calculations agree
        QVERIFY(f.calculateWith("50"));
        QVERIFY(!f.calculateWith("60"));
        QVERIFY(f.calculateWith("100"));
    }

    // Product thicknesses: 40 mm is not on the list, so 50 mm is the answer.
    void listOfProductThicknesses()
    {
        Fixture f;
        f.smallTemperatureDifference();
        ThicknessForm& t = f.form();
        QCOMPARE(t.text("txtSpisok"), QStringLiteral("50;80;100;120;150;200"));
        t.userCheck(ThicknessForm::mode(1), true);
        t.userEdit("txtSpisok", "100; 30;120;;50");
        QCOMPARE(*t.userKey("txtSpisok", u'.'), QChar(u','));
        QVERIFY(!t.userKey("txtSpisok", u'x'));
        t.userClick("cmdPodbor");
        QCOMPARE(f.column(0), QStringList({"30", "50", "100", "120"}));
        QCOMPARE(t.selection()->answer, 1);
        QCOMPARE(t.text("lblOtvet"), QStringLiteral("Наименьшая подходящая толщина слоя: 50 мм"));
    }

    // Row 2 excluded: the insulation of grid row 3 is layer 2 of plaster 20 mm,
    // insulation, plaster 10 mm (Δt(в) = 6). Heat: Rт = 0,194 + δ/0,042 and D = 0,360 +
    // 15,48·δ ≤ 1,5, so tн = -31 and Rт.тр. = 49/52,2 = 0,939: δ ≥ 31,3 mm, 40 mm.
    // п. 9.1 at the plane 2-3 (Rп.н. = 0,111): 260 mm Rп.в. 0,7083 < Rп.тр. 0,7101,
    // 270 mm 0,7292 ≥ 0,7125.
    void excludedRowBeforeTheLayer()
    {
        Fixture f;
        f.main().userEdit("txtRtNorm", "");  // without table 5.1: the criteria below alone
        f.main().userCheck("chkIskl_2", true);
        ThicknessForm& t = f.form();
        QCOMPARE(t.items("cboSloj"), QStringList({"1. Штукатурка изв.-песч", "2. Белтеп ПП100",
                                                   "3. Штукатурка ц-песчаная"}));
        QCOMPARE(t.currentIndex("cboSloj"), 1);
        f.range("10", "400", "10");
        t.userClick("cmdPodbor");
        QCOMPARE(t.selection()->rows[t.selection()->answer].thickness, 270.0);
        QCOMPARE(t.selection()->rows[25].firstFailingText(), QStringLiteral("2-3"));
        // without п. 9.1 the heat requirement alone decides
        t.userCheck(ThicknessForm::criterion(1), false);
        QVERIFY(!t.selection());  // a change of the criteria drops the answer
        t.userClick("cmdPodbor");
        QCOMPARE(t.selection()->rows[t.selection()->answer].thickness, 40.0);
        QVERIFY(!t.selection()->rows[2].heatOk && !t.selection()->rows[2].complies);
        // "Применить" writes into grid row 3, the layer's own row
        t.userClick("cmdApply");
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("40"));
        QCOMPARE(f.main().cell(2, 2), QStringLiteral("250"));
        QCOMPARE(f.ctx.layerTable.layers[1].cell(kColThickness), QStringLiteral("40"));

        // a layer list changed while the window is open is taken up at the next search
        f.main().userCheck("chkIskl_2", false);
        t.userClick("cmdPodbor");
        QCOMPARE(t.items("cboSloj").size(), 4);
        QCOMPARE(t.currentIndex("cboSloj"), 2);
        QCOMPARE(t.searchedCase()->layer, 3);
        QCOMPARE(t.searchedRow(), 3);
    }

    // The outer plaster 26 mm thick: п. 9.1 holds only at 10 mm, the heat requirement
    // from 40 mm; 30 mm: both fail.
    void noCandidateComplies()
    {
        Fixture f;
        f.smallTemperatureDifference();
        f.outerPlaster("26");
        ThicknessForm& t = f.form();
        f.range("10", "100", "10");
        t.userClick("cmdPodbor");
        QCOMPARE(t.selection()->answer, -1);
        const QString together = QStringLiteral(
            "Ни одна толщина не подходит: условия «Rт ≥ Rт.тр.» и «п. 9.1 на всех границах слоев» выполняются при "
            "разных толщинах, но ни при одной — все вместе.");
        QCOMPARE(f.prompter.texts(), QStringList{together});
        QCOMPARE(t.text("lblOtvet"), together);
        QVERIFY(!t.isEnabled("cmdApply"));
        // the button is disabled; the model refuses as well
        EXPECT_APP_ERROR(t.apply(), "applied", [&](const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Нет подобранной толщины: сначала нажмите «Подобрать»."));
        });

        // 30 mm plaster: п. 9.1 fails everywhere
        f.outerPlaster("30");
        f.prompter.clear();
        t.userClick("cmdPodbor");
        QCOMPARE(f.prompter.texts(), QStringList{"Ни одна толщина не подходит: условие «п. 9.1 на всех границах "
                                                 "слоев» не выполняется ни при одной из них."});
    }

    // With the moisture criterion, a tight cladding (μ of the outer plaster 0,01, Минск,
    // plane 3-4): at 60 mm the balance of the moisture window, 1266 g/m² accumulated
    // against 1498 g/m² drying in summer.
    void moistureBalance()
    {
        Fixture f;
        f.main().userEdit("txtRtNorm", "");  // without table 5.1: the criteria below alone
        f.main().userCheck("chkVlaga", true);
        f.main().userSelect("cboGorod", 4);
        f.main().userCheck("optVlaga_3", true);
        f.main().setText(MainForm::cellName(4, 8), "0,01");
        ThicknessForm& t = f.form();
        QVERIFY(t.isChecked(ThicknessForm::criterion(2)));  // as "Пометьте…" in the main window
        t.userCheck(ThicknessForm::criterion(1), false);
        t.userCheck(ThicknessForm::mode(1), true);
        t.userEdit("txtSpisok", "60");
        t.userClick("cmdPodbor");
        const ThicknessCandidate& r = t.selection()->rows[0];
        QVERIFY(qAbs(r.moisture->accumulated - 1265.9433304685645) < 1e-6);
        QVERIFY(qAbs(r.moisture->summerDrying - 1497.7907027027022) < 1e-6);
        QCOMPARE(f.column(10), QStringList{"1266"});
        QCOMPARE(f.column(11), QStringList{"1498"});
        QVERIFY(r.moistureOk && r.complies);

        // μ 0,007: the water collected exceeds the summer drying up to 200 mm, not at
        // 300 mm; the moisture window of a separate "Расчет" shows the same totals
        f.main().setText(MainForm::cellName(4, 8), "0,007");
        t.userEdit("txtSpisok", "100;200;300");
        t.userClick("cmdPodbor");
        const ThicknessSelection& s = *t.selection();
        QCOMPARE(s.rows[s.answer].thickness, 300.0);
        QVERIFY(!s.rows[1].moistureOk && s.rows[1].heatOk);
        QVERIFY(s.rows[1].moisture->accumulated > s.rows[1].moisture->summerDrying);
        f.calculateWith("200");
        auto* m = &f.app->formAs<MoistureForm>();
        QCOMPARE(m->totals().accumulated, s.rows[1].moisture->accumulated);
        QCOMPARE(m->totals().summerDrying, s.rows[1].moisture->summerDrying);

        // no plane marked: the criterion cannot be judged
        f.main().userCheck("optVlaga_3", false);
        f.prompter.clear();
        t.userClick("cmdPodbor");
        QCOMPARE(f.prompter.shown.size(), 1);
        QVERIFY(f.prompter.texts()[0].startsWith(QStringLiteral("Увлажняемый слой не помечен")));
        QVERIFY(!t.selection());
    }

    // While the search runs: progress, "Прервать", no second run, the close box.
    void stopAndProgress()
    {
        Fixture f;
        f.smallTemperatureDifference();
        ThicknessForm& t = f.form();
        f.range("10", "200", "10");
        QStringList progress;
        f.ctx.processEvents = [&] {
            progress.append(t.text("lblHod"));
            QVERIFY(f.ctx.busy());
            QVERIFY(!t.isEnabled("cmdPodbor") && t.isEnabled("cmdStop") && !t.isEnabled("cmdApply"));
            f.main().calculate();  // refused with a beep
            t.select();            // likewise
            if (progress.size() == 5)
                t.userClick("cmdStop");
        };
        t.userClick("cmdPodbor");
        QCOMPARE(progress, QStringList({"Рассчитано 1 из 20", "Рассчитано 2 из 20", "Рассчитано 3 из 20",
                                        "Рассчитано 4 из 20", "Рассчитано 5 из 20"}));
        QCOMPARE(f.prompter.beeps, 10);
        QVERIFY(!f.ctx.busy());
        QVERIFY(!t.selection()->completed);
        QCOMPARE(t.selection()->answer, 3);
        QCOMPARE(t.text("lblOtvet"),
                 QStringLiteral("Подбор прерван: рассчитано 5 из 20 толщин. Наименьшая подходящая толщина слоя: 40 мм"));
        QVERIFY(t.isEnabled("cmdPodbor") && !t.isEnabled("cmdStop") && t.isEnabled("cmdApply"));
        QVERIFY(!f.ctx.lastCalc);

        // closing the window stops the search too
        progress.clear();
        f.ctx.processEvents = [&] {
            progress.append(t.text("lblHod"));
            if (progress.size() == 2)
                t.unloadForm();
        };
        t.userClick("cmdPodbor");
        QCOMPARE(progress.size(), 2);
        QVERIFY(!f.ctx.busy());
    }

    // A candidate that cannot be calculated stops the search with a message naming it.
    void candidateThatCannotBeCalculated()
    {
        Fixture f;
        f.main().setText("txtTp", "0");
        ThicknessForm& t = f.form();
        t.userClick("cmdPodbor");
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Ошибка в исходных данных!!"));
        QCOMPARE(f.prompter.texts()[0],
                 QStringLiteral("Подбор остановлен.\rТолщина слоя 60 мм:\rНет данных по температурному перепаду!!!"));
        QVERIFY(!t.selection());
        QCOMPARE(f.ctx.activeRuns, 0);
        // an incomplete layer is refused as "Расчет" refuses it
        f.main().setText("txtTp", "6");
        f.main().setText(MainForm::cellName(2, 6), "");
        f.prompter.clear();
        t.userClick("cmdPodbor");
        QCOMPARE(f.prompter.texts(), QStringList{"В слое №2 не заполнены: s(А). Заполните пустые графы или исключите "
                                                 "слой из расчета."});
        // the empty cell is marked in the main window
        QCOMPARE(f.main().markedControls(), QStringList{MainForm::cellName(2, 6)});
    }

    // The climate of the moisture criterion is read once, before the first candidate: a
    // value that is not a number stops the selection with no candidate calculated, and
    // every candidate of a good climate is calculated once.
    void climateIsReadBeforeTheFirstCandidate()
    {
        Fixture f;
        f.main().userCheck("chkVlaga", true);
        f.main().userSelect("cboGorod", 4);
        f.main().userCheck("optVlaga_3", true);
        ThicknessCase c;
        f.main().collectInput();
        c.input = readEnvelopeInput(f.ctx.layerTable, f.main().envelopeInputs());
        c.layer = 3;
        c.saturation = &f.ctx.tables.saturation;
        ClimateRecord city = f.ctx.tables.climate[4];
        c.moisture = ThicknessCase::Moisture{&city, 3};
        int calculated = 0;
        const auto count = [&](const ThicknessCandidate&) { return ++calculated > 0; };
        const ThicknessSelection good = SearchThickness(c, {40, 60, 80}, count);
        QCOMPARE(calculated, 3);
        QVERIFY(good.completed && good.rows[1].moisture);

        city.temperature[10] = QStringLiteral("х");  // November
        calculated = 0;
        EXPECT_APP_ERROR(SearchThickness(c, {40, 60, 80}, count), "no error", [&](const AppError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Климатические данные «%1», ноябрь: температура наружного "
                                                           "воздуха «х» не является числом.")
                                                .arg(city.name)),
                     qPrintable(e.message()));
        });
        QCOMPARE(calculated, 0);
    }

    // A candidate is a thickness handed to the run as a number: the chosen layer's cell
    // may hold anything, and two cases are the same whatever that cell holds, but not
    // when any other value differs.
    void candidateIsANumber()
    {
        Fixture f;
        f.main().collectInput();
        ThicknessCase c;
        c.input = readEnvelopeInput(f.ctx.layerTable, f.main().envelopeInputs());
        c.layer = 3;
        c.saturation = &f.ctx.tables.saturation;
        const ThicknessCandidate typed = EvaluateThickness(c, 80);

        ThicknessCase other = c;
        LayerTable garbled = f.ctx.layerTable;
        garbled.layers[2].cells[kColThickness] = QStringLiteral("толще");
        other.input = readEnvelopeInput(garbled, f.main().envelopeInputs());
        QVERIFY(other.sameButThickness(c) && c.sameButThickness(other));
        const ThicknessCandidate fromNumber = EvaluateThickness(other, 80);
        QCOMPARE(fromNumber.rt, typed.rt);
        QCOMPARE(fromNumber.D, typed.D);
        QCOMPARE(fromNumber.complies, typed.complies);

        garbled.layers[1].cells[kColMu] = QStringLiteral("0,21");
        other.input = readEnvelopeInput(garbled, f.main().envelopeInputs());
        QVERIFY(!other.sameButThickness(c));
        other.input = c.input;
        other.vapourCriterion = !c.vapourCriterion;
        QVERIFY(!other.sameButThickness(c));
        other = c;
        other.layer = 2;
        QVERIFY(!other.sameButThickness(c));
        other = c;
        other.moisture = ThicknessCase::Moisture{&f.ctx.tables.climate[4], 3};
        QVERIFY(!other.sameButThickness(c));
    }

    // ---- ogrado_calc ----

    void batchSelect()
    {
        QTemporaryDir dir;
        const QString casePath = writeCase(dir, R"({"cboTp_0": 2})");
        QString out, err;
        QCOMPARE(batch({"--select", "3;10;100;10", casePath}, out, err), 0);
        QVERIFY(out.contains(QStringLiteral("\nПодбор толщины слоя №3 «Белтеп ПП100»\n")));
        QVERIFY(out.contains(QStringLiteral("\n30;2,47;40,2;4,70;-27;2,59;нет;—;да;;;;нет\n40;2,71;36,7;4,85;-27;2,59;да;—;да;;;;да\n")));
        QVERIFY(out.endsWith(QStringLiteral("\nОтвет: 40 мм.\n")));

        out.clear();
        QCOMPARE(batch({"--json", "--select-list", "3;100;50;30", casePath}, out, err), 0);
        const QJsonObject o = QJsonDocument::fromJson(out.toUtf8()).object();
        const QJsonObject s = o.value("selection").toObject();
        QCOMPARE(s.keys(), QStringList({"answer", "layer", "rows"}));
        QCOMPARE(s.value("layer").toInt(), 3);
        QCOMPARE(s.value("answer").toDouble(), 50.0);
        const QJsonArray rows = s.value("rows").toArray();
        QCOMPARE(rows.size(), 3);
        const QJsonObject first = rows[0].toObject();
        QCOMPARE(first.keys(), QStringList({"D", "Rt", "RtNorm", "Rtr", "accumulated", "complies", "firstFailing",
                                            "heatLoss", "heatOk", "normOk", "thickness", "tn", "vapourOk"}));
        QVERIFY(first.value("RtNorm").isNull());
        QCOMPARE(first.value("normOk").toBool(), true);
        QCOMPARE(first.value("thickness").toDouble(), 30.0);
        QVERIFY(qAbs(first.value("Rt").toDouble() - 2.4707) < 1e-4);
        QCOMPARE(first.value("tn").toDouble(), -27.0);
        QCOMPARE(first.value("heatOk").toBool(), false);
        QVERIFY(first.value("firstFailing").isNull() && first.value("accumulated").isNull());
        QCOMPARE(rows[1].toObject().value("complies").toBool(), true);

        // none complies: exit 1, answer null, the first failing boundary named
        const QString tight = writeCase(dir, R"({"cboTp_0": 2, "txt1_29": "30"})");
        out.clear();
        err.clear();
        QCOMPARE(batch({"--json", "--select", "3;10;50;10", tight}, out, err), 1);
        const QJsonObject none = QJsonDocument::fromJson(out.toUtf8()).object().value("selection").toObject();
        QVERIFY(none.value("answer").isNull());
        QCOMPARE(none.value("rows").toArray()[0].toObject().value("firstFailing").toString(), QStringLiteral("3-4"));
        QVERIFY(err.contains(QStringLiteral("не выполняется ни при одной из них")));

        // the moisture balance when the case ticks chkVlaga
        const QString wet = writeCase(dir, R"({"chkVlaga": true, "optVlaga_3": true, "cboGorod": 4, "txt1_35": "0,01"})");
        out.clear();
        batch({"--json", "--select-list", "3;60", wet}, out, err);
        const QJsonObject row =
            QJsonDocument::fromJson(out.toUtf8()).object()["selection"].toObject()["rows"].toArray()[0].toObject();
        QVERIFY(qAbs(row.value("accumulated").toDouble() - 1265.9433304685645) < 1e-6);

        // bad arguments: exit 2 with the reason
        for (const QStringList& bad : {QStringList{"--select", "3;10;100;0"}, QStringList{"--select", "3;10;100"},
                                       QStringList{"--select", "9;10;100;10"}, QStringList{"--select-list", "3"},
                                       QStringList{"--select-list", "x;50"}, QStringList{"--select-list", "3;5о"},
                                       QStringList{"--select", "3;1;2;1", "--select-list", "3;50"}}) {
            err.clear();
            QCOMPARE(batch(bad, out, err), 2);
            QVERIFY2(!err.isEmpty(), qPrintable(bad.join(' ')));
        }
        err.clear();
        batch({"--select", "3;10;100;0"}, out, err);
        QVERIFY(err.startsWith(QStringLiteral("--select: Шаг толщины слоя «0» недопустим. Укажите шаг больше нуля.")));
        batch({"--select", "9;10;100;10"}, out, err);
        QVERIFY(err.contains(QStringLiteral("слоя №9 нет среди слоев расчета (их 4)")));
    }

    // With Rт.норм (the example wall, external walls: 3,2) the answer is the thinnest
    // insulation with Rт ≥ max(Rт.тр., Rт.норм): 60 mm gives Rт 3,185 (condition Б,
    // 0,06/0,042 = 1,4286), each 10 mm adds 0,01/0,042 = 0,2381, so 70 mm gives 3,423.
    // Single runs one step below and at the answer agree; the heat loss falls with it.
    void selectionMeetsTheNormativeResistance()
    {
        QTemporaryDir dir;
        QString out, err;
        QCOMPARE(batch({"--json", "--select", "3;50;100;10", writeCase(dir, "{}")}, out, err), 0);
        const QJsonObject s = QJsonDocument::fromJson(out.toUtf8()).object().value("selection").toObject();
        QCOMPARE(s.value("answer").toDouble(), 70.0);
        const QJsonArray rows = s.value("rows").toArray();
        const QJsonObject below = rows[1].toObject();
        const QJsonObject at = rows[2].toObject();
        QCOMPARE(below.value("thickness").toDouble(), 60.0);
        QCOMPARE(below.value("RtNorm").toDouble(), 3.2);
        QVERIFY(below.value("heatOk").toBool() && below.value("vapourOk").toBool());
        QVERIFY(!below.value("normOk").toBool() && !below.value("complies").toBool());
        QVERIFY(at.value("normOk").toBool() && at.value("complies").toBool());
        QVERIFY(qAbs(at.value("Rt").toDouble() - (3.1849363 + 0.01 / 0.042)) < 1e-6);
        // q = 0,024·20·207/Rт: 31,197 at 60 mm, 29,027 at 70 mm
        QVERIFY(qAbs(below.value("heatLoss").toDouble() - 31.197) < 1e-3);
        QVERIFY(qAbs(at.value("heatLoss").toDouble() - 99.36 / (3.1849363 + 0.01 / 0.042)) < 1e-4);
        for (const auto& [mm, complies] : {std::pair{"60", 0}, std::pair{"70", 1}}) {
            out.clear();
            QCOMPARE(batch({"--json", writeCase(dir, QByteArray(R"({"txt1_20": ")") + mm + "\"}")}, out, err), 0);
            const QJsonObject single = QJsonDocument::fromJson(out.toUtf8()).object();
            QCOMPARE(single.value("complies").toInt(), complies);
            QCOMPARE(single.value("Rt").toDouble(), (complies ? at : below).value("Rt").toDouble());
            QCOMPARE(single.value("heatLoss").toDouble(), (complies ? at : below).value("heatLoss").toDouble());
        }
        // the text table names the criterion and shows its column
        out.clear();
        QCOMPARE(batch({"--select", "3;60;70;10", writeCase(dir, "{}")}, out, err), 0);
        QVERIFY(out.contains(QStringLiteral("Условия: Rт ≥ Rт.тр.; Rт ≥ Rт.норм (табл. 5.1); п. 9.1")));
        QVERIFY2(out.contains(QStringLiteral("\n60;3,18;31,2;")) && out.contains(QStringLiteral(";да;нет;да;;;;нет\n70;3,42;29,0;")),
                 qPrintable(out.right(400)));
    }

    // ---- the window ----

    void window()
    {
        Fixture f;
        f.smallTemperatureDifference();
        ThicknessForm& form = f.form();
        ThicknessWindow w(form);
        for (const Control& c : form.controls())
            QVERIFY2(w.findChild<QWidget*>(c.name), qPrintable(c.name));
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Подбор толщины слоя"));
        QCOMPARE(w.findChild<QComboBox*>("cboSloj")->currentText(), QStringLiteral("3. Белтеп ПП100"));
        form.userEdit("txtOt", "10");
        form.notifyChanged();
        QTest::mouseClick(w.findChild<QPushButton*>("cmdPodbor"), Qt::LeftButton);
        QListWidget* thickness = w.findChild<QListWidget*>(ThicknessForm::column(0));
        QCOMPARE(thickness->count(), 50);
        QCOMPARE(thickness->item(3)->text(), QStringLiteral("40"));
        QCOMPARE(thickness->item(3)->background().color(), QColor::fromRgba(kHighlight));
        QVERIFY(w.findChild<QPushButton*>("cmdApply")->isEnabled());
        QVERIFY(!w.findChild<QPushButton*>("cmdStop")->isEnabled());
        // a click on a row of the table chooses it
        QListWidget* fits = w.findChild<QListWidget*>(ThicknessForm::column(10));
        fits->scrollToItem(fits->item(5));
        QTest::mouseClick(fits->viewport(), Qt::LeftButton, {}, fits->visualItemRect(fits->item(5)).center());
        QCOMPARE(form.rowToApply(), 5);
        auto* apply = w.findChild<QPushButton*>("cmdApply");
        QCOMPARE(apply->text(), QStringLiteral("Применить 60 мм"));
        QCOMPARE(thickness->item(5)->background().color(), QColor::fromRgba(kUserChoice));
        QTest::mouseClick(apply, Qt::LeftButton);
        QCOMPARE(f.main().cell(3, 2), QStringLiteral("60"));
        QVERIFY(f.ctx.lastCalc && f.ctx.lastCalc->complies());
    }
};

QTEST_MAIN(TestThickness)
#include "test_thickness.moc"
