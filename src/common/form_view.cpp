// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/form_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTableWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <climits>

namespace ogrado {

namespace {

// Selects the whole text with the cursor at its start, so that a long text shows its
// beginning.
void showStartOfText(QLineEdit* edit)
{
    const int n = int(edit->text().size());
    edit->setSelection(n, -n);
}

// A list to type into: after the completer has shown the entries for the text, one of
// them is marked, so that Enter chooses it. The mark does not select the entry:
// selecting would put its text into the field while the user types. A drop-down wider
// than the list moves left rather than off the screen. A chosen entry shows its
// beginning, all of it selected: typing starts a new search.
void bindSearchDropDown(QComboBox* combo)
{
    QCompleter* completer = combo->completer();
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, completer, [completer] {
        QTimer::singleShot(0, completer, [completer] {
            QAbstractItemView* popup = completer->popup();
            QAbstractItemModel* shown = completer->completionModel();
            if (!popup->isVisible())
                return;
            if (!popup->currentIndex().isValid() && shown->rowCount() > 0)
                popup->selectionModel()->setCurrentIndex(shown->index(0, 0), QItemSelectionModel::NoUpdate);
            if (const QScreen* screen = popup->screen()) {
                const QRect avail = screen->availableGeometry();
                if (popup->geometry().right() > avail.right())
                    popup->move(std::max(avail.left(), avail.right() - popup->width() + 1), popup->y());
            }
        });
    });
    QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [combo] {
        QTimer::singleShot(0, combo, [combo] { showStartOfText(combo->lineEdit()); });
    });
}

// The model's colours on a widget: the text colour, and the background in `bgRole`
// when `withBackground`.
void showColours(QWidget* w, const Control& c, QPalette::ColorRole bgRole, bool withBackground)
{
    QPalette pal = w->palette();
    bool change = false;
    if (withBackground && pal.color(bgRole).rgba() != c.background) {
        pal.setColor(QPalette::Active, bgRole, QColor::fromRgba(c.background));
        pal.setColor(QPalette::Inactive, bgRole, QColor::fromRgba(c.background));
        change = true;
    }
    const QPalette::ColorRole fgRole = bgRole == QPalette::Base ? QPalette::Text : QPalette::WindowText;
    if (pal.color(fgRole).rgba() != c.foreground) {
        pal.setColor(QPalette::Active, fgRole, QColor::fromRgba(c.foreground));
        pal.setColor(QPalette::Inactive, fgRole, QColor::fromRgba(c.foreground));
        change = true;
    }
    if (change)
        w->setPalette(pal);
}

void syncLineEdit(QLineEdit* edit, const Control& c)
{
    if (edit->text() != c.text) {
        edit->setText(c.text);
        // a text longer than the field shows its beginning, not its tail
        if (!edit->hasFocus() && edit->fontMetrics().horizontalAdvance(c.text) > edit->width() - 8)
            edit->setCursorPosition(0);
    }
    edit->setReadOnly(c.readOnly);
    showColours(edit, c, QPalette::Base, true);
}

void syncPlainText(QPlainTextEdit* text, const Control& c)
{
    if (text->toPlainText() != c.text)
        text->setPlainText(c.text);
}

// The entries of a combo box, its drop-down list as wide as the longest one, at most
// as wide as the screen. An entry wider than that is cut in the middle, so that its end
// (a material's density, "(125)") stays in view, and shows whole as its tooltip; the
// drop-down of a list to type into does the same.
void setComboEntries(QComboBox* combo, const QStringList& entries)
{
    combo->clear();
    combo->addItems(entries);
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemData(i, entries[i], Qt::ToolTipRole);
    QAbstractItemView* view = combo->view();
    const QFontMetrics fm(view->font());
    int widest = 0;
    for (const QString& entry : entries)
        widest = std::max(widest, fm.horizontalAdvance(entry));
    const int screenWidth = combo->screen() ? combo->screen()->availableGeometry().width() : INT_MAX;
    const int width = widest + 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width() + 16;
    view->setTextElideMode(Qt::ElideMiddle);
    view->setMinimumWidth(std::min(width, screenWidth));
    if (QCompleter* completer = combo->completer(); completer && combo->property("ogradoSearch").toBool()) {
        completer->popup()->setTextElideMode(Qt::ElideMiddle);
        const int least = combo->property("ogradoDropDownWidth").toInt();
        completer->popup()->setMinimumWidth(std::min(std::max(width, least), screenWidth));
    }
}

