#pragma once
// The main window frm1: every input of the envelope calculation, the layer grid, the
// results, and the buttons that open the other windows.
#include "session/app_context.h"
#include "common/form_model.h"
#include "document/calc_document.h"
#include "mainwindow/material_picker.h"
#include "mainwindow/reference_use.h"
#include "mainwindow/source_data_file.h"

#include <functional>
#include <optional>

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
    void insertMaterial(int m, int row);
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
    // Writes the input into `path` with the summary (the save dialog's "Сводка").
    // Throws AppError naming the file and the reason.
    void saveSourceData(const QString& path, const QString& summary);
    // What a source-data file written now would hold.
    SourceData currentSourceData() const;
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

protected:
    void onLoad() override;
    void inputChanged(const QString& name) override;

private:
    // main_form_status.cpp: the verdict and the stale marking
    void addVerdict();
    void watchInputs();
    void showVerdict();
    void showResultsCurrent();
    void markStale();
    // main_form_help.cpp: key sequences and tooltips
    void addKeysAndTips();
    // main_form_document.cpp: the document menu items
    void updateDocumentMenus();
    bool documentMayStart();
    bool addAirLayer(const QString& question, const QString& title);

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
    QJsonObject savedMain_;
    std::optional<QJsonObject> savedAirLayer_;
    bool modified_ = false;
    bool quitting_ = false;
    QStringList recent_;
    bool stale_ = false;
    bool changedSinceCollect_ = false;  // an input that collectInput() takes changed since
    std::optional<EnvelopeMessage> lastRefusal_;
    DocumentWriter documentWriter_;
    DocumentPrinter documentPrinter_;
};

}  // namespace ogrado
