// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window frmTolsh "Подбор толщины слоя": for one layer of the main window's grid,
// the thinnest of a range or a list of thicknesses with which the envelope complies.
// Every candidate runs the main calculation on a copy of the input; the main window's
// fields, the collected table and the report are not touched until "Применить"
// writes the answer, or the row of the candidate table the user chose, into the layer's
// thickness cell and runs "Расчет".
#include "session/app_context.h"
#include "common/form_model.h"
#include "tools/thickness_search.h"

#include <QElapsedTimer>

namespace ogrado {

class MainForm;

class ThicknessForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmTolsh"); }

    // The columns of the candidate table: δ, Rт, D, tн, Rт.тр., Rт ≥ Rт.тр., п. 9.1,
    // the first failing boundary, accumulated water, summer drying, complies.
    static constexpr int kColumns = 13;
    static QString column(int k) { return QStringLiteral("lstTab_%1").arg(k); }
    // Criteria boxes: 0 Rт ≥ Rт.тр. (always on), 1 п. 9.1, 2 the moisture balance.
    static QString criterion(int k) { return QStringLiteral("chkKrit_%1").arg(k); }
    // Option buttons: 0 the range "от", "до", "шаг"; 1 the list of thicknesses.
    static QString mode(int k) { return QStringLiteral("optVybor_%1").arg(k); }

    ThicknessForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // The layer list anew from the main window's grid; the chosen layer stays chosen
    // while it is still collected.
    void refreshLayers();
    // "Подобрать".
    void select();
    // "Прервать": the search stops after the candidate being calculated.
    void stop();
    // A click on row `row` of the candidate table: that thickness is what "Применить"
    // writes (the answer's row again: the answer).
    void chooseRow(int row);
    // The row "Применить" writes: the one chosen, or else the answer; -1 for none.
    int rowToApply() const;
    // "Применить": the chosen thickness (the answer unless a row was chosen) into the
    // layer's thickness cell, then "Расчет". A row that does not comply is asked about.
    void apply();

    // The last search and its case; nothing before the first or after a change of the
    // layer or the criteria.
    const std::optional<ThicknessSelection>& selection() const { return selection_; }
    const std::optional<ThicknessCase>& searchedCase() const { return case_; }
    // The grid row of the layer searched.
    int searchedRow() const { return searchedRow_; }

protected:
    void onLoad() override;
    void onUnload() override;

private:
    ThicknessCase currentCase(int& sourceRow) const;
    void clearResults();
    void setRunning(bool running);
    void showRow(const ThicknessCandidate& r);
    void showAnswer();
    void updateModeEntries();
    void chooseLayer(int index, bool resetFrom);

    AppContext& ctx_;
    MainForm& main_;
    QVector<int> layerRows_;  // the grid row of each entry of the layer list
    std::optional<ThicknessCase> case_;
    std::optional<ThicknessSelection> selection_;
    int searchedRow_ = 0;
    int chosenRow_ = -1;  // the candidate row the user chose, -1 for the answer
    int candidateCount_ = 0;
    bool running_ = false;
    bool stopRequested_ = false;
    bool closed_ = false;
    QElapsedTimer shown_;  // since the window last showed the progress
};

}  // namespace ogrado