void syncComboBox(QComboBox* combo, const Control& c)
{
    QStringList current;
    for (int i = 0; i < combo->count(); ++i)
        current.append(combo->itemText(i));
    // New entries while the user types must not move the cursor in the text.
    const QString typed = combo->isEditable() ? combo->lineEdit()->text() : QString();
    const int cursor = combo->isEditable() ? combo->lineEdit()->cursorPosition() : 0;
    if (current != c.items)
        setComboEntries(combo, c.items);
    if (combo->currentIndex() != c.current)
        combo->setCurrentIndex(c.current);
    if (combo->isEditable() && combo->currentText() != c.text) {
        combo->setEditText(c.text);
        if (c.text == typed)
            combo->lineEdit()->setCursorPosition(cursor);
        else if (combo->property("ogradoSearch").toBool())
            showStartOfText(combo->lineEdit());
    }
}

void syncList(QListWidget* list, const Control& c)
{
    bool same = list->count() == c.items.size();
    for (int i = 0; same && i < list->count(); ++i)
        same = list->item(i)->text() == c.items[i];
    if (!same) {
        list->clear();
        list->addItems(c.items);
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setToolTip(list->item(i)->text());
    }
    for (int i = 0; i < list->count(); ++i) {
        const QColor colour = QColor::fromRgba(i < c.itemBackgrounds.size() ? c.itemBackgrounds[i] : c.background);
        if (i < c.itemBackgrounds.size() || list->item(i)->background().style() != Qt::NoBrush) {
            if (list->item(i)->background().color() != colour)
                list->item(i)->setBackground(colour);
        }
    }
    if (list->currentRow() != c.current)
        list->setCurrentRow(c.current);
    showColours(list, c, QPalette::Base, true);
}

// A check box or an option button.
void syncCheckable(QAbstractButton* check, const Control& c)
{
    if (check->isChecked() != c.checked)
        check->setChecked(c.checked);
    if (!c.text.isEmpty() && check->text() != c.text)
        check->setText(c.text);
}

void syncLabel(QLabel* label, const Control& c)
{
    if (label->text() != c.text)
        label->setText(c.text);
    // a label is filled only with a colour of its own; white stands for none
    const bool filled = c.background != kWhite;
    if (label->autoFillBackground() != filled)
        label->setAutoFillBackground(filled);
    showColours(label, c, QPalette::Window, filled);
}

}  // namespace

FormWindow::FormWindow(FormModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName(model.formName());
    connect(&model_, &FormModel::changed, this, &FormWindow::refresh);
    connect(&model_, &FormModel::closeRequested, this, [this] {
        if (isVisible())
            hide();
        if (isModal() || testAttribute(Qt::WA_ShowModal))
            done(0);
    });
}

QLineEdit* FormWindow::lineEdit(const QString& name, int widthPx)
{
    auto* w = new QLineEdit(this);
    w->setObjectName(name);
    if (widthPx > 0)
        w->setFixedWidth(widthPx);
    return w;
}

QComboBox* FormWindow::comboBox(const QString& name, bool editable, int widthPx)
{
    auto* w = new QComboBox(this);
    w->setObjectName(name);
    w->setEditable(editable);
    if (editable)
        w->setInsertPolicy(QComboBox::NoInsert);
    w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    w->setMinimumContentsLength(8);
    if (widthPx > 0)
        w->setFixedWidth(widthPx);
    return w;
}

