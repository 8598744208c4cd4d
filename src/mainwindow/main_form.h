#pragma once
// The main window frm1: every input of the envelope calculation, the layer grid, the
// results, and the buttons that open the other windows.
#include "session/app_context.h"
#include "common/form_model.h"

namespace ogrado {

class MainForm : public FormModel {
    Q_OBJECT
public:
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

    // Collects the grid and the header fields into the context's LayerTable.
    void collectInput();
    // The layer (counted among collected layers) of the last incomplete one, or 0.
    int lastIncompleteLayer() const;
    // What the calculation reads from the window besides the collected table.
    EnvelopeInputs envelopeInputs() const;

    // "Расчет": collect, check, calculate (and the moisture balance when asked).
    void calculate();
    // "Пересчитать": the calculation on the table as last collected, then the refined field.
    void recalculate();

    // Shows the results of a calculation in the window's fields and lists.
    void applyOutcome(const EnvelopeOutcome& outcome);

    // Clears the grid as "Очистить поля" does.
    void clearGrid();

    // The results on screen were computed from an input that has changed since: they are
    // greyed and the verdict asks for "Расчет".
    bool resultsStale() const { return stale_; }
    // Saving a results file of stale results asks first; true: go on saving.
    bool confirmSaveOfStaleResults();
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
    // A button asks for another window: frmMove, frmMaterial, FileSave, frmOpenPir,
    // frmPir, frmTrosa, frmVariant, frmPr, frmGuide.
    void windowRequested(const QString& formName);

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

    void addMenus();
    void climateFill();
    void excludeRow(int k);
    void runEnvelope(bool recalc);

    AppContext& ctx_;
    bool stale_ = false;
    bool changedSinceCollect_ = false;  // an input that collectInput() takes changed since
};

}  // namespace ogrado
