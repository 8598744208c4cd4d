// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/main_window.h"

#include "chart/chart_plot.h"
#include "document/text_document.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace ogrado {

namespace {

QString item(const char* name, int k)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(k);
}

// The source-data file a drag carries: one local file whose name ends in ".isx".
QString droppedSourceData(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(QStringLiteral(".isx"), Qt::CaseInsensitive))
        return {};
    return url.toLocalFile();
}

}  // namespace

MainWindow::MainWindow(MainForm& form, WindowHost& host) : FormWindow(form), form_(form), host_(host)
{
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The inputs, results and verdict scroll when the screen is smaller than they are;
    // the buttons stay where they are, below them. The window keeps the size the user
    // gives it: the result lists scroll rather than grow it.
    setScrollable(false);
    setFollowsModelSize(false);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 6);
    root->setSpacing(4);
    root->addWidget(buildConstructionBar());
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(6, 6, 6, 0);
    body->setSpacing(4);
    body->addWidget(buildInputs());
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildGrid(), 1);
    middle->addWidget(buildMaterials(), 0);
    body->addLayout(middle);
    body->addWidget(buildResults(), 1);
    body->addWidget(buildVerdict());
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scrollArea"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content);
    root->addWidget(scroll_, 1);
    root->addLayout(buildButtonBar());
    bindControls();
    syncConstructionTabs();
    connect(&form, &FormModel::changed, this, &MainWindow::syncConstructionTabs);
    // The documents of a calculation are drawn here, with the chart window's drawing.
    form_.setDocumentWriter([](const CalcDocument& document, DocumentFormat format, const QString& path) {
        writeCalcDocument(document, format, path, &renderSectionChart);
    });
    form_.setDocumentPrinter([this](const CalcDocument& document) { showPrintPreview(document); });
    setAcceptDrops(true);
    trackFocusedGridRow();
    // Fields take a dropped file as text (its path typed into the field), and Enter in a
    // field would press a button: the window handles both first.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
    // After a calculation the verdict is in view, however small the screen; a field a
    // message named stays in view instead.
    connect(&form, &MainForm::calculationDone, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!form_.markedControls().isEmpty())
                return;
            // scrolled down just enough; the left edge stays where it is
            if (QWidget* verdict = findChild<QWidget*>(QStringLiteral("verdict"))) {
                const int x = scroll_->horizontalScrollBar()->value();
                scroll_->ensureVisible(x, verdict->geometry().bottom(), 0, 0);
                scroll_->ensureVisible(x, verdict->geometry().top(), 0, 0);
            }
        });
    });
}

QLayout* MainWindow::buildButtonBar()
{
    // On a screen narrower than the buttons they scroll sideways; they never wrap or move.
    QWidget* buttons = buildButtons();
    buttonBar_ = new QScrollArea(this);
    buttonBar_->setObjectName(QStringLiteral("buttonBar"));
    buttonBar_->setFrameShape(QFrame::NoFrame);
    buttonBar_->setWidgetResizable(true);
    buttonBar_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    buttonBar_->setWidget(buttons);
    buttonBar_->setFixedHeight(buttons->sizeHint().height());
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 0, 6, 0);
    bottom->addWidget(buttonBar_);
    return bottom;
}

void MainWindow::trackFocusedGridRow()
{
    // the grid row whose cell has the focus: the materials window inserts there
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != this)
            return;  // another window: the row keeps the focus of this one
        int row = 0;
        for (int r = 1; r <= LayerGridRows && row == 0; ++r)
            for (int c = 0; c <= 8 && row == 0; ++c)
                if (now->objectName() == MainForm::cellName(r, c))
                    row = r;
        form_.setFocusedGridRow(row);
    });
}

void MainWindow::showPrintPreview(const CalcDocument& document)
{
    // A4 portrait from the corner of the sheet: the document keeps its own margins.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
    printer.setDocName(document.title);
    // The preview's own button prints through the print dialog.
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("Печать: ") + document.title);
    if (const QScreen* screen = this->screen())
        preview.resize(printPreviewSize(preview, screen->availableGeometry().size()));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &document](QPrinter* target) {
        if (printCalcDocument(document, &renderSectionChart, *target) == 0)
            form_.prompter().error(QStringLiteral("Документ не напечатан: принтер недоступен."));
    });
    preview.exec();
}

