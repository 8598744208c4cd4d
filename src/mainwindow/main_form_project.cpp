// SPDX-License-Identifier: GPL-3.0-or-later
// The project in the main window: the construction bar above the input, switching
// between constructions (each keeps its input and its last calculation), adding,
// renaming, duplicating, deleting and moving them, and "Рассчитать все".
#include "mainwindow/main_form.h"

#include "common/app_error.h"
#include "mainwindow/reference_use.h"

#include <QFileInfo>

#include <memory>

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

const QString kBar = QStringLiteral("lstConstr");
const QString kProgress = QStringLiteral("lblCalcAll");
const QString kStop = QStringLiteral("cmdStopAll");

// The buttons of the bar and their menu items; none acts while "Рассчитать все" runs.
const QStringList& barActions()
{
    static const QStringList names = {
        QStringLiteral("cmdConstrAdd"),    QStringLiteral("cmdConstrRename"), QStringLiteral("cmdConstrCopy"),
        QStringLiteral("cmdConstrDelete"), QStringLiteral("cmdConstrUp"),     QStringLiteral("cmdConstrDown"),
        QStringLiteral("cmdCalcAll"),      QStringLiteral("mnuConstrAdd"),    QStringLiteral("mnuConstrRename"),
        QStringLiteral("mnuConstrCopy"),   QStringLiteral("mnuConstrDelete"), QStringLiteral("mnuConstrUp"),
        QStringLiteral("mnuConstrDown"),   QStringLiteral("mnuConstrPrev"),   QStringLiteral("mnuConstrNext"),
        QStringLiteral("mnuCalcAll")};
    return names;
}

// Answers every question with "Нет" and shows nothing: the hidden window's messages
// reach the user through the results they leave.
class QuietPrompter : public Prompter {
public:
    MessageAnswer message(const QString&, const QString&, MessageIcon, MessageButtons buttons) override
    {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok
               : buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel
                                                     : MessageAnswer::No;
    }
    void beep() override {}
};

// A main window that is never shown, on a context of its own: what a construction's
// input gives, without touching the window the user works in.
struct HiddenMainWindow {
    explicit HiddenMainWindow(const AppContext& base) : ctx(prompter)
    {
        ctx.settings = base.settings;
        ctx.tables = base.tables;
        form = std::make_unique<MainForm>(ctx);
        form->loadForm();
        start = toJsonObject(mainWindowInputs(*form));
    }
    // The window as after its Load, then `input` over it.
    void show(const QJsonObject& input)
    {
        applyPlan(*form, planCase(*form, start));
        applyPlan(*form, planCase(*form, input));
    }

    QuietPrompter prompter;
    AppContext ctx;
    std::unique_ptr<MainForm> form;
    QJsonObject start;
};

// The input of a new construction without layers: the building, the climate and the
// coefficients of `from`, an empty grid with its layer numbers, no marks.
QJsonObject withoutLayers(QJsonObject input)
{
    for (int r = 1; r <= LayerGridRows; ++r) {
        for (int c = 0; c <= 8; ++c)
            input.insert(MainForm::cellName(r, c), c == 1 ? QString::number(r) : QString());
        input.insert(item("chkIskl", r), false);
    }
    for (int k = 2; k <= 7; ++k)
        input.insert(item("optVlaga", k), false);
    input.insert(QStringLiteral("chkVlaga"), false);
    return input;
}

// The balance the moisture window would compute after this calculation, when the
// construction asks for it and its mark allows it; nothing otherwise.
std::optional<MoistureTotals> moistureBalanceOf(const MainForm& w)
{
    const AppContext& ctx = w.context();
    if (!w.isChecked(QStringLiteral("chkVlaga")) || !ctx.lastCalc || !ctx.lastCalc->finished())
        return std::nullopt;
    const std::optional<int> k = w.moistenedLayer();
    const int city = w.currentIndex(QStringLiteral("cboGorod"));
    if (checkMoistenedLayer(k, ctx.layerTable.count()) == MarkCheck::FirstOrLast || city < 0 ||
        city >= ctx.tables.climate.size())
        return std::nullopt;
    MoistureSetup setup;
    setup.input = readEnvelopeInput(ctx.layerTable, w.envelopeInputs());
    setup.saturation = &ctx.tables.saturation;
    setup.planeLayer = k.value_or(0);
    setup.pointLists = false;
    try {
        return RunMoistureYear(setup, ctx.tables.climate[city]);
    } catch (const AppError&) {
        return std::nullopt;  // the window says why when the construction is calculated there
    }
}