QComboBox* FormWindow::searchComboBox(const QString& name, int widthPx, int dropDownWidthPx)
{
    QComboBox* w = comboBox(name, true, widthPx);
    w->setProperty("ogradoSearch", true);
    // The drop-down shows every entry the model gives for the text; the completer only
    // shows it and marks the first entry that contains the text.
    auto* completer = new QCompleter(w->model(), w);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setMaxVisibleItems(15);
    w->setProperty("ogradoDropDownWidth", dropDownWidthPx);
    if (dropDownWidthPx > 0)
        completer->popup()->setMinimumWidth(dropDownWidthPx);
    w->setCompleter(completer);
    return w;
}

QTableWidget* FormWindow::table(const QString& name)
{
    auto* w = new QTableWidget(this);
    w->setObjectName(name);
    w->setSelectionBehavior(QAbstractItemView::SelectRows);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setWordWrap(false);
    w->verticalHeader()->setVisible(false);
    w->verticalHeader()->setDefaultSectionSize(w->fontMetrics().height() + 6);
    w->horizontalHeader()->setSectionsClickable(true);
    w->horizontalHeader()->setHighlightSections(false);
    return w;
}

QListWidget* FormWindow::listBox(const QString& name, int widthPx)
{
    auto* w = new QListWidget(this);
    w->setObjectName(name);
    if (widthPx > 0)
        w->setFixedWidth(widthPx);
    return w;
}

QCheckBox* FormWindow::checkBox(const QString& name, const QString& text)
{
    auto* w = new QCheckBox(text, this);
    w->setObjectName(name);
    return w;
}

QRadioButton* FormWindow::optionButton(const QString& name, const QString& text)
{
    auto* w = new QRadioButton(text, this);
    w->setObjectName(name);
    return w;
}

QPushButton* FormWindow::button(const QString& name, const QString& text)
{
    auto* w = new QPushButton(text, this);
    w->setObjectName(name);
    return w;
}

QLabel* FormWindow::label(const QString& name, bool wrap)
{
    auto* w = new QLabel(this);
    w->setObjectName(name);
    w->setWordWrap(wrap);
    return w;
}

QLabel* FormWindow::caption(const QString& text, bool wrap)
{
    auto* w = new QLabel(text, this);
    w->setWordWrap(wrap);
    return w;
}

void FormWindow::scrollTogether(const QList<QListWidget*>& lists)
{
    for (QListWidget* from : lists) {
        for (QListWidget* to : lists) {
            if (from != to)
                connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                        &QScrollBar::setValue);
        }
    }
}

void FormWindow::bindControls()
{
    wrapInScrollArea();
    buildMenuBar();
    for (const Control& c : model_.controls()) {
        // Menu items follow the model through their actions; a submenu's QMenu carries
        // the control's name too, and showing it like a field would pop it up.
        if (c.kind == ControlKind::MenuItem || c.kind == ControlKind::Submenu)
            continue;
        QWidget* w = findChild<QWidget*>(c.name);
        if (!w)
            continue;
        widgets_.insert(c.name, w);
        names_.insert(w, c.name);
        baseTips_.insert(w, w->toolTip());
        bindWidget(w, c);
    }
    refresh();
}

void FormWindow::wrapInScrollArea()
{
    if (!scrollable_ || scrollArea_)
        return;
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    if (QLayout* l = layout()) {
        content->setLayout(l);  // takes the layout and its widgets from the window
    } else {
        // widgets placed by coordinates: the content is as large as they reach
        absoluteContent_ = true;
        QRect used;
        const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* w : children) {
            if (w->isWindow())
                continue;
            used = used.united(w->geometry());
            w->setParent(content);
        }
        absoluteExtent_ = QSize(used.right() + 7, used.bottom() + 7);
        content->resize(absoluteExtent_);
    }
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("scrollArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(!absoluteContent_);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    scrollArea_ = area;
    content_ = content;
}

QSize FormWindow::contentSize() const
{
    QSize size;
    if (content_) {
        // the preferred size: a layout with word-wrapped texts gives its full height there
        size = absoluteContent_ ? content_->size() : content_->sizeHint().expandedTo(content_->minimumSizeHint());
        if (menuBar_)
            size.rheight() += menuBar_->sizeHint().height();
    } else {
        size = minimumSizeHint();
    }
    return size;
}