QSize printPreviewSize(const QDialog& preview, const QSize& free)
{
    int width = std::min(free.width() * 9 / 10, free.height() * 3 / 4);
    if (const auto* tools = preview.findChild<QToolBar*>()) {
        const QMargins m = preview.contentsMargins();
        width = std::max(width, tools->sizeHint().width() + m.left() + m.right() + 8);
    }
    return QSize(std::min(width, free.width()), free.height() * 9 / 10);
}

QSize MainWindow::contentSize() const
{
    const QWidget* content = scroll_->widget();
    QSize size = content->sizeHint().expandedTo(content->minimumSizeHint());
    const QWidget* buttons = buttonBar_->widget();
    size.rheight() += layout()->spacing() + layout()->contentsMargins().bottom() + buttons->sizeHint().height();
    // the construction bar above them
    const QWidget* bar = constructions_->parentWidget();
    size.rheight() += bar->sizeHint().height() + layout()->spacing();
    size.setWidth(std::max(size.width(), bar->minimumSizeHint().width()));
    size.setWidth(std::max(size.width(), buttons->sizeHint().width() + 12));
    if (QWidget* menu = layout()->menuBar())
        size.rheight() += menu->sizeHint().height();
    return size;
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    FormWindow::resizeEvent(event);
    const QWidget* buttons = buttonBar_->widget();
    const bool scrolls = event->size().width() - 12 < buttons->minimumSizeHint().width();
    const int height = buttons->sizeHint().height() +
                       (scrolls ? buttonBar_->horizontalScrollBar()->sizeHint().height() : 0);
    if (buttonBar_->height() != height)
        buttonBar_->setFixedHeight(height);
}

QWidget* MainWindow::buildConstructionBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("constructionBar"));
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(6, 4, 6, 0);
    h->setSpacing(4);
    h->addWidget(caption(QStringLiteral("Конструкции:")));
    // a tab row: the model's list of constructions, the chosen one shown
    constructions_ = new QTabBar(bar);
    constructions_->setObjectName(QStringLiteral("lstConstr"));
    constructions_->setExpanding(false);
    constructions_->setUsesScrollButtons(true);
    constructions_->setElideMode(Qt::ElideNone);  // the marks stay readable; the row scrolls
    constructions_->setDocumentMode(true);
    constructions_->setFocusPolicy(Qt::TabFocus);
    h->addWidget(constructions_, 1);
    connect(constructions_, &QTabBar::currentChanged, this, [this](int i) {
        if (!syncingTabs_ && i >= 0 && i != form_.currentIndex(QStringLiteral("lstConstr")))
            form_.userSelect(QStringLiteral("lstConstr"), i);
    });
    connect(constructions_, &QTabBar::tabBarDoubleClicked, this, [this](int i) {
        if (i >= 0)
            form_.userDblClick(QStringLiteral("lstConstr"));
    });
    const char* const buttons[] = {"cmdConstrAdd", "cmdConstrRename", "cmdConstrCopy", "cmdConstrDelete",
                                   "cmdConstrUp",  "cmdConstrDown",   "cmdCalcAll",    "cmdSummary"};
    for (const char* name : buttons) {
        if (qstrcmp(name, "cmdCalcAll") == 0)
            h->addSpacing(10);
        // as wide as its text: the room is the tabs'
        QPushButton* b = button(QLatin1String(name), form_.text(QLatin1String(name)));
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 20);
        h->addWidget(b);
    }
    h->addWidget(label(QStringLiteral("lblCalcAll")));
    h->addWidget(button(QStringLiteral("cmdStopAll"), form_.text(QStringLiteral("cmdStopAll"))));
    return bar;
}

