// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/project.h"

#include "common/app_error.h"

#include <QRegularExpression>

namespace ogrado {

QString Construction::caption() const
{
    return name.isEmpty() ? mark : mark + u' ' + name;
}

Project::Project()
{
    Construction first;
    first.mark = firstConstructionMark();
    insert(0, first);
    markSaved();
}

void Project::setCurrent(int i)
{
    if (i >= 0 && i < count())
        current_ = i;
}

int Project::indexOf(const QString& mark) const
{
    for (int i = 0; i < count(); ++i) {
        if (constructions_[i].mark.trimmed().compare(mark.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Project::markProblem(const QString& mark, int self) const
{
    QStringList others;
    for (int i = 0; i < count(); ++i) {
        if (i != self)
            others.append(constructions_[i].mark);
    }
    return ogrado::markProblem(mark, others);
}

QString Project::nextMark(const QString& from) const
{
    static const QRegularExpression numbered(QStringLiteral("^(.*?)(\\d+)$"));
    const QString mark = from.trimmed();
    const QRegularExpressionMatch m = numbered.match(mark);
    QString stem = m.hasMatch() ? m.captured(1) : mark + u'-';
    qint64 n = m.hasMatch() ? m.captured(2).toLongLong() : 1;
    // a free one exists among the next count() + 1 numbers
    for (int tries = 0; tries <= count(); ++tries) {
        const QString candidate = stem + QString::number(++n);
        if (indexOf(candidate) < 0)
            return candidate;
    }
    return stem + QString::number(n + 1);
}

int Project::insert(int position, Construction c)
{
    c.mark = c.mark.trimmed();
    c.name = c.name.trimmed();
    if (const QString problem = markProblem(c.mark); !problem.isEmpty())
        throw AppError(QStringLiteral("Конструкция не добавлена: %1").arg(problem));
    if (const QString problem = nameProblem(c.name); !problem.isEmpty())
        throw AppError(QStringLiteral("Конструкция не добавлена: в наименовании %1").arg(problem));
    position = std::clamp(position, 0, count());
    c.id = nextId_++;
    constructions_.insert(position, std::move(c));
    if (count() > 1 && position <= current_)
        ++current_;
    return position;
}

void Project::remove(int i)
{
    if (count() <= 1 || i < 0 || i >= count())
        return;
    constructions_.removeAt(i);
    if (i < current_ || current_ >= count())
        --current_;
}

void Project::move(int i, int to)
{
    if (i < 0 || i >= count() || to < 0 || to >= count() || i == to)
        return;
    const int shownId = shown().id;
    constructions_.move(i, to);
    for (int k = 0; k < count(); ++k) {
        if (constructions_[k].id == shownId)
            current_ = k;
    }
}

void Project::rename(int i, const QString& mark, const QString& name)
{
    if (i < 0 || i >= count())
        return;
    if (const QString problem = markProblem(mark, i); !problem.isEmpty())
        throw AppError(problem.left(1).toUpper() + problem.mid(1));
    if (const QString problem = nameProblem(name.trimmed()); !problem.isEmpty())
        throw AppError(QStringLiteral("В наименовании %1").arg(problem));
    constructions_[i].mark = mark.trimmed();
    constructions_[i].name = name.trimmed();
}

Project Project::fromData(const ProjectData& data)
{
    Project p;
    p.constructions_.clear();
    p.current_ = 0;
    p.name_ = data.name;
    p.description_ = data.description;
    for (const ConstructionData& d : data.constructions) {
        Construction c;
        c.mark = d.mark;
        c.name = d.name;
        c.main = d.main;
        c.airLayer = d.airLayer;
        p.insert(p.count(), c);
    }
    p.markSaved();
    return p;
}

void Project::markSaved()
{
    savedName_ = name_;
    savedDescription_ = description_;
    savedOrder_.clear();
    for (Construction& c : constructions_) {
        c.savedMain = c.main;
        c.savedAirLayer = c.airLayer;
        savedOrder_ << QString::number(c.id) << c.mark << c.name;
    }
}

bool Project::modified() const
{
    if (name_ != savedName_ || description_ != savedDescription_)
        return true;
    QStringList order;
    for (const Construction& c : constructions_) {
        if (c.main != c.savedMain || c.airLayer != c.savedAirLayer)
            return true;
        order << QString::number(c.id) << c.mark << c.name;
    }
    return order != savedOrder_;
}

}  // namespace ogrado
