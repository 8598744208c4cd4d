// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/main_form.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "common/version.h"
#include "dialogs/save_dialog.h"
#include "refdata/material_catalogue.h"
#include "refdata/ref_reader.h"

#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

namespace ogrado {

namespace {

const QStringList kExampleWall[4] = {
    {QStringLiteral("Штукатурка изв.-песч"), QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("0"),
     QStringLiteral("0,7"), QStringLiteral("0,81"), QStringLiteral("8,69"), QStringLiteral("9,76"),
     QStringLiteral("0,12")},
    {QStringLiteral("Газосиликат D=500"), QStringLiteral("2"), QStringLiteral("250"), QStringLiteral("3"),
     QStringLiteral("0,15"), QStringLiteral("0,16"), QStringLiteral("2,38"), QStringLiteral("2,48"),
     QStringLiteral("0,2")},
    {QStringLiteral("Белтеп ПП100"), QStringLiteral("3"), QStringLiteral("60"), QStringLiteral("3"),
     QStringLiteral("0,041"), QStringLiteral("0,042"), QStringLiteral("0,58"), QStringLiteral("0,65"),
     QStringLiteral("0,48")},
    {QStringLiteral("Штукатурка ц-песчаная"), QStringLiteral("4"), QStringLiteral("10"), QStringLiteral("0"),
     QStringLiteral("0,76"), QStringLiteral("0,93"), QStringLiteral("9,6"), QStringLiteral("11,09"),
     QStringLiteral("0,09")},
};

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

}  // namespace

QString MainForm::cellName(int row, int column)
{
    return QStringLiteral("txt1_%1").arg((row - 1) * 9 + column);
}

QString MainForm::windowCaption()
{
    return QStringLiteral("Теплотехнические расчеты по ТКП 45-2.04-43-2006 (Беларусь). Версия  %1.%2")
        .arg(OGRADO_VERSION_MAJOR)
        .arg(OGRADO_VERSION_MINOR);
}

MainForm::MainForm(AppContext& ctx, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), picker_(*this, ctx.tables.materials)
{
    setSizeTwips(15660, 11930);
    // the controls in the window's order: a source-data file keeps its keys in it
    addHeaderInputs();
    addLayerGrid();
    addResults();
    addButtons();
    addConstructionBar();
    addMenus();
    watchInputs();
    addKeysAndTips();
    onHeaderInputs();
    onGridAndMaterials();
    onButtons();
    onConstructionBar();
    connect(this, &FormModel::changed, this, &MainForm::updateModified);
}

void MainForm::addHeaderInputs()
{
    const KeyFilter numeric = numericKeyFilter();
    add(QStringLiteral("cboTipZd"), ControlKind::ComboBox);
    add(QStringLiteral("lblTipZd"), ControlKind::Label);
    add(QStringLiteral("txtTv"), ControlKind::TextBox, QStringLiteral("18"));
    add(QStringLiteral("txtFiv"), ControlKind::TextBox, QStringLiteral("55"));
    add(QStringLiteral("cboObl"), ControlKind::ComboBox);
    addArray("txtTn", 1, 4, ControlKind::TextBox);
    addArray("txtTot", 1, 4, ControlKind::TextBox);
    add(QStringLiteral("cboGorod"), ControlKind::ComboBox).enabled = false;
    add(QStringLiteral("cboN"), ControlKind::ComboBox);
    add(QStringLiteral("txtN"), ControlKind::TextBox, QStringLiteral("1"));
    add(QStringLiteral("lblN"), ControlKind::Label);
    add(QStringLiteral("cboAlv"), ControlKind::ComboBox);
    add(QStringLiteral("txtAlv"), ControlKind::TextBox, QStringLiteral("8,7"));
    add(QStringLiteral("lblAlv"), ControlKind::Label);
    add(QStringLiteral("cboAln"), ControlKind::ComboBox);
    add(QStringLiteral("txtAln"), ControlKind::TextBox, QStringLiteral("23"));
    add(QStringLiteral("lblAln"), ControlKind::Label);
    addArray("cboTp", 0, 1, ControlKind::ComboBox);
    add(QStringLiteral("txtTp"), ControlKind::TextBox, QStringLiteral("6"));
    add(QStringLiteral("lblTp"), ControlKind::Label);
    // Rт.норм of table 5.1: typed, or the row chosen in its list; empty: not checked
    add(QStringLiteral("txtRtNorm"), ControlKind::TextBox);
    add(QStringLiteral("cboRtNorm"), ControlKind::ComboBox);

    for (const char* name : {"txtTv", "txtFiv", "txtN", "txtAlv", "txtAln", "txtTp", "txtRtNorm"})
        setKeyFilter(QLatin1String(name), numeric);
    for (int k = 1; k <= 4; ++k) {
        setKeyFilter(item("txtTn", k), numeric);
        setKeyFilter(item("txtTot", k), numeric);
        setSelectAllOnClick(item("txtTn", k));
        setSelectAllOnClick(item("txtTot", k));
    }
    setSelectAllOnClick(QStringLiteral("txtTv"));
    setSelectAllOnClick(QStringLiteral("txtFiv"));
    setSelectAllOnClick(QStringLiteral("txtRtNorm"));
}

void MainForm::addLayerGrid()
{
    const KeyFilter numeric = numericKeyFilter();
    for (int r = 1; r <= LayerGridRows; ++r) {
        for (int c = 0; c <= 8; ++c) {
            QString t;
            if (c == 1)
                t = QString::number(r);
            else if (r <= 4)
                t = kExampleWall[r - 1][c];
            add(cellName(r, c), ControlKind::TextBox, t);
            // names go into the Windows-1251 results file and library: nothing else enters
            setKeyFilter(cellName(r, c), c > 0 ? numeric : cp1251KeyFilter(), c == 0);
        }
    }
    addArray("chkIskl", 1, LayerGridRows, ControlKind::CheckBox);
    for (int k = 2; k <= 7; ++k)
        add(item("optVlaga", k), ControlKind::OptionButton).group = QStringLiteral("optVlaga");
    add(QStringLiteral("chkVlaga"), ControlKind::CheckBox);
    add(QStringLiteral("chkPr"), ControlKind::CheckBox);
    add(QStringLiteral("lblHint"), ControlKind::Label).foreground = kRed;
    hintTimer_ = new QTimer(this);
    hintTimer_->setObjectName(QStringLiteral("hintTimer"));
    hintTimer_->setSingleShot(true);
    hintTimer_->setInterval(kHintMs);
    connect(hintTimer_, &QTimer::timeout, this, [this] {
        setText(QStringLiteral("lblHint"), QString());
        notifyChanged();
    });
    // the material picker beside the grid
    add(QStringLiteral("cboM"), ControlKind::ComboBox);
    add(QStringLiteral("lblM"), ControlKind::Label);
    add(QStringLiteral("txtM"), ControlKind::TextBox);
    add(QStringLiteral("lstM"), ControlKind::ListBox);
}

void MainForm::addResults()
{
    for (const char* name : {"txtRt", "txtRp", "txtD", "txtTnras", "txtRtr"})
        add(QLatin1String(name), ControlKind::TextBox).readOnly = true;
    add(QStringLiteral("lblQot"), ControlKind::Label);  // the heat loss over the heating period
    for (int k = 1; k <= LayerGridRows; ++k)
        add(item("txtFiSl", k), ControlKind::TextBox).readOnly = true;
    for (const char* name : {"txtT", "txtPm", "txtPr", "txtRptr", "txtRpv"})
        for (int k = 1; k <= 7; ++k)
            add(item(name, k), ControlKind::TextBox).readOnly = true;
    add(QStringLiteral("lblRezList"), ControlKind::Label);
    for (int k = 1; k <= 5; ++k)
        add(item("lstRez", k), ControlKind::ListBox).heightTwips = 2220;
    addVerdict();
}

void MainForm::addButtons()
{
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("Расчет"));
    add(QStringLiteral("cmdPR"), ControlKind::Button, QStringLiteral("Пересчитать"));
    add(QStringLiteral("cmdSave"), ControlKind::Button, QStringLiteral("Сохранить"));
    add(QStringLiteral("cmdOp"), ControlKind::Button, QStringLiteral("Загрузить пирожок"));
    add(QStringLiteral("cmdSp"), ControlKind::Button, QStringLiteral("Сохранить пирожок"));
    add(QStringLiteral("cmdTr"), ControlKind::Button, QStringLiteral("Точка росы"));
    add(QStringLiteral("cmdVariant"), ControlKind::Button, QStringLiteral("Варианты"));
    add(QStringLiteral("cmdVpr"), ControlKind::Button, QStringLiteral("Расчет вентилиру- емой прослойки")).enabled = false;
    add(QStringLiteral("cmdMaterial"), ControlKind::Button, QStringLiteral("Материалы"));
    add(QStringLiteral("Комманда1"), ControlKind::Button, QStringLiteral("Очистить поля"));
    add(QStringLiteral("cmdAbout"), ControlKind::Button, QStringLiteral("О программе"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));
    add(QStringLiteral("lblStatus"), ControlKind::Label);
}