// "Расчет" of one construction in the hidden window. A row with layer data but no
// thickness is not guessed at: the construction is refused with the question's words.
ConstructionResults calculateHidden(HiddenMainWindow& hidden, const QJsonObject& input)
{
    MainForm& w = *hidden.form;
    hidden.show(input);
    ConstructionResults r;
    r.airLayerEnabled = true;
    if (const std::optional<int> row = w.firstRowWithoutThickness()) {
        r.refusal = EnvelopeMessage{
            QStringLiteral("В строке №%1 заполнены данные слоя «%2», но не указана толщина: слой не вошел бы в расчет. "
                           "Укажите толщину или очистите строку и выполните «Расчет».")
                .arg(*row)
                .arg(w.cell(*row, 0).trimmed()),
            QStringLiteral("Внимание!"), mainWindowField(MainForm::cellName(*row, kColThickness))};
        return r;
    }
    w.calculate();
    r.outcome = hidden.ctx.lastCalc;
    r.refusal = w.lastRefusal();
    r.report = hidden.ctx.report;
    r.table = hidden.ctx.layerTable;
    r.references = hidden.ctx.lastCalcReferences;
    r.moisture = moistureBalanceOf(w);
    if (r.moisture)
        r.moistureReferences = referencesOfMoistureBalance(hidden.ctx.tables, w.currentIndex(QStringLiteral("cboGorod")));
    return r;
}

// The message a construction's run left, or an empty text.
QString problemOf(const ConstructionResults& r)
{
    const std::optional<EnvelopeMessage>& m = r.refusal ? r.refusal : r.outcome ? r.outcome->error : std::nullopt;
    if (m)
        return QString(m->text).replace(u'\r', u' ').simplified();
    if (r.outcome && r.outcome->warning)
        return QString(r.outcome->warning->text).replace(u'\r', u' ').simplified();
    return {};
}

}  // namespace

// The bar and the menu

void MainForm::addConstructionBar()
{
    add(kBar, ControlKind::ListBox);
    add(QStringLiteral("cmdConstrAdd"), ControlKind::Button, QStringLiteral("Добавить…"));
    add(QStringLiteral("cmdConstrRename"), ControlKind::Button, QStringLiteral("Переименовать…"));
    add(QStringLiteral("cmdConstrCopy"), ControlKind::Button, QStringLiteral("Дублировать"));
    add(QStringLiteral("cmdConstrDelete"), ControlKind::Button, QStringLiteral("Удалить…"));
    add(QStringLiteral("cmdConstrUp"), ControlKind::Button, QStringLiteral("Выше"));
    add(QStringLiteral("cmdConstrDown"), ControlKind::Button, QStringLiteral("Ниже"));
    add(QStringLiteral("cmdCalcAll"), ControlKind::Button, QStringLiteral("Рассчитать все"));
    add(QStringLiteral("cmdSummary"), ControlKind::Button, QStringLiteral("Сводка"));
    add(kProgress, ControlKind::Label).visible = false;
    add(kStop, ControlKind::Button, QStringLiteral("Прервать")).visible = false;
}

void MainForm::addProjectMenu()
{
    const QString menu = QStringLiteral("Проект");
    addMenuItem(QStringLiteral("mnuConstrAdd"), menu, QStringLiteral("Добавить конструкцию…"));
    addMenuItem(QStringLiteral("mnuConstrRename"), menu, QStringLiteral("Переименовать конструкцию…"));
    addMenuItem(QStringLiteral("mnuConstrCopy"), menu, QStringLiteral("Дублировать конструкцию"));
    addMenuItem(QStringLiteral("mnuConstrDelete"), menu, QStringLiteral("Удалить конструкцию…"));
    addMenuItem(QStringLiteral("mnuPrjSep1"), menu, QStringLiteral("-"));
    addMenuItem(QStringLiteral("mnuConstrUp"), menu, QStringLiteral("Переместить выше"));
    addMenuItem(QStringLiteral("mnuConstrDown"), menu, QStringLiteral("Переместить ниже"));
    addMenuItem(QStringLiteral("mnuConstrPrev"), menu, QStringLiteral("Предыдущая конструкция"),
                QStringLiteral("Ctrl+PgUp"));
    addMenuItem(QStringLiteral("mnuConstrNext"), menu, QStringLiteral("Следующая конструкция"),
                QStringLiteral("Ctrl+PgDown"));
    addMenuItem(QStringLiteral("mnuPrjSep2"), menu, QStringLiteral("-"));
    addMenuItem(QStringLiteral("mnuSummary"), menu, QStringLiteral("Сводка по проекту"));
}