QSize FormWindow::availableClientSize() const
{
    const QScreen* s = screen();
    if (!s)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // the frame a window manager draws around the window: title bar and borders
    QSize frame(16, 40);
    if (isVisible() && frameGeometry().size() != size())
        frame = frameGeometry().size() - size();
    return s->availableGeometry().size() - frame;
}

QSize FormWindow::openingSize() const
{
    // Before the first show a text set on a hidden widget leaves its layout's cached
    // sizes as they were: drop them, so that the sizes are those of the texts shown.
    auto* self = const_cast<FormWindow*>(this);
    self->ensurePolished();
    for (QWidget* w : self->findChildren<QWidget*>())
        w->ensurePolished();
    for (QLayout* l : self->findChildren<QLayout*>())
        l->invalidate();
    if (QLayout* l = self->layout())
        l->activate();
    QSize want = contentSize();
    const int w = model_.widthTwips();
    const int h = model_.heightTwips();
    if (w > 0 && h > 0)
        want = want.expandedTo(QSize(px(w), px(h)));
    const QSize room = availableClientSize();
    // content taller than the screen scrolls: leave room for the scroll bar beside it
    if (want.height() > room.height())
        want.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    return want.boundedTo(room);
}

void FormWindow::updateCutTextTip(QWidget* w)
{
    auto base = baseTips_.find(w);
    if (base == baseTips_.end())
        base = baseTips_.insert(w, w->toolTip());
    QString whole;
    auto cut = [](const QFontMetrics& fm, const QString& text, int room) {
        return !text.isEmpty() && fm.horizontalAdvance(text) > room;
    };
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (cut(edit->fontMetrics(), edit->text(), edit->width() - 8))
            whole = edit->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (cut(combo->fontMetrics(), combo->currentText(), combo->width() - 30))
            whole = combo->currentText();
    } else if (auto* label = qobject_cast<QLabel*>(w); label && label->textFormat() != Qt::RichText) {
        // a wrapped text is cut when its lines need more height than the label has
        const QRect room = label->contentsRect();
        const bool cutShort = label->wordWrap()
                                  ? !label->text().isEmpty() && label->heightForWidth(room.width()) > room.height()
                                  : cut(label->fontMetrics(), label->text(), room.width());
        if (cutShort)
            whole = label->text();
    }
    QString tip = *base;
    if (!whole.isEmpty() && !tip.contains(whole))
        tip = tip.isEmpty() ? whole : tip + u'\n' + whole;
    if (w->toolTip() != tip)
        w->setToolTip(tip);
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // the layout has placed the children when the queued call runs
    QTimer::singleShot(0, this, [this] {
        for (QWidget* w : findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w))
                updateCutTextTip(w);
        }
    });
}

void FormWindow::buildMenuBar()
{
    QHash<QString, QMenu*> menus;
    for (const Control& c : model_.controls()) {
        if (c.kind != ControlKind::MenuItem && c.kind != ControlKind::Submenu)
            continue;
        if (!menuBar_) {
            menuBar_ = new QMenuBar(this);
            menuBar_->setObjectName(QStringLiteral("menuBar"));
            if (layout())
                layout()->setMenuBar(menuBar_);
        }
        QMenu*& menu = menus[c.group];
        if (!menu) {
            menu = menuBar_->addMenu(c.group);
            menu->setObjectName(QStringLiteral("menu_") + c.group);
        }
        if (c.text == u"-") {
            menu->addSeparator()->setObjectName(c.name);
            continue;
        }
        const QString name = c.name;
        QAction* action = nullptr;
        if (c.kind == ControlKind::MenuItem) {
            action = menu->addAction(c.text);
            connect(action, &QAction::triggered, this, [this, name] {
                if (!syncing_)
                    model_.userClick(name);
            });
        } else {
            // a submenu: its entries are the control's items
            QMenu* sub = menu->addMenu(c.text);
            sub->setObjectName(name);
            action = sub->menuAction();
            connect(sub, &QMenu::triggered, this, [this, name, sub](QAction* entry) {
                if (!syncing_)
                    model_.userSelect(name, int(sub->actions().indexOf(entry)));
            });
        }
        action->setObjectName(name);
        if (!c.shortcut.isEmpty())
            action->setShortcut(QKeySequence(c.shortcut, QKeySequence::PortableText));
        menuActions_.insert(name, action);
    }
}

