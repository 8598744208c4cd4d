#include "program/application.h"

#include "airlayer/airlayer_form.h"
#include "moisture/moisture_form.h"
#include "dialogs/materials_form.h"
#include "dialogs/row_operations.h"
#include "dialogs/save_dialog.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"
#include "help/guide_form.h"

namespace ogrado {

Application::Application(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx)
{
    main_ = std::make_unique<MainForm>(ctx_);
    forms_.insert(main_->formName(), main_.get());
    connect(main_.get(), &MainForm::windowRequested, this, &Application::openWindow);
    connect(main_.get(), &MainForm::moistureRequested, this, [this] {
        auto* moisture = static_cast<MoistureForm*>(form(QStringLiteral("frmVlaga")));
        openWindow(moisture->formName());
        moisture->RunMoistureAccumulation();
    });
}

Application::~Application() = default;

std::unique_ptr<FormModel> Application::createForm(const QString& name)
{
    // Each window's form model, by the window's name.
    if (name == u"frmVlaga")
        return std::make_unique<MoistureForm>(ctx_, *main_);
    if (name == u"frmPr")
        return std::make_unique<AirLayerForm>(ctx_, *main_);
    if (name == u"FileSave") {
        // "ОК" writes the report of the last calculation, with the air-layer report
        // when the user wants it.
        return std::make_unique<SaveDialogForm>(ctx_, [this](const QString& path) {
            WriteCalcReport(path, ctx_.report, ctx_.airLayerReportLines, ctx_.prompter);
        });
    }
    if (name == u"frmMove")
        return std::make_unique<RowOperationsForm>(*main_);
    if (name == u"frmMaterial")
        return std::make_unique<MaterialsForm>(*main_);
    if (name == u"frmTrosa")
        return std::make_unique<DewPointForm>(ctx_);
    if (name == u"frmVariant")
        return std::make_unique<LimitsForm>(ctx_, *main_);
    if (name == u"frmPir")
        return std::make_unique<PirForm>(ctx_, *main_);
    if (name == u"frmOpenPir")
        return std::make_unique<OpenPirForm>(ctx_, *main_);
    if (name == u"frmGuide")
        return std::make_unique<GuideForm>(ctx_.prompter);
    return nullptr;
}

FormModel* Application::form(const QString& name)
{
    if (FormModel* f = forms_.value(name))
        return f;
    std::unique_ptr<FormModel> created = createForm(name);
    if (!created)
        return nullptr;
    FormModel* f = created.get();
    owned_.push_back(std::move(created));
    forms_.insert(name, f);
    return f;
}

void Application::openWindow(const QString& name)
{
    FormModel* f = form(name);
    if (!f || !ctx_.host)
        return;
    if (f->isModal())
        ctx_.host->showModal(*f);
    else
        ctx_.host->showForm(*f);
}

}  // namespace ogrado
