// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/reference_data_form.h"

#include "common/app_error.h"
#include "refdata/ref_reader.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace ogrado {

namespace {

const QString kGrid = QStringLiteral("grdData");
const QString kList = QStringLiteral("cboTable");

// The cells of a row whose status the row's status column sums up: its values, or its
// name when it has nothing else.
QVector<int> valueColumns(const RefTableLayout& layout)
{
    QVector<int> columns;
    for (int c = 0; c < layout.columns.size(); ++c)
        if (c != layout.keyColumn && layout.columns[c].kind != CellKind::Fixed)
            columns.append(c);
    if (columns.isEmpty() && layout.keyColumn >= 0)
        columns.append(layout.keyColumn);
    return columns;
}

// "t(от.), z(от.) — заглушка (12.03.2025): по памяти": the columns of each origin, one
// line per origin, in the order of the columns.
QStringList originLines(const RefTableLayout& layout, const QVector<ValueOrigin>& origins, const QVector<int>& columns)
{
    QStringList keys;
    QHash<QString, QStringList> headings;
    for (int c : columns) {
        const ValueOrigin& o = origins[c];
        QString key = statusText(o.status);
        if (o.date.isValid())
            key += QStringLiteral(" (") + o.date.toString(QStringLiteral("dd.MM.yyyy")) + u')';
        if (!o.source.isEmpty())
            key += QStringLiteral(": ") + o.source;
        if (!keys.contains(key))
            keys.append(key);
        headings[key].append(layout.columns[c].heading);
    }
    QStringList lines;
    for (const QString& key : keys)
        lines.append(headings[key].join(QStringLiteral(", ")) + QStringLiteral(" — ") + key);
    return lines;
}

}  // namespace

Rgb ReferenceDataForm::statusColor(DataStatus status)
{
    switch (status) {
    case DataStatus::Placeholder:
        return 0xFFFFC8C8;
    case DataStatus::Derived:
        return 0xFFFFF0B0;
    case DataStatus::CheckAgainstCode:
        return 0xFFD6E6FF;
    case DataStatus::UserEntered:
        return 0xFFCCF0CC;
    case DataStatus::Normative:
    case DataStatus::Unknown:
        break;
    }
    return kWhite;
}

