// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/guide_text.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace ogrado {

namespace {

// The cells of a table line "| a | b |", a "\|" kept as a bar inside its cell.
QStringList tableCells(const QString& line)
{
    QStringList cells;
    QString current;
    const QString t = line.trimmed();
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch == u'\\' && i + 1 < t.size() && t[i + 1] == u'|') {
            current += u'|';
            ++i;
        } else if (ch == u'|') {
            cells.append(current.trimmed());
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.trimmed().isEmpty())
        cells.append(current.trimmed());
    if (!cells.isEmpty() && cells.first().isEmpty() && t.startsWith(u'|'))
        cells.removeFirst();
    return cells;
}

bool isSeparatorLine(const QString& line)
{
    static const QRegularExpression separator(QStringLiteral(R"(^\|?(\s*:?-+:?\s*\|)+\s*:?-*:?\s*$)"));
    return separator.match(line.trimmed()).hasMatch();
}

// The cell's text without Markdown emphasis, code marks and links.
QString plainText(QString text)
{
    static const QRegularExpression link(QStringLiteral(R"(\[([^\]]*)\]\([^)]*\))"));
    text.replace(link, QStringLiteral("\\1"));
    text.remove(QStringLiteral("**"));
    text.remove(u'`');
    text.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    return text.simplified();
}

QStringList codeNames(const QString& cell)
{
    static const QRegularExpression code(QStringLiteral("`([^`]+)`"));
    QStringList names;
    for (auto it = code.globalMatch(cell); it.hasNext();)
        names.append(it.next().captured(1).trimmed());
    return names;
}

}  // namespace

QString guideMarkdown()
{
    QFile file(QStringLiteral(":/guide/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString gridColumnKey(int column)
{
    return QStringLiteral("txt1 column %1").arg(column);
}

QHash<QString, FieldHelp> fieldHelpOf(const QString& markdown)
{
    QHash<QString, FieldHelp> help;
    const QStringList lines = markdown.split(u'\n');
    qsizetype i = 0;
    while (i < lines.size()) {
        if (!lines[i].trimmed().startsWith(u'|') || i + 1 >= lines.size() || !isSeparatorLine(lines[i + 1])) {
            ++i;
            continue;
        }
        const QStringList header = tableCells(lines[i]);
        const qsizetype nameColumn = header.indexOf(QStringLiteral("Имя"));
        const qsizetype gridColumn = header.indexOf(QStringLiteral("Столбец"));
        const qsizetype keyColumn = nameColumn >= 0 ? nameColumn : gridColumn;
        const qsizetype textColumn = header.size() - 1;
        const qsizetype captionColumn = keyColumn == 0 ? 1 : 0;
        for (i += 2; i < lines.size() && lines[i].trimmed().startsWith(u'|'); ++i) {
            if (keyColumn < 0 || captionColumn == textColumn)
                continue;
            const QStringList row = tableCells(lines[i]);
            if (row.size() != header.size())
                continue;
            const FieldHelp entry{plainText(row[captionColumn]), plainText(row[textColumn])};
            if (nameColumn >= 0) {
                for (const QString& name : codeNames(row[nameColumn]))
                    help.insert(name, entry);
            } else {
                bool ok = false;
                const int column = plainText(row[gridColumn]).toInt(&ok);
                if (ok)
                    help.insert(gridColumnKey(column), entry);
            }
        }
    }
    return help;
}

const FieldHelp* findFieldHelp(const QHash<QString, FieldHelp>& help, const QString& name)
{
    auto it = help.constFind(name);
    if (it != help.constEnd())
        return &*it;
    static const QRegularExpression element(QStringLiteral("^(.*)_\\d+$"));
    const QRegularExpressionMatch m = element.match(name);
    if (m.hasMatch()) {
        it = help.constFind(m.captured(1) + QStringLiteral("_k"));
        if (it != help.constEnd())
            return &*it;
    }
    return nullptr;
}

}  // namespace ogrado
