// SPDX-License-Identifier: GPL-3.0-or-later
#include "refdata/material_catalogue.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "refdata/ref_reader.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

#include <cmath>

namespace ogrado {

const char* const kUserMaterialsFile = "Стенарий материалы пользователя.txt";

QString userMaterialsPath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QString::fromUtf8(kUserMaterialsFile));
}

QString searchKey(const QString& text)
{
    QString key = text.toLower();
    key.replace(u'ё', u'е');
    return key;
}

QVector<int> findMaterials(const MaterialTable& table, const QString& typed)
{
    const QStringList words = searchKey(typed).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QVector<int> found;
    for (int i = 0; i < table.size(); ++i) {
        const QString name = searchKey(table[i].name());
        if (std::all_of(words.cbegin(), words.cend(), [&name](const QString& w) { return name.contains(w); }))
            found.append(i);
    }
    return found;
}

int findMaterialByName(const MaterialTable& table, const QString& name, int except)
{
    const QString key = searchKey(name.simplified());
    for (int i = 0; i < table.size(); ++i) {
        if (i != except && searchKey(table[i].plainName().simplified()) == key)
            return i;
    }
    return -1;
}

QString materialValueCaption(int value)
{
    switch (value) {
    case kMatName:
        return QStringLiteral("Наименование");
    case kMatDensity:
        return QStringLiteral("Объемная масса, кг/м3");
    case kMatLambdaA:
        return QStringLiteral("Коэффициент теплопроводности λА");
    case kMatLambdaB:
        return QStringLiteral("Коэффициент теплопроводности λБ");
    case kMatSA:
        return QStringLiteral("Коэффициент теплоусвоения sА");
    case kMatSB:
        return QStringLiteral("Коэффициент теплоусвоения sБ");
    case kMatMu:
        return QStringLiteral("Коэффициент паропроницания μ");
    default:
        return {};
    }
}