void FormWindow::syncMenus()
{
    for (auto it = menuActions_.constBegin(); it != menuActions_.constEnd(); ++it) {
        const Control& c = model_.control(it.key());
        QAction* action = it.value();
        action->setEnabled(c.enabled);
        action->setVisible(c.visible);
        if (action->text() != c.text)
            action->setText(c.text);
        if (QMenu* sub = action->menu()) {
            // an entry such as a file path is shown as it is: "&" marks no shortcut key
            QStringList wanted;
            for (const QString& entry : c.items)
                wanted.append(QString(entry).replace(u'&', QStringLiteral("&&")));
            QStringList shown;
            for (QAction* a : sub->actions())
                shown.append(a->text());
            if (shown != wanted) {
                sub->clear();
                for (const QString& entry : wanted)
                    sub->addAction(entry);
            }
            sub->setEnabled(c.enabled && !c.items.isEmpty());
        }
    }
}

void FormWindow::bindWidget(QWidget* w, const Control& c)
{
    // Each kind of widget forwards its own user actions; a widget of another kind
    // (a label) only shows the model.
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        bindLineEdit(edit, c.name);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        bindPlainText(text, c.name);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        bindComboBox(combo, c.name);
    else if (auto* grid = qobject_cast<QTableWidget*>(w))
        bindTable(grid, c.name);
    else if (auto* list = qobject_cast<QListWidget*>(w))
        bindList(list, c.name);
    else if (auto* radio = qobject_cast<QRadioButton*>(w))
        bindOptionButton(radio, c.name);
    else if (auto* check = qobject_cast<QCheckBox*>(w))
        bindCheckBox(check, c.name);
    else if (auto* button = qobject_cast<QPushButton*>(w))
        bindButton(button, c.name);
}

void FormWindow::bindLineEdit(QLineEdit* edit, const QString& name)
{
    connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& t) {
        if (!syncing_)
            model_.userEdit(name, t);
    });
    edit->installEventFilter(this);
}

void FormWindow::bindPlainText(QPlainTextEdit* text, const QString& name)
{
    connect(text, &QPlainTextEdit::textChanged, this, [this, name, text] {
        if (!syncing_)
            model_.userEdit(name, text->toPlainText());
    });
}

void FormWindow::bindComboBox(QComboBox* combo, const QString& name)
{
    connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, name](int index) {
        if (!syncing_)
            model_.userSelect(name, index);
    });
    if (combo->isEditable()) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, name](const QString& t) {
            if (!syncing_)
                model_.userEdit(name, t);
        });
    }
    if (combo->completer() && combo->property("ogradoSearch").toBool())
        bindSearchDropDown(combo);
    combo->installEventFilter(this);
}

void FormWindow::bindTable(QTableWidget* grid, const QString& name)
{
    connect(grid, &QTableWidget::currentCellChanged, this, [this, name](int row, int, int, int) {
        if (!syncing_ && row >= 0 && row != model_.currentIndex(name))
            model_.userSelect(name, row);
    });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this, name](int row, int) {
        if (syncing_)
            return;
        if (row != model_.currentIndex(name))
            model_.userSelect(name, row);
        model_.userDblClick(name);
    });
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, name](int column) {
        if (!syncing_)
            model_.userSort(name, column);
    });
    // an edited cell reaches the model once the editor has closed: the model may answer
    // with a message box
    connect(grid, &QTableWidget::cellChanged, this, [this, name, grid](int row, int column) {
        if (syncing_ || !grid->item(row, column))
            return;
        const QString text = grid->item(row, column)->text();
        QMetaObject::invokeMethod(
            this, [this, name, row, column, text] { model_.userEditCell(name, row, column, text); },
            Qt::QueuedConnection);
    });
}

