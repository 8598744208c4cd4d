// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/form_model.h"
#include "common/window_host.h"

#include "common/app_error.h"
#include "common/text_file.h"

namespace ogrado {

KeyFilter numericKeyFilter(bool comma)
{
    return [comma](QChar key) -> std::optional<QChar> {
        if (key == QChar(8) || key == QChar(0) || (key >= u'0' && key <= u'9') || key == u'-')
            return key;
        if (comma && key == u',')
            return key;
        if (comma && key == u'.')
            return QChar(u',');
        return std::nullopt;
    };
}

KeyFilter cp1251KeyFilter()
{
    return [](QChar key) -> std::optional<QChar> {
        if (key == QChar(8) || key == QChar(0) || firstOutsideCp1251(QString(key)).isEmpty())
            return key;
        return std::nullopt;
    };
}

// Runs an event: state changes are announced once, when the outermost event ends,
// and an error stops the action with its message.
class FormModel::EventScope {
public:
    explicit EventScope(FormModel& form) : form_(form) { ++form_.eventDepth_; }
    ~EventScope()
    {
        if (--form_.eventDepth_ == 0)
            form_.notifyChanged();
    }

private:
    FormModel& form_;
};

FormModel::FormModel(QString formName, Prompter& prompter, QObject* parent)
    : QObject(parent), formName_(std::move(formName)), prompter_(prompter)
{
}

FormModel::~FormModel() = default;

void FormModel::setCaption(const QString& caption)
{
    if (caption_ != caption) {
        caption_ = caption;
        dirty_ = true;
    }
}

void FormModel::setSizeTwips(int width, int height)
{
    if (widthTwips_ != width || heightTwips_ != height) {
        widthTwips_ = width;
        heightTwips_ = height;
        dirty_ = true;
    }
}

std::optional<QPoint> FormModel::placement(const QRect&) const
{
    return std::nullopt;
}

const Control& FormModel::control(const QString& name) const
{
    auto it = index_.constFind(name);
    Q_ASSERT_X(it != index_.constEnd(), "FormModel::control", qPrintable(name));
    if (it == index_.constEnd())
        throw AppError(QStringLiteral("Нет элемента окна %1 в окне %2.").arg(name, formName_));
    return controls_[size_t(*it)];
}

Control& FormModel::mutableControl(const QString& name)
{
    dirty_ = true;
    return const_cast<Control&>(control(name));
}

void FormModel::setText(const QString& name, const QString& text)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.text != text) {
        c.text = text;
        dirty_ = true;
        valueChanged(c);
    }
}

void FormModel::setChecked(const QString& name, bool checked)
{
    Control& c = const_cast<Control&>(control(name));
    if (checked && !c.group.isEmpty()) {
        for (Control& other : controls_) {
            if (other.group != c.group || other.name == name)
                continue;
            if (other.checked) {
                other.checked = false;
                dirty_ = true;
                valueChanged(other);
            } else if (other.marked && !c.checked) {
                // the group's choice changed: a mark on any of its options has done its work
                other.marked = false;
                dirty_ = true;
            }
        }
    }
    if (c.checked != checked) {
        c.checked = checked;
        dirty_ = true;
        valueChanged(c);
    }
}

void FormModel::setItems(const QString& name, const QStringList& items)
{
    Control& c = mutableControl(name);
    c.items = items;
    c.itemBackgrounds.clear();
    c.current = -1;
}

void FormModel::addItem(const QString& name, const QString& item)
{
    mutableControl(name).items.append(item);
}

QString FormModel::currentItem(const QString& name) const
{
    const Control& c = control(name);
    return (c.current >= 0 && c.current < c.items.size()) ? c.items[c.current] : QString();
}

void FormModel::setCurrentIndex(const QString& name, int index)
{
    Control& c = mutableControl(name);
    const int before = c.current;
    const QString textBefore = c.text;
    const qsizetype count = c.kind == ControlKind::Table ? c.rows.size() : c.items.size();
    c.current = (index >= 0 && index < count) ? index : -1;
    if (c.kind == ControlKind::ComboBox)
        c.text = c.current >= 0 ? c.items[c.current] : QString();
    if (c.current != before || c.text != textBefore)
        valueChanged(c);
}

void FormModel::setEnabled(const QString& name, bool enabled)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.enabled != enabled) {
        c.enabled = enabled;
        dirty_ = true;
    }
}

void FormModel::setVisible(const QString& name, bool visible)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.visible != visible) {
        c.visible = visible;
        dirty_ = true;
    }
}

void FormModel::setItemBackground(const QString& name, int index, Rgb color)
{
    Control& c = mutableControl(name);
    if (index < 0 || index >= c.items.size())
        return;
    while (c.itemBackgrounds.size() <= index)
        c.itemBackgrounds.append(c.background);
    c.itemBackgrounds[index] = color;
}