void MainForm::onHeaderInputs()
{
    on(QStringLiteral("cboTipZd"), FormEvent::Click, [this] {
        const int i = currentIndex(QStringLiteral("cboTipZd"));
        setText(QStringLiteral("lblTipZd"), currentItem(QStringLiteral("cboTipZd")));
        if (i >= 0 && i < ctx_.tables.buildingTypes.size()) {
            setText(QStringLiteral("txtTv"), ctx_.tables.buildingTypes[i].tIn);
            setText(QStringLiteral("txtFiv"), ctx_.tables.buildingTypes[i].phiIn);
        }
        climateFill();
    });
    on(QStringLiteral("cboTipZd"), FormEvent::Change,
       [this] { setText(QStringLiteral("lblTipZd"), text(QStringLiteral("cboTipZd"))); });
    on(QStringLiteral("cboObl"), FormEvent::Click, [this] {
        climateFill();
        followRegionWithCity();
    });
    // a city chosen (in the window or by a file) stays whatever region comes next
    on(QStringLiteral("cboGorod"), FormEvent::Click, [this] { cityFollowsRegion_ = false; });
    struct Coefficient {
        const char* combo;
        const char* field;
        const char* label;
        const QVector<NamedValue>* table;
    };
    for (const Coefficient& c : {Coefficient{"cboN", "txtN", "lblN", &ctx_.tables.coefficientN},
                                 Coefficient{"cboAlv", "txtAlv", "lblAlv", &ctx_.tables.innerCoefficients},
                                 Coefficient{"cboAln", "txtAln", "lblAln", &ctx_.tables.outerCoefficients}}) {
        on(QLatin1String(c.combo), FormEvent::Click, [this, c] {
            const QString combo = QLatin1String(c.combo);
            const int i = currentIndex(combo);
            setText(QLatin1String(c.label), currentItem(combo));
            if (i >= 0 && i < c.table->size())
                setText(QLatin1String(c.field), (*c.table)[i].value);
        });
    }
    auto envelopeType = [this] {
        setText(QStringLiteral("lblTp"), text(QStringLiteral("cboTp_0")) + QStringLiteral(" Тип конструкции - ") +
                                             text(QStringLiteral("cboTp_1")));
        const int type = currentIndex(QStringLiteral("cboTp_0"));
        const int column = currentIndex(QStringLiteral("cboTp_1"));
        if (type >= 0 && type < ctx_.tables.envelopeTypes.size() && column >= 0 && column < 3)
            setText(QStringLiteral("txtTp"), ctx_.tables.envelopeTypes[type].tempDiff.value(column));
    };
    on(QStringLiteral("cboTp_0"), FormEvent::Click, [this, envelopeType] {
        envelopeType();
        preselectNormativeResistance();
    });
    on(QStringLiteral("cboTp_1"), FormEvent::Click, envelopeType);
    on(QStringLiteral("cboRtNorm"), FormEvent::Click, [this] {
        const int i = currentIndex(QStringLiteral("cboRtNorm"));
        if (i >= 0 && i < ctx_.tables.normativeResistances.size())
            setText(QStringLiteral("txtRtNorm"), ctx_.tables.normativeResistances[i].value);
    });
}

