#include "dialogs/materials_form.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "refdata/material_catalogue.h"
#include "refdata/ref_table_files.h"

#include <algorithm>

namespace ogrado {

namespace {

const QString kTable = QStringLiteral("grdM");

enum Column { kColNumber, kColName, kColDensity, kColLambdaA, kColLambdaB, kColSA, kColSB, kColMu, kColSource };

QStringList tableColumns()
{
    return {QStringLiteral("№"),  QStringLiteral("Наименование"), QStringLiteral("Объемная масса,\nкг/м3"),
            QStringLiteral("λА"), QStringLiteral("λБ"),           QStringLiteral("sА"),
            QStringLiteral("sБ"), QStringLiteral("μ"),            QStringLiteral("Источник")};
}

// The cells of material m in the table.
QStringList cellsOf(const MaterialTable& t, int m)
{
    const Material& mat = t[m];
    const QString number = mat.number();
    QStringList cells{number.isEmpty() ? QString::number(m + 1) : number, mat.plainName()};
    for (int k = 2; k <= 7; ++k)
        cells.append(mat.field(k));
    cells.append(mat.own ? QStringLiteral("свой") : QStringLiteral("ТКП"));
    return cells;
}

// The seven values of a material as the entry window shows them.
QStringList valuesOf(const Material& m)
{
    QStringList v{m.plainName()};
    for (int k = 2; k <= 7; ++k)
        v.append(m.field(k));
    return v;
}

}  // namespace

MaterialsForm::MaterialsForm(MainForm& main, QObject* parent)
    : FormModel(windowName(), main.prompter(), parent),
      main_(main),
      ctx_(main.context()),
      picker_(*this, main.context().tables.materials),
      edit_(std::make_unique<MaterialEditForm>(main.prompter()))
{
    setSizeTwips(13500, 8400);
    add(QStringLiteral("cboM"), ControlKind::ComboBox);
    add(QStringLiteral("lblM"), ControlKind::Label);
    add(QStringLiteral("txtM"), ControlKind::TextBox);
    add(QStringLiteral("lstM"), ControlKind::ListBox);
    add(QStringLiteral("txtFind"), ControlKind::TextBox);
    add(QStringLiteral("chkOwn"), ControlKind::CheckBox, QStringLiteral("Только свои"));
    add(kTable, ControlKind::Table).columns = tableColumns();
    add(QStringLiteral("lblOwn"), ControlKind::Label);
    add(QStringLiteral("cmdAdd"), ControlKind::Button, QStringLiteral("Добавить"));
    add(QStringLiteral("cmdEdit"), ControlKind::Button, QStringLiteral("Изменить"));
    add(QStringLiteral("cmdCopy"), ControlKind::Button, QStringLiteral("Копировать"));
    add(QStringLiteral("cmdDel"), ControlKind::Button, QStringLiteral("Удалить"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));
    setToolTip(QStringLiteral("cmdCopy"), QStringLiteral("Новый свой материал со значениями выбранного"));
    setToolTip(QStringLiteral("txtFind"), QStringLiteral("Часть наименования; «е» и «ё», прописные и строчные буквы "
                                                         "не различаются"));

    // the picker, as in the main window
    on(QStringLiteral("cboM"), FormEvent::Click, [this] {
        picker_.chooseEntry(currentIndex(QStringLiteral("cboM")));
        showChosenInTable();
    });
    on(QStringLiteral("cboM"), FormEvent::Change, [this] { picker_.typed(text(QStringLiteral("cboM"))); });
    on(QStringLiteral("lstM"), FormEvent::DblClick,
       [this] { main_.insertMaterial(picker_.chosen(), currentIndex(QStringLiteral("lstM")) + 1); });

    // the catalogue
    on(kTable, FormEvent::Click, [this] {
        picker_.fill(selectedMaterial());
        updateButtons();
    });
    on(kTable, FormEvent::DblClick, [this] {
        if (isEnabled(QStringLiteral("cmdEdit")))
            userClick(QStringLiteral("cmdEdit"));
    });
    on(kTable, FormEvent::Sort, [this] { fillTable(); });
    on(QStringLiteral("txtFind"), FormEvent::Change, [this] { fillTable(); });
    on(QStringLiteral("chkOwn"), FormEvent::Click, [this] { fillTable(); });

    on(QStringLiteral("cmdAdd"), FormEvent::Click,
       [this] { openEditor(QStringLiteral("Новый материал"), {}, -1); });
    on(QStringLiteral("cmdEdit"), FormEvent::Click, [this] {
        const int m = selectedMaterial();
        if (m >= 0 && ctx_.tables.materials[m].own)
            openEditor(QStringLiteral("Изменить свой материал"), valuesOf(ctx_.tables.materials[m]), m);
    });
    on(QStringLiteral("cmdCopy"), FormEvent::Click, [this] {
        const int m = selectedMaterial();
        if (m < 0)
            return;
        // a name that is not taken yet: "… (копия)", "… (копия 2)" …
        QStringList values = valuesOf(ctx_.tables.materials[m]);
        const QString base = values[kMatName];
        QString name = base + QStringLiteral(" (копия)");
        for (int n = 2; n < 1000 && findMaterialByName(ctx_.tables.materials, name) >= 0; ++n)
            name = base + QStringLiteral(" (копия %1)").arg(n);
        values[kMatName] = name;
        openEditor(QStringLiteral("Новый материал по образцу"), values, -1);
    });
    on(QStringLiteral("cmdDel"), FormEvent::Click, [this] { deleteSelected(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

MaterialsForm::~MaterialsForm() = default;

std::optional<QPoint> MaterialsForm::placement(const QRect& mainTwips) const
{
    // at the main window's top edge, flush with its right edge
    return QPoint(mainTwips.left() + mainTwips.width() - widthTwips(), mainTwips.top());
}

void MaterialsForm::onLoad()
{
    setCaption(QStringLiteral("Материалы"));
    QStringList rows;
    for (int r = 1; r <= LayerGridRows; ++r)
        rows.append(QString::number(r));
    setItems(QStringLiteral("lstM"), rows);
    picker_.fill(ctx_.tables.materials.isEmpty() ? -1 : 0);
    fillTable();
    const QString& problem = ctx_.tables.userMaterialsProblem;
    QString note = QStringLiteral("Свои материалы хранятся в файле «%1» в папке справочных данных и следуют в "
                                  "списках за материалами ТКП.")
                       .arg(QString::fromUtf8(kUserMaterialsFile));
    if (!problem.isEmpty())
        note = QString(problem).replace(u'\r', u' ');
    setText(QStringLiteral("lblOwn"), note);
    setForeground(QStringLiteral("lblOwn"), problem.isEmpty() ? kBlack : kRed);
}

void MaterialsForm::catalogueChanged()
{
    picker_.materialsChanged();
    fillTable();
    notifyChanged();
}

int MaterialsForm::selectedMaterial() const
{
    return materialOfRow(currentIndex(kTable));
}

void MaterialsForm::fillTable()
{
    const MaterialTable& t = ctx_.tables.materials;
    QVector<int> shown = findMaterials(t, text(QStringLiteral("txtFind")));
    if (isChecked(QStringLiteral("chkOwn")))
        shown.removeIf([&](int m) { return !t[m].own; });
    const Control& grid = control(kTable);
    const int column = grid.sortColumn;
    if (column >= 0 && column < tableColumns().size()) {
        const bool numeric = column != kColName && column != kColSource;
        const bool descending = grid.sortDescending;
        QVector<QStringList> cells(t.size());
        for (int m : shown)
            cells[m] = cellsOf(t, m);
        // equal cells keep the catalogue order
        std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
            const int c = compareCellTexts(cells[a][column], cells[b][column], numeric);
            return descending ? c > 0 : c < 0;
        });
    }
    tableMaterials_ = shown;
    QVector<QStringList> rows;
    rows.reserve(shown.size());
    for (int m : shown)
        rows.append(cellsOf(t, m));
    setRows(kTable, rows);
    showChosenInTable();
}

void MaterialsForm::showChosenInTable()
{
    setCurrentIndex(kTable, int(tableMaterials_.indexOf(picker_.chosen())));
    updateButtons();
}

void MaterialsForm::updateButtons()
{
    const int m = selectedMaterial();
    const bool writable = ctx_.tables.userMaterialsProblem.isEmpty();
    const bool own = m >= 0 && ctx_.tables.materials[m].own;
    setEnabled(QStringLiteral("cmdAdd"), writable);
    setEnabled(QStringLiteral("cmdCopy"), writable && m >= 0);
    setEnabled(QStringLiteral("cmdEdit"), writable && own);
    setEnabled(QStringLiteral("cmdDel"), writable && own);
}

void MaterialsForm::requireOwnFile() const
{
    if (!ctx_.tables.userMaterialsProblem.isEmpty())
        throw AppError(ctx_.tables.userMaterialsProblem, QStringLiteral("Внимание!"));
    if (ctx_.settings.dataDir.trimmed().isEmpty())
        throw AppError(QStringLiteral("Не задана папка справочных данных: файл своих материалов записать некуда. "
                                      "Проверьте настройки каталогов программы."));
}

void MaterialsForm::openEditor(const QString& caption, const QStringList& texts, int replacing)
{
    requireOwnFile();
    edit_->prepare(caption, texts, [this, replacing](const QStringList& entered) {
        MaterialTable next = ctx_.tables.materials;
        const QStringList values =
            checkMaterialEntry(entered, next, replacing, edit_->formName(), MaterialEditForm::fieldNames());
        if (replacing >= 0)
            replaceOwnMaterial(next, replacing, values);
        else
            addOwnMaterial(next, values);
        const int chosen = replacing >= 0 ? replacing : int(next.size()) - 1;
        store(next, chosen, -1);
    });
    if (ctx_.host)
        ctx_.host->showModal(*edit_);
}

void MaterialsForm::store(const MaterialTable& next, int chosen, int removed)
{
    requireOwnFile();
    saveUserMaterials(userMaterialsPath(ctx_.settings.dataDir), next);  // nothing changes when it fails
    ctx_.tables.materials = next;
    main_.materialsChanged(removed);
    if (chosen >= 0) {
        picker_.fill(chosen);
        // the changed material is shown in the table even when the filter hid it
        if (!findMaterials(next, text(QStringLiteral("txtFind"))).contains(chosen) ||
            (isChecked(QStringLiteral("chkOwn")) && !next[chosen].own)) {
            setText(QStringLiteral("txtFind"), QString());
            setChecked(QStringLiteral("chkOwn"), false);
        }
    } else {
        picker_.materialsChanged(removed);
    }
    fillTable();
    notifyChanged();
}

void MaterialsForm::deleteSelected()
{
    requireOwnFile();
    const int m = selectedMaterial();
    if (m < 0 || !ctx_.tables.materials[m].own)
        return;
    const MessageAnswer answer =
        prompter().message(QStringLiteral("Удалить свой материал «%1»?\rСлои, в которые он уже вставлен, не "
                                          "изменятся.")
                               .arg(ctx_.tables.materials[m].plainName()),
                           QStringLiteral("Подтверждение"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        return;
    MaterialTable next = ctx_.tables.materials;
    removeOwnMaterial(next, m);
    store(next, -1, m);
}

}  // namespace ogrado