void FormWindow::bindList(QListWidget* list, const QString& name)
{
    connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
        if (!syncing_ && row != model_.currentIndex(name))
            model_.userSelect(name, row);
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this, name, list](QListWidgetItem* item) {
        if (syncing_)
            return;
        const int row = list->row(item);
        if (row != model_.currentIndex(name))
            model_.userSelect(name, row);
        model_.userDblClick(name);
    });
}

void FormWindow::bindOptionButton(QRadioButton* radio, const QString& name)
{
    // the model unchecks the other buttons of the group
    radio->setAutoExclusive(false);
    connect(radio, &QRadioButton::clicked, this, [this, name](bool) {
        if (!syncing_)
            model_.userCheck(name, true);
    });
}

void FormWindow::bindCheckBox(QCheckBox* check, const QString& name)
{
    connect(check, &QCheckBox::clicked, this, [this, name](bool on) {
        if (!syncing_)
            model_.userCheck(name, on);
    });
}

void FormWindow::bindButton(QPushButton* button, const QString& name)
{
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, name] {
        if (!syncing_)
            model_.userClick(name);
    });
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* w = qobject_cast<QWidget*>(watched);
    const QString name = names_.value(w);
    if (name.isEmpty())
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString t = key->text();
        if (t.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        const QChar ch = t[0];
        if (ch != QChar(8) && !ch.isPrint())
            return false;
        const std::optional<QChar> result = model_.userKey(name, ch);
        if (!result)
            return true;
        if (*result != ch) {
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->insert(QString(*result));
                model_.userEdit(name, edit->text());
            }
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (model_.selectsAllOnClick(name)) {
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->setFocus();
                edit->selectAll();
            }
        }
        return false;
    case QEvent::MouseButtonDblClick:
        if (qobject_cast<QLineEdit*>(w))
            model_.userDblClick(name);
        return false;
    default:
        return false;
    }
}

void FormWindow::syncWidget(QWidget* w, const Control& c)
{
    syncState(w, c);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        syncLineEdit(edit, c);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        syncPlainText(text, c);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        syncComboBox(combo, c);
    else if (auto* grid = qobject_cast<QTableWidget*>(w))
        syncTable(grid, c);
    else if (auto* list = qobject_cast<QListWidget*>(w))
        syncList(list, c);
    else if (auto* check = qobject_cast<QAbstractButton*>(w); check && check->isCheckable())
        syncCheckable(check, c);
    else if (auto* label = qobject_cast<QLabel*>(w))
        syncLabel(label, c);
    showMark(w, c);
    updateCutTextTip(w);
}

void FormWindow::syncState(QWidget* w, const Control& c)
{
    // the model's tooltip, else the one the view gave
    if (!c.toolTip.isEmpty())
        baseTips_[w] = c.toolTip;
    if (auto* button = qobject_cast<QPushButton*>(w); button && !c.shortcut.isEmpty()) {
        const QKeySequence keys(c.shortcut, QKeySequence::PortableText);
        if (button->shortcut() != keys)
            button->setShortcut(keys);
    }
    if (w->isEnabled() != c.enabled)
        w->setEnabled(c.enabled);
    if (w->isVisibleTo(this) != c.visible && (c.visible || w->isVisibleTo(this)))
        w->setVisible(c.visible);
    if (followsModelSize_ && c.heightTwips > 0 && w->height() != px(c.heightTwips))
        w->setFixedHeight(px(c.heightTwips));
}

