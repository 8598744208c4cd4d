// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/thickness_form.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "mainwindow/main_form.h"

namespace ogrado {

namespace {

const QString kLayers = QStringLiteral("cboSloj");
const QString kFrom = QStringLiteral("txtOt");
const QString kTo = QStringLiteral("txtDo");
const QString kStep = QStringLiteral("txtShag");
const QString kList = QStringLiteral("txtSpisok");
const QString kProgress = QStringLiteral("lblHod");
const QString kAnswer = QStringLiteral("lblOtvet");
const QString kNote = QStringLiteral("lblPrim");

// The window shows the progress at most this often while a search runs (ms).
constexpr qint64 kProgressEveryMs = 100;

// Digits, the decimal comma and the separators of a list of thicknesses.
std::optional<QChar> listKey(QChar key)
{
    if (key == u'.')
        return QChar(u',');
    if (key.isDigit() || key == u',' || key == u';' || key == u' ' || key == QChar(8) || key == QChar(0))
        return key;
    return std::nullopt;
}

QString yesNo(bool v)
{
    return v ? QStringLiteral("да") : QStringLiteral("нет");
}

}  // namespace

ThicknessForm::ThicknessForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Подбор толщины слоя"));
    add(kLayers, ControlKind::ComboBox);
    add(mode(0), ControlKind::OptionButton, QStringLiteral("Диапазон, мм")).group = QStringLiteral("optVybor");
    add(mode(1), ControlKind::OptionButton, QStringLiteral("Список толщин изделий, мм через «;»")).group =
        QStringLiteral("optVybor");
    setChecked(mode(0), true);
    add(kFrom, ControlKind::TextBox);
    add(kTo, ControlKind::TextBox, QStringLiteral("500"));
    add(kStep, ControlKind::TextBox, QStringLiteral("10"));
    add(kList, ControlKind::TextBox, QStringLiteral("50;80;100;120;150;200")).enabled = false;
    for (const QString& e : {kFrom, kTo, kStep}) {
        setKeyFilter(e, numericKeyFilter());
        setSelectAllOnClick(e);
    }
    setKeyFilter(kList, listKey);
    add(criterion(0), ControlKind::CheckBox, QStringLiteral("Rт ≥ Rт.тр. (формула 5.2) и Rт ≥ Rт.норм (табл. 5.1), когда оно задано")).enabled = false;
    setChecked(criterion(0), true);
    add(criterion(1), ControlKind::CheckBox, QStringLiteral("п. 9.1: сопротивление паропроницанию на всех границах"));
    setChecked(criterion(1), true);
    add(criterion(2), ControlKind::CheckBox,
        QStringLiteral("Влагонакопление за период не больше высыхания летом (помеченный слой, город главного окна)"));
    for (int k = 0; k < kColumns; ++k)
        add(column(k), ControlKind::ListBox);
    add(kProgress, ControlKind::Label);
    add(kAnswer, ControlKind::Label);
    add(kNote, ControlKind::Label).foreground = kRed;
    add(QStringLiteral("cmdPodbor"), ControlKind::Button, QStringLiteral("Подобрать"));
    add(QStringLiteral("cmdStop"), ControlKind::Button, QStringLiteral("Прервать")).enabled = false;
    add(QStringLiteral("cmdApply"), ControlKind::Button, QStringLiteral("Применить")).enabled = false;
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(kLayers, FormEvent::Click, [this] { chooseLayer(currentIndex(kLayers), true); });
    for (int k = 0; k < 2; ++k)
        on(mode(k), FormEvent::Click, [this] { updateModeEntries(); });
    for (int k = 1; k <= 2; ++k)
        on(criterion(k), FormEvent::Click, [this] { clearResults(); });
    on(QStringLiteral("cmdPodbor"), FormEvent::Click, [this] { select(); });
    on(QStringLiteral("cmdStop"), FormEvent::Click, [this] { stop(); });
    on(QStringLiteral("cmdApply"), FormEvent::Click, [this] { apply(); });
    for (int k = 0; k < kColumns; ++k)
        on(column(k), FormEvent::Click, [this, k] { chooseRow(currentIndex(column(k))); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void ThicknessForm::onLoad()
{
    layerRows_.clear();
    case_.reset();
    selection_.reset();
    searchedRow_ = 0;
    setChecked(criterion(2), main_.isChecked(QStringLiteral("chkVlaga")));
    refreshLayers();
}

void ThicknessForm::onUnload()
{
    if (running_)
        closed_ = true;
}

void ThicknessForm::refreshLayers()
{
    if (running_)
        return;
    const EnvelopeInput input = main_.envelopeInput();
    const LayerTable& t = input.table;
    const int index = currentIndex(kLayers);
    const int previousRow = index >= 0 && index < layerRows_.size() ? layerRows_[index] : 0;
    QStringList entries;
    QVector<int> rows;
    for (int i = 0; i < t.count(); ++i) {
        entries.append(QStringLiteral("%1. %2").arg(i + 1).arg(t.layers[i].name.trimmed()));
        rows.append(t.layers[i].sourceRow);
    }
    if (entries == items(kLayers) && rows == layerRows_)
        return;
    layerRows_ = rows;
    setItems(kLayers, entries);
    const int keep = previousRow > 0 ? int(rows.indexOf(previousRow)) : -1;
    if (keep >= 0)
        setCurrentIndex(kLayers, keep);
    else
        chooseLayer(layerWithSmallestLambda(input) - 1, true);
    notifyChanged();
}

void ThicknessForm::chooseLayer(int index, bool resetFrom)
{
    setCurrentIndex(kLayers, index);
    if (resetFrom && index >= 0 && index < layerRows_.size())
        setText(kFrom, defaultFromThickness(main_.cell(layerRows_[index], kColThickness), text(kStep)));
    clearResults();
}

void ThicknessForm::updateModeEntries()
{
    const bool list = isChecked(mode(1));
    for (const QString& e : {kFrom, kTo, kStep})
        setEnabled(e, !list && !running_);
    setEnabled(kList, list && !running_);
}

void ThicknessForm::clearResults()
{
    if (running_)
        return;
    case_.reset();
    selection_.reset();
    searchedRow_ = 0;
    chosenRow_ = -1;
    setText(QStringLiteral("cmdApply"), QStringLiteral("Применить"));
    for (int k = 0; k < kColumns; ++k)
        setItems(column(k), {});
    setText(kProgress, QString());
    setText(kAnswer, QString());
    setText(kNote, QString());
    setEnabled(QStringLiteral("cmdApply"), false);
}

void ThicknessForm::setRunning(bool running)
{
    running_ = running;
    for (const char* name : {"cmdPodbor", "cmdCancel", "cboSloj", "optVybor_0", "optVybor_1", "chkKrit_1", "chkKrit_2"})
        setEnabled(QLatin1String(name), !running);
    setEnabled(QStringLiteral("cmdStop"), running);
    setEnabled(QStringLiteral("cmdApply"), !running && rowToApply() >= 0);
    updateModeEntries();
}

ThicknessCase ThicknessForm::currentCase(int& sourceRow) const
{
    ThicknessCase c;
    const LayerTable table = main_.collectedTable();
    if (table.count() == 0)
        throw AppError(kNoLayersToSelect);
    if (std::optional<AppError> incomplete = incompleteLayersError(table))
        throw *incomplete;
    const int index = currentIndex(kLayers);
    if (index < 0 || index >= layerRows_.size())
        throw AppError(QStringLiteral("Выберите слой, толщину которого нужно подобрать."), fieldOf(formName(), kLayers));
    sourceRow = layerRows_[index];
    c.layer = 0;
    for (int i = 0; i < table.count(); ++i)
        if (table.layers[i].sourceRow == sourceRow)
            c.layer = i + 1;
    if (c.layer == 0)
        throw AppError(QStringLiteral("Строка %1 таблицы слоев больше не участвует в расчете: выберите слой снова.")
                           .arg(sourceRow),
                       fieldOf(formName(), kLayers));
    c.input = readEnvelopeInput(table, main_.envelopeInputs());
    c.saturation = &ctx_.tables.saturation;
    c.vapourCriterion = isChecked(criterion(1));
    if (isChecked(criterion(2))) {
        ThicknessCase::Moisture m;
        const int city = main_.currentIndex(QStringLiteral("cboGorod"));
        if (city >= 0 && city < ctx_.tables.climate.size())
            m.city = &ctx_.tables.climate[city];
        m.planeLayer = main_.moistenedLayer().value_or(0);
        c.moisture = m;
    }
    return c;
}

void ThicknessForm::select()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    const int chosenRow = currentIndex(kLayers) >= 0 && currentIndex(kLayers) < layerRows_.size()
                              ? layerRows_[currentIndex(kLayers)]
                              : 0;
    refreshLayers();  // the grid may have changed since the window opened
    const int nowRow = currentIndex(kLayers) >= 0 ? layerRows_.value(currentIndex(kLayers)) : 0;
    if (chosenRow != 0 && chosenRow != nowRow)
        throw AppError(QStringLiteral("Строка %1 таблицы слоев больше не участвует в расчете. Список слоев обновлен: "
                                      "выберите слой и нажмите «Подобрать» еще раз.")
                           .arg(chosenRow),
                       fieldOf(formName(), kLayers));
    clearResults();
    int sourceRow = 0;
    const ThicknessCase c = currentCase(sourceRow);
    const QVector<double> candidates = isChecked(mode(1)) ? thicknessList(text(kList))
                                                          : thicknessRange(text(kFrom), text(kTo), text(kStep));
    checkThicknessCase(c);

    RunGuard guard(ctx_);
    stopRequested_ = false;
    closed_ = false;
    candidateCount_ = int(candidates.size());
    setRunning(true);
    setText(kProgress, QStringLiteral("Рассчитано 0 из %1").arg(candidateCount_));
    notifyChanged();
    shown_.start();

    std::optional<ThicknessSelection> result;
    std::optional<AppError> failure;
    try {
        result = SearchThickness(c, candidates, [this](const ThicknessCandidate& r) {
            showRow(r);
            ctx_.yieldToEvents();
            return !stopRequested_ && !closed_;
        });
    } catch (const AppError& e) {
        failure = e;
    }
    setRunning(false);
    if (failure) {
        setText(kAnswer, QStringLiteral("Подбор остановлен: толщина не подобрана."));
        notifyChanged();
        if (!closed_)
            showError(QStringLiteral("Подбор остановлен.\r") + failure->message(), failure->title(), failure->field());
        return;
    }
    case_ = c;
    selection_ = std::move(result);
    searchedRow_ = sourceRow;
    showAnswer();
}

void ThicknessForm::showRow(const ThicknessCandidate& r)
{
    const QStringList cells = thicknessCandidateCells(r);
    for (int k = 0; k < kColumns; ++k)
        addItem(column(k), cells[k]);
    const int done = int(items(column(0)).size());
    setText(kProgress, QStringLiteral("Рассчитано %1 из %2").arg(done).arg(candidateCount_));
    if (shown_.elapsed() >= kProgressEveryMs) {
        notifyChanged();
        shown_.restart();
    }
}

void ThicknessForm::showAnswer()
{
    const ThicknessSelection& s = *selection_;
    const QString stopped = s.completed ? QString()
                                        : QStringLiteral("Подбор прерван: рассчитано %1 из %2 толщин. ")
                                              .arg(s.rows.size())
                                              .arg(candidateCount_);
    if (s.answer >= 0) {
        for (int k = 0; k < kColumns; ++k)
            setItemBackground(column(k), s.answer, kHighlight);
        setCurrentIndex(column(kColumns - 1), s.answer);  // the view scrolls the table to it
        setText(kAnswer, stopped + QStringLiteral("Наименьшая подходящая толщина слоя: %1 мм")
                                       .arg(generalText(s.rows[s.answer].thickness)));
        setText(kNote, nonMonotoneNote(s));
        setEnabled(QStringLiteral("cmdApply"), true);
        notifyChanged();
        return;
    }
    setEnabled(QStringLiteral("cmdApply"), false);
    const QString reason = s.completed ? noThicknessReason(*case_, s.rows)
                                       : stopped + QStringLiteral("Среди рассчитанных толщин подходящей нет.");
    setText(kAnswer, reason);
    notifyChanged();
    if (s.completed && !closed_)
        prompter().message(reason, QStringLiteral("Подбор толщины слоя"), MessageIcon::Information,
                           MessageButtons::Ok);
}

void ThicknessForm::stop()
{
    if (running_)
        stopRequested_ = true;
}

int ThicknessForm::rowToApply() const
{
    if (!selection_)
        return -1;
    return chosenRow_ >= 0 ? chosenRow_ : selection_->answer;
}

void ThicknessForm::chooseRow(int row)
{
    // only a finished search's rows can be chosen
    if (running_ || !selection_ || row < 0 || row >= selection_->rows.size())
        return;
    chosenRow_ = row == selection_->answer ? -1 : row;
    for (int k = 0; k < kColumns; ++k) {
        setCurrentIndex(column(k), row);
        for (int r = 0; r < selection_->rows.size(); ++r) {
            const Rgb colour = r == selection_->answer ? kHighlight : r == chosenRow_ ? kUserChoice : kWhite;
            setItemBackground(column(k), r, colour);
        }
    }
    setText(QStringLiteral("cmdApply"),
            chosenRow_ < 0 ? QStringLiteral("Применить")
                           : QStringLiteral("Применить %1 мм").arg(generalText(selection_->rows[row].thickness)));
    setEnabled(QStringLiteral("cmdApply"), true);
}

void ThicknessForm::apply()
{
    if (ctx_.busy()) {
        prompter().beep();
        return;
    }
    const int row = rowToApply();
    if (row < 0 || !case_)
        throw AppError(QStringLiteral("Нет подобранной толщины: сначала нажмите «Подобрать»."));
    int sourceRow = 0;
    const ThicknessCase now = currentCase(sourceRow);
    if (sourceRow != searchedRow_ || !now.sameButThickness(*case_))
        throw AppError(QStringLiteral("Исходные данные в главном окне изменились после подбора: нажмите «Подобрать» "
                                      "еще раз, затем «Применить»."));
    const ThicknessCandidate& chosen = selection_->rows[row];
    if (!chosen.complies &&
        prompter().message(QStringLiteral("Толщина %1 мм не удовлетворяет условиям подбора (в графе «Подходит» — "
                                          "«нет»).\rПрименить ее?")
                               .arg(generalText(chosen.thickness)),
                           QStringLiteral("Подбор толщины слоя"), MessageIcon::Question,
                           MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes)
        return;
    main_.setText(MainForm::cellName(searchedRow_, kColThickness), generalText(chosen.thickness));
    main_.notifyChanged();
    main_.userClick(QStringLiteral("cmdOk"));
}

}  // namespace ogrado