void MainForm::preselectNormativeResistance()
{
    // the row of table 5.1 for the chosen kind of envelope; none fits: not checked.
    // Without the table a typed value stays.
    const NormativeResistanceTable& norms = ctx_.tables.normativeResistances;
    if (norms.isEmpty())
        return;
    const int row = normativeRowOf(text(QStringLiteral("cboTp_0")), norms);
    setCurrentIndex(QStringLiteral("cboRtNorm"), row);
    setText(QStringLiteral("txtRtNorm"), row >= 0 ? norms[row].value : QString());
}

void MainForm::onGridAndMaterials()
{
    on(QStringLiteral("cboM"), FormEvent::Click, [this] { picker_.chooseEntry(currentIndex(QStringLiteral("cboM"))); });
    on(QStringLiteral("cboM"), FormEvent::Change, [this] { picker_.typed(text(QStringLiteral("cboM"))); });
    on(QStringLiteral("lstM"), FormEvent::DblClick,
       [this] { insertMaterial(picker_.chosen(), currentIndex(QStringLiteral("lstM")) + 1); });
    for (int k = 1; k <= LayerGridRows; ++k)
        on(item("chkIskl", k), FormEvent::Click, [this, k] { excludeRow(k); });
    on(QStringLiteral("chkVlaga"), FormEvent::Click,
       [this] { setEnabled(QStringLiteral("cboGorod"), isChecked(QStringLiteral("chkVlaga"))); });
    for (int k = 0; k < LayerGridRows * 9; ++k)
        on(item("txt1", k), FormEvent::DblClick, [this] { emit windowRequested(QStringLiteral("frmMove")); });
}

