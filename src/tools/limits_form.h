// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window frmVariant "Границы использования пирожка": for the collected envelope,
// the inside humidities at which it still meets п. 9.1 ТКП 45-2.04-43, for each
// inside temperature of a range; the table can be added to the report.
#include "session/app_context.h"
#include "common/form_model.h"
#include "tools/limits_search.h"

namespace ogrado {

class MainForm;

class LimitsForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmVariant"); }

    // Entries first, last, step of the two ranges and the three result lists.
    static QString temperatureEntry(int k) { return QStringLiteral("txtTv_%1").arg(k); }
    static QString humidityEntry(int k) { return QStringLiteral("txtFiv_%1").arg(k); }
    static QString list(int k) { return QStringLiteral("lst1_%1").arg(k); }

    LimitsForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // "Расчет": the search, then the design case once more.
    void search();
    // "Добавить к результатам расчетов".
    void appendToReport();

    // Whether the last search ran through every row.
    bool lastSearchCompleted() const { return lastSearchCompleted_; }
    // Main calculations of candidates the last search ran (the design case calculated
    // again after it not counted); 0 for a search refused before it began.
    qint64 calculationsRun() const { return calculationsRun_; }
    // The rows the three lists show.
    const QVector<LimitsRow>& rows() const { return rows_; }

protected:
    void onLoad() override;
    void onUnload() override;

private:
    void setButtonsEnabled(bool enabled);
    // A row of the search: kept as numbers, shown in the three lists.
    void showRow(const LimitsRow& row);
    void restoreDesignCase(const EnvelopeInputs& inputs, const QString& alreadyShown);

    AppContext& ctx_;
    MainForm& main_;
    bool running_ = false;
    bool closed_ = false;  // the window was closed while the search ran
    bool lastSearchCompleted_ = false;
    qint64 calculationsRun_ = 0;
    QVector<LimitsRow> rows_;  // the rows the lists show, as numbers
};

}  // namespace ogrado
