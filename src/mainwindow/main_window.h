// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window frm1 over MainForm.
#include "mainwindow/main_form.h"
#include "common/form_view.h"

class QScrollArea;
class QTabBar;

namespace ogrado {

// The size the print preview opens with, within `free` (the screen's free area): a page
// read at a glance, as tall as the screen allows, and at least as wide as the preview's
// toolbar, whose last button prints (a narrower window hides it behind «»»).
QSize printPreviewSize(const QDialog& preview, const QSize& free);

class MainWindow : public FormWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainForm& form, WindowHost& host);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    // A source-data file dropped on the window, or on any of its fields, opens.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QSize contentSize() const override;

private:
    // The construction bar above the input: the constructions as a row of tabs and
    // the buttons of the project.
    QWidget* buildConstructionBar();
    void syncConstructionTabs();
    QWidget* buildInputs();
    QLayout* buildClimate();
    QLayout* buildCoefficients();
    QWidget* buildGrid();
    QWidget* buildMaterials();
    QWidget* buildResults();
    QLayout* buildSums();
    QLayout* buildBoundaryTable();
    QLayout* buildResultLists();
    QWidget* buildVerdict();
    QWidget* buildButtons();
    // The buttons in a bar of their own below the scrolled part (buttonBar_).
    QLayout* buildButtonBar();
    // The form learns which grid row has the focus.
    void trackFocusedGridRow();
    // "Печать…": the document in the print preview, printed from there.
    void showPrintPreview(const CalcDocument& document);

    MainForm& form_;
    WindowHost& host_;
    QScrollArea* scroll_ = nullptr;     // inputs, results, verdict
    QScrollArea* buttonBar_ = nullptr;  // the buttons below them
    QTabBar* constructions_ = nullptr;  // the construction bar's tabs
    bool syncingTabs_ = false;
};

}  // namespace ogrado
