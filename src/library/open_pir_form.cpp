// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/open_pir_form.h"

#include "mainwindow/main_form.h"
#include "common/app_error.h"

namespace ogrado {

namespace {

const QString kList = QStringLiteral("lst1");

}  // namespace

OpenPirForm::OpenPirForm(AppContext& ctx, MainForm& main, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), main_(main)
{
    setCaption(QStringLiteral("Загрузить пирожок"));
    // room for the long names of the shipped stacks and several lines of a description
    setSizeTwips(10200, 6600);
    add(kList, ControlKind::ListBox);
    add(QStringLiteral("txt1"), ControlKind::TextBox).readOnly = true;
    add(QStringLiteral("cmdOpen"), ControlKind::Button, QStringLiteral("Загрузить")).enabled = false;
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(kList, FormEvent::Click, [this] {
        const int i = currentIndex(kList);
        if (i >= 0 && i < library_.stackCount())
            setText(QStringLiteral("txt1"), library_.stacks[i].description);
    });
    on(kList, FormEvent::DblClick, [this] { loadChosen(StackLoad::Quick); });
    on(QStringLiteral("cmdOpen"), FormEvent::Click, [this] { loadChosen(StackLoad::Full); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

std::optional<QPoint> OpenPirForm::placement(const QRect& mainTwips) const
{
    return QPoint(mainTwips.left(), mainTwips.top() + 2700);
}

void OpenPirForm::onLoad()
{
    library_ = {};
    library_ = LoadLibraryFile(libraryFilePath(ctx_.settings.dataDir));
    QStringList names;
    for (const LayerStack& s : library_.stacks)
        names.append(s.name);
    setItems(kList, names);
    setEnabled(QStringLiteral("cmdOpen"), !names.isEmpty());
    if (!names.isEmpty())
        select(kList, 0);
}

void OpenPirForm::loadChosen(StackLoad variant)
{
    const int i = currentIndex(kList);
    if (i < 0 || i >= library_.stackCount())
        return;
    LoadStackIntoTable(main_, library_.stacks[i], variant);
    unloadForm();
}

}  // namespace ogrado
