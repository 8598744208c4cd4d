#pragma once
// The main window frm1 over MainForm.
#include "mainwindow/main_form.h"
#include "common/form_view.h"

namespace ogrado {

class MainWindow : public FormWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainForm& form, WindowHost& host);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* buildInputs();
    QWidget* buildGrid();
    QWidget* buildMaterials();
    QWidget* buildResults();
    QWidget* buildButtons();

    WindowHost& host_;
};

}  // namespace ogrado