void FormWindow::showMark(QWidget* w, const Control& c)
{
    // The widget's own style sheet, kept when the mark is added and restored after it.
    static const char* const kOwnStyle = "ogradoOwnStyle";
    static const char* const kMarkStyle = "ogradoMarkStyle";
    if (!c.marked && !w->property(kMarkStyle).isValid())
        return;
    if (!w->property(kOwnStyle).isValid())
        w->setProperty(kOwnStyle, w->styleSheet());
    const QString own = w->property(kOwnStyle).toString();
    if (!c.marked) {
        w->setProperty(kMarkStyle, QVariant());
        w->setStyleSheet(own);
        return;
    }
    // A style sheet's frame replaces the palette's drawing of the field: the colours the
    // model gives (a chosen column, a failing boundary) go into the rule with it.
    const QColor back = QColor::fromRgba(c.background);
    const QColor text = QColor::fromRgba(c.foreground);
    QString rule = QStringLiteral("#%1 { border: 2px solid rgb(255, 0, 0);").arg(w->objectName());
    const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) ||
                       qobject_cast<QTableWidget*>(w) || qobject_cast<QPlainTextEdit*>(w);
    if (field)
        rule += QStringLiteral(" background-color: %1; color: %2;").arg(back.name(), text.name());
    else
        rule += QStringLiteral(" padding: 1px;");
    rule += QStringLiteral(" }");
    if (w->property(kMarkStyle).toString() == rule)
        return;
    w->setProperty(kMarkStyle, rule);
    if (own.isEmpty())
        w->setStyleSheet(rule);
    else
        w->setStyleSheet((own.contains(u'{') ? own : QStringLiteral("* { %1 }").arg(own)) + u'\n' + rule);
}

void FormWindow::takeFocus()
{
    if (model_.focusSerial() == focusSerial_)
        return;
    focusSerial_ = model_.focusSerial();
    QWidget* w = widgets_.value(model_.focusRequest());
    if (!w || !w->isEnabled())
        return;
    // a field scrolled out of sight is brought into view
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(p)) {
            if (area->widget() && area->widget()->isAncestorOf(w))
                area->ensureWidgetVisible(w);
        }
    }
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();  // the wrong value is replaced by what the user types
}

