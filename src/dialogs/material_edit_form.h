// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small window frmMaterialEdit in which the user enters an own material: name,
// density, λА, λБ, sА, sБ, μ. "ОК" hands the texts to the catalogue, which checks and
// stores them; a refusal is shown and the window stays open with what was typed.
#include "common/form_model.h"

#include <functional>

namespace ogrado {

class MaterialEditForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmMaterialEdit"); }

    // The seven text boxes, in the order name, density, λА, λБ, sА, sБ, μ.
    static const QStringList& fieldNames();

    // Takes the seven texts; throws AppError (naming the field) to refuse them.
    using Accept = std::function<void(const QStringList& texts)>;

    explicit MaterialEditForm(Prompter& prompter, QObject* parent = nullptr);
    ~MaterialEditForm() override;

    // What the window shows when it opens next, and what "ОК" does with the texts.
    void prepare(const QString& caption, const QStringList& texts, Accept accept);
    QStringList texts() const;

protected:
    void onLoad() override;

private:
    QString caption_;
    QStringList texts_;
    Accept accept_;
};

}  // namespace ogrado
