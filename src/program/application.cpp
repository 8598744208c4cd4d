// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/application.h"

#include "airlayer/airlayer_form.h"
#include "chart/chart_form.h"
#include "moisture/moisture_form.h"
#include "dialogs/material_edit_form.h"
#include "dialogs/materials_form.h"
#include "dialogs/reference_data_form.h"
#include "dialogs/row_operations.h"
#include "dialogs/save_dialog.h"
#include "tools/dew_point_form.h"
#include "tools/limits_form.h"
#include "tools/thickness_form.h"
#include "library/open_pir_form.h"
#include "library/pir_form.h"
#include "help/guide_form.h"
#include "project/construction_form.h"
#include "project/summary_form.h"

namespace ogrado {

namespace {

template <class... Forms>
QStringList namesOf(FormTypes<Forms...>)
{
    return {Forms::windowName()...};
}

}  // namespace

Application::Application(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx)
{
    main_ = std::make_unique<MainForm>(ctx_);
    forms_.insert(main_->formName(), main_.get());
    connect(main_.get(), &FormModel::fieldsNamed, this, &Application::markFieldsOf);
    connect(main_.get(), &MainForm::windowRequested, this, &Application::openWindow);
    connect(main_.get(), &MainForm::moistureRequested, this, [this] {
        auto& moisture = formAs<MoistureForm>();
        openWindow(moisture.formName());
        moisture.RunMoistureAccumulation();
        // the construction keeps the balance for the project's summary
        main_->keepMoistureBalance(moisture.lastRunCompleted() ? std::optional(moisture.totals()) : std::nullopt);
    });
    main_->setAirLayerWindow([this] { return &formAs<AirLayerForm>(); });
    // The air-layer report and results belong to the input before a file was opened:
    // they must not reach the results file of other input.
    connect(main_.get(), &MainForm::sourceDataOpened, this, [this] {
        if (FormModel* air = forms_.value(AirLayerForm::windowName()))
            qobject_cast<AirLayerForm*>(air)->clearResults();
        ctx_.airLayerReportLines.clear();
    });
    // Another construction is shown: the air-gap window takes its inputs and its report,
    // a moisture balance on screen belongs to the construction left, the chart follows.
    connect(main_.get(), &MainForm::constructionShown, this, [this] {
        if (FormModel* air = forms_.value(AirLayerForm::windowName()))
            qobject_cast<AirLayerForm*>(air)->followConstruction();
        if (FormModel* moisture = forms_.value(MoistureForm::windowName()))
            moisture->unloadForm();
        formAs<ChartForm>().followCalculation();
    });
    registerReportBlocks();
    // The chart follows every calculation, also while its window is closed.
    connect(main_.get(), &MainForm::calculationDone, this,
            [this] { formAs<ChartForm>().followCalculation(); });
}

Application::~Application() = default;

void Application::registerReportBlocks()
{
    // After the envelope calculation's report, in this order; a block of a window that
    // was never opened holds nothing.
    ctx_.reportBlocks.append({QStringLiteral("Расчет вентилируемой воздушной прослойки"),
                              QStringLiteral("Имеются результаты расчета воздушной прослойки."), [this] {
                                  return ctx_.airLayerReportLines;
                              }});
}

QStringList Application::windowNames()
{
    return namesOf(ApplicationForms{}) + namesOf(OwnedForms{});
}

std::unique_ptr<FormModel> Application::createForm(const QString& name)
{
    // Each window's form model, by the window's name.
    if (name == MoistureForm::windowName())
        return std::make_unique<MoistureForm>(ctx_, *main_);
    if (name == AirLayerForm::windowName())
        return std::make_unique<AirLayerForm>(ctx_, *main_);
    if (name == SaveDialogForm::windowName()) {
        // "ОК" writes the source-data file when "Сохранить рез." is ticked, and the report
        // of the last calculation, with the air-layer report when the user wants it.
        auto dialog = std::make_unique<SaveDialogForm>(
            ctx_,
            [this](const QString& path) { WriteCalcReport(path, ctx_.reportBlocks, ctx_.prompter); },
            [this](const QString& path, const QString& summary) { main_->saveSourceData(path, summary); });
        dialog->setStatusLine([this](const QString& text) { main_->showStatus(text); });
        return dialog;
    }
    if (name == RowOperationsForm::windowName())
        return std::make_unique<RowOperationsForm>(*main_);
    if (name == MaterialsForm::windowName())
        return std::make_unique<MaterialsForm>(*main_);
    if (name == DewPointForm::windowName())
        return std::make_unique<DewPointForm>(ctx_);
    if (name == LimitsForm::windowName())
        return std::make_unique<LimitsForm>(ctx_, *main_);
    if (name == ThicknessForm::windowName())
        return std::make_unique<ThicknessForm>(ctx_, *main_);
    if (name == PirForm::windowName())
        return std::make_unique<PirForm>(ctx_, *main_);
    if (name == OpenPirForm::windowName())
        return std::make_unique<OpenPirForm>(ctx_, *main_);
    if (name == ChartForm::windowName())
        return std::make_unique<ChartForm>(ctx_);
    if (name == GuideForm::windowName())
        return std::make_unique<GuideForm>(ctx_.prompter);
    if (name == ConstructionForm::windowName())
        return std::make_unique<ConstructionForm>(ctx_, *main_);
    if (name == SummaryForm::windowName())
        return std::make_unique<SummaryForm>(*main_);
    if (name == ReferenceDataForm::windowName()) {
        auto data = std::make_unique<ReferenceDataForm>(ctx_, *main_);
        // an open materials window shows the catalogue read again
        connect(data.get(), &ReferenceDataForm::tablesChanged, this, [this] {
            if (FormModel* f = forms_.value(MaterialsForm::windowName()); f && f->isLoaded())
                qobject_cast<MaterialsForm*>(f)->catalogueChanged();
        });
        return data;
    }
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
    connect(f, &FormModel::fieldsNamed, this, &Application::markFieldsOf);
    return f;
}

void Application::markFieldsOf(const FieldRef& field)
{
    // a window that was never opened has nothing to mark
    if (FormModel* f = forms_.value(field.form); f && f->isLoaded()) {
        f->markFields(field.controls);
        f->notifyChanged();
    }
}

void Application::openWindow(const QString& name)
{
    FormModel* f = form(name);
    if (!f || !ctx_.host)
        return;
    // An open selection window takes the grid as it stands now.
    if (auto* thickness = qobject_cast<ThicknessForm*>(f); thickness && thickness->isLoaded())
        thickness->refreshLayers();
    if (f->isModal())
        ctx_.host->showModal(*f);
    else
        ctx_.host->showForm(*f);
}

}  // namespace ogrado
