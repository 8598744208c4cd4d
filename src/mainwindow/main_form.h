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

    // The reason of the last run when it was refused before the calculation (then
    // ctx.lastCalc is empty); nothing after a run that calculated.
    const std::optional<EnvelopeMessage>& lastRefusal() const { return lastRefusal_; }

    // Clears the grid as "Очистить поля" does.
    void clearGrid();

signals:
    // A calculation ran ("Расчет" or "Пересчитать"), finished or stopped: the result
    // fields, lists and ctx.lastCalc hold what it left.
    void calculationDone();
    // "Расчет" with "Пометьте, чтобы рассчитать влагонакопление" ticked finished.
    void moistureRequested();
    // A button asks for another window: frmMove, frmMaterial, FileSave, frmOpenPir,
    // frmPir, frmTrosa, frmVariant, frmPr.
    void windowRequested(const QString& formName);

protected:
    void onLoad() override;

private:
    void addMenus();
    void climateFill();
    void excludeRow(int k);
    void runEnvelope(bool recalc);
    bool confirmRowsWithoutThickness();
    void refuseRun(const EnvelopeMessage& why);
    void keepOutcome(const EnvelopeOutcome& outcome);

    AppContext& ctx_;
    std::optional<EnvelopeMessage> lastRefusal_;
};

}  // namespace ogrado
