// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window frm1: every input of the envelope calculation, the layer grid, the
// results, and the buttons that open the other windows.
#include "session/app_context.h"
#include "common/form_model.h"
#include "document/calc_document.h"
#include "mainwindow/material_picker.h"
#include "mainwindow/reference_use.h"
#include "mainwindow/source_data_file.h"
#include "project/project.h"

#include <functional>
#include <optional>

class QTimer;

namespace ogrado {

class MainForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return mainWindowName(); }

    explicit MainForm(AppContext& ctx, QObject* parent = nullptr);
    ~MainForm() override;

    AppContext& context() const { return ctx_; }

    // Grid cell (row 1..8, column 0..8) is txt1_k with k = (row − 1)·9 + column.
    static QString cellName(int row, int column);
    QString cell(int row, int column) const { return text(cellName(row, column)); }

    static QString windowCaption();

    // The material picker shared with the materials window: the description of
    // material m (0-based) and its insertion into grid row `row` (1..8).
    QString materialDescription(int m) const;
    QString materialDensity(int m) const;
    // Material m into grid row `row` (name, λ, s, μ), said in the status line.
    void insertMaterial(int m, int row);
    // The grid row (1..8) whose cell has the focus in the window, 0 when none has it
    // (the view tells; the row keeps it while another window is active). A double click
    // on a material of the materials window inserts it there.
    int focusedGridRow() const { return focusedRow_; }
    void setFocusedGridRow(int row) { focusedRow_ = row >= 1 && row <= LayerGridRows ? row : 0; }
    // The window's own picker (cboM, lblM, txtM).
    const MaterialPicker& materialPicker() const { return picker_; }
    // The catalogue changed: the list shows it, the same material stays chosen (see
    // MaterialPicker::materialsChanged).
    void materialsChanged(int removed = -1);

    // Collects the grid and the header fields into the context's LayerTable.
    void collectInput();
    // The table collectInput would collect, without changing the window or the context
    // (an empty points cell counts as "0").
    LayerTable collectedTable() const;
    // The number of the layer marked as the moistened one (the layer-number cell of the
    // last marked row 2..7), or nothing when no row is marked or its number is not one.
    std::optional<int> moistenedLayer() const;
    // The first grid row from `from` on that holds layer data but no thickness: a
    // forgotten thickness, since such a row is left out of the wall.
    std::optional<int> firstRowWithoutThickness(int from = 1) const;
    // The layer (counted among collected layers) of the last incomplete one, or 0.
    int lastIncompleteLayer() const;
    // What the calculation reads from the window besides the collected table.
    EnvelopeInputs envelopeInputs() const;
    // The entries of the lists the table values of the window come from.
    TableChoices tableChoices() const;
    // Reference values were added to those of the last calculation (the climate of the
    // monthly balance): the verdict names them.
    void referencesAdded();
    // The reference tables were read again after a change (`before`: as they were): the
    // lists show the new tables, and every field and grid cell that held the table's
    // value for its chosen entry or material takes the new value; typed values stay.
    void referenceTablesChanged(const RefTables& before);
    // The window's input as the calculations read it: the table collectedTable gives and
    // envelopeInputs, read once.
    EnvelopeInput envelopeInput() const { return readEnvelopeInput(collectedTable(), envelopeInputs()); }

    // "Расчет": collect, check, calculate (and the moisture balance when asked).
    void calculate();
    // "Пересчитать": the calculation on the table as last collected, then the refined field.
    void recalculate();

    // Shows the results of a calculation in the window's fields and lists.
    void applyOutcome(const EnvelopeOutcome& outcome);

    // The reason of the last run when it was refused before the calculation (then
    // ctx.lastCalc is empty); nothing after a run that calculated.
    const std::optional<EnvelopeMessage>& lastRefusal() const { return lastRefusal_; }

    // Clears the grid as "Очистить поля" does.
    void clearGrid();
    // Empties the result fields and lists and forgets the last calculation, its report
    // and the collected table: they belong to other input.
    void clearResults();

    // Source-data files. The input differs from what was last opened or saved ("*" in
    // the caption): any edit, in the main window or in the air-gap window.
    bool inputModified() const { return modified_; }
    QString sourceDataPath() const { return ctx_.sourceDataPath; }
    // Opens a source-data file after the unsaved-changes question. A file that cannot
    // be read or does not fit the windows leaves them as they were, with one message.
    // Returns whether the file was opened.
    bool openSourceData(const QString& path);
    // "Открыть исходные данные…": the question, then a file from the source-data directory.
    void openSourceDataDialog();
    // Writes the project into `path` with the summary (the save dialog's "Сводка", the
    // project's description). Throws AppError naming the file and the reason.
    void saveSourceData(const QString& path, const QString& summary);
    // "Сохранить исходные данные…": the input alone, into a file chosen in a file dialog
    // (the file it came from, or the proposed name in the source-data directory); no
    // results file. Returns whether the file was written.
    bool saveSourceDataDialog();
    // What a source-data file written now would hold.
    ProjectSource currentSourceData() const;
    // "Сохранить изменения исходных данных?" when there are unsaved changes: "Да" opens
    // the save dialog and goes on only when the input was saved there, "Нет" goes on,
    // "Отмена" stays. Returns whether the action may go on.
    bool confirmDiscardChanges();
    // "Выход": ends the program after the question.
    void exitProgram();
    // The program is ending: the question has been answered.
    bool isQuitting() const { return quitting_; }
    // The recent source-data files, most recent first.
    const QStringList& recentFiles() const { return recent_; }

    // The air-gap window, whose inputs source-data files hold too (set by the
    // application; the window is created on first use).
    void setAirLayerWindow(std::function<FormModel*()> window) { airWindow_ = std::move(window); }
    // Run by the air-gap window at the end of its Load: the inputs a file gave and the
    // window has not shown yet go into it, over what Load took from the main window.
    void airLayerLoaded(FormModel& air);

    // The results on screen were computed from an input that has changed since: they are
    // greyed and the verdict asks for "Расчет".
    bool resultsStale() const { return stale_; }
    // Saving a results file of stale results asks first; true: go on saving.
    bool confirmSaveOfStaleResults();
    // Documents of the last calculation: "Экспорт в PDF…", "Экспорт в ODF (.odt)…" and
    // "Печать…", enabled while the last calculation reached its verdict. Writing and
    // printing need the graphical part of the program: the window passes them in.
    using DocumentPrinter = std::function<void(const CalcDocument& document)>;
    void setDocumentWriter(DocumentWriter writer) { documentWriter_ = std::move(writer); }
    void setDocumentPrinter(DocumentPrinter printer) { documentPrinter_ = std::move(printer); }
    // Asks for the file (the name and folder the save dialog proposes, with the
    // extension of the format) and writes the document there.
    void exportDocument(DocumentFormat format);
    // The document on the printer, through the print preview.
    void printDocument();

    // The status line under the buttons (lblStatus): what an action did that the window
    // does not show otherwise (a folder created for a file, a material inserted).
    void showStatus(const QString& text);
    // The hint under the grid (lblHint) after a key a number field refuses; it goes
    // after kHintMs.
    static constexpr int kHintMs = 2000;
    static QString refusedKeyHint() { return QStringLiteral("В поле допускаются только цифры и запятая"); }
    // The project (main_form_project.cpp): the constructions of the construction bar.
    // The window shows one of them; "Расчет" calculates that one.
    const Project& project() const { return project_; }
    // The input of construction i as it stands now (the window's for the shown one).
    QJsonObject constructionInput(int i) const;
    // The last calculation of construction i (the window's for the shown one).
    ConstructionResults constructionResults(int i) const;
    // Shows construction i: its input, and its last results as they were left (or none
    // before its first calculation). Beeps while a calculation runs.
    void showConstruction(int i);
    // How a new construction starts: the building and climate of the shown one without
    // layers, or a copy of the shown one.
    enum class NewConstruction { Empty, Copy };
    // Adds a construction after the shown one and shows it. Throws AppError (a mark
    // that is empty or taken, a name the results file cannot hold) before anything
    // changes; false (a beep) while a calculation runs.
    bool addConstruction(const QString& mark, const QString& name, NewConstruction kind);
    // Throws AppError as addConstruction.
    void renameConstruction(int i, const QString& mark, const QString& name);
    // A copy of the shown construction after it, with the next free mark, shown.
    void duplicateConstruction();
    // Deletes the shown construction after the question; the last one stays.
    void deleteConstruction();
    // Moves the shown construction one place up (-1) or down (1) in the bar.
    void moveConstruction(int delta);
    // The dialog of "Добавить…" or "Переименовать…" reads what it is opened for.
    enum class ConstructionDialog { Add, Rename };
    ConstructionDialog constructionDialog() const { return constructionDialog_; }
    void setProjectName(const QString& name);
    void setProjectDescription(const QString& description);
    // "Рассчитать все": every construction in turn, with the progress in the bar and
    // "Прервать"; yields to window events between constructions.
    void calculateAll();
    bool calculatingAll() const { return calculatingAll_; }
    // The balance the moisture window computed after "Расчет" of the shown construction.
    void keepMoistureBalance(const std::optional<MoistureTotals>& totals);

    // The result fields and lists a calculation writes.
    static const QStringList& resultControlNames();
    // The verdict lines under the results.
    static const QStringList& verdictControlNames();