Rgb FormModel::itemBackground(const QString& name, int index) const
{
    const Control& c = control(name);
    return index >= 0 && index < c.itemBackgrounds.size() ? c.itemBackgrounds[index] : c.background;
}

void FormModel::setBackground(const QString& name, Rgb color)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.background != color) {
        c.background = color;
        dirty_ = true;
    }
}

void FormModel::setForeground(const QString& name, Rgb color)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.foreground != color) {
        c.foreground = color;
        dirty_ = true;
    }
}

void FormModel::setHeightTwips(const QString& name, int twips)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.heightTwips != twips) {
        c.heightTwips = twips;
        dirty_ = true;
    }
}

void FormModel::setToolTip(const QString& name, const QString& toolTip)
{
    Control& c = const_cast<Control&>(control(name));
    if (c.toolTip != toolTip) {
        c.toolTip = toolTip;
        dirty_ = true;
    }
}

void FormModel::setColumns(const QString& name, const QStringList& columns)
{
    mutableControl(name).columns = columns;
}

void FormModel::setRows(const QString& name, const QVector<QStringList>& rows)
{
    Control& c = mutableControl(name);
    c.rows = rows;
    c.rowForegrounds.clear();
    c.current = -1;
}

void FormModel::setRowForeground(const QString& name, int row, Rgb color)
{
    Control& c = mutableControl(name);
    if (row < 0 || row >= c.rows.size())
        return;
    while (c.rowForegrounds.size() <= row)
        c.rowForegrounds.append(c.foreground);
    c.rowForegrounds[row] = color;
}

Rgb FormModel::rowForeground(const QString& name, int row) const
{
    const Control& c = control(name);
    return row >= 0 && row < c.rowForegrounds.size() ? c.rowForegrounds[row] : c.foreground;
}

void FormModel::setSortOrder(const QString& name, int column, bool descending)
{
    Control& c = mutableControl(name);
    c.sortColumn = column;
    c.sortDescending = descending;
}

Control& FormModel::addMenuItem(const QString& name, const QString& menu, const QString& text, const QString& shortcut)
{
    Control& c = add(name, ControlKind::MenuItem, text);
    c.group = menu;
    c.shortcut = shortcut;
    return c;
}

Control& FormModel::addSubmenu(const QString& name, const QString& menu, const QString& text)
{
    Control& c = add(name, ControlKind::Submenu, text);
    c.group = menu;
    return c;
}

Control& FormModel::add(const QString& name, ControlKind kind, const QString& text)
{
    Q_ASSERT(!index_.contains(name));
    Control c;
    c.name = name;
    c.kind = kind;
    c.text = text;
    index_.insert(name, int(controls_.size()));
    controls_.push_back(std::move(c));
    return controls_.back();
}

void FormModel::addArray(const QString& name, int first, int last, ControlKind kind, const QString& text)
{
    for (int k = first; k <= last; ++k)
        add(QStringLiteral("%1_%2").arg(name).arg(k), kind, text);
}

static QString handlerKey(const QString& name, FormEvent event)
{
    return name + QLatin1Char('#') + QChar(u'0' + int(event));
}

void FormModel::on(const QString& name, FormEvent event, std::function<void()> handler)
{
    handlers_.insert(handlerKey(name, event), std::move(handler));
}

void FormModel::fire(const QString& name, FormEvent event)
{
    auto it = handlers_.constFind(handlerKey(name, event));
    if (it == handlers_.constEnd())
        return;
    EventScope scope(*this);
    // The handler may be replaced while it runs; keep a copy alive.
    const std::function<void()> handler = *it;
    struct Depth {
        int& d;
        explicit Depth(int& v) : d(v) { ++d; }
        ~Depth() { --d; }
    } depth(handlerDepth_);
    if (handlerDepth_ > 1) {
        handler();  // an event run by another event: the outer one reports errors
        return;
    }
    try {
        handler();
    } catch (const AppError& e) {
        showError(e);
    } catch (const std::exception& e) {
        prompter_.message(QStringLiteral("Внутренняя ошибка программы: %1").arg(QString::fromUtf8(e.what())),
                          QStringLiteral("Ошибка"), MessageIcon::Critical, MessageButtons::Ok);
    }
}

void FormModel::select(const QString& name, int index)
{
    setCurrentIndex(name, index);
    fire(name, FormEvent::Click);
}

void FormModel::setKeyFilter(const QString& name, KeyFilter filter, bool pastedText)
{
    keyFilters_.insert(name, std::move(filter));
    filtersPastedText_.insert(name, pastedText);
}