void MainWindow::syncConstructionTabs()
{
    const Control& c = form_.control(QStringLiteral("lstConstr"));
    syncingTabs_ = true;
    while (constructions_->count() > c.items.size())
        constructions_->removeTab(constructions_->count() - 1);
    // the shown construction's tab has the mark and the start of the name, the others
    // the mark alone, so that many fit in the row; a tooltip holds the whole caption
    constexpr int kTabChars = 24;
    const Project& project = form_.project();
    for (int i = 0; i < c.items.size(); ++i) {
        const QString& caption = c.items[i];
        QString text = i != c.current && i < project.count() ? project.at(i).mark : caption;
        if (text.size() > kTabChars)
            text = text.left(kTabChars - 1).trimmed() + QStringLiteral("…");
        if (i >= constructions_->count())
            constructions_->addTab(text);
        else if (constructions_->tabText(i) != text)
            constructions_->setTabText(i, text);
        constructions_->setTabToolTip(i, caption);
    }
    if (c.current >= 0 && constructions_->currentIndex() != c.current)
        constructions_->setCurrentIndex(c.current);
    syncingTabs_ = false;
}

QWidget* MainWindow::buildInputs()
{
    auto* box = new QGroupBox(QStringLiteral("Исходные данные"), this);
    auto* h = new QHBoxLayout(box);
    h->setSpacing(12);
    h->addLayout(buildClimate());
    h->addLayout(buildCoefficients(), 1);
    return box;
}

