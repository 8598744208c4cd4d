// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window frmData «Справочные данные»: every table of the reference files with the
// status and source of its values, sortable by any column. A value changed in the table
// is checked as the readers check the file, written into its file (kept once as
// "<name>.bak" before its first change) and recorded as the user's with the date; then
// the program reads the tables again, and the main window's fields that held the old
// table value take the new one. "Значения строки проверены" records the chosen row's
// values as the user's without changing the file.
#include "mainwindow/main_form.h"
#include "refdata/ref_table_files.h"

#include <QDate>

#include <functional>

namespace ogrado {

class ReferenceDataForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmData"); }

    ReferenceDataForm(AppContext& ctx, MainForm& main, QObject* parent = nullptr);

    // The tables the window lists (those whose file is there), in its order.
    const QVector<const RefTableLayout*>& shownTables() const { return tables_; }
    // The table chosen in the list, or nullptr.
    const RefTableLayout* chosenTable() const;
    // The row of the table (0-based, in file order) shown in row `row` of the grid, or -1.
    int tableRowOf(int row) const { return shownRows_.value(row, -1); }
    // The date the window records changes with (today unless set, for the tests).
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

    // The status colours of the cells.
    static Rgb statusColor(DataStatus status);

signals:
    // The reference tables were read again after a change.
    void tablesChanged();

protected:
    void onLoad() override;

private:
    void showTable();
    void fillGrid();
    void showRow();
    void editCell();
    void confirmRow();
    void requireDataDir() const;
    void reload();

    AppContext& ctx_;
    MainForm& main_;
    QVector<const RefTableLayout*> tables_;
    QVector<int> shownRows_;  // the table row of each grid row
    std::function<QDate()> today_;
};

}  // namespace ogrado
