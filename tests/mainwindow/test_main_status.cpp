// SPDX-License-Identifier: GPL-3.0-or-later
// Everyday use of the main window: the verdict under the results, results that say when
// they no longer belong to the input, keys, tooltips from the guide, the help window and
// a window that keeps its size.
#include "program/application.h"
#include "airlayer/airlayer_form.h"
#include "batch/batch.h"
#include "common/guide_text.h"
#include "dialogs/row_operations.h"
#include "engine/verdict.h"
#include "help/guide_window.h"
#include "library/stack_loading.h"
#include "mainwindow/main_window.h"
#include "tools/dew_point_window.h"
#include "test_app.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextStream>
#include <QTimer>
#include <QtTest>

using namespace ogrado;

namespace {

QString cell(int row, int column)
{
    return MainForm::cellName(row, column);
}

// A finished run with the given resistances, boundary results and inner-surface field.
CalcState finishedState(double rt, double rtr, const QVector<bool>& boundariesPass, float tau, double ev)
{
    CalcState st;
    st.finished = true;
    st.rt = rt;
    st.rtRequired = rtr;
    st.complies = !(rt < rtr);
    for (bool passes : boundariesPass) {
        LayerResult r;
        r.passes = passes;
        st.complies = st.complies && passes;
        st.layers.append(r);
    }
    st.layers.append(LayerResult{});  // the last layer has no boundary after it
    CalcPoint inner;
    inner.t = tau;
    st.points.append(inner);
    st.ev = ev;
    return st;
}

}  // namespace

