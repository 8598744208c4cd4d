// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/construction_form.h"

#include "library/stack_loading.h"
#include "mainwindow/main_form.h"

namespace ogrado {

namespace {

QString option(int k)
{
    return QStringLiteral("optKind_%1").arg(k);
}

const QString kStacks = QStringLiteral("cboStack");

}  // namespace

ConstructionForm::ConstructionForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setModal(true);
    setSizeTwips(7200, 4200);
    // the mark and name go into the bar, the summary and the documents
    add(QStringLiteral("txtMark"), ControlKind::TextBox);
    add(QStringLiteral("txtName"), ControlKind::TextBox);
    setKeyFilter(QStringLiteral("txtMark"), cp1251KeyFilter(), true);
    setKeyFilter(QStringLiteral("txtName"), cp1251KeyFilter(), true);
    add(option(kEmpty), ControlKind::OptionButton, QStringLiteral("Без слоев: здание, климат и коэффициенты текущей "
                                                                  "конструкции"))
        .group = QStringLiteral("optKind");
    add(option(kCopy), ControlKind::OptionButton, QStringLiteral("Копия текущей конструкции")).group =
        QStringLiteral("optKind");
    add(option(kLibrary), ControlKind::OptionButton,
        QStringLiteral("Из библиотеки пирожков (здание и климат текущей конструкции):"))
        .group = QStringLiteral("optKind");
    add(kStacks, ControlKind::ComboBox).enabled = false;
    add(QStringLiteral("lblStack"), ControlKind::Label);
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("ОК"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Отмена"));

    for (int k = kEmpty; k <= kLibrary; ++k)
        on(option(k), FormEvent::Click,
           [this] { setEnabled(kStacks, isChecked(option(kLibrary)) && !items(kStacks).isEmpty()); });
    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { confirm(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

void ConstructionForm::onLoad()
{
    const Project& project = main_.project();
    const Construction& shown = project.at(project.current());
    const bool adding = main_.constructionDialog() == MainForm::ConstructionDialog::Add;
    setCaption(adding ? QStringLiteral("Новая конструкция проекта")
                      : QStringLiteral("Конструкция %1: марка и наименование").arg(shown.mark));
    setText(QStringLiteral("txtMark"), adding ? project.nextMark(shown.mark) : shown.mark);
    setText(QStringLiteral("txtName"), adding ? QString() : shown.name);
    for (int k = kEmpty; k <= kLibrary; ++k)
        setVisible(option(k), adding);
    setVisible(kStacks, adding);
    setVisible(QStringLiteral("lblStack"), adding);
    if (!adding)
        return;
    QStringList names;
    library_ = {};
    try {
        library_ = LoadLibraryFile(libraryFilePath(ctx_.settings.dataDir));
        for (const LayerStack& s : library_.stacks)
            names.append(s.name);
        setText(QStringLiteral("lblStack"), names.isEmpty() ? QStringLiteral("Библиотека пирожков пуста.") : QString());
    } catch (const AppError& e) {
        setText(QStringLiteral("lblStack"), e.message());
    }
    setItems(kStacks, names);
    setCurrentIndex(kStacks, names.isEmpty() ? -1 : 0);
    setEnabled(option(kLibrary), !names.isEmpty());
    userCheck(option(kCopy), true);
}

void ConstructionForm::confirm()
{
    try {
        if (main_.constructionDialog() == MainForm::ConstructionDialog::Add)
            addNew();
        else
            main_.renameConstruction(main_.project().current(), text(QStringLiteral("txtMark")),
                                     text(QStringLiteral("txtName")));
    } catch (const AppError& e) {
        // the dialog stays open with what was typed
        showError(e.message(), QStringLiteral("Ошибка"));
        return;
    }
    unloadForm();
}

void ConstructionForm::addNew()
{
    const QString mark = text(QStringLiteral("txtMark"));
    const QString name = text(QStringLiteral("txtName"));
    if (!isChecked(option(kLibrary))) {
        main_.addConstruction(mark, name,
                              isChecked(option(kCopy)) ? MainForm::NewConstruction::Copy : MainForm::NewConstruction::Empty);
        return;
    }
    const int k = currentIndex(kStacks);
    if (k < 0 || k >= library_.stackCount())
        throw AppError(QStringLiteral("Пирожок не выбран. Выберите пирожок в списке."));
    const LayerStack& stack = library_.stacks[k];
    if (stack.layerCount() > LayerGridRows)
        throw AppError(QStringLiteral("В пирожке «%1» %2 слоев, а в таблице слоев только %3 строк. Выберите пирожок, в "
                                      "котором не больше %3 слоев.")
                           .arg(stack.name)
                           .arg(stack.layerCount())
                           .arg(LayerGridRows));
    if (main_.addConstruction(mark, name, MainForm::NewConstruction::Empty))
        LoadStackIntoTable(main_, stack, StackLoad::Full);
}

}  // namespace ogrado
