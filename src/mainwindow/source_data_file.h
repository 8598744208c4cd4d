// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Source-data files (".isx"): everything the user typed, chose and ticked in the main
// window and in the air-gap window, under the control names, as UTF-8 JSON. Case
// objects of ogrado_calc name the controls the same way. A file or case object is
// checked whole against the windows before anything in them changes.
//
// A file holds a project: its name and description and one or more constructions, each
// with a short mark, a name and the inputs of both windows (version 2). A file of
// version 1 holds the inputs of one construction and its summary; it opens as a project
// of that one construction, and a project that says nothing more is written as version
// 1 again, so that older copies of the program and ogrado_calc read it as before.
#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace ogrado {

class FormModel;
class MainForm;

// Control names with their values, in the window's order: a text field's text; true or
// false for a check box or an option button; a list's chosen entry as its text (null
// when no entry is chosen).
using ControlValues = QList<std::pair<QString, QJsonValue>>;

QJsonObject toJsonObject(const ControlValues& values);

// The value of "format" and the newest "version" this program writes and reads.
QString sourceDataFormat();
constexpr int kSourceDataVersion = 2;
// The version of a file of one construction without a project name or mark of its own.
constexpr int kSingleConstructionVersion = 1;
// A source-data file is a few kilobytes; anything above this is not one.
constexpr qint64 kSourceDataMaxBytes = 4 * 1024 * 1024;

// The main window's selection lists a file holds, in the order the window fills them
// at start (each fill sets fields that the texts of the file then overwrite).
const QStringList& mainWindowLists();

// Every input of the main window: the lists above, the text fields and grid cells the
// user types into, the check boxes and option buttons. Not the material picker (cboM,
// txtM, lstM), labels, results or buttons.
ControlValues mainWindowInputs(const MainForm& form);
// The inputs of another window: its text fields that take input, check boxes and
// option buttons.
ControlValues windowInputs(const FormModel& form);
// The keys of `values` that name controls of `form`, in the window's order.
ControlValues inWindowOrder(const FormModel& form, const QJsonObject& values);

struct SourceData {
    QDateTime saved;
    QString summary;
    ControlValues main;
    std::optional<ControlValues> airLayer;
};

// The text of a file of version 1: indented UTF-8 JSON with the keys in the window's order.
QByteArray sourceDataJson(const SourceData& data);

// A project as it is written: its constructions in the order of the construction bar.
struct ConstructionSource {
    QString mark;
    QString name;
    ControlValues main;
    std::optional<ControlValues> airLayer;
};
struct ProjectSource {
    QDateTime saved;
    QString name;
    QString description;
    QList<ConstructionSource> constructions;
};
// The mark a construction of a file of version 1 takes, and the first of a new project.
QString firstConstructionMark();
// A project that a file of version 1 holds whole: one construction with the first
// mark and no name, no project name. Its description is the file's summary.
bool fitsSingleConstructionVersion(const ProjectSource& project);
// The text of the file: version 1 when the project fits it, version 2 otherwise.
QByteArray projectJson(const ProjectSource& project);
// Writes the file whole or not at all. Throws AppError naming the file and the reason.
void writeProjectFile(const QString& path, const ProjectSource& project);

// What a file of either version holds, checked for format, version, marks and names
// but not yet against the windows.
struct ConstructionData {
    QString mark;
    QString name;
    QJsonObject main;
    std::optional<QJsonObject> airLayer;
};
struct ProjectData {
    int version = kSourceDataVersion;
    QString saved;
    QString name;
    QString description;  // version 1: "summary"
    QList<ConstructionData> constructions;
};

// Why `mark` cannot name a construction beside the marks `others` (an empty mark, one
// that another construction has, compared without case and surrounding blanks, a
// character the results file cannot hold or a line break), or an empty text.
QString markProblem(const QString& mark, const QStringList& others);
// Why `name` cannot name a construction or a project, or an empty text.
QString nameProblem(const QString& name);

// What a file of version 1 holds.
struct SourceDataContents {
    QString saved;
    QString summary;
    QJsonObject main;
    std::optional<QJsonObject> airLayer;
};

// A JSON object with the key "format" is a source-data file; a bare case object names
// controls only.
bool isSourceDataObject(const QJsonObject& o);
// Throws AppError (without the file name) for another format, a newer version, a key
// the file does not provide for, a value of the wrong kind, an empty or repeated mark.
ProjectData parseProjectData(const QJsonObject& o);
// A file of one construction, as version 1 gives it (a project's description is its
// summary). Throws AppError as parseProjectData, and for a project of several
// constructions.
SourceDataContents parseSourceData(const QJsonObject& o);

// What applying a case does, in order: choose the list entries (each firing the list's
// fill, as a click does), set the texts, then tick or clear the boxes and options whose
// state differs (each firing its click), and set the texts again, so that a number
// cell the file gives keeps its text after the renumbering a click does.
struct CasePlan {
    struct Choice {
        QString list;
        int index = -1;                // the entry to choose
        std::optional<QString> typed;  // a caption typed into the building-type list
    };
    QList<Choice> lists;
    QList<std::pair<QString, QString>> texts;
    QList<std::pair<QString, bool>> checks;
};

// Checks a case object against the main window without changing it. A list takes the
// exact text of an entry or its 0-based index; the building-type list, which the user
// may type into, takes any other text as a typed caption. Throws AppError naming the
// key (and the entry text).
CasePlan planCase(const MainForm& form, const QJsonObject& c);
// The same for another window, which has no lists; `where` names the window in messages.
CasePlan planWindowKeys(const FormModel& form, const QJsonObject& keys, const QString& where);
void applyPlan(FormModel& form, const CasePlan& plan);

// Checks, then applies. Throws AppError before anything changes.
void applyCase(MainForm& form, const QJsonObject& c);
void applyWindowKeys(FormModel& form, const QJsonObject& keys);

// A source-data file read and every construction checked against the main window and
// the air-gap window, ready to apply. Throws AppError naming the file, the construction
// and the key.
struct PreparedSourceData {
    ProjectData contents;
    QList<CasePlan> main;                     // by construction
    QList<std::optional<CasePlan>> airLayer;  // by construction
};
PreparedSourceData prepareSourceData(const QString& path, const MainForm& main, const FormModel* airLayer);

// How the air-gap window is named in messages about the "airlayer" object.
QString airLayerSectionName();

// The file named on a command line (the first argument after the program that is not
// an option), or an empty text.
QString sourceDataArgument(const QStringList& arguments);

// Where the windowed programs keep their list of recent files.
QString defaultRecentFilesStore();

}  // namespace ogrado
