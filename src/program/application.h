#pragma once
// The program's windows as form models: the main window and every window it opens,
// created when first asked for and kept until the program ends.
#include "session/app_context.h"
#include "mainwindow/main_form.h"

#include <QHash>
#include <memory>

namespace ogrado {

class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(AppContext& ctx, QObject* parent = nullptr);
    ~Application() override;

    AppContext& context() const { return ctx_; }
    MainForm& mainForm() { return *main_; }

    // The form model of a window by its name (frm1, frmMove, FileSave ...), created
    // on first use; nullptr for an unknown name.
    FormModel* form(const QString& name);
    // Opens a window as its button does.
    void openWindow(const QString& name);

private:
    std::unique_ptr<FormModel> createForm(const QString& name);
    // An error shown in one window named inputs of another: that window marks them.
    void markFieldsOf(const FieldRef& field);

    AppContext& ctx_;
    std::unique_ptr<MainForm> main_;
    QHash<QString, FormModel*> forms_;
    std::vector<std::unique_ptr<FormModel>> owned_;
};

}  // namespace ogrado
