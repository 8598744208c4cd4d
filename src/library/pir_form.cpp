// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/pir_form.h"

#include "mainwindow/main_form.h"
#include "common/app_error.h"

namespace ogrado {

namespace {

const QString kCombo = QStringLiteral("cbo1");
const QString kDescription = QStringLiteral("txtOp");
const QString kNewName = QStringLiteral("txt1_0");
const QString kNewDescription = QStringLiteral("txt1_1");

}  // namespace

PirForm::PirForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Запись и редактирование пирожков"));
    setSizeTwips(9900, 4200);
    add(kCombo, ControlKind::ComboBox);
    add(kDescription, ControlKind::TextBox);
    addArray(QStringLiteral("txt1"), 0, 1, ControlKind::TextBox);
    add(QStringLiteral("cmdSave"), ControlKind::Button, QStringLiteral("Добавить"));
    add(QStringLiteral("cmdRen"), ControlKind::Button, QStringLiteral("Перенаименовать"));
    add(QStringLiteral("cmdDel"), ControlKind::Button, QStringLiteral("Удалить"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(kCombo, FormEvent::Click, [this] {
        const int i = currentIndex(kCombo);
        if (i < 0 || i >= library_.stackCount())
            return;
        selectedStack_ = i + 1;
        setText(kDescription, library_.stacks[i].description);
    });
    on(kCombo, FormEvent::DblClick, [this] {
        // Only a stack chosen in the list: a typed name that matches none loads nothing.
        const int i = currentIndex(kCombo);
        if (i < 0 || i >= library_.stackCount())
            return;
        LoadStackIntoTable(main_, library_.stacks[i], StackLoad::Quick);
    });
    on(QStringLiteral("cmdSave"), FormEvent::Click, [this] {
        const QString name = text(kNewName);
        const QString description = text(kNewDescription);
        change([&](LayerStackLibrary& lib) { AddStack(lib, ctx_.layerTable, name, description); });
    });
    on(QStringLiteral("cmdRen"), FormEvent::Click, [this] {
        const int k = selectedStack_;
        const QString name = text(kCombo);
        const QString description = text(kDescription);
        change([&](LayerStackLibrary& lib) { RenameStack(lib, k, name, description); });
    });
    on(QStringLiteral("cmdDel"), FormEvent::Click, [this] {
        // The stack chosen in the list; with an edited name that is none of them, no
        // stack is deleted in its place.
        const int i = currentIndex(kCombo);
        if (i < 0)
            throw AppError(QStringLiteral("Пирожок не удален: выберите его в списке «Существующие пирожки в базе»."),
                           fieldOf(formName(), kCombo));
        change([&](LayerStackLibrary& lib) { DeleteStack(lib, i + 1); });
    });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });

    // "Сохранить пирожок" pressed again while the window is open collects the grid
    // anew: the proposal follows what "Добавить" will store.
    connect(&main_, &MainForm::windowRequested, this, [this](const QString& name) {
        if (name == formName() && isLoaded()) {
            fillNewStack();
            notifyChanged();
        }
    });
}

std::optional<QPoint> PirForm::placement(const QRect& mainTwips) const
{
    return QPoint(mainTwips.left(), mainTwips.top() + 100);
}

QString PirForm::libraryPath() const
{
    return libraryFilePath(ctx_.settings.dataDir);
}

QString PirForm::proposedName(const LayerTable& table)
{
    QStringList thicknesses;
    for (const LayerRow& row : table.layers)
        thicknesses.append(row.cell(kColThickness));
    return thicknesses.join(u'+');
}

QString PirForm::proposedDescription(const LayerTable& table)
{
    QString description;
    for (int n = 0; n < table.count(); ++n) {
        const LayerRow& row = table.layers[n];
        if (n > 0)
            description += QStringLiteral(" + ");
        description += row.name + QStringLiteral(" - ") + row.cell(kColThickness) + QStringLiteral(" мм. ");
    }
    return description;
}

void PirForm::onLoad()
{
    fillNewStack();
    readLibrary();
}

void PirForm::fillNewStack()
{
    setText(kNewName, proposedName(ctx_.layerTable));
    setText(kNewDescription, proposedDescription(ctx_.layerTable));
}

void PirForm::readLibrary()
{
    // Until the file has been read nothing may be stored: a damaged file stays as it is.
    libraryRead_ = false;
    library_ = {};
    showStacks();
    library_ = LoadLibraryFile(libraryPath());
    libraryRead_ = true;
    showStacks();
}

void PirForm::showStacks()
{
    QStringList names;
    for (const LayerStack& s : library_.stacks)
        names.append(s.name);
    setItems(kCombo, names);
    setText(kCombo, QString());
    setText(kDescription, QString());
    selectedStack_ = 0;
    const bool any = libraryRead_ && !names.isEmpty();
    setEnabled(QStringLiteral("cmdSave"), libraryRead_);
    setEnabled(QStringLiteral("cmdRen"), any);
    setEnabled(QStringLiteral("cmdDel"), any);
    if (any)
        select(kCombo, 0);
}

void PirForm::change(const std::function<void(LayerStackLibrary&)>& operation)
{
    if (!libraryRead_)
        throw AppError(QStringLiteral("Библиотека пирожков не прочитана, изменять ее нельзя. Исправьте файл "
                                      "библиотеки и откройте это окно снова."));
    ChangeLibrary(libraryPath(), library_, operation);
    showStacks();
}

}  // namespace ogrado
