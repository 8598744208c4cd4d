// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts, text files and the form model mechanics.
#include "common/app_error.h"
#include "common/form_model.h"
#include "common/form_view.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <sys/stat.h>
#include <random>
#include <QTemporaryDir>
#include <QtTest>

using namespace ogrado;

namespace {

class RecordingPrompter : public Prompter {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon, MessageButtons) override
    {
        messages.append(title + u'|' + text);
        return MessageAnswer::Ok;
    }
    void beep() override { ++beeps; }
    QStringList messages;
    int beeps = 0;
};

// A window with a menu bar: an item with its key, a separator, a submenu of entries.
class MenuForm : public FormModel {
public:
    explicit MenuForm(Prompter& p) : FormModel(QStringLiteral("frmMenu"), p)
    {
        addMenuItem(QStringLiteral("mnuOpen"), QStringLiteral("Файл"), QStringLiteral("Открыть…"),
                    QStringLiteral("Ctrl+O"));
        addMenuItem(QStringLiteral("mnuSep"), QStringLiteral("Файл"), QStringLiteral("-"));
        addSubmenu(QStringLiteral("mnuRecent"), QStringLiteral("Файл"), QStringLiteral("Последние"));
        addMenuItem(QStringLiteral("mnuRun"), QStringLiteral("Расчет"), QStringLiteral("Пуск"), QStringLiteral("F9"));
        add(QStringLiteral("cmdGo"), ControlKind::Button, QStringLiteral("Пуск")).shortcut = QStringLiteral("F9");
        setToolTip(QStringLiteral("cmdGo"), QStringLiteral("Запустить (F9)"));
        on(QStringLiteral("mnuOpen"), FormEvent::Click, [this] { ++opened; });
        on(QStringLiteral("mnuRecent"), FormEvent::Click, [this] { chosen = currentItem(QStringLiteral("mnuRecent")); });
    }
    int opened = 0;
    QString chosen;
};

class MenuWindow : public FormWindow {
public:
    explicit MenuWindow(MenuForm& f) : FormWindow(f)
    {
        auto* v = new QVBoxLayout(this);
        v->addWidget(button(QStringLiteral("cmdGo"), QStringLiteral("Пуск")));
        bindControls();
    }
};

// Two fields and a button whose handler refuses with a message about the second field
// (and a name the window does not have), or about a field of another window.
class MarkForm : public FormModel {
public:
    explicit MarkForm(Prompter& p) : FormModel(QStringLiteral("frmMark"), p)
    {
        add(QStringLiteral("txtA"), ControlKind::TextBox, QStringLiteral("1"));
        add(QStringLiteral("txtB"), ControlKind::TextBox, QStringLiteral("x"));
        add(QStringLiteral("opt_1"), ControlKind::OptionButton).group = QStringLiteral("opt");
        add(QStringLiteral("opt_2"), ControlKind::OptionButton).group = QStringLiteral("opt");
        add(QStringLiteral("cmdOk"), ControlKind::Button);
        add(QStringLiteral("cmdOther"), ControlKind::Button);
        add(QStringLiteral("cmdOpt"), ControlKind::Button);
        on(QStringLiteral("cmdOk"), FormEvent::Click, [] {
            throw AppError(QStringLiteral("Поле B: «x» не является числом. Введите число."),
                           FieldRef{{}, {QStringLiteral("txtB"), QStringLiteral("txtNone"), QStringLiteral("txtA")}});
        });
        on(QStringLiteral("cmdOther"), FormEvent::Click, [] {
            throw AppError(QStringLiteral("Другое окно."), fieldOf(QStringLiteral("frm1"), QStringLiteral("txtTv")));
        });
        on(QStringLiteral("cmdOpt"), FormEvent::Click,
           [] { throw AppError(QStringLiteral("Отметка."), fieldOf(QStringLiteral("frmMark"), QStringLiteral("opt_2"))); });
    }
};

