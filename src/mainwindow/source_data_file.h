// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Source-data files (".isx"): everything the user typed, chose and ticked in the main
// window and in the air-gap window, under the control names, as UTF-8 JSON. Case
// objects of ogrado_calc name the controls the same way. A file or case object is
// checked whole against the windows before anything in them changes.
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
constexpr int kSourceDataVersion = 1;
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

// The text of a file: indented UTF-8 JSON with the keys in the window's order.
QByteArray sourceDataJson(const SourceData& data);
// Writes the file whole or not at all. Throws AppError naming the file and the reason.
void writeSourceDataFile(const QString& path, const SourceData& data);

// What a file holds, checked for format and version but not yet against the windows.
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
// the file does not provide for or a value of the wrong kind.
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

// A source-data file read and checked against the main window and the air-gap window,
// ready to apply. Throws AppError naming the file (and the key).
struct PreparedSourceData {
    SourceDataContents contents;
    CasePlan main;
    std::optional<CasePlan> airLayer;
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
