// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The library of named layer stacks ("пирожки"): the layer rows of an envelope kept
// under a name in the text file "Стенарий пирожки.txt" of the data directory, so that a
// construction can be put back into the main window's layer grid later.
//
// File layout (Windows-1251, CR LF):
//   \name of stack 1
//   description of stack 1
//   name;thickness;points;λА;λБ;sА;sБ;μ      one line per layer
//   \name of stack 2
//   ...
//   END
// An empty library is the single line "END".
#include "engine/layer_table.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>

namespace ogrado {

// The cells of one stored layer: name, thickness (mm), intermediate points, λА, λБ,
// sА, sБ, μ — the texts as they stood in the grid.
using StackLayer = std::array<QString, 8>;

struct LayerStack {
    QString name;         // trimmed
    QString description;  // one line, trimmed
    QVector<StackLayer> layers;

    int layerCount() const { return int(layers.size()); }
};

struct LayerStackLibrary {
    QVector<LayerStack> stacks;  // in file order; stack k (1-based) is stacks[k − 1]

    int stackCount() const { return int(stacks.size()); }
    // Stack k, 1-based. Throws AppError when there is no such stack.
    const LayerStack& stack(int k) const;
    // The 1-based position of the first stack with this name (compared trimmed), or 0.
    int find(const QString& name) const;
};

// "Стенарий пирожки.txt" in the data directory.
QString libraryFilePath(const QString& dataDir);

// Reads the lines of a library file. Reading stops at "END"; lines after it are
// ignored. Throws AppError naming `path` and the line for a layer line with fewer than
// eight fields, a missing name line, or a file that ends without "END". No lines at all
// is an empty library.
LayerStackLibrary parseLibraryLines(const QStringList& lines, const QString& path);
// The lines of the file for a library, "END" last.
QStringList libraryFileLines(const LayerStackLibrary& library);

// The library in the file; a missing file is an empty library. Throws AppError when
// the file cannot be read or is damaged (see parseLibraryLines).
LayerStackLibrary LoadLibraryFile(const QString& path);
// Replaces the file whole, or leaves the old one as it was and throws AppError (also
// when the file would not read back as the same library: a text Windows-1251 cannot
// hold, or bytes that would be taken for UTF-8).
void SaveLibraryFile(const QString& path, const LayerStackLibrary& library);

// Appends the layers of a collected layer table as a new last stack. No check for an
// empty or repeated name. Throws AppError, leaving the library unchanged, when a text
// could not be read back from the file as it is: a cell with ";" (the field separator),
// a layer name starting with "\" (the mark of a name line), a line break, or a
// character outside the Windows-1251 code page.
void AddStack(LayerStackLibrary& library, const LayerTable& table, const QString& name, const QString& description);
// Removes stack k (1-based); the later stacks move one place forward.
void DeleteStack(LayerStackLibrary& library, int k);
// Gives stack k (1-based) a new name and description; its layers stay.
void RenameStack(LayerStackLibrary& library, int k, const QString& name, const QString& description);

// A change of the library as its windows make it: applied to a copy, written to the
// file, and the library read back from the file, so that the file stays the only
// lasting store. When anything fails the file and `library` stay as they were and
// AppError says so.
void ChangeLibrary(const QString& path, LayerStackLibrary& library,
                   const std::function<void(LayerStackLibrary&)>& change);

}  // namespace ogrado