void FormWindow::syncTable(QTableWidget* grid, const Control& c)
{
    QStringList headings;
    for (int k = 0; k < grid->columnCount(); ++k)
        headings.append(grid->horizontalHeaderItem(k) ? grid->horizontalHeaderItem(k)->text() : QString());
    if (headings != c.columns) {
        grid->setColumnCount(int(c.columns.size()));
        grid->setHorizontalHeaderLabels(c.columns);
    }
    if (grid->rowCount() != c.rows.size())
        grid->setRowCount(int(c.rows.size()));
    grid->setEditTriggers(c.editableColumns.isEmpty() ? QAbstractItemView::NoEditTriggers
                                                      : QAbstractItemView::DoubleClicked |
                                                            QAbstractItemView::EditKeyPressed |
                                                            QAbstractItemView::AnyKeyPressed);
    for (int r = 0; r < c.rows.size(); ++r) {
        const QColor colour = QColor::fromRgba(r < c.rowForegrounds.size() ? c.rowForegrounds[r] : c.foreground);
        for (int k = 0; k < grid->columnCount(); ++k) {
            const QString text = c.rows[r].value(k);
            QTableWidgetItem* item = grid->item(r, k);
            if (!item) {
                item = new QTableWidgetItem(text);
                item->setToolTip(text);  // the whole text of a narrow column
                grid->setItem(r, k, item);
            } else if (item->text() != text) {
                item->setText(text);
                item->setToolTip(text);
            }
            if (item->foreground().color() != colour)
                item->setForeground(colour);
            const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                                        (c.editableColumns.contains(k) ? Qt::ItemIsEditable : Qt::NoItemFlags);
            if (item->flags() != flags)
                item->setFlags(flags);
            const Rgb color = c.cellBackgrounds.value(r).value(k, kWhite);
            const QBrush brush = color == kWhite ? QBrush() : QBrush(QColor::fromRgba(color));
            if (item->background() != brush)
                item->setBackground(brush);
        }
    }
    if (grid->currentRow() != c.current) {
        if (c.current < 0) {
            grid->clearSelection();
            grid->setCurrentCell(-1, -1);
        } else {
            grid->setCurrentCell(c.current, std::max(0, grid->currentColumn()));
            grid->scrollToItem(grid->item(c.current, 0));
        }
    }
    QHeaderView* header = grid->horizontalHeader();
    header->setSortIndicatorShown(c.sortColumn >= 0);
    if (c.sortColumn >= 0)
        header->setSortIndicator(c.sortColumn, c.sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FormWindow::refresh()
{
    syncing_ = true;
    for (auto it = widgets_.constBegin(); it != widgets_.constEnd(); ++it) {
        if (it.value())
            syncWidget(it.value(), model_.control(it.key()));
    }
    syncMenus();
    takeFocus();
    syncing_ = false;
    if (!model_.caption().isEmpty() && windowTitle() != model_.caption())
        setWindowTitle(model_.caption());
    const int w = model_.widthTwips();
    const int h = model_.heightTwips();
    if (absoluteContent_ && content_ && w > 0) {
        // the content shows what lies within the model's width (a half kept hidden stays so)
        const QSize room(std::min(px(w), absoluteExtent_.width()), absoluteExtent_.height());
        if (content_->size() != room)
            content_->resize(room);
    }
    if (followsModelSize_ && w > 0 && h > 0 && (h != lastHeightTwips_ || w != lastWidthTwips_)) {
        lastHeightTwips_ = h;
        lastWidthTwips_ = w;
        resize(openingSize());
    }
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    model_.unloadForm();
    QDialog::closeEvent(event);
}

void FormWindow::reject()
{
    model_.unloadForm();
    QDialog::reject();
}

MessageAnswer WidgetPrompter::message(const QString& text, const QString& title, MessageIcon icon,
                                      MessageButtons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    QString shown = text;
    shown.replace(u'\r', u'\n');
    box.setText(shown);
    box.setWindowTitle(title);
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::None:
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        break;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

void WidgetPrompter::beep()
{
    QApplication::beep();
}

QString WidgetPrompter::chooseFile(FileChoice kind, const QString& title, const QString& path, const QString& filter)
{
    QWidget* parent = QApplication::activeWindow();
    if (kind == FileChoice::Open)
        return QFileDialog::getOpenFileName(parent, title, path, filter);
    return QFileDialog::getSaveFileName(parent, title, path, filter);
}

GuiHost::GuiHost() = default;
GuiHost::~GuiHost() = default;

void GuiHost::registerWindow(const QString& formName, Factory factory)
{
    factories_[formName] = std::move(factory);
}

FormWindow* GuiHost::windowOf(FormModel& form)
{
    QPointer<FormWindow> w = windows_.value(&form);
    if (w)
        return w;
    auto it = factories_.find(form.formName());
    if (it == factories_.end())
        return nullptr;
    w = it->second(form, main_);
    windows_.insert(&form, w);
    return w;
}

void GuiHost::place(FormWindow& w)
{
    if (!main_ || &w == main_.data())
        return;
    const QRect frame = main_->frameGeometry();
    const QRect mainTwips(frame.x() * kTwipsPerPixel, frame.y() * kTwipsPerPixel, frame.width() * kTwipsPerPixel,
                          frame.height() * kTwipsPerPixel);
    if (const std::optional<QPoint> at = w.model().placement(mainTwips)) {
        QPoint pos(px(at->x()), px(at->y()));
        if (const QScreen* screen = main_->screen()) {
            const QRect avail = screen->availableGeometry();
            pos.setX(std::clamp(pos.x(), avail.left(), std::max(avail.left(), avail.right() - w.width())));
            pos.setY(std::clamp(pos.y(), avail.top(), std::max(avail.top(), avail.bottom() - w.height())));
        }
        w.move(pos);
    }
}

void GuiHost::showForm(FormModel& form)
{
    FormWindow* w = windowOf(form);
    if (!w)
        return;
    const bool wasLoaded = form.isLoaded();
    form.loadForm();
    w->refresh();
    if (!wasLoaded || !w->isVisible()) {
        w->resize(w->openingSize());
        w->refresh();
        place(*w);
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void GuiHost::showModal(FormModel& form)
{
    FormWindow* w = windowOf(form);
    if (!w)
        return;
    form.loadForm();
    w->refresh();
    w->resize(w->openingSize());
    place(*w);
    w->exec();
    form.unloadForm();
}

void GuiHost::quit()
{
    QApplication::closeAllWindows();
    QApplication::exit(0);
}

void GuiHost::processEvents()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastEvents_ < 15)
        return;
    lastEvents_ = now;
    for (auto it = windows_.constBegin(); it != windows_.constEnd(); ++it)
        it.key()->notifyChanged();
    QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace ogrado
