// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_window.h"

#include "chart/chart_plot.h"

#include <QChartView>
#include <QHelpEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolTip>
#include <QVBoxLayout>

namespace ogrado {

ChartWindow::ChartWindow(ChartForm& form, QWidget* parent) : FormWindow(form, parent), form_(form)
{
    setWindowFlags(Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    form_.setImageWriter(&writeSectionChart);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->setSpacing(6);
    stack_ = new QStackedWidget(this);
    hint_ = label(QStringLiteral("lblHint"), true);
    hint_->setAlignment(Qt::AlignCenter);
    QFont hintFont = hint_->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 1.2);
    hint_->setFont(hintFont);
    hint_->setMargin(30);
    stack_->addWidget(hint_);
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("chartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(480, 320);
    // Resting on a curve shows the nearest point: its name and values as the lists show them.
    view_->viewport()->installEventFilter(this);
    stack_->addWidget(view_);
    root->addWidget(stack_, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(caption(QStringLiteral("Размер рисунка, пикселей:")));
    QLineEdit* w = lineEdit(QStringLiteral("txtWidth"), 60);
    w->setAlignment(Qt::AlignRight);
    row->addWidget(w);
    row->addWidget(caption(QStringLiteral("×")));
    QLineEdit* h = lineEdit(QStringLiteral("txtHeight"), 60);
    h->setAlignment(Qt::AlignRight);
    row->addWidget(h);
    row->addWidget(button(QStringLiteral("cmdSaveImage"), QStringLiteral("Сохранить рисунок…")));
    row->addStretch(1);
    row->addWidget(button(QStringLiteral("cmdCancel"), QStringLiteral("Закрыть")));
    root->addLayout(row);

    connect(&form_, &ChartForm::chartChanged, this, [this] {
        if (isVisible())
            rebuild();
    });
    bindControls();
    rebuild();
}

bool ChartWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport() && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        SectionChartPlot* p = plot();
        const int j = p ? p->pointAt(p->mapFromScene(view_->mapToScene(help->pos()))) : -1;
        if (j >= 0)
            QToolTip::showText(help->globalPos(), SectionChartPlot::pointToolTip(p->data().points[j]), view_->viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

SectionChartPlot* ChartWindow::plot() const
{
    return stack_->currentWidget() == view_ ? qobject_cast<SectionChartPlot*>(view_->chart()) : nullptr;
}

void ChartWindow::showEvent(QShowEvent* event)
{
    if (shownRevision_ != form_.revision())
        rebuild();
    FormWindow::showEvent(event);
}

void ChartWindow::rebuild()
{
    shownRevision_ = form_.revision();
    QChart* old = view_->chart();
    if (!form_.chart()) {
        stack_->setCurrentWidget(hint_);
        if (qobject_cast<SectionChartPlot*>(old)) {  // no stale chart behind the hint
            view_->setChart(new QChart);
            delete old;
        }
        return;
    }
    auto* plot = new SectionChartPlot(*form_.chart());
    view_->setChart(plot);
    stack_->setCurrentWidget(view_);
    delete old;
}

}  // namespace ogrado