QLayout* MainWindow::buildClimate()
{
    // the building, its region and city, the outside temperatures
    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    auto* building = new QHBoxLayout;
    building->addWidget(caption(QStringLiteral("Тип здания:")));
    building->addWidget(comboBox(QStringLiteral("cboTipZd"), true, 250));
    building->addWidget(caption(QStringLiteral("t(в), °С")));
    building->addWidget(lineEdit(QStringLiteral("txtTv"), 40));
    building->addWidget(caption(QStringLiteral("фи(в), %")));
    building->addWidget(lineEdit(QStringLiteral("txtFiv"), 40));
    building->addStretch();
    left->addLayout(building);
    auto* typeLabel = label(QStringLiteral("lblTipZd"), true);
    typeLabel->setFixedWidth(500);
    left->addWidget(typeLabel);

    auto* region = new QHBoxLayout;
    region->addWidget(caption(QStringLiteral("Область:")));
    region->addWidget(comboBox(QStringLiteral("cboObl"), false, 130));
    region->addSpacing(8);
    region->addWidget(caption(QStringLiteral("Город:")));
    region->addWidget(comboBox(QStringLiteral("cboGorod"), false, 120));
    region->addWidget(caption(QStringLiteral("Нужно для расчета\nвлагонакопления")));
    region->addStretch();
    left->addLayout(region);

    auto* tn = new QHBoxLayout;
    tn->addWidget(caption(QStringLiteral("tн, °С: T1(0,98)")));
    tn->addWidget(lineEdit(item("txtTn", 1), 38));
    tn->addWidget(caption(QStringLiteral("T1(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 2), 38));
    tn->addWidget(caption(QStringLiteral("T3(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 3), 38));
    tn->addWidget(caption(QStringLiteral("T5(0,92)")));
    tn->addWidget(lineEdit(item("txtTn", 4), 38));
    tn->addStretch();
    left->addLayout(tn);

    auto* tot = new QHBoxLayout;
    tot->addWidget(caption(QStringLiteral("Отопит. период: t(от.), °С")));
    tot->addWidget(lineEdit(item("txtTot", 1), 38));
    tot->addWidget(caption(QStringLiteral("фи(от.), %")));
    tot->addWidget(lineEdit(item("txtTot", 2), 34));
    tot->addWidget(caption(QStringLiteral("e(от.), Па")));
    tot->addWidget(lineEdit(item("txtTot", 3), 40));
    tot->addWidget(caption(QStringLiteral("z(от.), сут.")));
    tot->addWidget(lineEdit(item("txtTot", 4), 38));
    tot->addStretch();
    left->addLayout(tot);
    left->addStretch();
    return left;
}

QLayout* MainWindow::buildCoefficients()
{
    // coefficients and envelope type: a list, its value, and the chosen row's full text below
    auto* coef = new QGridLayout;
    coef->setHorizontalSpacing(4);
    coef->setVerticalSpacing(1);
    struct Row {
        const char* caption;
        const char* combo;
        const char* field;
        const char* label;
    };
    const Row rows[] = {{"n:", "cboN", "txtN", "lblN"},
                        {"альфа(в):", "cboAlv", "txtAlv", "lblAlv"},
                        {"альфа(н):", "cboAln", "txtAln", "lblAln"}};
    int r = 0;
    for (const Row& row : rows) {
        coef->addWidget(caption(QString::fromUtf8(row.caption)), r, 0);
        QComboBox* combo = comboBox(QLatin1String(row.combo), false);
        combo->setMinimumWidth(330);
        coef->addWidget(combo, r, 1);
        coef->addWidget(lineEdit(QLatin1String(row.field), 40), r, 2);
        QLabel* l = label(QLatin1String(row.label), true);
        l->setMinimumWidth(440);
        l->setStyleSheet(QStringLiteral("color: #404040; font-size: 8pt;"));
        coef->addWidget(l, r + 1, 0, 1, 3);
        r += 2;
    }
    coef->addWidget(caption(QStringLiteral("Тип констр.:")), r, 0);
    auto* types = new QHBoxLayout;
    for (int k = 0; k <= 1; ++k) {
        QComboBox* type = comboBox(item("cboTp", k), false);
        type->setMinimumWidth(120);
        types->addWidget(type, 1);
    }
    QLabel* dtCaption = caption(QStringLiteral("Температурный\nперепад"));
    dtCaption->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    types->addWidget(dtCaption);
    coef->addLayout(types, r, 1);
    coef->addWidget(lineEdit(QStringLiteral("txtTp"), 40), r, 2);
    ++r;
    auto* tpLabel = label(QStringLiteral("lblTp"), true);
    tpLabel->setMinimumWidth(440);
    tpLabel->setStyleSheet(QStringLiteral("color: #404040;"));
    coef->addWidget(tpLabel, r, 0, 1, 3);
    coef->setColumnStretch(1, 1);
    return coef;
}

QWidget* MainWindow::buildGrid()
{
    auto* box = new QGroupBox(QStringLiteral("Слои конструкции, 1 слой внутри здания"), this);
    auto* g = new QGridLayout(box);
    g->setHorizontalSpacing(2);
    g->setVerticalSpacing(2);
    const int widths[9] = {170, 32, 48, 42, 44, 44, 44, 44, 48};
    auto head = [&](const QString& text, int row, int col, int rowSpan = 1, int colSpan = 1) {
        QLabel* l = caption(text, true);
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet(QStringLiteral("font-size: 8pt;"));
        // a heading wraps within its column; only the name column takes more width
        if (col > 0) {
            int width = 0;
            for (int c = col; c < col + colSpan; ++c)
                width += (c <= 8 ? widths[c] : 48) + 2;
            l->setMaximumWidth(std::max(width, 48));
        }
        g->addWidget(l, row, col, rowSpan, colSpan);
    };
    head(QStringLiteral("Наименование"), 0, 0, 2);
    head(QStringLiteral("№ слоя"), 0, 1, 2);
    head(QStringLiteral("Толщ. слоя, мм"), 0, 2, 2);
    head(QStringLiteral("Кол. пром. точек"), 0, 3, 2);
    head(QStringLiteral("Расч. К теп- лопроводности"), 0, 4, 1, 2);
    head(QStringLiteral("Расч. К теп- лоусвоения"), 0, 6, 1, 2);
    head(QStringLiteral("А"), 1, 4);
    head(QStringLiteral("Б"), 1, 5);
    head(QStringLiteral("А"), 1, 6);
    head(QStringLiteral("Б"), 1, 7);
    head(QStringLiteral("Расч. К паропро- ницания"), 0, 8, 2);
    head(QStringLiteral("Иск- лючить"), 0, 9, 2);
    head(QStringLiteral("Увлаж- няемый"), 0, 10, 2);
    head(QStringLiteral("фи(ср.), %"), 0, 11, 2);
    g->setRowMinimumHeight(0, 34);
    g->setColumnStretch(0, 1);
    for (int row = 1; row <= LayerGridRows; ++row) {
        for (int c = 0; c <= 8; ++c) {
            QLineEdit* e = lineEdit(MainForm::cellName(row, c), c == 0 ? 0 : widths[c]);
            if (c == 0)
                e->setMinimumWidth(widths[0]);
            if (c == 1)
                e->setAlignment(Qt::AlignCenter);
            g->addWidget(e, row + 1, c);
        }
        auto* excl = checkBox(item("chkIskl", row), QString());
        excl->setToolTip(QStringLiteral("Исключить слой из расчета"));
        g->addWidget(excl, row + 1, 9, Qt::AlignCenter);
        if (row >= 2 && row <= 7) {
            auto* mark = optionButton(item("optVlaga", row));
            mark->setToolTip(QStringLiteral("Пометьте увлажняемый слой -теплоизоляционный слой ближайший к наружной поверхности."));
            g->addWidget(mark, row + 1, 10, Qt::AlignCenter);
        }
        g->addWidget(lineEdit(item("txtFiSl", row), 44), row + 1, 11);
    }
    QLabel* note = caption(QStringLiteral("«Исключить слой из расчета». Пометьте увлажняемый слой -теплоизоляционный "
                                          "слой ближайший к наружной поверхности."),
                           true);
    note->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    g->addWidget(note, LayerGridRows + 2, 0, 1, 12);
    auto* options = new QHBoxLayout;
    options->addWidget(checkBox(QStringLiteral("chkPr"), QStringLiteral("Уточнять Rt по п. 5,14 ТКП")));
    options->addSpacing(20);
    options->addWidget(checkBox(QStringLiteral("chkVlaga"), QStringLiteral("Пометьте, чтобы рассчитать влагонакопление")));
    // a key a number field refused, for two seconds; the room right of the boxes is empty
    options->addSpacing(20);
    QLabel* hint = label(QStringLiteral("lblHint"));
    hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // it takes no room from the boxes
    options->addWidget(hint, 1);
    g->addLayout(options, LayerGridRows + 3, 0, 1, 12);
    return box;
}

QWidget* MainWindow::buildMaterials()
{
    auto* box = new QGroupBox(QStringLiteral("Материалы"), this);
    auto* v = new QVBoxLayout(box);
    v->setSpacing(3);
    QComboBox* materials = searchComboBox(QStringLiteral("cboM"), 250, 600);
    v->addWidget(materials);
    QLabel* description = label(QStringLiteral("lblM"), true);
    description->setFixedWidth(250);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    QFont small = description->font();
    small.setPointSizeF(8);
    description->setFont(small);
    // a fixed height: the row list below stays where it is whatever the description's
    // length (a longer one shows whole as its tooltip)
    description->setFixedHeight(7 * QFontMetrics(small).lineSpacing() + 4);
    v->addWidget(description);
    auto* density = new QHBoxLayout;
    density->addWidget(caption(QStringLiteral("Объемная масса, кг/м3")));
    density->addWidget(lineEdit(QStringLiteral("txtM"), 55));
    density->addStretch();
    v->addLayout(density);
    auto* rows = new QHBoxLayout;
    QListWidget* target = listBox(QStringLiteral("lstM"), 36);
    target->setFixedHeight(132);
    rows->addWidget(target);
    QLabel* hint = caption(QStringLiteral("Выделить, затем Dbl-click - вставка данных в выделенную строку"), true);
    hint->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    rows->addWidget(hint, 1, Qt::AlignTop);
    v->addLayout(rows);
    v->addStretch();
    return box;
}

QWidget* MainWindow::buildResults()
{
    auto* box = new QGroupBox(QStringLiteral("Результаты расчета"), this);
    auto* h = new QHBoxLayout(box);
    h->setSpacing(10);
    h->addLayout(buildSums());
    h->addLayout(buildBoundaryTable());
    h->addLayout(buildResultLists(), 1);
    return box;
}

QLayout* MainWindow::buildSums()
{
    // Rт, Rп, D, tн and Rт.тр.
    auto* sums = new QGridLayout;
    sums->setHorizontalSpacing(4);
    sums->setVerticalSpacing(3);
    const std::pair<const char*, const char*> fields[] = {{"Rт, м2·°С/Вт", "txtRt"},
                                                           {"Rп, м2·ч·Па/мг", "txtRp"},
                                                           {"D", "txtD"},
                                                           {"tн, °С", "txtTnras"},
                                                           {"Rт.тр., м2·°С/Вт", "txtRtr"}};
    int row = 0;
    for (const auto& [text, name] : fields) {
        sums->addWidget(caption(QString::fromUtf8(text)), row, 0);
        sums->addWidget(lineEdit(QLatin1String(name), 56), row, 1);
        ++row;
    }
    // Rт.норм under Rт.тр.: its caption over both columns, the rows of table 5.1 in the
    // caption column, so that nothing beside the sums moves
    sums->addWidget(caption(QStringLiteral("Rт.норм, м2·°С/Вт")), row++, 0, 1, 2);
    QComboBox* norms = comboBox(QStringLiteral("cboRtNorm"), false);
    norms->setPlaceholderText(QStringLiteral("по таблице 5.1"));
    norms->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    sums->addWidget(norms, row, 0);
    sums->addWidget(lineEdit(QStringLiteral("txtRtNorm"), 56), row++, 1);
    sums->setRowStretch(row, 1);
    return sums;
}

QLayout* MainWindow::buildBoundaryTable()
{
    // t, E, e, Rп.тр. and Rп.в. at each boundary of layers
    auto* bounds = new QGridLayout;
    bounds->setHorizontalSpacing(2);
    bounds->setVerticalSpacing(3);
    bounds->addWidget(caption(QStringLiteral("Граница")), 0, 0);
    for (int k = 1; k <= 7; ++k) {
        QLabel* l = caption(QStringLiteral("%1-%2").arg(k).arg(k + 1));
        l->setAlignment(Qt::AlignCenter);
        bounds->addWidget(l, 0, k);
    }
    const std::pair<const char*, const char*> rows[] = {{"t, °С", "txtT"},
                                                         {"E, Па", "txtPm"},
                                                         {"e, Па", "txtPr"},
                                                         {"Rп.тр.", "txtRptr"},
                                                         {"Rп.в.", "txtRpv"}};
    int r = 1;
    for (const auto& [text, name] : rows) {
        bounds->addWidget(caption(QString::fromUtf8(text)), r, 0);
        for (int k = 1; k <= 7; ++k)
            bounds->addWidget(lineEdit(item(name, k), 50), r, k);
        ++r;
    }
    // for information under the boundaries: the heat loss over the heating period
    bounds->addWidget(caption(QStringLiteral("Теплопотери за отопительный период, кВт·ч/м2")), r, 0, 1, 6);
    bounds->addWidget(label(QStringLiteral("lblQot")), r++, 6, 1, 2);
    bounds->setRowStretch(r, 1);
    return bounds;
}

QLayout* MainWindow::buildResultLists()
{
    // the points of the field: name, t, E, e and фи
    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(label(QStringLiteral("lblRezList")));
    auto* lists = new QGridLayout;
    lists->setHorizontalSpacing(1);
    lists->setVerticalSpacing(1);
    const char* heads[5] = {"Точка", "t, °С", "E, Па", "e, Па", "фи, %"};
    const int widths[5] = {200, 52, 56, 56, 62};
    QListWidget* columns[5] = {};
    for (int k = 1; k <= 5; ++k) {
        lists->addWidget(caption(QString::fromUtf8(heads[k - 1])), 0, k - 1);
        QListWidget* l = listBox(item("lstRez", k), k == 1 ? 0 : widths[k - 1]);
        if (k == 1)
            l->setMinimumWidth(widths[0]);
        // the five lists are one table: they scroll together, with the bar on the last one
        l->setMinimumHeight(px(2220));
        l->setVerticalScrollBarPolicy(k == 5 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        l->setSelectionMode(QAbstractItemView::NoSelection);
        l->setTextElideMode(Qt::ElideRight);
        // a font, not a style sheet: the lists' text colour follows the model (grey when stale)
        QFont small = l->font();
        small.setPointSizeF(8);
        l->setFont(small);
        lists->addWidget(l, 1, k - 1);
        columns[k - 1] = l;
    }
    if (columns[4])
        columns[4]->setFixedWidth(widths[4] + columns[4]->verticalScrollBar()->sizeHint().width());
    scrollTogether(QList<QListWidget*>(std::begin(columns), std::end(columns)));
    lists->setColumnStretch(0, 1);
    lists->setRowStretch(1, 1);
    right->addLayout(lists, 1);
    return right;
}

QWidget* MainWindow::buildVerdict()
{
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("verdict"));
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(1);
    QLabel* summary = label(QStringLiteral("lblVerdict"), true);
    QFont bold = summary->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    summary->setFont(bold);
    summary->setMargin(3);
    v->addWidget(summary);
    for (const char* name : {"lblVerdictRt", "lblVerdictNorm", "lblVerdictVapour", "lblVerdictSurface"})
        v->addWidget(label(QLatin1String(name), true));
    // the unchecked reference values the calculation rests on, in two lines at most
    QLabel* data = label(QStringLiteral("lblVerdictData"), true);
    QFont small = data->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    data->setFont(small);
    v->addWidget(data);
    // room for the lines from the start: the window does not change when they appear
    box->setMinimumHeight(QFontMetrics(bold).height() + 6 + 4 * fontMetrics().height() +
                          2 * QFontMetrics(small).height() + 10);
    return box;
}

QWidget* MainWindow::buildButtons()
{
    auto* w = new QWidget(this);
    w->setObjectName(QStringLiteral("buttons"));
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(3);
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdOk", "Расчет"},
        {"cmdPR", "Пересчитать"},
        {"cmdSave", "Сохранить"},
        {"cmdVpr", "Расчет вентилиру-\nемой прослойки"},
        {"cmdTr", "Точка росы"},
        {"cmdVariant", "Варианты"},
        {"cmdSp", "Сохранить пирожок"},
        {"cmdOp", "Загрузить пирожок"},
        {"cmdMaterial", "Материалы"},
        {"Комманда1", "Очистить поля"},
        {"cmdAbout", "О программе"},
        {"cmdCancel", "Выход"},
    };
    // two rows of buttons; the air-layer button and "Выход" take both rows
    const int cells[][3] = {{0, 0, 1}, {1, 0, 1}, {0, 1, 2}, {0, 2, 2}, {0, 3, 1}, {1, 3, 1},
                            {0, 4, 1}, {1, 4, 1}, {0, 5, 1}, {1, 5, 1}, {0, 6, 1}, {1, 6, 1}};
    int i = 0;
    for (const auto& [name, text] : buttons) {
        QPushButton* b = button(QString::fromUtf8(name), QString::fromUtf8(text));
        b->setMinimumWidth(std::max(110, b->sizeHint().width()));
        if (cells[i][2] == 2 || i == 2)
            b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        g->addWidget(b, cells[i][0], cells[i][1], cells[i][2], 1);
        ++i;
    }
    // the status line in the room right of the buttons: nothing moves when it speaks
    QLabel* status = label(QStringLiteral("lblStatus"), true);
    status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    status->setStyleSheet(QStringLiteral("font-size: 8pt;"));
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    g->addWidget(status, 0, 7, 2, 1);
    g->setColumnStretch(7, 1);
    return w;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close box asks about unsaved input as "Выход" does; ending the program
    // closes this window again, without asking twice.
    if (!form_.isQuitting()) {
        form_.exitProgram();
        if (!form_.isQuitting()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedSourceData(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedSourceData(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    form_.openSourceData(path);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Enter in a field goes to the next one, as Tab does: it never presses a button.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (qobject_cast<QLineEdit*>(watched) && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);  // the scroll area shows the next field
            return true;
        }
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedSourceData(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!droppedSourceData(drop->mimeData()).isEmpty()) {
            dropEvent(drop);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return FormWindow::eventFilter(watched, event);
}

void MainWindow::reject()
{
    // Esc does not close the main window.
}

}  // namespace ogrado
