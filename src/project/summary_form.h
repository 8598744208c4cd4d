// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmSummary, «Сводка по проекту»: the project's name and description and one row per
// construction with its last results; a double click shows that construction in the
// main window, «Копировать» copies the table for a spreadsheet.
#include "common/form_model.h"
#include "project/project_summary.h"

namespace ogrado {

class MainForm;

class SummaryForm : public FormModel {
    Q_OBJECT
public:
    static QString windowName() { return QStringLiteral("frmSummary"); }

    explicit SummaryForm(MainForm& main, QObject* parent = nullptr);

    // The summary as the table shows it.
    const ProjectSummary& summary() const { return summary_; }

signals:
    // «Копировать»: the text the clipboard takes (the view puts it there).
    void copyRequested(const QString& text);

protected:
    void onLoad() override;

private:
    void refresh();

    MainForm& main_;
    ProjectSummary summary_;
};

}  // namespace ogrado