ReferenceDataForm::ReferenceDataForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main),
      today_([] { return QDate::currentDate(); })
{
    setSizeTwips(16500, 9600);
    add(kList, ControlKind::ComboBox);
    add(QStringLiteral("lblTable"), ControlKind::Label);
    add(kGrid, ControlKind::Table);
    add(QStringLiteral("lblRow"), ControlKind::Label);
    add(QStringLiteral("lblHint"), ControlKind::Label);
    add(QStringLiteral("cmdConfirm"), ControlKind::Button, QStringLiteral("Значения строки проверены"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Закрыть"));
    setToolTip(QStringLiteral("cmdConfirm"),
               QStringLiteral("Значения выбранной строки сверены с нормативным документом: они получат статус "
                              "«введено пользователем» с сегодняшней датой, файл данных не изменится"));

    on(kList, FormEvent::Click, [this] { showTable(); });
    on(kGrid, FormEvent::Click, [this] { showRow(); });
    on(kGrid, FormEvent::Sort, [this] { fillGrid(); });
    on(kGrid, FormEvent::Change, [this] { editCell(); });
    on(QStringLiteral("cmdConfirm"), FormEvent::Click, [this] { confirmRow(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void ReferenceDataForm::onLoad()
{
    setCaption(QStringLiteral("Справочные данные"));
    tables_.clear();
    QStringList captions;
    for (const RefTableLayout& layout : refTableLayouts()) {
        if (layout.optional && !QFileInfo::exists(QDir(ctx_.settings.dataDir).filePath(layout.fileName)))
            continue;
        tables_.append(&layout);
        captions.append(layout.caption);
    }
    setItems(kList, captions);
    setText(QStringLiteral("lblHint"),
            QStringLiteral("Цвет значения — его статус: розовый — «заглушка», желтый — «выведено расчетом», голубой — "
                           "«по СНиП/СП (проверить)», зеленый — «введено пользователем». Двойной щелчок по значению — "
                           "изменить его: значение проверяется и сразу записывается в файл в папке справочных данных "
                           "(перед первым изменением файл сохраняется с расширением «.bak»), программа читает "
                           "таблицы заново."));
    select(kList, captions.isEmpty() ? -1 : 0);
}

const RefTableLayout* ReferenceDataForm::chosenTable() const
{
    return tables_.value(currentIndex(kList), nullptr);
}

void ReferenceDataForm::showTable()
{
    const RefTableLayout* layout = chosenTable();
    Control& grid = mutableControl(kGrid);
    grid.sortColumn = -1;
    grid.sortDescending = false;
    if (!layout) {
        setColumns(kGrid, {});
        fillGrid();
        return;
    }
    setColumns(kGrid, layout->headings() + QStringList{QStringLiteral("Статус"), QStringLiteral("Источник")});
    QList<int> editable;
    for (int c = 0; c < layout->columns.size(); ++c)
        if (layout->columns[c].kind != CellKind::Fixed)
            editable.append(c);
    setEditableColumns(kGrid, editable);
    QString about = QStringLiteral("Файл «%1».").arg(layout->fileName);
    const ValueOrigin table = ctx_.tables.provenance.tableOrigin(layout->id);
    if (table.status != DataStatus::Unknown)
        about += QStringLiteral(" Таблица: %1 — %2.").arg(statusText(table.status), table.source);
    if (!ctx_.tables.provenanceProblem.isEmpty())
        about += QStringLiteral(" ") + QString(ctx_.tables.provenanceProblem).replace(u'\r', u' ');
    setText(QStringLiteral("lblTable"), about);
    setForeground(QStringLiteral("lblTable"), ctx_.tables.provenanceProblem.isEmpty() ? kBlack : kRed);
    fillGrid();
}

void ReferenceDataForm::fillGrid()
{
    const RefTableLayout* layout = chosenTable();
    const QVector<QStringList> cells = layout ? layout->cells(ctx_.tables) : QVector<QStringList>();
    const QVector<int> values = layout ? valueColumns(*layout) : QVector<int>();
    QVector<QStringList> rows;
    QVector<QVector<Rgb>> colors;
    for (int r = 0; r < cells.size(); ++r) {
        const QString key = layout->rowKey(cells, r);
        QStringList row;
        QVector<Rgb> rowColors;
        QVector<ValueOrigin> origins;
        for (int c = 0; c < layout->columns.size(); ++c) {
            const QString text = cells[r].value(c);
            row.append(text);
            origins.append(layout->columns[c].kind == CellKind::Fixed
                               ? ValueOrigin{}
                               : ctx_.tables.provenance.origin(layout->id, key, layout->columns[c].heading, text));
            rowColors.append(statusColor(origins.last().status));
        }
        QStringList statuses;
        QStringList sources;
        for (int c : values) {
            const QString s = statusText(origins[c].status);
            if (!statuses.contains(s))
                statuses.append(s);
            if (!origins[c].source.isEmpty() && !sources.contains(origins[c].source))
                sources.append(origins[c].source);
        }
        rows.append(row + QStringList{statuses.join(QStringLiteral(", ")), sources.join(QStringLiteral("; "))});
        colors.append(rowColors);
    }
    // the order shown: by the sort column, equal cells in file order
    QVector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    const Control& grid = control(kGrid);
    if (layout && grid.sortColumn >= 0 && grid.sortColumn < grid.columns.size()) {
        const int column = grid.sortColumn;
        const bool numeric = column < layout->columns.size() && layout->columns[column].kind != CellKind::Name &&
                             layout->columns[column].kind != CellKind::Fixed;
        const bool descending = grid.sortDescending;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int cmp = compareCellTexts(rows[a].value(column), rows[b].value(column), numeric);
            return descending ? cmp > 0 : cmp < 0;
        });
    }
    const int chosen = tableRowOf(currentIndex(kGrid));
    shownRows_.clear();
    QVector<QStringList> shown;
    QVector<QVector<Rgb>> shownColors;
    for (int r : order) {
        shownRows_.append(r);
        shown.append(rows[r]);
        shownColors.append(colors[r]);
    }
    setRows(kGrid, shown);
    setCellBackgrounds(kGrid, shownColors);
    setCurrentIndex(kGrid, int(shownRows_.indexOf(chosen)));
    showRow();
}

void ReferenceDataForm::showRow()
{
    const RefTableLayout* layout = chosenTable();
    const int row = tableRowOf(currentIndex(kGrid));
    setEnabled(QStringLiteral("cmdConfirm"), layout && row >= 0);
    if (!layout || row < 0) {
        setText(QStringLiteral("lblRow"), QStringLiteral("Выберите строку таблицы."));
        return;
    }
    const QVector<QStringList> cells = layout->cells(ctx_.tables);
    const QString key = layout->rowKey(cells, row);
    QVector<ValueOrigin> origins;
    for (int c = 0; c < layout->columns.size(); ++c)
        origins.append(ctx_.tables.provenance.origin(layout->id, key, layout->columns[c].heading, cells[row].value(c)));
    const QString name = layout->keyColumn >= 0 ? key : QStringLiteral("%1").arg(row + 1);
    setText(QStringLiteral("lblRow"), QStringLiteral("Строка «%1»:\n").arg(name) +
                                          originLines(*layout, origins, valueColumns(*layout)).join(u'\n'));
}

void ReferenceDataForm::requireDataDir() const
{
    if (ctx_.settings.dataDir.trimmed().isEmpty())
        throw AppError(QStringLiteral("Не задана папка справочных данных: изменения записать некуда. Проверьте "
                                      "настройки каталогов программы."));
}

void ReferenceDataForm::reload()
{
    const RefTables before = ctx_.tables;
    ctx_.tables = loadReferenceData(ctx_.settings.dataDir);
    main_.referenceTablesChanged(before);
    emit tablesChanged();
    fillGrid();
}

void ReferenceDataForm::editCell()
{
    const CellEdit edit = cellEdit();
    const RefTableLayout* layout = chosenTable();
    const int row = tableRowOf(edit.row);
    if (!layout || row < 0)
        return;
    requireDataDir();
    try {
        saveReferenceValue(ctx_.settings.dataDir, ctx_.tables, *layout, row, edit.column, edit.text, today_());
    } catch (const AppError&) {
        // a change refused before anything was written leaves the files as they were; one
        // that failed later may have written the value: the tables follow the files
        reload();
        throw;
    }
    reload();
}

void ReferenceDataForm::confirmRow()
{
    const RefTableLayout* layout = chosenTable();
    const int row = tableRowOf(currentIndex(kGrid));
    if (!layout || row < 0)
        return;
    requireDataDir();
    confirmReferenceRow(ctx_.settings.dataDir, ctx_.tables, *layout, row, today_());
    reload();
}

}  // namespace ogrado
