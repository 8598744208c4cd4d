// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A form model holds everything a window shows (texts, lists, colours, enabled flags)
// under the window's control names, and the logic of every event. It never touches a
// widget: a view mirrors it, tests and the batch front end drive it directly.
#include "common/app_error.h"
#include "common/colors.h"
#include "common/prompter.h"


#include <QHash>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>
#include <vector>

namespace ogrado {


// A MenuItem stands in the window's menu bar, in the menu named by its `group`, in the
// order the items were added; the text "-" is a separator. A Submenu stands there too;
// its entries are its `items`, and choosing entry i selects it (Click, current = i).
// A Table shows `rows` of cells under the headings `columns`; choosing row i is a Click
// with current = i, and a click on a heading is a Sort event (see userSort). The cells of
// its `editableColumns` can be changed by the user: a Change event (see userEditCell).
enum class ControlKind { TextBox, Label, CheckBox, OptionButton, ComboBox, ListBox, Button, MenuItem, Submenu, Table };
enum class FormEvent { Click, DblClick, Change, Sort };

struct Control {
    QString name;
    ControlKind kind = ControlKind::TextBox;
    QString text;        // text box text, label or button caption, combo box edit text
    QStringList items;   // entries of a list or combo box
    QVector<Rgb> itemBackgrounds;  // a list's entries by index; entries past the end have `background`
    int current = -1;    // selected entry, -1 for none
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    Rgb background = kWhite;
    Rgb foreground = kBlack;
    int heightTwips = 0;  // 0: the view's own height
    QString group;        // option buttons of one group exclude each other; a menu item's menu
    QString shortcut;     // key sequence of a button or menu item ("Ctrl+O", "F9"), portable text
    QString toolTip;      // shown when the pointer rests on the control
    QStringList columns;        // a table's headings
    QVector<QStringList> rows;  // a table's cells, row by row, in the order shown
    QVector<Rgb> rowForegrounds;  // a table's text colour by row; rows past the end have `foreground`
    int sortColumn = -1;        // a table's sort column (its heading is marked), -1 for none
    bool sortDescending = false;
    QList<int> editableColumns;             // a table's columns the user may change
    QVector<QVector<Rgb>> cellBackgrounds;  // a table's cells by row and column; white past the end
    bool marked = false;  // named by the last error message: a red frame until its value changes
};

// The key filter of a text box: the character to insert, or nothing (the key is
// discarded and the program beeps).
using KeyFilter = std::function<std::optional<QChar>(QChar)>;

// The digits 0 to 9, "-", backspace and, with `comma`, "," pass; "." becomes "," when
// `comma`. Digits of other scripts do not pass.
KeyFilter numericKeyFilter(bool comma = true);

// Every character that a Windows-1251 file can hold passes (texts that go into the
// results file or the layer-stack library).
KeyFilter cp1251KeyFilter();

class FormModel : public QObject {
    Q_OBJECT
public:
    FormModel(QString formName, Prompter& prompter, QObject* parent = nullptr);
    ~FormModel() override;

    const QString& formName() const { return formName_; }
    Prompter& prompter() const { return prompter_; }

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    int widthTwips() const { return widthTwips_; }
    int heightTwips() const { return heightTwips_; }
    void setSizeTwips(int width, int height);
    bool isModal() const { return modal_; }

    // Where the window opens, in twips, given the main window's frame in twips.
    virtual std::optional<QPoint> placement(const QRect& mainTwips) const;

    bool has(const QString& name) const { return index_.contains(name); }
    const Control& control(const QString& name) const;
    const std::vector<Control>& controls() const { return controls_; }

    QString text(const QString& name) const { return control(name).text; }
    void setText(const QString& name, const QString& text);
    bool isChecked(const QString& name) const { return control(name).checked; }
    void setChecked(const QString& name, bool checked);
    QStringList items(const QString& name) const { return control(name).items; }
    void setItems(const QString& name, const QStringList& items);
    void addItem(const QString& name, const QString& item);
    int currentIndex(const QString& name) const { return control(name).current; }
    QString currentItem(const QString& name) const;
    void setCurrentIndex(const QString& name, int index);  // no event
    bool isEnabled(const QString& name) const { return control(name).enabled; }
    void setEnabled(const QString& name, bool enabled);
    bool isVisible(const QString& name) const { return control(name).visible; }
    void setVisible(const QString& name, bool visible);
    Rgb background(const QString& name) const { return control(name).background; }
    void setBackground(const QString& name, Rgb color);
    // The background of entry `index` of a list; cleared when the list's entries are set.
    void setItemBackground(const QString& name, int index, Rgb color);
    Rgb itemBackground(const QString& name, int index) const;
    Rgb foreground(const QString& name) const { return control(name).foreground; }
    void setForeground(const QString& name, Rgb color);
    void setHeightTwips(const QString& name, int twips);
    void setToolTip(const QString& name, const QString& toolTip);
    // A table's headings and cells; setting the cells chooses no row.
    void setColumns(const QString& name, const QStringList& columns);
    const QVector<QStringList>& rows(const QString& name) const { return control(name).rows; }
    void setRows(const QString& name, const QVector<QStringList>& rows);
    // The text colour of row `row` of a table; cleared when the rows are set.
    void setRowForeground(const QString& name, int row, Rgb color);
    Rgb rowForeground(const QString& name, int row) const;
    void setSortOrder(const QString& name, int column, bool descending);
    void setEditableColumns(const QString& name, const QList<int>& columns);
    void setCellBackgrounds(const QString& name, const QVector<QVector<Rgb>>& colors);
    Rgb cellBackground(const QString& name, int row, int column) const;