void MainForm::onButtons()
{
    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { calculate(); });
    on(QStringLiteral("cmdPR"), FormEvent::Click, [this] { recalculate(); });
    on(QStringLiteral("cmdSave"), FormEvent::Click, [this] {
        if (confirmSaveOfStaleResults())
            emit windowRequested(QStringLiteral("FileSave"));
    });
    on(QStringLiteral("cmdOp"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmOpenPir")); });
    on(QStringLiteral("cmdSp"), FormEvent::Click, [this] {
        collectInput();
        emit windowRequested(QStringLiteral("frmPir"));
    });
    on(QStringLiteral("cmdTr"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmTrosa")); });
    on(QStringLiteral("cmdVariant"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmVariant")); });
    on(QStringLiteral("cmdVpr"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmPr")); });
    on(QStringLiteral("cmdMaterial"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmMaterial")); });
    on(QStringLiteral("Комманда1"), FormEvent::Click, [this] { clearGrid(); });
    on(QStringLiteral("cmdAbout"), FormEvent::Click, [this] {
        const QString cr = QStringLiteral("\r");
        prompter().message(QStringLiteral("ogrado") + cr + QStringLiteral("Версия  ") + programVersion() +
                               cr + cr + QStringLiteral("Применение - читай ReadMe.") + cr +
                               QStringLiteral("Обновления: см. README") + cr + cr + licenceLines().join(cr),
                           QStringLiteral("О программе."), MessageIcon::None, MessageButtons::Ok);
    });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { exitProgram(); });
}

MainForm::~MainForm() = default;

void MainForm::addMenus()
{
    // The menu bar, in the order its menus and items appear. An item stays hidden until
    // what it runs exists.
    const QString file = QStringLiteral("Файл");
    const QString calc = QStringLiteral("Расчет");
    const QString help = QStringLiteral("Справка");
    addMenuItem(QStringLiteral("mnuOpen"), file, QStringLiteral("Открыть исходные данные…"), QStringLiteral("Ctrl+O"));
    addSubmenu(QStringLiteral("mnuRecent"), file, QStringLiteral("Последние файлы"));
    addMenuItem(QStringLiteral("mnuSave"), file, QStringLiteral("Сохранить…"), QStringLiteral("Ctrl+S"));
    addMenuItem(QStringLiteral("mnuSaveIsx"), file, QStringLiteral("Сохранить исходные данные…"),
                QStringLiteral("Ctrl+Shift+S"));
    addMenuItem(QStringLiteral("mnuSep1"), file, QStringLiteral("-"));
    // the documents of a calculation: enabled once one has reached its verdict
    addMenuItem(QStringLiteral("mnuPdf"), file, QStringLiteral("Экспорт в PDF…")).enabled = false;
    addMenuItem(QStringLiteral("mnuOdt"), file, QStringLiteral("Экспорт в ODF (.odt)…")).enabled = false;
    addMenuItem(QStringLiteral("mnuPrint"), file, QStringLiteral("Печать…"), QStringLiteral("Ctrl+P")).enabled = false;
    addMenuItem(QStringLiteral("mnuSep2"), file, QStringLiteral("-"));
    addMenuItem(QStringLiteral("mnuExit"), file, QStringLiteral("Выход"));
    addProjectMenu();
    addMenuItem(QStringLiteral("mnuChart"), calc, QStringLiteral("График распределения температуры и упругости пара"),
                QStringLiteral("Ctrl+G"));
    addMenuItem(QStringLiteral("mnuSelect"), calc, QStringLiteral("Подбор толщины слоя…"), QStringLiteral("Ctrl+T"));
    addMenuItem(QStringLiteral("mnuCalcSep"), calc, QStringLiteral("-"));
    addMenuItem(QStringLiteral("mnuCalcAll"), calc, QStringLiteral("Рассчитать все"), QStringLiteral("Ctrl+F9"));
    addMenuItem(QStringLiteral("mnuGuide"), help, QStringLiteral("Руководство"), QStringLiteral("F1"));
    addMenuItem(QStringLiteral("mnuAbout"), help, QStringLiteral("О программе"));
    addMenuItem(QStringLiteral("mnuSep3"), help, QStringLiteral("-"));
    addMenuItem(QStringLiteral("mnuData"), help, QStringLiteral("Справочные данные…"));

    on(QStringLiteral("mnuOpen"), FormEvent::Click, [this] { openSourceDataDialog(); });
    on(QStringLiteral("mnuRecent"), FormEvent::Click, [this] {
        const int i = currentIndex(QStringLiteral("mnuRecent"));
        setCurrentIndex(QStringLiteral("mnuRecent"), -1);
        if (i >= 0 && i < recent_.size())
            openSourceData(recent_[i]);
    });
    on(QStringLiteral("mnuSave"), FormEvent::Click, [this] { userClick(QStringLiteral("cmdSave")); });
    on(QStringLiteral("mnuSaveIsx"), FormEvent::Click, [this] { saveSourceDataDialog(); });
    on(QStringLiteral("mnuExit"), FormEvent::Click, [this] { userClick(QStringLiteral("cmdCancel")); });
    on(QStringLiteral("mnuAbout"), FormEvent::Click, [this] { userClick(QStringLiteral("cmdAbout")); });
    on(QStringLiteral("mnuSelect"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmTolsh")); });
    on(QStringLiteral("mnuChart"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmChart")); });
    on(QStringLiteral("mnuGuide"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmGuide")); });
    on(QStringLiteral("mnuData"), FormEvent::Click, [this] { emit windowRequested(QStringLiteral("frmData")); });
    on(QStringLiteral("mnuPdf"), FormEvent::Click, [this] { exportDocument(DocumentFormat::Pdf); });
    on(QStringLiteral("mnuOdt"), FormEvent::Click, [this] { exportDocument(DocumentFormat::Odt); });
    on(QStringLiteral("mnuPrint"), FormEvent::Click, [this] { printDocument(); });
}

void MainForm::onLoad()
{
    const RefTables& t = ctx_.tables;
    setCaption(windowCaption());
    QStringList cities;
    for (const ClimateRecord& r : t.climate)
        cities.append(r.name);
    setItems(QStringLiteral("cboGorod"), cities);
    select(QStringLiteral("cboGorod"), cities.size() > 1 ? 1 : cities.size() - 1);

    auto names = [](const auto& table, int count) {
        QStringList list;
        for (int i = 0; i < table.size() && i < count; ++i)
            list.append(table[i].name);
        return list;
    };
    setItems(QStringLiteral("cboTipZd"), names(t.buildingTypes, 5));
    select(QStringLiteral("cboTipZd"), 0);
    const QStringList regions = names(t.regions, 6);
    setItems(QStringLiteral("cboObl"), regions);
    select(QStringLiteral("cboObl"), regions.size() > 1 ? 1 : regions.size() - 1);
    setItems(QStringLiteral("cboN"), names(t.coefficientN, 5));
    select(QStringLiteral("cboN"), 0);
    setItems(QStringLiteral("cboAlv"), names(t.innerCoefficients, 2));
    select(QStringLiteral("cboAlv"), 0);
    setItems(QStringLiteral("cboAln"), names(t.outerCoefficients, 4));
    select(QStringLiteral("cboAln"), 0);
    setItems(QStringLiteral("cboTp_1"), t.tempDiffColumns.mid(0, 3));
    select(QStringLiteral("cboTp_1"), 0);
    setItems(QStringLiteral("cboRtNorm"), names(t.normativeResistances, int(t.normativeResistances.size())));
    setItems(QStringLiteral("cboTp_0"), names(t.envelopeTypes, 8));
    select(QStringLiteral("cboTp_0"), 0);
    QStringList rows;
    for (int r = 1; r <= LayerGridRows; ++r)
        rows.append(QString::number(r));
    setItems(QStringLiteral("lstM"), rows);
    picker_.fill(t.materials.isEmpty() ? -1 : 0);
    if (!t.userMaterialsProblem.isEmpty())
        prompter().message(t.userMaterialsProblem, QStringLiteral("Внимание!"), MessageIcon::Exclamation,
                           MessageButtons::Ok);

    // the start city is the start region's; no city has been chosen yet
    cityFollowsRegion_ = true;
    // the start state is new input, nothing to save yet
    loadRecent();
    startInput_ = toJsonObject(mainWindowInputs(*this));
    rememberSavedState();
    modified_ = false;
    updateCaption();
}

void MainForm::materialsChanged(int removed)
{
    picker_.materialsChanged(removed);
    notifyChanged();
}

void MainForm::keyRefused(const QString& name, QChar key)
{
    Q_UNUSED(key);
    // a name cell refuses only what the results file cannot hold: the beep says enough
    for (int r = 1; r <= LayerGridRows; ++r) {
        if (name == cellName(r, 0))
            return;
    }
    // The beep alone goes unheard on many desktops, and a letter typed into a thickness
    // would vanish without a trace.
    setText(QStringLiteral("lblHint"), refusedKeyHint());
    hintTimer_->start();
    notifyChanged();
}

void MainForm::showStatus(const QString& text)
{
    setText(QStringLiteral("lblStatus"), text);
    notifyChanged();
}

void MainForm::climateFill()
{
    const RefTables& t = ctx_.tables;
    const int r = currentIndex(QStringLiteral("cboObl"));
    const bool set2 = currentIndex(QStringLiteral("cboTipZd")) == 2;
    for (int k = 1; k <= 4; ++k) {
        QString tn;
        QString tot;
        if (r >= 0 && r < t.regions.size()) {
            tn = t.designTemperatures.value(k - 1).value(r);
            tot = (set2 ? t.regions[r].set2 : t.regions[r].set1).value(k - 1);
        }
        setText(item("txtTn", k), tn);
        setText(item("txtTot", k), tot);
    }
}

int MainForm::stationOfRegion() const
{
    // A station is the region's own when its name, less a final vowel («Гродно»), begins
    // the region's name («Гродненская»); the longest such name wins.
    const QString region = searchKey(currentItem(QStringLiteral("cboObl")));
    static const QString vowels = QStringLiteral("аеиоуыэюя");
    int found = -1;
    qsizetype longest = 0;
    const ClimateTable& climate = ctx_.tables.climate;
    for (int i = 0; i < climate.size(); ++i) {
        QString stem = searchKey(climate[i].name.trimmed());
        if (!stem.isEmpty() && vowels.contains(stem.back()))
            stem.chop(1);
        if (stem.size() >= 4 && stem.size() > longest && region.startsWith(stem)) {
            found = i;
            longest = stem.size();
        }
    }
    return found;
}

void MainForm::followRegionWithCity()
{
    if (!cityFollowsRegion_)
        return;
    const int station = stationOfRegion();
    if (station >= 0 && station < items(QStringLiteral("cboGorod")).size())
        setCurrentIndex(QStringLiteral("cboGorod"), station);
}

QString MainForm::materialDescription(int m) const
{
    if (m < 0 || m >= ctx_.tables.materials.size())
        return {};
    return MaterialPicker::description(ctx_.tables.materials[m]);
}

QString MainForm::materialDensity(int m) const
{
    if (m < 0 || m >= ctx_.tables.materials.size())
        return {};
    return ctx_.tables.materials[m].field(2);
}

void MainForm::insertMaterial(int m, int row)
{
    if (m < 0 || m >= ctx_.tables.materials.size() || row < 1 || row > LayerGridRows)
        return;
    const Material& mat = ctx_.tables.materials[m];
    // the name without its catalogue number
    setText(cellName(row, 0), QStringLiteral("J=") + mat.field(2) + QStringLiteral(". ") + mat.plainName());
    for (int c = 4; c <= 8; ++c)
        setText(cellName(row, c), mat.field(c - 1));
    // a row replaced by a click must not go unnoticed
    showStatus(QStringLiteral("В строку %1 вставлен материал «%2».").arg(row).arg(mat.plainName()));
}

void MainForm::excludeRow(int k)
{
    const bool excluded = isChecked(item("chkIskl", k));
    setText(cellName(k, 1), excluded ? QStringLiteral("---") : QString::number(k));
    for (int c = 0; c <= 8; ++c)
        setEnabled(cellName(k, c), !excluded);
    if (k >= 2 && k <= 7) {
        const QString mark = item("optVlaga", k);
        setEnabled(mark, !excluded);
        if (excluded && isChecked(mark)) {
            if (k >= 3) {
                setChecked(item("optVlaga", k - 1), true);
            } else {
                for (int r = 3; r <= 7; ++r) {
                    if (!isChecked(item("chkIskl", r))) {
                        setChecked(item("optVlaga", r), true);
                        break;
                    }
                }
            }
        }
    }
    int n = 0;
    for (int i = 1; i <= LayerGridRows; ++i) {
        if (!isChecked(item("chkIskl", i)))
            setText(cellName(i, 1), QString::number(++n));
    }
}

void MainForm::clearGrid()
{
    for (int r = 1; r <= LayerGridRows; ++r) {
        for (int c = 0; c <= 8; ++c) {
            if (c == 1)
                continue;
            setText(cellName(r, c), QString());
            setBackground(cellName(r, c), kWhite);
        }
    }
}

LayerTable MainForm::collectedTable() const
{
    LayerTable table;
    for (int i = 1; i <= LayerGridRows; ++i) {
        if (isChecked(item("chkIskl", i)) || cell(i, 2).trimmed().isEmpty())
            continue;
        LayerRow row;
        for (int c = 1; c <= 8; ++c)
            row.cells[size_t(c)] = cell(i, c);
        if (cell(i, 3).trimmed().isEmpty())
            row.cells[kColPoints] = QStringLiteral("0");
        row.sourceRow = i;
        row.name = cell(i, 0);
        table.layers.append(row);
    }
    LayerTableHeader& h = table.header;
    h.alphaIn = text(QStringLiteral("txtAlv"));
    h.alphaOut = text(QStringLiteral("txtAln"));
    h.tIn = text(QStringLiteral("txtTv"));
    h.phiIn = text(QStringLiteral("txtFiv"));
    h.tHeat = text(QStringLiteral("txtTot_1"));
    h.phiHeat = text(QStringLiteral("txtTot_2"));
    h.eHeat = text(QStringLiteral("txtTot_3"));
    h.zHeat = text(QStringLiteral("txtTot_4"));
    return table;
}

void MainForm::collectInput()
{
    for (int i = 1; i <= LayerGridRows; ++i) {
        if (!isChecked(item("chkIskl", i)) && !cell(i, 2).trimmed().isEmpty() && cell(i, 3).trimmed().isEmpty())
            setText(cellName(i, 3), QStringLiteral("0"));
    }
    ctx_.layerTable = collectedTable();
    changedSinceCollect_ = false;
}

std::optional<int> MainForm::moistenedLayer() const
{
    // rows 2..7 in order: the last marked one counts
    QString number;
    for (int row = 2; row <= 7; ++row)
        if (isChecked(item("optVlaga", row)))
            number = cell(row, 1);
    const auto k = parseNumber(number);
    if (!k || *k != std::floor(*k))
        return std::nullopt;
    return int(*k);
}

int MainForm::lastIncompleteLayer() const
{
    return ctx_.layerTable.lastIncompleteLayer();
}

EnvelopeInputs MainForm::envelopeInputs() const
{
    EnvelopeInputs in;
    for (int k = 1; k <= 4; ++k)
        in.tn[size_t(k - 1)] = text(item("txtTn", k));
    in.n = text(QStringLiteral("txtN"));
    in.tempDiff = text(QStringLiteral("txtTp"));
    in.rtNorm = text(QStringLiteral("txtRtNorm"));
    in.refine = isChecked(QStringLiteral("chkPr"));
    in.buildingType = text(QStringLiteral("lblTipZd"));
    in.nCaption = text(QStringLiteral("lblN"));
    in.alphaInCaption = text(QStringLiteral("lblAlv"));
    in.alphaOutCaption = text(QStringLiteral("lblAln"));
    in.envelopeCaption = text(QStringLiteral("lblTp"));
    in.region = text(QStringLiteral("cboObl"));
    return in;
}

void MainForm::calculate()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    if (!confirmRowsWithoutThickness())
        return;  // Нет: nothing collected, nothing changed
    collectInput();
    if (const std::optional<AppError> incomplete = incompleteLayersError(ctx_.layerTable)) {
        refuseRun(EnvelopeMessage{incomplete->message(), incomplete->title(), incomplete->field()});
    } else {
        runEnvelope(false);
        if (isChecked(QStringLiteral("chkVlaga")) && ctx_.lastCalc && ctx_.lastCalc->finished())
            emit moistureRequested();
    }
    setEnabled(QStringLiteral("cmdVpr"), true);
}

std::optional<int> MainForm::firstRowWithoutThickness(int from) const
{
    for (int i = from; i <= LayerGridRows; ++i) {
        if (isChecked(item("chkIskl", i)) || !cell(i, kColThickness).trimmed().isEmpty())
            continue;
        bool filled = !cell(i, 0).trimmed().isEmpty();
        for (int c = kColPoints; c <= kColMu && !filled; ++c)
            filled = !cell(i, c).trimmed().isEmpty();
        if (filled)
            return i;
    }
    return std::nullopt;
}

bool MainForm::confirmRowsWithoutThickness()
{
    // A row without a thickness is left out of the wall: a forgotten thickness would
    // silently compute another wall, so a row with anything else in it is asked about.
    for (int i = 1; i <= LayerGridRows; ++i) {
        if (firstRowWithoutThickness(i) != i)
            continue;
        const MessageAnswer answer =
            prompter().message(QStringLiteral("В строке №%1 заполнены данные слоя «%2», но не указана толщина: слой не "
                                              "войдет в расчет. Продолжить?")
                                   .arg(i)
                                   .arg(cell(i, 0).trimmed()),
                               QStringLiteral("Внимание!"), MessageIcon::Question,
                               MessageButtons::YesNoDefaultNo);
        if (answer != MessageAnswer::Yes) {
            // the thickness the question is about takes the focus
            markFields({cellName(i, kColThickness)});
            return false;
        }
    }
    return true;
}

void MainForm::recalculate()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    runEnvelope(true);
}

void MainForm::refuseRun(const EnvelopeMessage& why)
{
    const EnvelopeOutcome outcome = RefusedEnvelopeRun(ctx_.report, why);
    keepOutcome(outcome);
    applyOutcome(outcome);
    showError(why.text, why.title, why.field);
    emit calculationDone();
}

void MainForm::keepOutcome(const EnvelopeOutcome& outcome)
{
    // A refused run leaves no calculation behind: later windows must not work on the
    // results of an earlier one beside the table collected now.
    if (outcome.refused()) {
        ctx_.lastCalc.reset();
        lastRefusal_ = outcome.error;
    } else {
        ctx_.lastCalc = outcome;
        lastRefusal_.reset();
    }
    ctx_.lastCalcReferences = referencesOfRun(ctx_.tables, tableChoices(), outcome);
    ctx_.moistureReferences.clear();
}

TableChoices MainForm::tableChoices() const
{
    TableChoices c;
    c.buildingType = currentIndex(QStringLiteral("cboTipZd"));
    c.region = currentIndex(QStringLiteral("cboObl"));
    c.coefficientN = currentIndex(QStringLiteral("cboN"));
    c.alphaIn = currentIndex(QStringLiteral("cboAlv"));
    c.alphaOut = currentIndex(QStringLiteral("cboAln"));
    c.envelopeType = currentIndex(QStringLiteral("cboTp_0"));
    c.envelopeColumn = currentIndex(QStringLiteral("cboTp_1"));
    c.normativeResistance = currentIndex(QStringLiteral("cboRtNorm"));
    return c;
}

void MainForm::runEnvelope(bool recalc)
{
    RunGuard guard(ctx_);
    moisture_.reset();
    const QStringList runButtons = {QStringLiteral("cmdOk"), QStringLiteral("cmdPR")};
    for (const QString& b : runButtons)
        setEnabled(b, false);
    EnvelopeOutcome outcome =
        RunEnvelopeCalculation(ctx_.layerTable, envelopeInputs(), ctx_.tables.saturation, ctx_.report);
    if (recalc && outcome.finished()) {
        try {
            outcome.lists = RecalculateRefinedField(outcome.input, outcome.state, isChecked(QStringLiteral("chkPr")),
                                                    ctx_.tables.saturation);
        } catch (const AppError& e) {
            outcome.error = EnvelopeMessage{e.message(), e.title(), e.field()};
        }
    }
    keepOutcome(outcome);
    applyOutcome(outcome);
    for (const QString& b : runButtons)
        setEnabled(b, true);
    // a run that names no input leaves no mark of an earlier message
    if (!outcome.warning && !outcome.error)
        clearMarks();
    notifyChanged();
    if (outcome.warning)
        showError(outcome.warning->text, outcome.warning->title, outcome.warning->field);
    if (outcome.error)
        showError(outcome.error->text, outcome.error->title, outcome.error->field);
    emit calculationDone();
}

void MainForm::applyOutcome(const EnvelopeOutcome& outcome)
{
    for (const FieldUpdate& u : outcome.updates) {
        if (!has(u.name))
            continue;
        if (u.text)
            setText(u.name, *u.text);
        if (u.background)
            setBackground(u.name, *u.background);
    }
    if (!outcome.lists) {
        for (int k = 1; k <= 5; ++k)
            setItems(item("lstRez", k), {});
    } else {
        const ResultLists& l = *outcome.lists;
        setText(QStringLiteral("lblRezList"), l.caption);
        for (int k = 1; k <= 5; ++k) {
            setItems(item("lstRez", k), l.columns[size_t(k - 1)]);
            setHeightTwips(item("lstRez", k), l.listHeightTwips);
        }
        setSizeTwips(widthTwips(), l.windowHeightTwips);
    }
    showResultsCurrent();
    updateDocumentMenus();
}

void MainForm::clearResults()
{
    clearResultFields();
    ctx_.lastCalc.reset();
    ctx_.lastCalcReferences.clear();
    ctx_.moistureReferences.clear();
    ctx_.report.restart();
    ctx_.layerTable = LayerTable();
    moisture_.reset();
    // no verdict, greyed or not, of results that are gone
    stale_ = false;
    for (const QString& name : resultControlNames())
        setForeground(name, kBlack);
    showVerdict();
    updateDocumentMenus();
    notifyChanged();
}

void MainForm::clearResultFields()
{
    for (const Control& c : controls()) {
        if (c.kind == ControlKind::TextBox && c.readOnly) {
            setText(c.name, QString());
            setBackground(c.name, kWhite);
        }
    }
    for (int k = 1; k <= 5; ++k)
        setItems(item("lstRez", k), {});
    setText(QStringLiteral("lblRezList"), QString());
    setText(QStringLiteral("lblQot"), QString());
    // the cells and fields a calculation marks as chosen
    for (int r = 1; r <= LayerGridRows; ++r) {
        for (int c = 0; c <= 8; ++c)
            setBackground(cellName(r, c), kWhite);
    }
    for (int k = 1; k <= 4; ++k)
        setBackground(item("txtTn", k), kWhite);
}

// Source-data files

std::optional<QJsonObject> MainForm::airLayerState() const
{
    if (pendingAirLayer_)
        return pendingAirLayer_;
    if (airLayerShown_ && airWindow_) {
        if (const FormModel* air = airWindow_())
            return toJsonObject(windowInputs(*air));
    }
    return std::nullopt;
}

ProjectSource MainForm::currentSourceData() const
{
    ProjectSource d;
    d.saved = QDateTime::currentDateTime();
    d.name = project_.name();
    d.description = project_.description();
    const FormModel* window = airWindow_ ? airWindow_() : nullptr;
    for (int i = 0; i < project_.count(); ++i) {
        const Construction& c = project_.at(i);
        ConstructionSource source{c.mark, c.name, {}, std::nullopt};
        source.main = i == project_.current() ? mainWindowInputs(*this) : inWindowOrder(*this, c.main);
        const std::optional<QJsonObject> air = i == project_.current() ? airLayerState() : c.airLayer;
        if (air)
            source.airLayer = window ? inWindowOrder(*window, *air) : ControlValues();
        d.constructions.append(source);
    }
    return d;
}

void MainForm::rememberSavedState()
{
    storeShown();
    project_.markSaved();
}

void MainForm::updateModified()
{
    if (!isLoaded() || switching_)
        return;
    storeShown();
    const bool modified = project_.modified();
    if (modified != modified_) {
        modified_ = modified;
        updateCaption();
        notifyChanged();
    }
}

void MainForm::updateCaption()
{
    QString name = ctx_.sourceDataPath.isEmpty() ? QString() : QFileInfo(ctx_.sourceDataPath).fileName();
    if (modified_)
        name = (name.isEmpty() ? QStringLiteral("Без имени") : name) + u'*';
    setCaption(name.isEmpty() ? windowCaption() : name + QStringLiteral(" — ") + windowCaption());
}

void MainForm::airLayerLoaded(FormModel& air)
{
    connect(&air, &FormModel::changed, this, &MainForm::updateModified, Qt::UniqueConnection);
    airLayerShown_ = true;
    std::optional<QJsonObject>& saved = project_.shown().savedAirLayer;
    if (pendingAirLayer_) {
        // checked against this window when the file was opened
        applyPlan(air, planWindowKeys(air, *pendingAirLayer_, airLayerSectionName()));
        const bool unchanged = saved == pendingAirLayer_;
        pendingAirLayer_.reset();
        // what the window shows now is what the file gave (and defaults for keys it left out)
        if (unchanged)
            saved = toJsonObject(windowInputs(air));
    } else if (!saved) {
        // opening the window is no edit: its start state is the reference
        saved = toJsonObject(windowInputs(air));
    }
    updateModified();
}

bool MainForm::confirmDiscardChanges()
{
    if (!modified_ || quitting_)
        return true;
    const MessageAnswer answer = prompter().message(QStringLiteral("Сохранить изменения исходных данных?"),
                                                    QStringLiteral("Внимание!"), MessageIcon::Question,
                                                    MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::No)
        return true;
    if (answer != MessageAnswer::Yes)
        return false;
    emit windowRequested(QStringLiteral("FileSave"));
    return !modified_;
}

void MainForm::exitProgram()
{
    if (!confirmDiscardChanges())
        return;
    quitting_ = true;
    if (ctx_.host)
        ctx_.host->quit();
}

void MainForm::openSourceDataDialog()
{
    if (!confirmDiscardChanges())
        return;
    const QString path = prompter().chooseFile(Prompter::FileChoice::Open, QStringLiteral("Открыть исходные данные"),
                                               ctx_.settings.isxDir, QStringLiteral("Исх. данные (*.isx)"));
    if (!path.isEmpty())
        openWithoutAsking(path);
}

bool MainForm::openSourceData(const QString& path)
{
    if (!confirmDiscardChanges())
        return false;
    return openWithoutAsking(path);
}

bool MainForm::openWithoutAsking(const QString& path)
{
    if (ctx_.busy()) {
        prompter().beep();
        return false;
    }
    FormModel* air = airWindow_ ? airWindow_() : nullptr;
    PreparedSourceData file;
    try {
        file = prepareSourceData(path, *this, air);
    } catch (const AppError& e) {
        if (!QFileInfo::exists(path))
            removeRecent(path);
        showError(e.message(), QStringLiteral("Ошибка"));
        return false;
    }
    openProject(file, path);
    return true;
}

void MainForm::saveSourceData(const QString& path, const QString& summary)
{
    // the source-data folder of a fresh working folder does not exist yet
    if (QFileInfo(path).absoluteDir() == QDir(ctx_.settings.isxDir)) {
        if (const QString created = createMissingFolder(ctx_.settings.isxDir); !created.isEmpty())
            showStatus(created);
    }
    const QString previousSummary = project_.description();
    setProjectDescription(summary);
    try {
        writeProjectFile(path, currentSourceData());
    } catch (const AppError&) {
        setProjectDescription(previousSummary);
        throw;
    }
    ctx_.sourceDataPath = QFileInfo(path).absoluteFilePath();
    rememberSavedState();
    modified_ = false;
    updateCaption();
    addRecent(ctx_.sourceDataPath);
    notifyChanged();
}

bool MainForm::saveSourceDataDialog()
{
    // the file dialog opens in the source-data folder, created when it is missing
    if (const QString created = createMissingFolder(ctx_.settings.isxDir); !created.isEmpty())
        showStatus(created);
    const QString folder = ctx_.settings.isxDir.isEmpty() ? QDir::currentPath() : ctx_.settings.isxDir;
    const QString proposed = ctx_.sourceDataPath.isEmpty()
                                 ? QDir(folder).filePath(SaveDialogForm::proposedName(ctx_) + QStringLiteral(".isx"))
                                 : ctx_.sourceDataPath;
    const QString chosen = prompter().chooseFile(Prompter::FileChoice::Save, QStringLiteral("Сохранить исходные данные"),
                                                 proposed, QStringLiteral("Исх. данные (*.isx)"));
    if (chosen.isEmpty())
        return false;
    const QString path = withExtension(chosen, QStringLiteral("isx"));
    if (path.isEmpty())
        return false;
    try {
        saveSourceData(path, ctx_.sourceDataSummary);
    } catch (const AppError& e) {
        showError(e.message(), e.title());
        return false;
    }
    showStatus(QStringLiteral("Исходные данные сохранены в файле «%1».").arg(QDir::toNativeSeparators(path)));
    return true;
}

// Recent files: the store is read again before each change, so that two running
// programs do not drop each other's entries.

namespace {

constexpr int kRecentCount = 8;
const QString kRecentKey = QStringLiteral("recentFiles");

}  // namespace

void MainForm::loadRecent()
{
    // without a store the list lives as long as the program
    if (!ctx_.recentFilesStore.isEmpty()) {
        const QSettings store(ctx_.recentFilesStore, QSettings::IniFormat);
        recent_ = store.value(kRecentKey).toStringList().mid(0, kRecentCount);
    }
    QStringList shown;
    for (const QString& path : recent_)
        shown.append(QDir::toNativeSeparators(path));
    setItems(QStringLiteral("mnuRecent"), shown);
}

void MainForm::storeRecent()
{
    if (!ctx_.recentFilesStore.isEmpty()) {
        QSettings store(ctx_.recentFilesStore, QSettings::IniFormat);
        store.setValue(kRecentKey, recent_);
        store.sync();
    }
    QStringList shown;
    for (const QString& path : recent_)
        shown.append(QDir::toNativeSeparators(path));
    setItems(QStringLiteral("mnuRecent"), shown);
}

void MainForm::addRecent(const QString& path)
{
    loadRecent();
    recent_.removeAll(path);
    recent_.prepend(path);
    recent_ = recent_.mid(0, kRecentCount);
    storeRecent();
}

void MainForm::removeRecent(const QString& path)
{
    loadRecent();
    if (recent_.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        storeRecent();
}

}  // namespace ogrado
