// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of ogrado_calc: the usage text, and the reading of the options into
// the steps with the checks across options (combinations, files named twice).
#include "common/app_error.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace ogrado {

// The Russian usage text printed with --help and after a wrong command line.
extern const char* const kBatchUsage;

// Whether the arguments ask for a drawing: the chart or a document, which need the
// graphical module.
bool wantsDrawing(const QStringList& args);

// A command line that cannot be run: the message says why (exit status 2).
class UsageError : public AppError {
public:
    using AppError::AppError;
};

class BatchStep;
struct BatchRun;

// Reads the program's arguments (without the program name) into the steps. Options take
// their value as the next argument or after "=" (--data=DIR). Throws UsageError.
void readCommandLine(const std::vector<std::unique_ptr<BatchStep>>& steps, const QStringList& args, BatchRun& run);

}  // namespace ogrado