signals:
    // A calculation ran ("Расчет" or "Пересчитать"), finished or stopped: the result
    // fields, lists and ctx.lastCalc hold what it left.
    void calculationDone();
    // "Расчет" with "Пометьте, чтобы рассчитать влагонакопление" ticked finished.
    void moistureRequested();
    // A button or menu item asks for another window: frmMove, frmMaterial, FileSave,
    // frmOpenPir, frmPir, frmTrosa, frmVariant, frmPr, frmTolsh, frmChart, frmGuide,
    // frmData.
    void windowRequested(const QString& formName);
    // A source-data file was opened: what other windows computed belongs to other input.
    void sourceDataOpened();
    // The window shows another construction: other windows follow (the air-gap window
    // takes its inputs, a moisture balance shown belongs to the one left).
    void constructionShown();
    // The constructions, their marks or names or their last results changed.
    void projectChanged();

protected:
    void onLoad() override;
    void inputChanged(const QString& name) override;
    void keyRefused(const QString& name, QChar key) override;

private:
    // main_form_status.cpp: the verdict and the stale marking
    void addVerdict();
    void watchInputs();
    void showVerdict();
    void showResultsCurrent();
    void markStale();
    // main_form_help.cpp: key sequences and tooltips
    void addKeysAndTips();
    // main_form_project.cpp: the construction bar, switching, "Рассчитать все"
    void addConstructionBar();
    void addProjectMenu();
    void onConstructionBar();
    void updateConstructionBar();
    void storeShown();
    ConstructionResults shownResults() const;
    void showResults(const ConstructionResults& results);
    void clearResultFields();
    void applyInput(const QJsonObject& input);
    bool insertConstruction(Construction c);
    int calculateEach(const QList<QJsonObject>& inputs, QStringList& problems);
    void finishCalculateAll(int done, const QStringList& problems, bool stopped);
    void openProject(const PreparedSourceData& file, const QString& path);
    // main_form_document.cpp: the document menu items
    void updateDocumentMenus();
    bool documentMayStart();
    // A name chosen in a file dialog with the extension `suffix` added when it has
    // another; the dialog asked only about the name as typed, so an existing file of the
    // longer name is asked about here. Empty when the user keeps that file.
    QString withExtension(const QString& chosen, const QString& suffix);

    // The controls and their events, group by group in the window's order.
    void addHeaderInputs();
    void addLayerGrid();
    void addResults();
    void addButtons();
    void addMenus();
    void onHeaderInputs();
    void onGridAndMaterials();
    void onButtons();
    void climateFill();
    void preselectNormativeResistance();
    // main_form_reference.cpp: grid cells of materials follow a changed catalogue
    void gridFollowsMaterials(const RefTables& before);
    // «Город» follows «Область» until the user chooses a city: the region's own station
    // (the climate record named as the region: «Минская» — «Минск»), if there is one.
    void followRegionWithCity();
    int stationOfRegion() const;
    void excludeRow(int k);
    void runEnvelope(bool recalc);
    bool confirmRowsWithoutThickness();
    void refuseRun(const EnvelopeMessage& why);
    void keepOutcome(const EnvelopeOutcome& outcome);

    bool openWithoutAsking(const QString& path);
    // The air-gap inputs a file written now would hold: those a file gave and the window
    // has not shown yet, or the window's own once it has been opened in this session.
    std::optional<QJsonObject> airLayerState() const;
    void rememberSavedState();
    void updateModified();
    void updateCaption();
    void loadRecent();
    void storeRecent();
    void addRecent(const QString& path);
    void removeRecent(const QString& path);

    AppContext& ctx_;
    MaterialPicker picker_;
    std::function<FormModel*()> airWindow_;
    std::optional<QJsonObject> pendingAirLayer_;
    bool airLayerShown_ = false;
    Project project_;
    QJsonObject startInput_;  // the window's input after its Load, before any file
    std::optional<MoistureTotals> moisture_;  // of the shown construction's last run
    ConstructionDialog constructionDialog_ = ConstructionDialog::Add;
    bool calculatingAll_ = false;
    bool stopAll_ = false;
    bool switching_ = false;  // another construction is being put on screen
    bool modified_ = false;
    bool quitting_ = false;
    QStringList recent_;
    bool stale_ = false;
    bool changedSinceCollect_ = false;  // an input that collectInput() takes changed since
    std::optional<EnvelopeMessage> lastRefusal_;
    DocumentWriter documentWriter_;
    DocumentPrinter documentPrinter_;
    QTimer* hintTimer_ = nullptr;  // takes the refused-key hint away
    int focusedRow_ = 0;
    bool cityFollowsRegion_ = true;  // no city chosen by the user yet
};

}  // namespace ogrado
