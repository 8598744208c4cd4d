#include "app/application.h"

#include "library/open_pir_form.h"
#include "library/pir_form.h"

namespace ogrado {

Application::Application(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx)
{
    main_ = std::make_unique<MainForm>(ctx_);
    forms_.insert(main_->formName(), main_.get());
    connect(main_.get(), &MainForm::windowRequested, this, &Application::openWindow);
}

Application::~Application() = default;

std::unique_ptr<FormModel> Application::createForm(const QString& name)
{
    // Each window's form model, by the window's name.
    if (name == u"frmPir")
        return std::make_unique<PirForm>(ctx_, *main_);
    if (name == u"frmOpenPir")
        return std::make_unique<OpenPirForm>(ctx_, *main_);
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
