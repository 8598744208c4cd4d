// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Case files of ogrado_calc: JSON objects whose keys are the control names of a window
// and whose values are what the user would type, choose or tick there; or source-data
// files (".isx") as the windowed programs write them.
#include "mainwindow/source_data_file.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace ogrado {

// The JSON object in a file. Throws AppError when the file cannot be read or does not
// hold an object.
QJsonObject readJsonObject(const QString& path);
// The same for the bytes of such a file; `path` names it in the message.
QJsonObject parseJsonObject(const QByteArray& bytes, const QString& path);

// What a case file gives: the main window's keys and, from a source-data file, the
// air-gap window's keys.
struct CaseInput {
    QJsonObject main;
    std::optional<QJsonObject> airLayer;
};

// A bare case object, or the "main" and "airlayer" objects of a source-data file.
// Throws AppError naming the file for a source-data file of another format or a newer
// version.
CaseInput readCaseFile(const QString& path);

}  // namespace ogrado