void MainForm::onConstructionBar()
{
    on(kBar, FormEvent::Click, [this] { showConstruction(currentIndex(kBar)); });
    auto dialog = [this](ConstructionDialog kind) {
        if (ctx_.busy()) {
            prompter().beep();
            return;
        }
        constructionDialog_ = kind;
        emit windowRequested(QStringLiteral("frmConstr"));
    };
    on(kBar, FormEvent::DblClick, [dialog] { dialog(ConstructionDialog::Rename); });
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"ConstrAdd", [dialog] { dialog(ConstructionDialog::Add); }},
        {"ConstrRename", [dialog] { dialog(ConstructionDialog::Rename); }},
        {"ConstrCopy", [this] { duplicateConstruction(); }},
        {"ConstrDelete", [this] { deleteConstruction(); }},
        {"ConstrUp", [this] { moveConstruction(-1); }},
        {"ConstrDown", [this] { moveConstruction(1); }},
        {"CalcAll", [this] { calculateAll(); }},
        {"Summary", [this] { emit windowRequested(QStringLiteral("frmSummary")); }}};
    for (const auto& [name, action] : actions) {
        on(QStringLiteral("cmd") + QLatin1String(name), FormEvent::Click, action);
        on(QStringLiteral("mnu") + QLatin1String(name), FormEvent::Click, action);
    }
    on(QStringLiteral("mnuConstrPrev"), FormEvent::Click, [this] {
        if (project_.current() > 0)
            showConstruction(project_.current() - 1);
    });
    on(QStringLiteral("mnuConstrNext"), FormEvent::Click, [this] {
        if (project_.current() + 1 < project_.count())
            showConstruction(project_.current() + 1);
    });
    on(kStop, FormEvent::Click, [this] { stopAll_ = true; });
    updateConstructionBar();
}

void MainForm::updateConstructionBar()
{
    QStringList captions;
    for (const Construction& c : project_.constructions())
        captions.append(c.caption());
    if (captions != items(kBar))
        setItems(kBar, captions);
    setCurrentIndex(kBar, project_.current());
    for (const QString& name : barActions())
        setEnabled(name, !calculatingAll_);
    const int i = project_.current();
    const bool idle = !calculatingAll_;
    for (const char* prefix : {"cmd", "mnu"}) {
        const QString p = QLatin1String(prefix);
        setEnabled(p + QStringLiteral("ConstrUp"), idle && i > 0);
        setEnabled(p + QStringLiteral("ConstrDown"), idle && i + 1 < project_.count());
        setEnabled(p + QStringLiteral("ConstrDelete"), idle && project_.count() > 1);
    }
    setEnabled(QStringLiteral("mnuConstrPrev"), idle && i > 0);
    setEnabled(QStringLiteral("mnuConstrNext"), idle && i + 1 < project_.count());
    setEnabled(kBar, idle);
    setVisible(kProgress, calculatingAll_);
    setVisible(kStop, calculatingAll_);
}

// Switching

void MainForm::storeShown()
{
    Construction& c = project_.shown();
    c.main = toJsonObject(mainWindowInputs(*this));
    c.airLayer = airLayerState();
}

ConstructionResults MainForm::shownResults() const
{
    ConstructionResults r;
    r.outcome = ctx_.lastCalc;
    r.refusal = lastRefusal_;
    r.report = ctx_.report;
    r.table = ctx_.layerTable;
    r.airLayerReportLines = ctx_.airLayerReportLines;
    r.moisture = moisture_;
    r.references = ctx_.lastCalcReferences;
    r.moistureReferences = ctx_.moistureReferences;
    r.stale = stale_;
    r.changedSinceCollect = changedSinceCollect_;
    r.airLayerEnabled = isEnabled(QStringLiteral("cmdVpr"));
    return r;
}

