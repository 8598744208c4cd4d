// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/layer_stack_library.h"

#include "common/app_error.h"
#include "common/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace ogrado {

namespace {

const QString kEnd = QStringLiteral("END");
constexpr QChar kNameMark = u'\\';
constexpr QChar kSeparator = u';';

const char* const kCellCaptions[8] = {"Наименование", "Толщ. слоя, мм", "Кол. пром. точек", "λ для условий А",
                                      "λ для условий Б", "s для условий А", "s для условий Б", "μ"};

AppError damaged(const QString& path, const QString& what)
{
    return AppError(QStringLiteral("Файл библиотеки пирожков \"%1\" поврежден: %2\r"
                                   "Библиотека не загружена, файл оставлен без изменений. Исправьте файл в текстовом "
                                   "редакторе или переименуйте его: тогда программа начнет новую библиотеку.")
                        .arg(QDir::toNativeSeparators(path), what));
}

// Why a text would not come back from the file as it was written, or nothing.
QString unstorable(const QString& text, bool isCell, bool isLayerName)
{
    if (isCell && text.contains(kSeparator))
        return QStringLiteral("стоит знак «;», которым в файле библиотеки разделяются графы слоя.");
    if (isLayerName && text.trimmed().startsWith(kNameMark))
        return QStringLiteral("текст начинается со знака «\\», которым в файле библиотеки отмечается имя пирожка.");
    if (text.contains(u'\r') || text.contains(u'\n'))
        return QStringLiteral("стоит перевод строки, а в файле библиотеки каждая запись занимает одну строку.");
    // The file is Windows-1251: a character outside it would come back as "?".
    if (const QString ch = firstOutsideCp1251(text); !ch.isEmpty())
        return QStringLiteral("стоит знак «%1», которого нет в кодировке Windows-1251 файла библиотеки.").arg(ch);
    return {};
}

void checkNameAndDescription(const QString& name, const QString& description, const QString& refused)
{
    if (const QString why = unstorable(name, false, false); !why.isEmpty())
        throw AppError(refused + QStringLiteral(" В имени пирожка ") + why + QStringLiteral(" Исправьте имя пирожка."));
    if (const QString why = unstorable(description, false, false); !why.isEmpty())
        throw AppError(refused + QStringLiteral(" В описании пирожка ") + why +
                       QStringLiteral(" Исправьте описание пирожка."));
}

}  // namespace

const LayerStack& LayerStackLibrary::stack(int k) const
{
    if (k < 1 || k > stackCount())
        throw AppError(QStringLiteral("В библиотеке нет пирожка под номером %1: выберите пирожок в списке.").arg(k));
    return stacks[k - 1];
}

int LayerStackLibrary::find(const QString& name) const
{
    const QString wanted = name.trimmed();
    for (int k = 0; k < stackCount(); ++k) {
        if (stacks[k].name == wanted)
            return k + 1;
    }
    return 0;
}

QString libraryFilePath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("Стенарий пирожки.txt"));
}

LayerStackLibrary parseLibraryLines(const QStringList& lines, const QString& path)
{
    LayerStackLibrary library;
    const qsizetype n = lines.size();
    if (n == 0)
        return library;
    qsizetype i = 0;  // the line in hand, 0-based
    auto unfinished = [&] {
        return damaged(path, QStringLiteral("после строки %1 файл кончается без завершающей строки «END».").arg(n));
    };
    for (;;) {
        if (i >= n)
            throw unfinished();
        const QString line = lines[i].trimmed();
        if (line == kEnd)
            break;
        if (!line.startsWith(kNameMark))
            throw damaged(path, QStringLiteral("в строке %1 ожидается имя пирожка, начинающееся со знака «\\».").arg(i + 1));
        LayerStack stack;
        stack.name = line.mid(1).trimmed();
        if (++i >= n)
            throw unfinished();
        stack.description = lines[i].trimmed();
        ++i;
        // Layer lines up to the next name line or "END"; an empty line holds no layer.
        for (; i < n; ++i) {
            QString rest = lines[i].trimmed();
            if (rest.startsWith(kNameMark) || rest == kEnd)
                break;
            if (rest.isEmpty())
                continue;
            StackLayer layer;
            for (int f = 0; f < 7; ++f) {
                const qsizetype sep = rest.indexOf(kSeparator);
                if (sep < 0)
                    throw damaged(path, QStringLiteral("в строке %1 у слоя меньше восьми граф, разделенных знаком «;».")
                                            .arg(i + 1));
                layer[size_t(f)] = rest.left(sep).trimmed();
                rest = rest.mid(sep + 1).trimmed();
            }
            layer[7] = rest;
            stack.layers.append(layer);
        }
        library.stacks.append(stack);
    }
    return library;
}

