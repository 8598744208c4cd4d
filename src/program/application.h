// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's windows as form models: the main window and every window it opens,
// created when first asked for and kept until the program ends.
#include "session/app_context.h"
#include "mainwindow/main_form.h"

#include <QHash>
#include <memory>
#include <type_traits>

namespace ogrado {

class AirLayerForm;
class ChartForm;
class ConstructionForm;
class DewPointForm;
class GuideForm;
class LimitsForm;
class MaterialEditForm;
class MaterialsForm;
class MoistureForm;
class OpenPirForm;
class PirForm;
class ReferenceDataForm;
class RowOperationsForm;
class SaveDialogForm;
class SummaryForm;
class ThicknessForm;

// A list of form model classes.
template <class... Forms>
struct FormTypes {
    template <class T>
    static constexpr bool holds = (std::is_same_v<T, Forms> || ...);
};

// The windows Application creates by name: formAs<T>() takes only these.
using ApplicationForms =
    FormTypes<MainForm, MoistureForm, AirLayerForm, SaveDialogForm, RowOperationsForm, MaterialsForm, DewPointForm,
              LimitsForm, ThicknessForm, PirForm, OpenPirForm, ChartForm, GuideForm, ReferenceDataForm,
              ConstructionForm, SummaryForm>;
// Windows whose form another form owns (the entry of an own material belongs to the
// materials window).
using OwnedForms = FormTypes<MaterialEditForm>;

class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(AppContext& ctx, QObject* parent = nullptr);
    ~Application() override;

    AppContext& context() const { return ctx_; }
    MainForm& mainForm() { return *main_; }

    // The form model of a window by its name (frm1, frmMove, FileSave ...), created
    // on first use; nullptr for an unknown name. Code that knows the window asks for
    // formAs<T>(), which a name cannot get wrong.
    FormModel* form(const QString& name);
    // The form model of the window of class T, created on first use.
    template <class T>
    T& formAs()
    {
        static_assert(ApplicationForms::holds<T>, "Application does not create this window");
        auto* f = qobject_cast<T*>(form(T::windowName()));
        Q_ASSERT(f);
        return *f;
    }
    // The name of every window of the program: those Application creates and those
    // their forms own.
    static QStringList windowNames();
    // Opens a window as its button does.
    void openWindow(const QString& name);

private:
    std::unique_ptr<FormModel> createForm(const QString& name);
    // The blocks the windows add to the results file, the documents and the print.
    void registerReportBlocks();
    // An error shown in one window named inputs of another: that window marks them.
    void markFieldsOf(const FieldRef& field);

    AppContext& ctx_;
    std::unique_ptr<MainForm> main_;
    QHash<QString, FormModel*> forms_;
    std::vector<std::unique_ptr<FormModel>> owned_;
};

}  // namespace ogrado