void MainForm::showResults(const ConstructionResults& r)
{
    clearResultFields();
    clearMarks();
    ctx_.lastCalc = r.outcome;
    lastRefusal_ = r.refusal;
    ctx_.report = r.report;
    ctx_.layerTable = r.table;
    ctx_.airLayerReportLines = r.airLayerReportLines;
    moisture_ = r.moisture;
    ctx_.lastCalcReferences = r.references;
    ctx_.moistureReferences = r.moistureReferences;
    setEnabled(QStringLiteral("cmdVpr"), r.airLayerEnabled);
    // what the run showed, then greyed when the input changed after it
    changedSinceCollect_ = r.outcome && r.changedSinceCollect;
    if (r.outcome) {
        applyOutcome(*r.outcome);
    } else {
        showResultsCurrent();
        updateDocumentMenus();
    }
    changedSinceCollect_ = r.changedSinceCollect;
    if (r.stale && ctx_.lastCalc && !stale_)
        markStale();
}

void MainForm::applyInput(const QJsonObject& input)
{
    // the input was checked against this window when it was opened or taken from it
    try {
        applyPlan(*this, planCase(*this, input));
    } catch (const AppError& e) {
        showError(e);
    }
}

QJsonObject MainForm::constructionInput(int i) const
{
    if (i == project_.current())
        return toJsonObject(mainWindowInputs(*this));
    return project_.at(i).main;
}

ConstructionResults MainForm::constructionResults(int i) const
{
    if (i == project_.current())
        return shownResults();
    return project_.at(i).results;
}

void MainForm::showConstruction(int i)
{
    if (i < 0 || i >= project_.count() || i == project_.current()) {
        updateConstructionBar();
        return;
    }
    if (ctx_.busy()) {
        prompter().beep();
        updateConstructionBar();
        return;
    }
    storeShown();
    project_.shown().results = shownResults();
    project_.setCurrent(i);
    const Construction c = project_.shown();
    // nothing of the construction is taken for changed while it is being put on screen
    switching_ = true;
    ctx_.lastCalc.reset();  // the input that follows greys nothing
    applyInput(c.main);
    pendingAirLayer_ = c.airLayer;
    airLayerShown_ = false;
    showResults(c.results);
    switching_ = false;
    emit constructionShown();
    updateConstructionBar();
    updateModified();
    notifyChanged();
    emit projectChanged();
}

// Adding, renaming, deleting, moving

bool MainForm::insertConstruction(Construction c)
{
    if (ctx_.busy()) {
        prompter().beep();
        return false;
    }
    storeShown();
    const int at = project_.insert(project_.current() + 1, std::move(c));
    showConstruction(at);
    return true;
}

bool MainForm::addConstruction(const QString& mark, const QString& name, NewConstruction kind)
{
    storeShown();
    Construction c;
    c.mark = mark;
    c.name = name;
    if (kind == NewConstruction::Copy) {
        c.main = project_.shown().main;
        c.airLayer = project_.shown().airLayer;
        c.results = shownResults();
    } else {
        c.main = withoutLayers(project_.shown().main);
    }
    return insertConstruction(std::move(c));
}

void MainForm::duplicateConstruction()
{
    const Construction& shown = project_.shown();
    addConstruction(project_.nextMark(shown.mark), shown.name, NewConstruction::Copy);
}

void MainForm::renameConstruction(int i, const QString& mark, const QString& name)
{
    project_.rename(i, mark, name);
    updateConstructionBar();
    updateModified();
    notifyChanged();
    emit projectChanged();
}