QStringList libraryFileLines(const LayerStackLibrary& library)
{
    QStringList lines;
    for (const LayerStack& s : library.stacks) {
        lines.append(kNameMark + s.name);
        lines.append(s.description);
        for (const StackLayer& layer : s.layers) {
            QString line = layer[0];
            for (size_t c = 1; c < layer.size(); ++c)
                line += kSeparator + layer[c];
            lines.append(line);
        }
    }
    lines.append(kEnd);
    return lines;
}

LayerStackLibrary LoadLibraryFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    return parseLibraryLines(readTextLines(path), path);
}

void SaveLibraryFile(const QString& path, const LayerStackLibrary& library)
{
    const QStringList lines = libraryFileLines(library);
    // The file is read back with its encoding guessed: Windows-1251 bytes that happen to
    // be valid UTF-8 throughout (only capital letters before signs such as "°" or "–",
    // no small Russian letter) would come back as other characters. Refused rather
    // than stored to change on the next reading.
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    if (firstOutsideCp1251(text).isEmpty() && decodeText(encodeCp1251(text)) != text)
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": в кодировке Windows-1251 его текст при следующем "
                                      "чтении был бы принят за UTF-8 и изменился бы. Добавьте в имя или описание "
                                      "пирожка строчную русскую букву.")
                           .arg(QDir::toNativeSeparators(path)));
    writeTextLines(path, lines);
}

void AddStack(LayerStackLibrary& library, const LayerTable& table, const QString& name, const QString& description)
{
    const QString refused = QStringLiteral("Пирожок не добавлен.");
    checkNameAndDescription(name, description, refused);
    LayerStack stack;
    stack.name = name.trimmed();
    stack.description = description.trimmed();
    for (int n = 0; n < table.count(); ++n) {
        const LayerRow& row = table.layers[n];
        const StackLayer layer = {row.name,          row.cell(kColThickness), row.cell(kColPoints),
                                  row.cell(kColLambdaA), row.cell(kColLambdaB), row.cell(kColSA),
                                  row.cell(kColSB),  row.cell(kColMu)};
        for (int c = 0; c < 8; ++c) {
            const QString why = unstorable(layer[size_t(c)], true, c == 0);
            if (why.isEmpty())
                continue;
            const int gridRow = row.sourceRow > 0 ? row.sourceRow : n + 1;
            // the layer values in the order of the grid's columns 0, 2 … 8
            const int column = c == 0 ? 0 : c + 1;
            throw AppError(refused + QStringLiteral(" В строке %1 таблицы слоев в графе «%2» ")
                                         .arg(gridRow)
                                         .arg(QString::fromUtf8(kCellCaptions[c])) +
                               why + QStringLiteral("\rИсправьте ячейку и снова нажмите «Сохранить пирожок»."),
                           row.field(column));
        }
        stack.layers.append(layer);
    }
    library.stacks.append(stack);
}

void DeleteStack(LayerStackLibrary& library, int k)
{
    library.stack(k);  // throws for a position without a stack
    library.stacks.removeAt(k - 1);
}

void RenameStack(LayerStackLibrary& library, int k, const QString& name, const QString& description)
{
    library.stack(k);
    checkNameAndDescription(name, description, QStringLiteral("Пирожок не переименован."));
    LayerStack& s = library.stacks[k - 1];
    s.name = name.trimmed();
    s.description = description.trimmed();
}

void ChangeLibrary(const QString& path, LayerStackLibrary& library,
                   const std::function<void(LayerStackLibrary&)>& change)
{
    LayerStackLibrary changed = library;
    change(changed);
    try {
        SaveLibraryFile(path, changed);
    } catch (const AppError& e) {
        throw AppError(QStringLiteral("Библиотека пирожков не изменена, файл остался прежним.\r") + e.message(),
                       e.title(), e.field());
    }
    library = LoadLibraryFile(path);
}

}  // namespace ogrado
