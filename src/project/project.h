// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project: the constructions of one building in the order of the construction bar,
// each with its mark, its name, the inputs of the main window and of the air-gap
// window and its last calculation. The main window shows one construction at a time;
// the others wait here with what the windows showed of them.
#include "engine/calc_report.h"
#include "engine/envelope_calc.h"
#include "engine/layer_table.h"
#include "mainwindow/source_data_file.h"
#include "moisture/moisture_calc.h"
#include "refdata/provenance.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ogrado {

// The last calculation of a construction and the state of its results on screen.
struct ConstructionResults {
    std::optional<EnvelopeOutcome> outcome;   // a run that calculated (finished or stopped)
    std::optional<EnvelopeMessage> refusal;   // a run refused before calculating
    CalcReport report;
    LayerTable table;                         // as last collected
    QStringList airLayerReportLines;          // what the results file appends on request
    std::optional<MoistureTotals> moisture;   // the balance of the last run, when it went through
    // the reference values the run and the balance rest on (the verdict's note)
    QVector<UsedReference> references;
    QVector<UsedReference> moistureReferences;
    bool stale = false;                       // the input changed after the run
    bool changedSinceCollect = false;         // ... in what "Расчет" collects
    bool airLayerEnabled = false;             // "Расчет вентилируемой прослойки", enabled by "Расчет"

    // Nothing was run since the construction was opened or created.
    bool calculated() const { return outcome.has_value() || refusal.has_value(); }
};

struct Construction {
    int id = 0;  // the same while the program runs, whatever the order and the mark
    QString mark;
    QString name;
    QJsonObject main;                     // the main window's inputs under their control names
    std::optional<QJsonObject> airLayer;  // the air-gap window's, once a file gave them or it was shown
    // What was last opened or saved: the reference of unsaved changes.
    QJsonObject savedMain;
    std::optional<QJsonObject> savedAirLayer;
    ConstructionResults results;

    // "НС-1 Наружная стена": the mark, then the name when there is one.
    QString caption() const;
};

class Project {
public:
    // A new project: one construction with the first mark and no input yet.
    Project();

    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    const QString& description() const { return description_; }
    void setDescription(const QString& description) { description_ = description; }

    int count() const { return int(constructions_.size()); }
    const QList<Construction>& constructions() const { return constructions_; }
    const Construction& at(int i) const { return constructions_.at(i); }
    Construction& at(int i) { return constructions_[i]; }
    // The construction the main window shows.
    int current() const { return current_; }
    void setCurrent(int i);
    Construction& shown() { return constructions_[current_]; }
    const Construction& shown() const { return constructions_[current_]; }
    // The index of a mark (compared as markProblem compares), or -1.
    int indexOf(const QString& mark) const;

    // Why `mark` cannot be the mark of construction `self` (-1: of a new one), or an
    // empty text.
    QString markProblem(const QString& mark, int self = -1) const;
    // A free mark for a copy of a construction marked `from`: its number counted on
    // (НС-1 gives НС-2, or the next free one), or "-2", "-3" … after a mark without one.
    QString nextMark(const QString& from) const;

    // Puts a construction at `position` and gives it an id. Throws AppError (the mark's
    // problem) before anything changes.
    int insert(int position, Construction c);
    // Removes construction i; the last one stays. The shown one stays shown, or its
    // neighbour is when it is the one removed.
    void remove(int i);
    // Moves construction i to position `to`; the shown one stays shown.
    void move(int i, int to);
    // Throws AppError (the mark's or the name's problem) before anything changes.
    void rename(int i, const QString& mark, const QString& name);

    // A project as a file holds it; its constructions as the file gives them.
    static Project fromData(const ProjectData& data);
    // What was opened or saved is now the reference: nothing is modified.
    void markSaved();
    // Whether anything differs from the reference: the project's name or description,
    // the constructions, their order, marks and names, or the inputs of any of them.
    bool modified() const;

private:
    QString name_;
    QString description_;
    QList<Construction> constructions_;
    int current_ = 0;
    int nextId_ = 1;
    // the reference of unsaved changes beside each construction's own
    QString savedName_;
    QString savedDescription_;
    QStringList savedOrder_;  // id, mark and name of each construction
};

}  // namespace ogrado