void MainForm::deleteConstruction()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    if (project_.count() <= 1) {
        prompter().message(QStringLiteral("В проекте одна конструкция: удалить ее нельзя."), QStringLiteral("Внимание!"),
                           MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const int i = project_.current();
    if (prompter().message(QStringLiteral("Удалить конструкцию «%1» из проекта?\rЕе исходные данные и результаты "
                                          "будут потеряны.")
                               .arg(project_.shown().caption()),
                           QStringLiteral("Внимание!"), MessageIcon::Question,
                           MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    showConstruction(i + 1 < project_.count() ? i + 1 : i - 1);
    project_.remove(i);
    updateConstructionBar();
    updateModified();
    notifyChanged();
    emit projectChanged();
}

void MainForm::moveConstruction(int delta)
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    project_.move(project_.current(), project_.current() + delta);
    updateConstructionBar();
    updateModified();
    notifyChanged();
    emit projectChanged();
}

void MainForm::setProjectName(const QString& name)
{
    if (const QString problem = nameProblem(name.trimmed()); !problem.isEmpty())
        throw AppError(QStringLiteral("В названии проекта %1").arg(problem));
    project_.setName(name.trimmed());
    updateModified();
    emit projectChanged();
}

void MainForm::setProjectDescription(const QString& description)
{
    project_.setDescription(description);
    ctx_.sourceDataSummary = description;
    updateModified();
    emit projectChanged();
}

void MainForm::keepMoistureBalance(const std::optional<MoistureTotals>& totals)
{
    moisture_ = totals;
    emit projectChanged();
}

// "Рассчитать все"

void MainForm::calculateAll()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    storeShown();
    project_.shown().results = shownResults();
    // the input of each construction as it stands at the start
    QList<QJsonObject> inputs;
    for (const Construction& c : project_.constructions())
        inputs.append(c.main);
    QStringList problems;
    const int done = calculateEach(inputs, problems);
    // the shown construction shows its new results; an edit made meanwhile greys them
    ConstructionResults& shown = project_.shown().results;
    if (toJsonObject(mainWindowInputs(*this)) != inputs[project_.current()])
        shown.stale = shown.changedSinceCollect = true;
    showResults(shown);
    finishCalculateAll(done, problems, done < inputs.size());
}

int MainForm::calculateEach(const QList<QJsonObject>& inputs, QStringList& problems)
{
    RunGuard guard(ctx_);
    calculatingAll_ = true;
    stopAll_ = false;
    updateConstructionBar();
    HiddenMainWindow hidden(ctx_);
    int done = 0;
    for (int i = 0; i < inputs.size(); ++i) {
        setText(kProgress, QStringLiteral("Расчет конструкции %1 (%2 из %3)…")
                               .arg(project_.at(i).mark)
                               .arg(i + 1)
                               .arg(inputs.size()));
        notifyChanged();
        ctx_.yieldToEvents();
        if (stopAll_ || quitting_)
            break;
        ConstructionResults r = calculateHidden(hidden, inputs[i]);
        r.airLayerReportLines = project_.at(i).results.airLayerReportLines;
        if (const QString problem = problemOf(r); !problem.isEmpty())
            problems.append(QStringLiteral("%1: %2").arg(project_.at(i).mark, problem));
        project_.at(i).results = r;
        ++done;
    }
    calculatingAll_ = false;
    return done;
}

void MainForm::finishCalculateAll(int done, const QStringList& problems, bool stopped)
{
    updateConstructionBar();
    notifyChanged();
    emit calculationDone();
    emit projectChanged();
    if (quitting_)
        return;  // the program ends: nothing more to show
    QStringList lines;
    if (stopped)
        lines.append(QStringLiteral("Расчет прерван: рассчитано конструкций — %1 из %2; у остальных остались прежние "
                                    "результаты.")
                         .arg(done)
                         .arg(project_.count()));
    if (!problems.isEmpty())
        lines.append(QStringLiteral("Не дошли до вывода о соответствии:\r") + problems.join(u'\r') +
                     QStringLiteral("\rОткройте конструкцию и исправьте исходные данные."));
    if (!lines.isEmpty())
        prompter().message(lines.join(QStringLiteral("\r\r")), QStringLiteral("Внимание!"), MessageIcon::Exclamation,
                           MessageButtons::Ok);
    emit windowRequested(QStringLiteral("frmSummary"));
}

// Opening

void MainForm::openProject(const PreparedSourceData& file, const QString& path)
{
    applyPlan(*this, file.main.first());
    pendingAirLayer_.reset();
    if (file.airLayer.first()) {
        FormModel* air = airWindow_();
        if (air->isLoaded())
            applyPlan(*air, *file.airLayer.first());
        else
            pendingAirLayer_ = file.contents.constructions.first().airLayer;
    }
    clearResults();
    cityFollowsRegion_ = currentIndex(QStringLiteral("cboGorod")) == stationOfRegion();
    project_ = Project::fromData(file.contents);
    // The first construction is what the window now shows; a file may leave keys out,
    // and the others take what they leave out from the window as a new program shows it.
    if (project_.count() > 1) {
        HiddenMainWindow hidden(ctx_);
        for (int i = 1; i < project_.count(); ++i) {
            hidden.show(project_.at(i).main);
            project_.at(i).main = toJsonObject(mainWindowInputs(*hidden.form));
        }
    }
    ctx_.sourceDataPath = QFileInfo(path).absoluteFilePath();
    setProjectDescription(project_.description());
    rememberSavedState();
    modified_ = false;
    updateCaption();
    addRecent(ctx_.sourceDataPath);
    updateConstructionBar();
    notifyChanged();
    emit sourceDataOpened();
    emit projectChanged();
}

}  // namespace ogrado
