// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help window frmGuide: the user guide, opened by F1 or "Справка" → "Руководство".
#include "common/form_model.h"

namespace ogrado {

class GuideForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("frmGuide"); }

    explicit GuideForm(Prompter& prompter, QObject* parent = nullptr);

    // The guide's Markdown text.
    const QString& markdown() const { return markdown_; }

private:
    QString markdown_;
};

}  // namespace ogrado