class MarkWindow : public FormWindow {
public:
    explicit MarkWindow(MarkForm& f) : FormWindow(f)
    {
        auto* v = new QVBoxLayout(this);
        v->addWidget(lineEdit(QStringLiteral("txtA")));
        v->addWidget(lineEdit(QStringLiteral("txtB")));
        v->addWidget(button(QStringLiteral("cmdOk"), QStringLiteral("ОК")));
        bindControls();
    }
};


// One control of every kind the views show, each with its event recorded.
class KindsForm : public FormModel {
public:
    explicit KindsForm(Prompter& p) : FormModel(QStringLiteral("frmKinds"), p)
    {
        add(QStringLiteral("txtA"), ControlKind::TextBox);
        add(QStringLiteral("txtMemo"), ControlKind::TextBox);
        add(QStringLiteral("cboA"), ControlKind::ComboBox);
        add(QStringLiteral("tblA"), ControlKind::Table);
        add(QStringLiteral("lstA"), ControlKind::ListBox);
        add(QStringLiteral("opt_1"), ControlKind::OptionButton).group = QStringLiteral("opt");
        add(QStringLiteral("opt_2"), ControlKind::OptionButton).group = QStringLiteral("opt");
        add(QStringLiteral("chkA"), ControlKind::CheckBox);
        add(QStringLiteral("cmdA"), ControlKind::Button);
        add(QStringLiteral("lblA"), ControlKind::Label);
        for (const Control& c : controls()) {
            const QString name = c.name;
            for (FormEvent e : {FormEvent::Click, FormEvent::DblClick, FormEvent::Change, FormEvent::Sort})
                on(name, e, [this, name, e] { events.append(name + u':' + QString::number(int(e))); });
        }
    }
    QStringList events;
};

class KindsWindow : public FormWindow {
public:
    explicit KindsWindow(KindsForm& f) : FormWindow(f)
    {
        auto* v = new QVBoxLayout(this);
        v->addWidget(lineEdit(QStringLiteral("txtA")));
        auto* memo = new QPlainTextEdit(this);
        memo->setObjectName(QStringLiteral("txtMemo"));
        v->addWidget(memo);
        v->addWidget(comboBox(QStringLiteral("cboA"), true));
        v->addWidget(table(QStringLiteral("tblA")));
        v->addWidget(listBox(QStringLiteral("lstA")));
        v->addWidget(optionButton(QStringLiteral("opt_1"), QStringLiteral("Один")));
        v->addWidget(optionButton(QStringLiteral("opt_2"), QStringLiteral("Два")));
        v->addWidget(checkBox(QStringLiteral("chkA"), QStringLiteral("Флажок")));
        v->addWidget(button(QStringLiteral("cmdA"), QStringLiteral("Кнопка")));
        v->addWidget(label(QStringLiteral("lblA")));
        bindControls();
    }
    template <typename W>
    W* widget(const char* name) const
    {
        return findChild<W*>(QLatin1String(name));
    }
};

}  // namespace

class TestCommon : public QObject {
    Q_OBJECT
private slots:
    void parsesCommaPointAndBlanks()
    {
        QCOMPARE(*parseNumber(QStringLiteral("0,5")), 0.5);
        QCOMPARE(*parseNumber(QStringLiteral(" 0.5 ")), 0.5);
        QCOMPARE(*parseNumber(QStringLiteral("-24")), -24.0);
        QCOMPARE(*parseNumber(QStringLiteral(",5")), 0.5);
        QCOMPARE(*parseNumber(QStringLiteral("1E-05")), 0.00001);
        for (const char* bad : {"", " ", "-", ",", "1,2,3", "abc", "1 000", "12a", "--1", "1e"})
            QVERIFY2(!parseNumber(QString::fromLatin1(bad)), bad);
    }

