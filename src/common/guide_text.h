// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user guide (docs/guide.md, built into the program as a resource) and the help of
// single fields taken from its tables, so that a field's tooltip and the guide say the
// same thing in the same words.
#include <QHash>
#include <QString>

namespace ogrado {

// The guide's Markdown text; empty when the resource is missing.
QString guideMarkdown();

struct FieldHelp {
    QString caption;  // the field as the window labels it
    QString text;     // its meaning and unit
};

// The help of every field the guide's tables describe. A table whose header has a
// column "Имя" gives each control name written in backticks in that column (an array
// element as `name_k` stands for every element); a table whose header has a column
// "Столбец" describes the columns of the layer grid (gridColumnKey). The text is the
// last column, the caption the first other one, both without Markdown marks.
QHash<QString, FieldHelp> fieldHelpOf(const QString& markdown);

// The key of grid column c (0..8) in fieldHelpOf's result.
QString gridColumnKey(int column);

// The help of a control: its own name, else its array's `name_k`.
const FieldHelp* findFieldHelp(const QHash<QString, FieldHelp>& help, const QString& name);

}  // namespace ogrado