class TestMainStatus : public QObject {
    Q_OBJECT
private slots:
    // The four outcomes, with numbers worked out by hand: the dew point of 1135,2 Па
    // lies between 8 °С (1072 Па) and 9 °С (1148 Па) of the shipped table at 8,83 °С.
    void verdictTexts()
    {
        const SaturationTable& sat = test::shippedTables().saturation;
        CalcVerdict v = verdictOf(finishedState(3.18494, 0.86207, {true, true, true}, 17.278f, 1135.2), sat);
        QCOMPARE(v.status, CalcVerdict::Status::Complies);
        QCOMPARE(v.summary, QStringLiteral("СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(v.resistance, QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(v.vapour, QStringLiteral("п. 9.1 — выполнено на всех границах"));
        QCOMPARE(v.innerSurface,
                 QStringLiteral("τв = 17,3 °С, точка росы 8,8 °С — конденсации на внутренней поверхности нет"));

        v = verdictOf(finishedState(0.55, 0.86207, {true, true, true}, 17.278f, 1135.2), sat);
        QCOMPARE(v.status, CalcVerdict::Status::Fails);
        QCOMPARE(v.summary, QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(v.resistance, QStringLiteral("Rт = 0,55 < Rт.тр. = 0,86 — не выполнено"));
        QCOMPARE(v.vapour, QStringLiteral("п. 9.1 — выполнено на всех границах"));

        v = verdictOf(finishedState(3.18494, 0.86207, {true, false, true}, 17.278f, 1135.2), sat);
        QCOMPARE(v.status, CalcVerdict::Status::Fails);
        QCOMPARE(v.resistance, QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(v.vapour, QStringLiteral("п. 9.1 — не выполнено на границе 2-3"));

        v = verdictOf(finishedState(0.55, 0.86207, {true, false, false}, 8.8f, 1135.2), sat);
        QCOMPARE(v.status, CalcVerdict::Status::Fails);
        QCOMPARE(v.resistance, QStringLiteral("Rт = 0,55 < Rт.тр. = 0,86 — не выполнено"));
        QCOMPARE(v.vapour, QStringLiteral("п. 9.1 — не выполнено на границах 2-3, 3-4"));
        // 8,8 °С is below the dew point 8,83 °С although both read 8,8
        QCOMPARE(v.innerSurface,
                 QStringLiteral("τв = 8,8 °С, точка росы 8,8 °С — возможна конденсация на внутренней поверхности"));
    }

    void verdictEdges()
    {
        const SaturationTable& sat = test::shippedTables().saturation;
        // equal resistances comply; values that round alike show the digit that decides
        CalcVerdict v = verdictOf(finishedState(0.86, 0.86, {}, 17.0f, 1135.2), sat);
        QCOMPARE(v.resistance, QStringLiteral("Rт = 0,86 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(v.vapour, QStringLiteral("п. 9.1 — границ между слоями нет (один слой), проверка не требуется"));
        v = verdictOf(finishedState(0.8612, 0.8621, {}, 17.0f, 1135.2), sat);
        QCOMPARE(v.resistance, QStringLiteral("Rт = 0,861 < Rт.тр. = 0,862 — не выполнено"));
        // a run that stopped before the conclusion has no criteria
        CalcState stopped;
        v = verdictOf(stopped, sat);
        QCOMPARE(v.status, CalcVerdict::Status::None);
        QCOMPARE(v.summary, unfinishedVerdictText());
        QVERIFY(v.resistance.isEmpty() && v.vapour.isEmpty() && v.innerSurface.isEmpty());
        // a dew point below the table is said, not guessed
        v = verdictOf(finishedState(3, 1, {true}, 17.0f, 1.0), sat);
        QVERIFY(v.innerSurface.startsWith(QStringLiteral("τв = 17,0 °С, точка росы внутреннего воздуха лежит вне")));
    }

    // The example wall of the start (Витебская область, t(от.) −2 °С): Rт 3,185, Rт.тр.
    // 45/(8,7·6) = 0,862, τв = 18 − 20·(1/8,7)/3,185 = 17,28 °С; all three boundaries pass
    // (Rп.в. 0,167 / 1,417 / 1,542 against Rп.тр. −0,80 / 0,04 / 0,65).
    void verdictOnTheWindowAndInTheJson()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        QVERIFY(m.text("lblVerdict").isEmpty());
        // «Наружные стены» preselects Rт.норм 3,2 of table 5.1, which Rт 3,185 misses
        QCOMPARE(m.text("txtRtNorm"), QStringLiteral("3,2"));
        m.userClick("cmdOk");
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(m.background("lblVerdict"), kVerdictRed);
        QCOMPARE(m.text("lblVerdictNorm"), QStringLiteral("Rт = 3,18 < Rт.норм = 3,2 — не выполнено"));
        QCOMPARE(m.text("lblQot"), QStringLiteral("31,2"));
        QVERIFY(m.text("lblVerdictData").contains(QStringLiteral("Rт.норм")));
        // without Rт.норм the verdict of Rт.тр. and п. 9.1 alone
        m.userEdit("txtRtNorm", "");
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("Исходные данные изменены — нажмите «Расчет»"));
        m.userClick("cmdOk");
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(m.text("lblVerdictNorm"), QStringLiteral("Rт.норм не задано — требование табл. 5.1 не проверялось"));
        QVERIFY(!m.text("lblVerdictData").contains(QStringLiteral("Rт.норм")));
        QCOMPARE(m.background("lblVerdict"), kVerdictGreen);
        QCOMPARE(m.text("lblVerdictRt"), QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(m.text("lblVerdictVapour"), QStringLiteral("п. 9.1 — выполнено на всех границах"));
        QCOMPARE(m.text("lblVerdictSurface"),
                 QStringLiteral("τв = 17,3 °С, точка росы 8,8 °С — конденсации на внутренней поверхности нет"));

        // insulation moved inside at фи(в) 70 %: boundary 2-3 fails (Rп.в. 0,292 < Rп.тр. 0,749)
        m.userEdit("txtFiv", "70");
        const QStringList insulation = {m.cell(3, 0), m.cell(3, 2), m.cell(3, 3), m.cell(3, 4), m.cell(3, 5),
                                        m.cell(3, 6), m.cell(3, 7), m.cell(3, 8)};
        const QStringList silicate = {m.cell(2, 0), m.cell(2, 2), m.cell(2, 3), m.cell(2, 4), m.cell(2, 5),
                                      m.cell(2, 6), m.cell(2, 7), m.cell(2, 8)};
        const int columns[] = {0, 2, 3, 4, 5, 6, 7, 8};
        for (int i = 0; i < 8; ++i) {
            m.userEdit(cell(2, columns[i]), insulation[i]);
            m.userEdit(cell(3, columns[i]), silicate[i]);
        }
        m.userClick("cmdOk");
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(m.background("lblVerdict"), kVerdictRed);
        QCOMPARE(m.text("lblVerdictVapour"), QStringLiteral("п. 9.1 — не выполнено на границе 2-3"));
        QCOMPARE(m.background("txtRpv_2"), kRed);

        // the headless front end prints the same texts
        QString out;
        QString err;
        QTextStream o(&out);
        QTextStream e(&err);
        QCOMPARE(runBatch({"--data", OGRADO_SHIPPED_DATA, "--json"}, o, e), 0);
        o.flush();
        const QJsonObject verdict = QJsonDocument::fromJson(out.toUtf8()).object().value("verdict").toObject();
        // (the example wall of the start, Rт.норм preselected)
        QCOMPARE(verdict.value("summary").toString(), QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));
        QCOMPARE(verdict.value("resistance").toString(), QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(verdict.value("normative").toString(), QStringLiteral("Rт = 3,18 < Rт.норм = 3,2 — не выполнено"));
        QCOMPARE(verdict.value("vapour").toString(), QStringLiteral("п. 9.1 — выполнено на всех границах"));
        QCOMPARE(verdict.value("innerSurface").toString(),
                 QStringLiteral("τв = 17,3 °С, точка росы 8,8 °С — конденсации на внутренней поверхности нет"));
    }

    void staleMarkingAndItsReset()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        m.userEdit("txtTv", "20");  // before any calculation nothing is stale
        QVERIFY(!m.resultsStale());
        m.userEdit("txtTv", "18");
        m.userClick("cmdOk");
        QVERIFY(!m.resultsStale());
        const QString rt = m.text("txtRt");
        const QStringList points = m.items("lstRez_1");
        const int lines = f.ctx.report.lineCount();

        m.userEdit(cell(2, 2), "300");
        QVERIFY(m.resultsStale());
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("Исходные данные изменены — нажмите «Расчет»"));
        QCOMPARE(m.background("lblVerdict"), kStaleGrey);
        for (const QString& name : MainForm::resultControlNames())
            QVERIFY2(m.foreground(name) == kGrey, qPrintable(name));
        QCOMPARE(m.foreground("lblVerdictRt"), kGrey);
        // nothing is cleared
        QCOMPARE(m.text("txtRt"), rt);
        QCOMPARE(m.items("lstRez_1"), points);
        QCOMPARE(m.text("lblVerdictRt"), QStringLiteral("Rт = 3,18 ≥ Rт.тр. = 0,86 — выполнено"));
        QCOMPARE(f.ctx.report.lineCount(), lines);

        // "Пересчитать" works on the table as last collected: a grid change still needs "Расчет"
        m.userClick("cmdPR");
        QVERIFY(m.resultsStale());
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("Исходные данные изменены — нажмите «Расчет»"));
        m.userClick("cmdOk");
        QVERIFY(!m.resultsStale());
        QCOMPARE(m.foreground("txtRt"), kBlack);
        QCOMPARE(m.foreground("lstRez_3"), kBlack);
        QCOMPARE(m.text("lblVerdict"), QStringLiteral("СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));

        // a field the calculation reads when it runs: "Пересчитать" brings the results up to date
        m.userEdit("txtN", "0,9");
        QVERIFY(m.resultsStale());
        m.userClick("cmdPR");
        QVERIFY(!m.resultsStale());
        m.userCheck("chkPr", true);
        QVERIFY(m.resultsStale());
        m.userClick("cmdPR");
        QVERIFY(!m.resultsStale());
        // "Сохранить пирожок" collects the grid: "Пересчитать" then computes the current one
        m.userEdit(cell(1, 2), "25");
        m.userClick("cmdSp");
        QVERIFY(m.resultsStale());
        m.userClick("cmdPR");
        QVERIFY(!m.resultsStale());
    }

    // Every way the input changes counts, not only typing.
    void everyInputPathMarksStale()
    {
        struct Case {
            const char* what;
            std::function<void(test::AppFixture&)> change;
        };
        const Case cases[] = {
            {"clear", [](test::AppFixture& f) { f.main().userClick(QStringLiteral("Комманда1")); }},
            {"exclude", [](test::AppFixture& f) { f.main().userCheck(QStringLiteral("chkIskl_4"), true); }},
            {"region", [](test::AppFixture& f) { f.main().userSelect(QStringLiteral("cboObl"), 3); }},
            {"building", [](test::AppFixture& f) { f.main().userSelect(QStringLiteral("cboTipZd"), 2); }},
            {"coefficient", [](test::AppFixture& f) { f.main().userSelect(QStringLiteral("cboAln"), 2); }},
            {"envelope", [](test::AppFixture& f) { f.main().userSelect(QStringLiteral("cboTp_1"), 1); }},
            // a building type's caption typed in: the report names the building by it
            {"building caption", [](test::AppFixture& f) { f.main().userEdit(QStringLiteral("cboTipZd"), "Склад"); }},
            {"material",
             [](test::AppFixture& f) {
                 f.main().userSelect(QStringLiteral("lstM"), 4);
                 f.main().userDblClick(QStringLiteral("lstM"));
             }},
            {"stack",
             [](test::AppFixture& f) {
                 const LayerStack stack{QStringLiteral("s"), QStringLiteral("d"),
                                        {StackLayer{"Кирпич", "380", "0", "0,7", "0,81", "9,2", "10,12", "0,11"}}};
                 LoadStackIntoTable(f.main(), stack, StackLoad::Full);
             }},
            {"row operation",
             [](test::AppFixture& f) {
                 auto& move = f.app->formAs<RowOperationsForm>();
                 move.loadForm();
                 move.userSelect(QStringLiteral("lst1_1"), 5);
                 move.userCheck(QStringLiteral("opt1_0"), true);
                 move.userClick(QStringLiteral("cmdOk"));
             }},
        };
        for (const Case& c : cases) {
            test::AppFixture f;
            f.main().userClick("cmdOk");
            QVERIFY2(!f.main().resultsStale(), c.what);
            c.change(f);
            QVERIFY2(f.main().resultsStale(), c.what);
            QCOMPARE(f.main().text("lblVerdict"), QStringLiteral("Исходные данные изменены — нажмите «Расчет»"));
        }
    }

    // Another source-data file: the results of the previous wall go, and so does its
    // verdict, greyed or not.
    void openingAnotherFileClearsTheVerdict()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Стена.isx");
        test::AppFixture f;
        MainForm& m = f.main();
        m.saveSourceData(path, QString());
        for (const bool staleFirst : {false, true}) {
            m.userClick("cmdOk");
            QCOMPARE(m.text("lblVerdict"), QStringLiteral("НЕ СООТВЕТСТВУЕТ требованиям ТКП 45-2.04-43"));  // Rт 3,18 < Rт.норм 3,2
            if (staleFirst) {
                m.userEdit(cell(2, 2), "300");
                QVERIFY(m.resultsStale());
            }
            f.prompter.answers = {MessageAnswer::No};  // the edits are not kept
            QVERIFY(m.openSourceData(path));
            QVERIFY(!m.resultsStale());
            for (const QString& name : MainForm::verdictControlNames()) {
                QVERIFY2(m.text(name).isEmpty(), qPrintable(name));
                QCOMPARE(m.foreground(name), kBlack);
            }
            QCOMPARE(m.background("lblVerdict"), kWhite);
            QCOMPARE(m.foreground("txtRt"), kBlack);
            QVERIFY(m.text("txtRt").isEmpty());
        }
    }

    void savingStaleResultsAsksFirst()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        QSignalSpy requests(&m, &MainForm::windowRequested);
        m.userClick("cmdOk");
        m.userClick("cmdSave");
        QCOMPARE(requests.size(), 1);  // current results: no question
        for (const test::Shown& shown : f.prompter.shown)
            QVERIFY(shown.title != QStringLiteral("Подтверждение записи"));
        m.userEdit(cell(1, 0), "Штукатурка");
        f.prompter.clear();
        f.prompter.answers = {MessageAnswer::No};
        m.userClick("cmdSave");
        QCOMPARE(requests.size(), 1);
        QCOMPARE(f.prompter.shown.size(), 1);
        QCOMPARE(f.prompter.shown[0].title, QStringLiteral("Подтверждение записи"));
        QVERIFY(f.prompter.shown[0].text.contains(QStringLiteral("Сохранить результаты последнего расчета?")));
        f.prompter.answers = {MessageAnswer::Yes};
        m.userClick("cmdSave");
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.last().at(0).toString(), QStringLiteral("FileSave"));
    }

    void fieldHelpFromTheGuide()
    {
        const QString md = QStringLiteral(
            "# T\n\n| Поле | Имя | Значение |\n|---|---|:--|\n| t(в), °С | `txtTv` | Температура, **°С**. |\n"
            "| k | `chkX_k`, `cboY` | a \\| b |\n| кривая строка | `bad` |\n\n"
            "| Столбец | Заголовок | Значение |\n|---|---|---|\n| 2 | Толщ. | Толщина, мм |\n\n"
            "| Без ключа | Значение |\n|---|---|\n| `txtZ` | не поле |\n");
        const QHash<QString, FieldHelp> help = fieldHelpOf(md);
        QCOMPARE(help.value("txtTv").caption, QStringLiteral("t(в), °С"));
        QCOMPARE(help.value("txtTv").text, QStringLiteral("Температура, °С."));
        QCOMPARE(help.value("cboY").text, QStringLiteral("a | b"));
        QVERIFY(findFieldHelp(help, "chkX_3"));
        QVERIFY(!findFieldHelp(help, "chkW_3"));
        QVERIFY(!help.contains("bad"));   // a row with a cell missing
        QVERIFY(!help.contains("txtZ"));  // a table without a name column
        QCOMPARE(help.value(gridColumnKey(2)).caption, QStringLiteral("Толщ."));
    }

    void everyInputFieldHasItsTooltip()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        QStringList inputs = {"cboTipZd", "txtTv", "txtFiv", "cboObl", "cboGorod", "cboN", "txtN", "cboAlv",
                              "txtAlv", "cboAln", "txtAln", "cboTp_0", "cboTp_1", "txtTp", "chkVlaga",
                              "chkPr", "cboM", "txtM", "lstM"};
        for (int k = 1; k <= 4; ++k)
            inputs << QStringLiteral("txtTn_%1").arg(k) << QStringLiteral("txtTot_%1").arg(k);
        for (int k = 0; k < 72; ++k)
            inputs << QStringLiteral("txt1_%1").arg(k);
        for (int k = 1; k <= 8; ++k)
            inputs << QStringLiteral("chkIskl_%1").arg(k);
        for (int k = 2; k <= 7; ++k)
            inputs << QStringLiteral("optVlaga_%1").arg(k);
        for (const QString& name : inputs)
            QVERIFY2(!m.control(name).toolTip.isEmpty(), qPrintable(name));
        // meaning and unit, in the words of the guide
        const QString guide = guideMarkdown();
        QVERIFY(m.control("txtTv").toolTip.contains(QStringLiteral("°С")));
        QVERIFY(m.control("txtAlv").toolTip.contains(QStringLiteral("Вт/(м²·°С)")));
        QVERIFY(m.control(cell(5, 2)).toolTip.startsWith(QStringLiteral("Толщ. слоя, мм — Толщина слоя")));
        QVERIFY(m.control(cell(2, 8)).toolTip.contains(QStringLiteral("мг/(м·ч·Па)")));
        const FieldHelp* tp = findFieldHelp(fieldHelpOf(guide), "txtTp");
        QVERIFY(tp && guide.contains(tp->text));
        QVERIFY(m.control("txtTp").toolTip.endsWith(tp->text));
        // the buttons say their keys
        QCOMPARE(m.control("cmdOk").shortcut, QStringLiteral("F9"));
        QCOMPARE(m.control("cmdPR").shortcut, QStringLiteral("Shift+F9"));
        QVERIFY(m.control("cmdOk").toolTip.endsWith(QStringLiteral("Клавиша: F9.")));
        QVERIFY(m.control("cmdPR").toolTip.endsWith(QStringLiteral("Клавиша: Shift+F9.")));
    }