    void formatsByPattern_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two decimals") << 3.18349 << "0.00" << "3,18";
        QTest::newRow("half away from zero") << 2.675 << "0.00" << "2,68";
        QTest::newRow("negative half") << -2.675 << "0.00" << "-2,68";
        QTest::newRow("carry") << 9.9996 << "0.000" << "10,000";
        QTest::newRow("optional decimals dropped") << 0.0625 << "0.0##" << "0,063";
        QTest::newRow("optional decimals trailing zeros") << 0.02 << "0.0##" << "0,02";
        QTest::newRow("min one decimal") << 5.0 << "0.0##" << "5,0";
        QTest::newRow("#.0 below one") << 0.5 << "#.0" << ",5";
        QTest::newRow("# of zero") << 0.0 << "#" << "";
        QTest::newRow("# rounds") << 32.5 << "#" << "33";
        QTest::newRow("0 of zero") << 0.4 << "0" << "0";
        QTest::newRow("#.0# keeps two") << 12.345 << "#.0#" << "12,35";
        QTest::newRow("negative rounding to zero has no sign") << -0.001 << "0.00" << "0,00";
        QTest::newRow("tiny value") << 0.0005 << "0.000" << "0,001";
        QTest::newRow("0.0####") << -15.0 << "0.0####" << "-15,0";
        QTest::newRow("large") << 123456.789 << "0.0" << "123456,8";
    }
    void formatsByPattern()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value, pattern.toStdString()), expected);
    }

    void singlePrecisionUsesSevenDigits()
    {
        // 0.15f is 0.150000006; 12.345f is 12.3450003 and rounds up on its 7 digits
        QCOMPARE(formatSingle(12.345f, "0.00"), QStringLiteral("12,35"));
        QCOMPARE(generalTextSingle(0.15f), QStringLiteral("0,15"));
    }

    void quickFormattingAgreesWithTheDecimalConversion()
    {
        // random magnitudes and exact half-way decimals such as 2,675 or 0,0625
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> mantissa(-1, 1);
        std::uniform_int_distribution<int> exponent(-6, 7);
        const char* patterns[] = {"0.00", "0.000", "0.0", "0.0#", "0.0##", "0.0###", "0.0####", "#.0#", "#.0", "#", "0"};
        for (int i = 0; i < 40000; ++i) {
            double v = mantissa(rng) * std::pow(10.0, exponent(rng));
            if (i % 3 == 0)
                v = std::round(v * 1000) / 1000 + (i % 2 ? 0.0005 : 0.005);
            for (const char* p : patterns) {
                QCOMPARE(formatNumber(v, p), formatNumberExact(v, p, 15));
                QCOMPARE(formatSingle(float(v), p), formatNumberExact(double(float(v)), p, 7));
            }
        }
    }

    void generalForm()
    {
        QCOMPARE(generalText(20 * 0.001), QStringLiteral("0,02"));
        QCOMPARE(generalText(60 * 0.001), QStringLiteral("0,06"));
        QCOMPARE(generalText(1.2932), QStringLiteral("1,2932"));
        QCOMPARE(generalText(0.00001), QStringLiteral("1E-05"));
        QCOMPARE(generalText(-24), QStringLiteral("-24"));
        QCOMPARE(generalText(1.0 / 3), QStringLiteral("0,333333333333333"));
        QCOMPARE(generalText(0), QStringLiteral("0"));
    }

    // A value that is not a finite number never becomes a digit string; an absurd
    // magnitude is written in the general form instead of hundreds of digits.
    void nonFiniteValuesAreRefusedAndHugeOnesWrittenShort()
    {
        const double bad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL};
        for (double v : bad) {
            QVERIFY_THROWS_EXCEPTION(AppError, formatNumber(v, "0.00"));
            QVERIFY_THROWS_EXCEPTION(AppError, formatSingle(float(v), "0.0"));
            QVERIFY_THROWS_EXCEPTION(AppError, formatNumberExact(v, "0.0", 15));
            QVERIFY_THROWS_EXCEPTION(AppError, generalText(v));
        }
        QCOMPARE(formatNumber(2.5e307, "0.000"), QStringLiteral("2,5E+307"));
        QCOMPARE(formatNumber(-1e15, "0.00"), QStringLiteral("-1E+15"));
        QCOMPARE(formatSingle(3e38f, "0.0"), QStringLiteral("3E+38"));
        QCOMPARE(formatNumber(999999999999999.0, "0"), QStringLiteral("999999999999999"));
        QCOMPARE(shortNumberText(1e308), QStringLiteral("1E+308"));
        QCOMPARE(shortNumberText(-4.567), QStringLiteral("-4,57"));
        QCOMPARE(requireFinite(2.0, QStringLiteral("Rт")), 2.0);
        EXPECT_APP_ERROR(requireFinite(std::nan(""), QStringLiteral("Сопротивление теплопередаче Rт")), "no error",
                         [&](const AppError& e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Сопротивление теплопередаче Rт не определяется")));
        });
        // beyond single precision is not finite for a value kept as float
        QVERIFY_THROWS_EXCEPTION(AppError, requireFiniteSingle(1e39, QStringLiteral("t")));
        QCOMPARE(requireFiniteSingle(-1.5, QStringLiteral("t")), -1.5f);
    }

    // Only the digits 0 to 9 pass a numeric field; other scripts' digits are refused.
    void numericKeysAreAsciiDigits()
    {
        const KeyFilter f = numericKeyFilter();
        QCOMPARE(*f(u'7'), QChar(u'7'));
        for (char16_t c : {u'\u0663', u'\uFF15', u'\u00B2', u'\u0967'})
            QVERIFY(!f(QChar(c)));
    }

    // Every line is checked before anything is written: the old file stays.
    void unencodableTextIsRefusedWithItsLine()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("r.doc");
        writeTextLines(out, {QStringLiteral("старый")});
        EXPECT_APP_ERROR(writeTextLines(out, {QStringLiteral("Слой"), QStringLiteral("1;Кирпич λ≤0,7;120")}),
                         "no error", [&](const AppError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("«λ»")) && e.message().contains(QStringLiteral("строке 2")),
                     qPrintable(e.message()));
        });
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), encodeCp1251(QStringLiteral("старый\r\n")));
    }

    // A directory or a FIFO is not replaced by a file.
    void onlyRegularFilesAreWritten()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        for (const QString& target : {fifo, dir.filePath("sub")}) {
            EXPECT_APP_ERROR(writeTextLines(target, {QStringLiteral("x")}), "no error", [&](const AppError& e) {
                QVERIFY2(e.message().contains(target), qPrintable(e.message()));
            });
        }
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QVERIFY(QFileInfo(dir.filePath("sub")).isDir());
    }

    void readsBothEncodingsAndWritesCp1251()
    {
        QTemporaryDir dir;
        const QString cp = dir.filePath("cp.txt");
        QFile f(cp);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(encodeCp1251(QStringLiteral("Минская; 1\r\nВторая")));
        f.close();
        QCOMPARE(readTextLines(cp), (QStringList{QStringLiteral("Минская; 1"), QStringLiteral("Вторая")}));

        const QString utf = dir.filePath("utf.txt");
        QFile u(utf);
        QVERIFY(u.open(QIODevice::WriteOnly));
        u.write(QStringLiteral("Минская\nБрестская\n").toUtf8());
        u.close();
        QCOMPARE(readTextLines(utf), (QStringList{QStringLiteral("Минская"), QStringLiteral("Брестская")}));

        // marked as UTF-8 but holding Windows-1251 bytes: refused, not read as «���»
        const QString marked = dir.filePath("marked.txt");
        QFile m(marked);
        QVERIFY(m.open(QIODevice::WriteOnly));
        m.write(QByteArray("\xEF\xBB\xBF") + encodeCp1251(QStringLiteral("Минская")));
        m.close();
        EXPECT_APP_ERROR(readTextLines(marked), "a file marked as UTF-8 with other bytes was read",
                         [&](const AppError& e) {
            QVERIFY2(e.message().contains(marked) && e.message().contains(QStringLiteral("UTF-8")),
                     qPrintable(e.message()));
        });

        const QString out = dir.filePath("out.txt");
        writeTextLines(out, {QStringLiteral("Rт=3,18"), QString()});
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(o.readAll(), QByteArray("R\xF2=3,18\r\n\r\n"));
    }

    void writeFailureNamesThePathAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("нет/файл.doc");
        EXPECT_APP_ERROR(writeTextLines(missing, {QStringLiteral("x")}), "no error", [&](const AppError& e) {
            QVERIFY(e.message().contains(missing));
        });
    }

    void formModelEvents()
    {
        RecordingPrompter p;
        struct Form : FormModel {
            explicit Form(Prompter& p) : FormModel(QStringLiteral("frmTest"), p)
            {
                add(QStringLiteral("txt"), ControlKind::TextBox);
                add(QStringLiteral("opt_1"), ControlKind::OptionButton).group = QStringLiteral("opt");
                add(QStringLiteral("opt_2"), ControlKind::OptionButton).group = QStringLiteral("opt");
                add(QStringLiteral("cmd"), ControlKind::Button);
                setKeyFilter(QStringLiteral("txt"), numericKeyFilter());
                on(QStringLiteral("cmd"), FormEvent::Click, [] { throw AppError(QStringLiteral("Плохо")); });
            }
        } form(p);
        QCOMPARE(*form.userKey(QStringLiteral("txt"), u'.'), QChar(u','));
        QVERIFY(!form.userKey(QStringLiteral("txt"), u'a'));
        QCOMPARE(p.beeps, 1);
        form.userCheck(QStringLiteral("opt_1"), true);
        form.userCheck(QStringLiteral("opt_2"), true);
        QVERIFY(!form.isChecked(QStringLiteral("opt_1")));
        // an error in a handler becomes a message, not a crash
        form.userClick(QStringLiteral("cmd"));
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ошибка|Плохо")});
    }

    // An error about inputs marks those the window has, the first taking the focus; a
    // change of the value takes the mark away; an error about another window's input
    // leaves this window unmarked and says which; a choice in an option group clears
    // the marks of the whole group.
    void errorsMarkTheirFields()
    {
        RecordingPrompter p;
        MarkForm f(p);
        f.loadForm();
        QVector<FieldRef> elsewhere;
        QObject::connect(&f, &FormModel::fieldsNamed, [&](const FieldRef& r) { elsewhere.append(r); });
        f.userClick(QStringLiteral("cmdOk"));
        QCOMPARE(p.messages, QStringList{QStringLiteral("Ошибка|Поле B: «x» не является числом. Введите число.")});
        QCOMPARE(f.markedControls(), (QStringList{"txtA", "txtB"}));  // in the window's order
        QCOMPARE(f.focusRequest(), QStringLiteral("txtB"));
        const int serial = f.focusSerial();
        f.setText(QStringLiteral("txtA"), QStringLiteral("1"));  // the same value: no edit
        QVERIFY(f.isMarked(QStringLiteral("txtA")));
        f.userEdit(QStringLiteral("txtB"), QStringLiteral("2"));
        QCOMPARE(f.markedControls(), QStringList{"txtA"});
        QVERIFY(elsewhere.isEmpty());

        f.userClick(QStringLiteral("cmdOther"));
        QVERIFY(f.markedControls().isEmpty());
        QCOMPARE(f.focusSerial(), serial);
        QCOMPARE(elsewhere.size(), 1);
        QCOMPARE(elsewhere[0].form, QStringLiteral("frm1"));
        QCOMPARE(elsewhere[0].controls, QStringList{"txtTv"});

        f.userClick(QStringLiteral("cmdOpt"));
        QCOMPARE(f.markedControls(), QStringList{"opt_2"});
        f.userCheck(QStringLiteral("opt_1"), true);
        QVERIFY(f.markedControls().isEmpty());
    }

    // The view draws a red frame around a marked field and gives it the focus with its
    // text selected; the frame goes with the mark and the field's own style comes back.
    void aMarkedFieldHasARedFrameAndTheFocus()
    {
        RecordingPrompter p;
        MarkForm f(p);
        f.loadForm();
        MarkWindow w(f);
        auto* a = w.findChild<QLineEdit*>(QStringLiteral("txtA"));
        auto* b = w.findChild<QLineEdit*>(QStringLiteral("txtB"));
        a->setStyleSheet(QStringLiteral("font-weight: bold;"));
        w.show();
        f.setBackground(QStringLiteral("txtB"), kHighlight);
        f.userClick(QStringLiteral("cmdOk"));
        QVERIFY(b->styleSheet().contains(QStringLiteral("border: 2px solid rgb(255, 0, 0)")));
        // the frame keeps the colour the model gives the field
        QVERIFY2(b->styleSheet().contains(QStringLiteral("background-color: #00ffff")), qPrintable(b->styleSheet()));
        QVERIFY(a->styleSheet().contains(QStringLiteral("font-weight: bold;")) &&
                a->styleSheet().contains(QStringLiteral("rgb(255, 0, 0)")));
        QCOMPARE(w.focusWidget(), b);
        QCOMPARE(b->selectedText(), QStringLiteral("x"));
        f.userEdit(QStringLiteral("txtB"), QStringLiteral("2"));
        QVERIFY(b->styleSheet().isEmpty());
        f.userEdit(QStringLiteral("txtA"), QStringLiteral("3"));
        QCOMPARE(a->styleSheet(), QStringLiteral("font-weight: bold;"));
    }

    // Each kind of widget shows what the model holds for it.
    void everyKindOfWidgetShowsTheModel()
    {
        RecordingPrompter p;
        KindsForm f(p);
        f.loadForm();
        KindsWindow w(f);
        f.setText(QStringLiteral("txtA"), QStringLiteral("12,5"));
        f.setBackground(QStringLiteral("txtA"), kHighlight);
        f.setEnabled(QStringLiteral("txtMemo"), false);
        f.setText(QStringLiteral("txtMemo"), QStringLiteral("строка 1\nстрока 2"));
        f.setItems(QStringLiteral("cboA"), {QStringLiteral("x"), QStringLiteral("yy"), QStringLiteral("z")});
        f.setCurrentIndex(QStringLiteral("cboA"), 1);
        f.setText(QStringLiteral("cboA"), QStringLiteral("yy"));
        f.setColumns(QStringLiteral("tblA"), {QStringLiteral("A"), QStringLiteral("B")});
        f.setRows(QStringLiteral("tblA"), {{QStringLiteral("a1"), QStringLiteral("b1")}, {QStringLiteral("a2")}});
        f.setSortOrder(QStringLiteral("tblA"), 1, true);
        f.setItems(QStringLiteral("lstA"), {QStringLiteral("p"), QStringLiteral("q")});
        f.setItemBackground(QStringLiteral("lstA"), 0, kHighlight);
        f.setCurrentIndex(QStringLiteral("lstA"), 1);
        f.setChecked(QStringLiteral("opt_2"), true);
        f.setChecked(QStringLiteral("chkA"), true);
        f.setVisible(QStringLiteral("cmdA"), false);
        f.setText(QStringLiteral("lblA"), QStringLiteral("Подпись"));
        f.setBackground(QStringLiteral("lblA"), kHighlight);
        f.notifyChanged();

        auto* edit = w.widget<QLineEdit>("txtA");
        QCOMPARE(edit->text(), QStringLiteral("12,5"));
        QCOMPARE(edit->palette().color(QPalette::Base), QColor::fromRgba(kHighlight));
        auto* memo = w.widget<QPlainTextEdit>("txtMemo");
        QCOMPARE(memo->toPlainText(), QStringLiteral("строка 1\nстрока 2"));
        QVERIFY(!memo->isEnabled());
        auto* combo = w.widget<QComboBox>("cboA");
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(combo->currentText(), QStringLiteral("yy"));
        auto* grid = w.widget<QTableWidget>("tblA");
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("b1"));
        QCOMPARE(grid->item(1, 1)->text(), QString());  // a short row leaves its cells empty
        QCOMPARE(grid->horizontalHeader()->sortIndicatorSection(), 1);
        QCOMPARE(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        auto* list = w.widget<QListWidget>("lstA");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(list->item(0)->background().color(), QColor::fromRgba(kHighlight));
        QCOMPARE(list->item(1)->background().style(), Qt::NoBrush);
        QVERIFY(!w.widget<QRadioButton>("opt_1")->isChecked());
        QVERIFY(w.widget<QRadioButton>("opt_2")->isChecked());
        QVERIFY(w.widget<QCheckBox>("chkA")->isChecked());
        QVERIFY(w.widget<QPushButton>("cmdA")->isHidden());
        auto* caption = w.widget<QLabel>("lblA");
        QCOMPARE(caption->text(), QStringLiteral("Подпись"));
        QVERIFY(caption->autoFillBackground());
        QCOMPARE(caption->palette().color(QPalette::Window), QColor::fromRgba(kHighlight));
        f.setBackground(QStringLiteral("lblA"), kWhite);  // white: the label is not filled
        f.notifyChanged();
        QVERIFY(!caption->autoFillBackground());
    }

    // What the user does in each kind of widget reaches the model as its event, and
    // nothing the model itself shows comes back as a user's action.
    void everyKindOfWidgetForwardsTheUser()
    {
        RecordingPrompter p;
        KindsForm f(p);
        f.loadForm();
        f.setItems(QStringLiteral("cboA"), {QStringLiteral("x"), QStringLiteral("y")});
        f.setColumns(QStringLiteral("tblA"), {QStringLiteral("A"), QStringLiteral("B")});
        f.setRows(QStringLiteral("tblA"), {{QStringLiteral("a1")}, {QStringLiteral("a2")}});
        f.setItems(QStringLiteral("lstA"), {QStringLiteral("p"), QStringLiteral("q")});
        f.setText(QStringLiteral("txtMemo"), QStringLiteral("из модели"));
        KindsWindow w(f);
        w.show();
        QVERIFY(f.events.isEmpty());
        const QString change = QString::number(int(FormEvent::Change));
        const QString click = QString::number(int(FormEvent::Click));
        const QString dblClick = QString::number(int(FormEvent::DblClick));

        QTest::keyClicks(w.widget<QLineEdit>("txtA"), QStringLiteral("7"));
        QCOMPARE(f.text(QStringLiteral("txtA")), QStringLiteral("7"));
        w.widget<QPlainTextEdit>("txtMemo")->setPlainText(QStringLiteral("заметка"));
        QCOMPARE(f.text(QStringLiteral("txtMemo")), QStringLiteral("заметка"));
        QTest::keyClicks(w.widget<QComboBox>("cboA")->lineEdit(), QStringLiteral("y"));
        QCOMPARE(f.text(QStringLiteral("cboA")), QStringLiteral("y"));
        emit w.widget<QComboBox>("cboA")->activated(1);
        QCOMPARE(f.currentIndex(QStringLiteral("cboA")), 1);
        QCOMPARE(f.events, (QStringList{"txtA:" + change, "txtMemo:" + change, "cboA:" + change, "cboA:" + click}));

        f.events.clear();
        auto* grid = w.widget<QTableWidget>("tblA");
        grid->setCurrentCell(1, 0);
        QCOMPARE(f.currentIndex(QStringLiteral("tblA")), 1);
        emit grid->cellDoubleClicked(0, 0);
        QCOMPARE(f.currentIndex(QStringLiteral("tblA")), 0);
        emit grid->horizontalHeader()->sectionClicked(1);
        QCOMPARE(f.control(QStringLiteral("tblA")).sortColumn, 1);
        auto* list = w.widget<QListWidget>("lstA");
        list->setCurrentRow(1);
        QCOMPARE(f.currentIndex(QStringLiteral("lstA")), 1);
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(f.currentIndex(QStringLiteral("lstA")), 0);
        QCOMPARE(f.events, (QStringList{"tblA:" + click, "tblA:" + click, "tblA:" + dblClick,
                                        "tblA:" + QString::number(int(FormEvent::Sort)), "lstA:" + click,
                                        "lstA:" + click, "lstA:" + dblClick}));

        f.events.clear();
        w.widget<QRadioButton>("opt_2")->click();
        w.widget<QRadioButton>("opt_1")->click();
        // the model keeps one option of the group; the view shows it
        QVERIFY(f.isChecked(QStringLiteral("opt_1")) && !f.isChecked(QStringLiteral("opt_2")));
        QVERIFY(!w.widget<QRadioButton>("opt_2")->isChecked());
        f.setChecked(QStringLiteral("opt_1"), false);  // no option chosen: none shows chosen
        f.notifyChanged();
        QVERIFY(!w.widget<QRadioButton>("opt_1")->isChecked());
        w.widget<QCheckBox>("chkA")->click();
        QVERIFY(f.isChecked(QStringLiteral("chkA")));
        w.widget<QPushButton>("cmdA")->click();
        QVERIFY(!w.widget<QPushButton>("cmdA")->autoDefault());
        QCOMPARE(f.events, (QStringList{"opt_2:" + click, "opt_1:" + click, "chkA:" + click, "cmdA:" + click}));
    }

    // Menu items are controls like the others: the view builds the menu bar from them,
    // a triggered item or submenu entry reaches the model, and the model's state shows.
    // The message box's default button (Enter) is «Да» for a plain question and «Нет»
    // where going on may not be what the user meant.
    void questionDefaultButton()
    {
        WidgetPrompter p;
        for (const MessageButtons buttons : {MessageButtons::YesNo, MessageButtons::YesNoDefaultNo}) {
            QString defaultText;
            QTimer::singleShot(0, [&defaultText] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QVERIFY(box->defaultButton());
                defaultText = box->defaultButton()->text();
                QTest::keyClick(box, Qt::Key_Return);
            });
            const MessageAnswer answer = p.message(QStringLiteral("Продолжить?"), QStringLiteral("Внимание!"),
                                                   MessageIcon::Question, buttons);
            const bool yes = buttons == MessageButtons::YesNo;
            QCOMPARE(defaultText, yes ? QStringLiteral("Да") : QStringLiteral("Нет"));
            QCOMPARE(answer, yes ? MessageAnswer::Yes : MessageAnswer::No);
        }
    }

    void menuBarMirrorsTheModel()
    {
        RecordingPrompter p;
        MenuForm f(p);
        f.loadForm();
        MenuWindow w(f);
        auto* bar = w.findChild<QMenuBar*>();
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 2);
        QCOMPARE(bar->actions()[0]->text(), QStringLiteral("Файл"));
        auto* open = w.findChild<QAction*>(QStringLiteral("mnuOpen"));
        QVERIFY(open);
        QCOMPARE(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        open->trigger();
        QCOMPARE(f.opened, 1);
        f.setEnabled(QStringLiteral("mnuOpen"), false);
        f.notifyChanged();
        QVERIFY(!open->isEnabled());

        auto* recent = w.findChild<QMenu*>(QStringLiteral("mnuRecent"));
        QVERIFY(recent);
        QVERIFY(!recent->isEnabled());  // no entries yet
        f.setItems(QStringLiteral("mnuRecent"), {QStringLiteral("a.isx"), QStringLiteral("b.isx")});
        f.notifyChanged();
        QCOMPARE(recent->actions().size(), 2);
        recent->actions()[1]->trigger();
        QCOMPARE(f.chosen, QStringLiteral("b.isx"));

        auto* go = w.findChild<QPushButton*>(QStringLiteral("cmdGo"));
        QCOMPARE(go->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(go->toolTip(), QStringLiteral("Запустить (F9)"));
    }
};

QTEST_MAIN(TestCommon)
#include "test_common.moc"
