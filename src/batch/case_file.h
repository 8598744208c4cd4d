#pragma once
// Case files of ogrado_calc: JSON objects whose keys are the control names of a window
// and whose values are what the user would type, choose or tick there.
#include <QJsonObject>
#include <QString>

namespace ogrado {

class FormModel;
class MainForm;

// The JSON object in a file. Throws AppError when the file cannot be read or does not
// hold an object.
QJsonObject readJsonObject(const QString& path);
// The same for the bytes of such a file; `path` names it in the message.
QJsonObject parseJsonObject(const QByteArray& bytes, const QString& path);

// Applies a case object to a loaded main form: lists first (by 0-based index, in the
// order of the window's load sequence, each firing its click), then texts, then check
// boxes and option buttons. Throws AppError naming the key for an unknown control or
// a value of the wrong kind.
void applyCase(MainForm& form, const QJsonObject& caseObject);

// Texts and check states of another window by its control names. Throws AppError
// naming the key for an unknown control or a value of the wrong kind.
void applyWindowKeys(FormModel& form, const QJsonObject& keys);

}  // namespace ogrado