    void helpWindow()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        QVERIFY(m.isVisible("mnuGuide"));
        QCOMPARE(m.control("mnuGuide").shortcut, QStringLiteral("F1"));
        m.userClick("mnuGuide");
        QCOMPARE(f.host.opened, QStringList{QStringLiteral("frmGuide")});
        auto& guide = f.app->formAs<GuideForm>();
        GuideWindow w(guide);
        const QString shown = w.findChild<QTextBrowser*>("txtGuide")->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("Порядок работы")));
        QVERIFY(!shown.contains(QStringLiteral("| Поле")));  // tables are formatted, not raw text
    }

    // F9 and Shift+F9 on the buttons; Enter in a field never presses a button; Esc closes
    // a secondary window and leaves the main one.
    void keys()
    {
        test::AppFixture f;
        MainWindow window(f.main(), f.host);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.findChild<QPushButton*>("cmdOk")->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(window.findChild<QPushButton*>("cmdPR")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F9));
        QVERIFY(window.findChild<QPushButton*>("cmdOk")->toolTip().contains(QStringLiteral("F9")));

        auto* tv = window.findChild<QLineEdit*>("txtTv");
        tv->setFocus();
        QTest::keyClick(tv, Qt::Key_Return);
        QVERIFY(!f.ctx.lastCalc);
        QVERIFY(f.prompter.shown.isEmpty());
        QVERIFY(!tv->hasFocus());  // on to the next field
        QTest::keyClick(window.focusWidget(), Qt::Key_F9);
        QTRY_VERIFY(f.ctx.lastCalc);  // the button's shortcut clicks it after its press animation
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());

        auto& dew = f.app->formAs<DewPointForm>();
        DewPointWindow dewWindow(dew, &window);
        dew.loadForm();
        dewWindow.show();
        QVERIFY(QTest::qWaitForWindowActive(&dewWindow));
        QTest::keyClick(&dewWindow, Qt::Key_Escape);
        QVERIFY(!dew.isLoaded());
        QVERIFY(!dewWindow.isVisible());
    }

    // A key a number field refuses beeps and shows a hint under the grid for two seconds:
    // a letter typed into a thickness does not vanish without a trace. A name cell refuses
    // only what the results file cannot hold: the beep alone.
    void refusedKeysShowAHint()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        auto* timer = m.findChild<QTimer*>("hintTimer");
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(m.userKey(cell(2, 2), u'5'));
        QVERIFY(m.text("lblHint").isEmpty());
        for (const QString& field : {cell(2, 2), cell(3, 8), QStringLiteral("txtTv"), QStringLiteral("txtTot_1")}) {
            f.prompter.clear();
            QVERIFY(!m.userKey(field, QChar(0x043E)));  // Cyrillic «о» beside the zero key
            QCOMPARE(f.prompter.beeps, 1);
            QCOMPARE(m.text("lblHint"), QStringLiteral("В поле допускаются только цифры и запятая"));
            QVERIFY(timer->isActive());
            timer->start(0);
            QTRY_VERIFY2(m.text("lblHint").isEmpty(), qPrintable(field));
        }
        f.prompter.clear();
        QVERIFY(!m.userKey(cell(2, 0), QChar(0x4E2D)));  // not in Windows-1251
        QCOMPARE(f.prompter.beeps, 1);
        QVERIFY(m.text("lblHint").isEmpty());
        QVERIFY(!timer->isActive());

        // typed in the window: «38о» leaves 38 in the field and the hint under the grid
        MainWindow window(m, f.host);
        window.show();
        auto* thickness = window.findChild<QLineEdit*>(cell(2, 2));
        thickness->selectAll();
        QTest::keyClicks(thickness, QStringLiteral("38"));
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("о"));
        QCoreApplication::sendEvent(thickness, &letter);
        QCOMPARE(thickness->text(), QStringLiteral("38"));
        QCOMPARE(m.text(cell(2, 2)), QStringLiteral("38"));
        auto* hint = window.findChild<QLabel*>("lblHint");
        QVERIFY(hint && hint->isVisible());
        QCOMPARE(hint->text(), QStringLiteral("В поле допускаются только цифры и запятая"));
    }

    // The window keeps its size after a calculation with many points; the result lists
    // scroll instead of taking the model's growing height; long texts stay readable.
    void windowKeepsItsSize()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        MainWindow window(m, f.host);
        window.resize(window.openingSize());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.openingSize().height() <= window.availableClientSize().height());
        const QSize before = window.size();
        auto* list = window.findChild<QListWidget*>("lstRez_1");
        for (int r = 1; r <= 4; ++r)
            m.userEdit(cell(r, 3), "9");  // 4·10 + 1 = 41 points
        m.userClick("cmdOk");
        QVERIFY(m.heightTwips() > 11930);  // the model still computes its growing size
        QCoreApplication::processEvents();
        QCOMPARE(window.size(), before);
        QVERIFY(list->height() < px(m.control("lstRez_1").heightTwips));
        QCOMPARE(list->count(), 41);

        // an inserted material's long name shows its beginning and has the whole text as tooltip
        const QString name = QStringLiteral("J=1800. Плиты минераловатные на синтетическом связующем повышенной "
                                            "жесткости (СП 23-101-2004)");
        m.setText(cell(6, 0), name);
        m.notifyChanged();
        QCoreApplication::processEvents();
        auto* edit = window.findChild<QLineEdit*>(cell(6, 0));
        QCOMPARE(edit->cursorPosition(), 0);
        QVERIFY(edit->toolTip().contains(name));
        // a drop-down list is as wide as its longest entry
        auto* types = window.findChild<QComboBox*>("cboTp_0");
        int longest = 0;
        for (int i = 0; i < types->count(); ++i)
            longest = std::max(longest, types->fontMetrics().horizontalAdvance(types->itemText(i)));
        QVERIFY(types->view()->minimumWidth() >= longest);
    }

    // The material list shows whole names: its drop-downs are as wide as the longest name
    // the screen allows; a name wider than that is cut in the middle, so that the density
    // at its end stays in view, and is shown whole as its tooltip. Several words find a
    // material whatever their order.
    void materialNamesShowWhole()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        MainWindow window(m, f.host);
        window.show();
        auto* list = window.findChild<QComboBox*>("cboM");
        QVERIFY(list && list->completer());
        QAbstractItemView* popup = list->completer()->popup();
        const int screen = list->screen()->availableGeometry().width();
        const auto check = [&] {
            QVERIFY(list->count() > 0);
            int widest = 0;
            for (int i = 0; i < list->count(); ++i) {
                QCOMPARE(list->itemData(i, Qt::ToolTipRole).toString(), list->itemText(i));
                widest = std::max(widest, list->view()->fontMetrics().horizontalAdvance(list->itemText(i)));
            }
            QVERIFY(list->view()->minimumWidth() >= std::min(widest, screen));
            QVERIFY(popup->minimumWidth() >= std::min(widest, screen));
            QVERIFY(popup->minimumWidth() <= screen);
            QCOMPARE(list->view()->textElideMode(), Qt::ElideMiddle);
            QCOMPARE(popup->textElideMode(), Qt::ElideMiddle);
        };
        check();
        m.userEdit("cboM", QStringLiteral("плиты 125"));
        QCoreApplication::processEvents();
        QVERIFY(list->count() >= 1);
        for (int i = 0; i < list->count(); ++i)
            QVERIFY2(list->itemText(i).contains(QStringLiteral("125")), qPrintable(list->itemText(i)));
        QVERIFY(list->itemText(list->count() - 1).startsWith(QStringLiteral("90 Плиты")));
        check();
    }

    // The row list of the materials panel stays where it is whatever the length of the
    // description above it (a double click meant for «2» must not hit «1»); the grid row
    // whose cell has the focus is known to the model, also while another window is active.
    void materialRowListStaysAndFocusedRowIsKnown()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        MainWindow window(m, f.host);
        window.resize(window.openingSize());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* rows = window.findChild<QListWidget*>("lstM");
        auto* description = window.findChild<QLabel*>("lblM");
        const auto where = [&] {
            QCoreApplication::processEvents();
            return rows->mapTo(&window, QPoint(0, 0));
        };
        m.userSelect("cboM", 0);  // "1 Железобетон": a short description
        const QPoint first = where();
        int longest = 0;
        for (int i = 1; i < m.items("cboM").size(); ++i)
            if (m.materialDescription(i).size() > m.materialDescription(longest).size())
                longest = i;
        m.userSelect("cboM", longest);
        QCOMPARE(where(), first);
        QVERIFY(!description->toolTip().isEmpty() || description->heightForWidth(description->width()) <= description->height());

        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QLineEdit*>(cell(3, 2))->setFocus();
        QTRY_COMPARE(m.focusedGridRow(), 3);
        window.findChild<QLineEdit*>(cell(5, 0))->setFocus();
        QTRY_COMPARE(m.focusedGridRow(), 5);
        window.findChild<QLineEdit*>("txtTv")->setFocus();
        QTRY_COMPARE(m.focusedGridRow(), 0);
        window.findChild<QLineEdit*>(cell(2, 4))->setFocus();
        QTRY_COMPARE(m.focusedGridRow(), 2);
        // another window takes the focus: the row keeps it
        auto& dew = f.app->formAs<DewPointForm>();
        dew.loadForm();
        DewPointWindow dewWindow(dew, &window);
        dewWindow.show();
        QVERIFY(QTest::qWaitForWindowActive(&dewWindow));
        dewWindow.findChild<QLineEdit*>(DewPointForm::entry(DewPointForm::kTemperature))->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(m.focusedGridRow(), 2);
    }

    // A secondary window scrolls its content rather than squash it below its readable size.
    void windowsScrollWhenSmall()
    {
        test::AppFixture f;
        auto& dew = f.app->formAs<DewPointForm>();
        dew.loadForm();
        DewPointWindow w(dew, nullptr);
        auto* area = w.findChild<QScrollArea*>("scrollArea");
        QVERIFY(area);
        const QSize opening = w.openingSize();
        QVERIFY(opening.width() <= w.availableClientSize().width());
        QVERIFY(opening.height() <= w.availableClientSize().height());
        w.resize(opening);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize natural = area->widget()->size();
        w.resize(120, 80);
        QCoreApplication::processEvents();
        QVERIFY(area->widget()->height() >= area->widget()->minimumSizeHint().height());
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        QVERIFY(natural.height() >= area->widget()->minimumSizeHint().height());
    }

    // The air-gap window names the cladding it takes (the last layer) and warns when that
    // layer is thick or insulating.
    void airGapCladding()
    {
        test::AppFixture f;
        MainForm& m = f.main();
        auto& air = f.app->formAs<AirLayerForm>();
        air.loadForm();
        QVERIFY(air.text("lblCladding").contains(QStringLiteral("выполните «Расчет»")));
        m.userClick("cmdOk");
        QCOMPARE(air.text("lblCladding"),
                 QStringLiteral("Облицовка: слой №4 «Штукатурка ц-песчаная»; прослойка между слоями 3 и 4"));
        QVERIFY(air.text("lblCladdingWarning").isEmpty());  // 10 mm, λБ 0,93

        // without row 4 the insulation is last: 60 mm and λБ 0,042
        m.userCheck("chkIskl_4", true);
        QVERIFY(air.text("lblCladdingWarning").contains(QStringLiteral("изменены после расчета")));
        m.userClick("cmdOk");
        QCOMPARE(air.text("lblCladding"), QStringLiteral("Облицовка: слой №3 «Белтеп ПП100»; прослойка между слоями 2 и 3"));
        QCOMPARE(air.text("lblCladdingWarning"),
                 QStringLiteral("Последний слой не похож на облицовку (толщина 60 мм больше 50 мм, λ = 0,042 Вт/(м·°С) "
                                "меньше 0,2): расчет принимает облицовкой последний слой конструкции. Проверьте "
                                "порядок слоев."));

        // the edges: 50 mm and λ 0,2 still look like a cladding
        m.userCheck("chkIskl_4", false);
        m.userEdit(cell(4, 2), "50");
        m.userEdit(cell(4, 5), "0,2");
        m.userClick("cmdOk");
        QVERIFY(air.text("lblCladdingWarning").isEmpty());
        m.userEdit(cell(4, 2), "51");
        m.userClick("cmdOk");
        QVERIFY(air.text("lblCladdingWarning").startsWith(QStringLiteral("Последний слой не похож на облицовку (толщина 51")));
    }
};

QTEST_MAIN(TestMainStatus)
#include "test_main_status.moc"
