#pragma once
// The command line of ogrado_calc: its options, their values and the usage text.
#include "common/app_error.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace ogrado {

// The Russian usage text printed with --help and after a wrong command line.
extern const char* const kBatchUsage;

struct BatchOptions {
    QString dataDir;  // --data; empty: the current directory or the installed data
    QString casePath;
    QString outPath;
    bool version = false;
    bool json = false;
    bool dumpInput = false;
    bool moisture = false;
    QString airPath;
    QString stack;
    std::optional<QStringList> dewpoint;  // T, ФИ
    std::optional<QStringList> limits;    // T1, T2, DT, F1, F2, DF
    // --select ROW, FROM, TO, STEP or --select-list ROW, thicknesses…
    std::optional<QStringList> select;
    bool selectList = false;
    int selectLayer = 0;  // ROW: the layer's number in the collected table
    QString chartPath;                    // --chart: a .png or .svg file
    QSize chartSize{1600, 1000};          // --chart-size, pixels
    QString pdfPath;                      // --pdf: the document as PDF
    QString odtPath;                      // --odt: the document as an OpenDocument text
};

// Whether the arguments ask for a drawing: the chart or a document, which need the
// graphical module.
bool wantsDrawing(const QStringList& args);

// A command line that cannot be run: the message says why (exit status 2).
class UsageError : public AppError {
public:
    using AppError::AppError;
};

// Reads the program's arguments (without the program name). Options take their value
// as the next argument or after "=" (--data=DIR). Throws UsageError.
BatchOptions parseBatchOptions(const QStringList& args);

}  // namespace ogrado
