// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/summary_form.h"

#include "mainwindow/main_form.h"

namespace ogrado {

namespace {

const QString kTable = QStringLiteral("grdSummary");
const QString kName = QStringLiteral("txtPrjName");
const QString kDescription = QStringLiteral("txtPrjDescr");

}  // namespace

SummaryForm::SummaryForm(MainForm& main, QObject* parent)
    : FormModel(windowName(), main.prompter(), parent), main_(main)
{
    setSizeTwips(16500, 6600);  // room for the columns Rт.норм and heat loss, the verdict whole
    add(kName, ControlKind::TextBox);
    add(kDescription, ControlKind::TextBox);
    // the project's name goes into the documents as the construction names do
    setKeyFilter(kName, cp1251KeyFilter(), true);
    add(kTable, ControlKind::Table);
    add(QStringLiteral("lblNote"), ControlKind::Label,
        QStringLiteral("Серым — конструкции без расчета или с исходными данными, измененными после расчета. "
                       "Двойной щелчок по строке открывает конструкцию в главном окне."));
    add(QStringLiteral("cmdCopy"), ControlKind::Button, QStringLiteral("Копировать"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Закрыть"));

    on(kName, FormEvent::Change, [this] {
        try {
            main_.setProjectName(text(kName));
        } catch (const AppError& e) {
            showError(e.message(), QStringLiteral("Ошибка"));
        }
    });
    on(kDescription, FormEvent::Change, [this] { main_.setProjectDescription(text(kDescription)); });
    on(kTable, FormEvent::DblClick, [this] { main_.showConstruction(currentIndex(kTable)); });
    on(QStringLiteral("cmdCopy"), FormEvent::Click, [this] { emit copyRequested(summary_.tabSeparated()); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });

    // the table follows the project while the window is open
    auto follow = [this] {
        if (isLoaded()) {
            refresh();
            notifyChanged();
        }
    };
    connect(&main_, &MainForm::projectChanged, this, follow);
    connect(&main_, &MainForm::calculationDone, this, follow);
    connect(&main_, &FormModel::changed, this, follow);
}

void SummaryForm::onLoad()
{
    setCaption(QStringLiteral("Сводка по проекту"));
    refresh();
}

void SummaryForm::refresh()
{
    const Project& project = main_.project();
    // a field being typed into keeps its text
    if (text(kName) != project.name())
        setText(kName, project.name());
    if (text(kDescription) != project.description())
        setText(kDescription, project.description());
    ProjectSummary s = projectSummary(main_);
    const int chosen = project.current();
    if (s.headings != control(kTable).columns)
        setColumns(kTable, s.headings);
    setRows(kTable, s.rows);
    for (int r = 0; r < s.rows.size(); ++r)
        setRowForeground(kTable, r, s.stale[r] ? kGrey : kBlack);
    setCurrentIndex(kTable, chosen);
    summary_ = std::move(s);
}

}  // namespace ogrado
