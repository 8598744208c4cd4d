// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The material catalogue: the shipped materials ("Стенарий материалы ТКП.txt") followed
// by the user's own, which live in a file of their own beside it ("Стенарий материалы
// пользователя.txt", the same line format and encoding), so that the shipped file is
// never written and survives a data update. Own materials are numbered on from the
// shipped ones; the number is the first word of the name, as in the shipped file.
#include "refdata/ref_tables.h"

namespace ogrado {

extern const char* const kUserMaterialsFile;  // "Стенарий материалы пользователя.txt"

// The user's materials file in the data directory.
QString userMaterialsPath(const QString& dataDir);

// What a text is compared by when searching: lower case, "ё" read as "е".
QString searchKey(const QString& text);

// The materials (0-based, in catalogue order) whose name as the lists show it contains
// every word of `typed`, in any order ("плиты 125"), compared by searchKey; every
// material for an empty or blank text.
QVector<int> findMaterials(const MaterialTable& table, const QString& typed);

// The material (0-based) whose name without its catalogue number is `name`, compared by
// searchKey with runs of blanks as one; `except` is not looked at. -1 when there is none.
int findMaterialByName(const MaterialTable& table, const QString& name, int except = -1);

// The seven values of a material as the user enters them, with their captions.
constexpr int kMaterialValues = 7;
enum MaterialValue { kMatName, kMatDensity, kMatLambdaA, kMatLambdaB, kMatSA, kMatSB, kMatMu };
QString materialValueCaption(int value);

// Checks the seven texts (name, density, λА, λБ, sА, sБ, μ) of an own material and
// returns them as they are stored: trimmed, a decimal point written as a comma. Each
// value must be a number (density > 0, λ > 0, s ≥ 0, μ ≥ 0); the name must not be
// empty, must not hold ";" (the field separator) or a line break, must be writable in
// Windows-1251 and must not be in the catalogue already (the material `replacing`,
// 0-based, is the one being changed and does not count; -1 for a new one). Throws
// AppError naming the field, and, when `controls` gives the entry fields' control names
// in the order of the values, about that control of the window `form`.
QStringList checkMaterialEntry(const QStringList& texts, const MaterialTable& table, int replacing = -1,
                               const QString& form = {}, const QStringList& controls = {});

// Changes of the own materials: a new one after all others, one replaced in place (the
// fields after the seventh stay), one removed. The own materials are numbered again
// after each change. Throws AppError when `index` is not an own material.
void addOwnMaterial(MaterialTable& table, const QStringList& values);
void replaceOwnMaterial(MaterialTable& table, int index, const QStringList& values);
void removeOwnMaterial(MaterialTable& table, int index);

// The own materials of the user's file, numbered from `firstNumber`. Each line is one
// material in the shipped file's format; a first word of the name made of digits is the
// number the material had when it was written and is dropped. Empty lines are skipped.
// Throws AppError naming `path` and the line of the first line that is not a material.
MaterialTable readUserMaterials(const QStringList& lines, const QString& path, int firstNumber);

// The lines of the user's file for the own materials of `table`.
QStringList userMaterialLines(const MaterialTable& table);

// Writes the own materials of `table` to the user's file: the file is replaced whole,
// or left as it was and AppError says why.
void saveUserMaterials(const QString& path, const MaterialTable& table);

}  // namespace ogrado