namespace {

// A value of a material as it is stored; AppError names the field.
QString checkedValue(int k, const QString& text)
{
    const QString t = text.trimmed();
    const QString field = materialValueCaption(k);
    if (t.isEmpty())
        throw AppError(QStringLiteral("Поле «%1» не заполнено. Введите число.").arg(field));
    const std::optional<double> v = parseNumber(t);
    if (!v || !std::isfinite(*v))
        throw AppError(QStringLiteral("Поле «%1»: «%2» не является числом. Введите число.").arg(field, t));
    // density and conductivity divide; heat absorption and permeability may be zero
    const bool positive = k == kMatDensity || k == kMatLambdaA || k == kMatLambdaB;
    if (positive && !(*v > 0))
        throw AppError(QStringLiteral("Поле «%1»: значение «%2» недопустимо. Укажите значение больше нуля.").arg(field, t));
    if (!positive && *v < 0)
        throw AppError(
            QStringLiteral("Поле «%1»: значение «%2» недопустимо. Укажите значение не меньше нуля.").arg(field, t));
    QString stored = t;
    stored.replace(u'.', u',');
    return stored;
}

bool allDigits(const QString& word)
{
    if (word.isEmpty())
        return false;
    for (QChar c : word) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Own materials carry their position in the catalogue as their number (the names hold
// a number already).
void renumberOwn(MaterialTable& table)
{
    for (int i = 0; i < table.size(); ++i) {
        Material& m = table[i];
        if (m.own && !m.fields.isEmpty())
            m.fields[0] = QString::number(i + 1) + u' ' + m.plainName();
    }
}

void requireValues(const QStringList& values)
{
    if (values.size() < kMaterialValues)
        throw AppError(QStringLiteral("У материала должно быть %1 значений, задано %2.")
                           .arg(kMaterialValues)
                           .arg(values.size()));
}

void requireOwn(const MaterialTable& table, int index)
{
    if (index < 0 || index >= table.size() || !table[index].own)
        throw AppError(QStringLiteral("Изменять и удалять можно только свои материалы. Выберите свой материал."));
}

}  // namespace

QStringList checkMaterialEntry(const QStringList& texts, const MaterialTable& table, int replacing, const QString& form,
                               const QStringList& controls)
{
    const FieldRef nameField = controls.isEmpty() ? FieldRef{} : fieldOf(form, controls.value(kMatName));
    const QString field = materialValueCaption(kMatName);
    const QString name = texts.value(kMatName).trimmed();
    if (name.isEmpty())
        throw AppError(QStringLiteral("Поле «%1» не заполнено. Введите наименование материала.").arg(field), nameField);
    if (name.contains(u';'))
        throw AppError(QStringLiteral("Поле «%1»: знак «;» не допускается — он разделяет поля в файле материалов. "
                                      "Уберите этот знак.")
                           .arg(field),
                       nameField);
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            throw AppError(QStringLiteral("Поле «%1»: перевод строки и другие управляющие знаки не допускаются. "
                                          "Уберите их.")
                               .arg(field),
                           nameField);
    }
    const QString outside = firstOutsideCp1251(name);
    if (!outside.isEmpty())
        throw AppError(QStringLiteral("Поле «%1»: знак «%2» нельзя записать в файл материалов (кодировка "
                                      "Windows-1251). Уберите этот знак.")
                           .arg(field, outside),
                       nameField);
    const int taken = findMaterialByName(table, name, replacing);
    if (taken >= 0) {
        const QString number = table[taken].number();
        throw AppError(QStringLiteral("Поле «%1»: материал «%2» уже есть в каталоге (№ %3). Введите другое "
                                      "наименование.")
                           .arg(field, table[taken].plainName(), number.isEmpty() ? QString::number(taken + 1) : number),
                       nameField);
    }
    QStringList values{name};
    for (int k = kMatDensity; k < kMaterialValues; ++k) {
        try {
            values.append(checkedValue(k, texts.value(k)));
        } catch (AppError& e) {
            throw controls.isEmpty() ? e : e.orField(fieldOf(form, controls.value(k)));
        }
    }
    return values;
}

void addOwnMaterial(MaterialTable& table, const QStringList& values)
{
    requireValues(values);
    Material m;
    m.own = true;
    m.fields = values.mid(0, kMaterialValues);
    m.fields[0] = QString::number(table.size() + 1) + u' ' + values.value(kMatName).trimmed();
    table.append(m);
}

void replaceOwnMaterial(MaterialTable& table, int index, const QStringList& values)
{
    requireOwn(table, index);
    requireValues(values);
    Material& m = table[index];
    m.fields = values.mid(0, kMaterialValues) + m.fields.mid(kMaterialValues);
    m.fields[0] = QString::number(index + 1) + u' ' + values.value(kMatName).trimmed();
}

void removeOwnMaterial(MaterialTable& table, int index)
{
    requireOwn(table, index);
    table.removeAt(index);
    renumberOwn(table);
}

MaterialTable readUserMaterials(const QStringList& lines, const QString& path, int firstNumber)
{
    MaterialTable own;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        auto fail = [&](const QString& what) {
            throw AppError(QStringLiteral("Файл своих материалов \"%1\", строка %2: %3")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(i + 1)
                               .arg(what));
        };
        QStringList f = splitFields(lines[i]);
        if (f.size() < kMaterialValues)
            fail(QStringLiteral("нужно не менее %1 полей, разделенных \";\", найдено %2.")
                     .arg(kMaterialValues)
                     .arg(f.size()));
        QString name = f[0];
        const qsizetype blank = name.indexOf(u' ');
        if (blank > 0 && allDigits(name.left(blank)))
            name = name.mid(blank + 1).trimmed();
        if (name.isEmpty())
            fail(QStringLiteral("нет наименования материала."));
        try {
            for (int k = kMatDensity; k < kMaterialValues; ++k)
                f[k] = checkedValue(k, f[k]);
        } catch (const AppError& e) {
            fail(e.message());
        }
        Material m;
        m.own = true;
        m.fields = f;
        m.fields[0] = QString::number(firstNumber + int(own.size())) + u' ' + name;
        own.append(m);
    }
    return own;
}

QStringList userMaterialLines(const MaterialTable& table)
{
    QStringList lines;
    for (const Material& m : table) {
        if (m.own)
            lines.append(m.fields.join(u';'));
    }
    return lines;
}

void saveUserMaterials(const QString& path, const MaterialTable& table)
{
    writeTextLines(path, userMaterialLines(table));
}

}  // namespace ogrado