void FormModel::userEdit(const QString& name, const QString& text)
{
    EventScope scope(*this);
    Control& c = mutableControl(name);
    const bool changed = c.text != text;
    c.text = text;
    if (filtersPastedText_.value(name)) {
        const KeyFilter& filter = keyFilters_[name];
        QString kept;
        kept.reserve(text.size());
        for (QChar ch : text) {
            if (const std::optional<QChar> k = filter(ch))
                kept += *k;
        }
        if (kept != text) {
            prompter_.beep();
            c.text = kept;
            dirty_ = true;  // the window shows the text as kept
        }
    }
    if (c.kind == ControlKind::ComboBox)
        c.current = c.items.indexOf(text);
    if (changed)
        valueChanged(c);
    fire(name, FormEvent::Change);
}

void FormModel::userSelect(const QString& name, int index)
{
    EventScope scope(*this);
    select(name, index);
}

void FormModel::userCheck(const QString& name, bool checked)
{
    EventScope scope(*this);
    setChecked(name, checked);
    fire(name, FormEvent::Click);
}

void FormModel::userClick(const QString& name)
{
    EventScope scope(*this);
    if (!control(name).enabled)
        return;
    fire(name, FormEvent::Click);
}

void FormModel::userDblClick(const QString& name)
{
    EventScope scope(*this);
    fire(name, FormEvent::DblClick);
}

void FormModel::userSort(const QString& name, int column)
{
    EventScope scope(*this);
    Control& c = mutableControl(name);
    if (column < 0 || column >= c.columns.size())
        return;
    c.sortDescending = c.sortColumn == column ? !c.sortDescending : false;
    c.sortColumn = column;
    fire(name, FormEvent::Sort);
}

void FormModel::userEditCell(const QString& name, int row, int column, const QString& text)
{
    EventScope scope(*this);
    Control& c = mutableControl(name);  // the window's cell now differs from the model's
    if (row < 0 || row >= c.rows.size() || !c.editableColumns.contains(column))
        return;
    c.current = row;
    cellEdit_ = CellEdit{row, column, text};
    fire(name, FormEvent::Change);
}

void FormModel::setEditableColumns(const QString& name, const QList<int>& columns)
{
    Control& c = mutableControl(name);
    c.editableColumns = columns;
}

void FormModel::setCellBackgrounds(const QString& name, const QVector<QVector<Rgb>>& colors)
{
    Control& c = mutableControl(name);
    c.cellBackgrounds = colors;
}

Rgb FormModel::cellBackground(const QString& name, int row, int column) const
{
    return control(name).cellBackgrounds.value(row).value(column, kWhite);
}

std::optional<QChar> FormModel::userKey(const QString& name, QChar key)
{
    auto it = keyFilters_.constFind(name);
    if (it == keyFilters_.constEnd())
        return key;
    std::optional<QChar> result = (*it)(key);
    if (!result) {
        prompter_.beep();
        keyRefused(name, key);
    }
    return result;
}

void FormModel::resetControls()
{
    if (initial_.empty()) {
        initial_ = controls_;
    } else {
        controls_ = initial_;
        dirty_ = true;
    }
}

void FormModel::loadForm()
{
    if (loaded_)
        return;
    EventScope scope(*this);
    resetControls();
    loaded_ = true;
    try {
        onLoad();
    } catch (const AppError& e) {
        showError(e);
    }
}

void FormModel::unloadForm()
{
    if (!loaded_)
        return;
    loaded_ = false;
    onUnload();
    emit closeRequested();
}

void FormModel::watchInput(const QString& name)
{
    control(name);  // the control exists
    watchedInputs_.insert(name);
}

void FormModel::showError(const QString& text, const QString& title, const FieldRef& field)
{
    if (field.form.isEmpty() || field.form == formName_) {
        markFields(field.controls);
    } else {
        clearMarks();
        emit fieldsNamed(field);
    }
    // the window shows the mark behind the message
    notifyChanged();
    prompter_.message(text, title, MessageIcon::Exclamation, MessageButtons::Ok);
}

void FormModel::markFields(const QStringList& names)
{
    clearMarks();
    QString first;
    for (const QString& name : names) {
        auto it = index_.constFind(name);
        if (it == index_.constEnd())
            continue;
        Control& c = controls_[size_t(*it)];
        c.marked = true;
        dirty_ = true;
        if (first.isEmpty())
            first = name;
    }
    if (!first.isEmpty()) {
        focusRequest_ = first;
        ++focusSerial_;
        dirty_ = true;
    }
}

void FormModel::clearMarks()
{
    for (Control& c : controls_) {
        if (c.marked) {
            c.marked = false;
            dirty_ = true;
        }
    }
}

QStringList FormModel::markedControls() const
{
    QStringList names;
    for (const Control& c : controls_)
        if (c.marked)
            names.append(c.name);
    return names;
}

void FormModel::notifyChanged()
{
    if (dirty_) {
        dirty_ = false;
        emit changed();
    }
}

void LoadingHost::showForm(FormModel& form)
{
    form.loadForm();
}

void LoadingHost::showModal(FormModel& form)
{
    form.loadForm();
}

}  // namespace ogrado