    // What the user does. Each sets the state as the window would and runs the event.
    void userEdit(const QString& name, const QString& text);  // typing: Change
    void userSelect(const QString& name, int index);          // choosing an entry: Click
    void userCheck(const QString& name, bool checked);        // ticking a box or option: Click
    void userClick(const QString& name);                      // Click
    void userDblClick(const QString& name);                   // DblClick
    // A click on heading `column` of a table: that column becomes the sort column, in
    // ascending order, or, when it already is, its order turns round; then Sort.
    void userSort(const QString& name, int column);
    // The user changed cell (row, column) of a table to `text`: the row becomes the chosen
    // one, then Change; the handler reads the change with cellEdit() and sets the cells
    // it accepts. The window shows the model's cells again either way.
    void userEditCell(const QString& name, int row, int column, const QString& text);
    struct CellEdit {
        int row = -1;
        int column = -1;
        QString text;
    };
    const CellEdit& cellEdit() const { return cellEdit_; }
    std::optional<QChar> userKey(const QString& name, QChar key);
    bool selectsAllOnClick(const QString& name) const { return selectAllOnClick_.contains(name); }

    // Window lifecycle: the host loads a form when it is shown while unloaded.
    bool isLoaded() const { return loaded_; }
    void loadForm();
    void unloadForm();  // close box or a "Выход" button

    // Emits changed() when something changed since the last call.
    void notifyChanged();

    // Shows an error message under its title. The inputs it names are marked first and
    // the first of them takes the focus: in this window, or, when they belong to another
    // window, in that one (fieldsNamed). A message that names none clears the marks.
    void showError(const QString& text, const QString& title, const FieldRef& field = {});
    void showError(const AppError& e) { showError(e.message(), e.title(), e.field()); }
    // Marks these controls (those the window has) instead of the marked ones and asks
    // for the focus on the first. A mark goes when the control's value changes.
    void markFields(const QStringList& names);
    void clearMarks();
    bool isMarked(const QString& name) const { return control(name).marked; }
    QStringList markedControls() const;
    // The control the window should give the focus to, and a number that grows with
    // each request (the view focuses the control when the number changes).
    const QString& focusRequest() const { return focusRequest_; }
    int focusSerial() const { return focusSerial_; }

    // Marks a control as an input: each change of its value (text, tick, chosen entry),
    // by the user or from code, then calls inputChanged(name).
    void watchInput(const QString& name);
    bool isWatchedInput(const QString& name) const { return watchedInputs_.contains(name); }

signals:
    void changed();
    void closeRequested();
    // An error shown here names inputs of another window (field.form).
    void fieldsNamed(const FieldRef& field);

protected:
    Control& add(const QString& name, ControlKind kind, const QString& text = {});
    void addArray(const QString& name, int first, int last, ControlKind kind, const QString& text = {});
    // A menu item in menu `menu` of the menu bar, with its key sequence.
    Control& addMenuItem(const QString& name, const QString& menu, const QString& text, const QString& shortcut = {});
    Control& addSubmenu(const QString& name, const QString& menu, const QString& text);
    void on(const QString& name, FormEvent event, std::function<void()> handler);
    void fire(const QString& name, FormEvent event);
    // Choosing an entry from code runs the Click event too.
    void select(const QString& name, int index);
    // With `pastedText`, a text put in whole (pasted) loses the characters the filter
    // refuses, with one beep.
    void setKeyFilter(const QString& name, KeyFilter filter, bool pastedText = false);
    void setSelectAllOnClick(const QString& name) { selectAllOnClick_.insert(name, true); }
    void setModal(bool modal) { modal_ = modal; }

    // Load: the state of a freshly opened window. Reset controls to their initial
    // state first when the window is opened again.
    virtual void onLoad() {}
    virtual void onUnload() {}
    // A watched input changed its value (see watchInput).
    virtual void inputChanged(const QString& name) { Q_UNUSED(name); }
    // The key filter of `name` refused a typed key (after the beep).
    virtual void keyRefused(const QString& name, QChar key)
    {
        Q_UNUSED(name);
        Q_UNUSED(key);
    }
    void resetControls();

    Control& mutableControl(const QString& name);

private:
    class EventScope;
    void valueChanged(const Control& c)
    {
        if (c.marked) {
            const_cast<Control&>(c).marked = false;
            dirty_ = true;
        }
        if (!watchedInputs_.isEmpty() && watchedInputs_.contains(c.name))
            inputChanged(c.name);
    }

    QString formName_;
    Prompter& prompter_;
    QString caption_;
    int widthTwips_ = 0;
    int heightTwips_ = 0;
    bool modal_ = false;
    bool loaded_ = false;
    bool dirty_ = false;
    int eventDepth_ = 0;
    int handlerDepth_ = 0;
    std::vector<Control> controls_;
    std::vector<Control> initial_;
    QHash<QString, int> index_;
    QHash<QString, std::function<void()>> handlers_;
    QHash<QString, KeyFilter> keyFilters_;
    QHash<QString, bool> filtersPastedText_;
    QHash<QString, bool> selectAllOnClick_;
    QSet<QString> watchedInputs_;
    QString focusRequest_;
    int focusSerial_ = 0;
    CellEdit cellEdit_;
};

}  // namespace ogrado
