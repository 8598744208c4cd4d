// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/material_edit_form.h"

namespace ogrado {

const QStringList& MaterialEditForm::fieldNames()
{
    static const QStringList names{QStringLiteral("txtName"), QStringLiteral("txtDensity"), QStringLiteral("txtLamA"),
                                   QStringLiteral("txtLamB"), QStringLiteral("txtSA"),      QStringLiteral("txtSB"),
                                   QStringLiteral("txtMu")};
    return names;
}

MaterialEditForm::MaterialEditForm(Prompter& prompter, QObject* parent)
    : FormModel(windowName(), prompter, parent)
{
    setModal(true);
    const KeyFilter numeric = numericKeyFilter();
    for (const QString& name : fieldNames()) {
        add(name, ControlKind::TextBox);
        if (name != fieldNames().first())
            setKeyFilter(name, numeric);
    }
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("ОК"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Отмена"));

    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] {
        if (accept_)
            accept_(texts());  // a refusal throws and the window stays open
        unloadForm();
    });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

MaterialEditForm::~MaterialEditForm() = default;

void MaterialEditForm::prepare(const QString& caption, const QStringList& texts, Accept accept)
{
    caption_ = caption;
    texts_ = texts;
    accept_ = std::move(accept);
}

QStringList MaterialEditForm::texts() const
{
    QStringList t;
    for (const QString& name : fieldNames())
        t.append(text(name));
    return t;
}

void MaterialEditForm::onLoad()
{
    setCaption(caption_);
    for (int k = 0; k < fieldNames().size(); ++k)
        setText(fieldNames()[k], texts_.value(k));
}

}  // namespace ogrado
