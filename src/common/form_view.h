// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thin view side of a form model: a window whose child widgets carry the
// model's control names mirrors the model and forwards the user's actions to it.
#include "common/form_model.h"
#include "common/window_host.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QScrollArea;
#include <QHash>
#include <QPointer>

#include <functional>
#include <map>

namespace ogrado {

constexpr int kTwipsPerPixel = 15;  // 1440 twips per inch at 96 logical dpi

inline int px(int twips)
{
    return twips / kTwipsPerPixel;
}

class FormWindow : public QDialog {
    Q_OBJECT
public:
    FormWindow(FormModel& model, QWidget* parent = nullptr);
    FormModel& model() const { return model_; }

    // Connects every child widget named like a control of the model and shows the
    // model's state. Call once the widgets are built.
    void bindControls();
    // Mirrors the model: texts, lists, states, colours, sizes, caption.
    void refresh();

    // The size the window opens with: the model's size, at least what the content needs
    // to show without scrolling, at most the free area of its screen.
    QSize openingSize() const;
    // The free area of the screen the window is on, less the window frame.
    QSize availableClientSize() const;

protected:
    // Named widgets for the model's controls, and plain captions.
    QLineEdit* lineEdit(const QString& name, int widthPx = 0);
    QComboBox* comboBox(const QString& name, bool editable = false, int widthPx = 0);
    // A list to type into: the model gives the entries for the text typed, the view
    // shows them in a drop-down under the text while the user types; Enter or a click
    // chooses the entry marked in the drop-down (the first one unless the arrow keys
    // moved the mark).
    QComboBox* searchComboBox(const QString& name, int widthPx = 0, int dropDownWidthPx = 0);
    QTableWidget* table(const QString& name);
    QListWidget* listBox(const QString& name, int widthPx = 0);
    QCheckBox* checkBox(const QString& name, const QString& caption);
    QRadioButton* optionButton(const QString& name, const QString& caption = {});
    QPushButton* button(const QString& name, const QString& caption);
    QLabel* label(const QString& name, bool wrap = false);
    QLabel* caption(const QString& text, bool wrap = false);
    // Lists shown as the columns of one table: scrolling any of them scrolls them all.
    static void scrollTogether(const QList<QListWidget*>& lists);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;  // Esc closes as the close box does

    // The window's content is put into a scroll area by bindControls(), so that a screen
    // smaller than the window scrolls it rather than squashing it (the default). A view
    // that builds its own scroll area, or whose content scrolls itself, turns it off.
    void setScrollable(bool on) { scrollable_ = on; }
    // Whether the window follows the model's size and the heights it gives its lists
    // (the default); when not, the window keeps the size the user gave it and its lists
    // take the height of the layout.
    void setFollowsModelSize(bool on) { followsModelSize_ = on; }
    // The content needs at least this much (without the window's own frame).
    virtual QSize contentSize() const;

private:
    // Connects a widget's user actions to the model, one function per kind of widget.
    void bindWidget(QWidget* w, const Control& c);
    void bindLineEdit(QLineEdit* edit, const QString& name);
    void bindPlainText(QPlainTextEdit* text, const QString& name);
    void bindComboBox(QComboBox* combo, const QString& name);
    void bindTable(QTableWidget* grid, const QString& name);
    void bindList(QListWidget* list, const QString& name);
    void bindOptionButton(QRadioButton* radio, const QString& name);
    void bindCheckBox(QCheckBox* check, const QString& name);
    void bindButton(QPushButton* button, const QString& name);
    // Shows a control's state on its widget: what every widget has (tooltip, key,
    // enabled, visible, height), then what its kind shows.
    void syncWidget(QWidget* w, const Control& c);
    void syncState(QWidget* w, const Control& c);
    void syncTable(QTableWidget* grid, const Control& c);
    // The menu bar of the model's menu items, above the window's layout.
    void buildMenuBar();
    void syncMenus();
    void wrapInScrollArea();
    // Texts a widget cannot show whole get the whole text as their tooltip.
    void updateCutTextTip(QWidget* w);
    // A control an error message named: a red frame around it.
    void showMark(QWidget* w, const Control& c);
    // The model asked for the focus on a control: the control takes it, in view.
    void takeFocus();

    FormModel& model_;
    QHash<QString, QPointer<QWidget>> widgets_;
    QHash<QWidget*, QString> names_;
    QPointer<QMenuBar> menuBar_;
    QHash<QString, QAction*> menuActions_;  // menu items by control name
    QHash<QWidget*, QString> baseTips_;  // tooltips the view gave, or the model's
    QPointer<QScrollArea> scrollArea_;
    QPointer<QWidget> content_;
    bool absoluteContent_ = false;  // widgets placed by coordinates, not by a layout
    QSize absoluteExtent_;          // how far such widgets reach
    bool scrollable_ = true;
    bool followsModelSize_ = true;
    bool syncing_ = false;
    int lastHeightTwips_ = 0;
    int lastWidthTwips_ = 0;
    int focusSerial_ = 0;
};

// Message boxes and the beep.
class WidgetPrompter : public Prompter {
public:
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override;
    void beep() override;
    QString chooseFile(FileChoice kind, const QString& title, const QString& path, const QString& filter) override;
};

// Opens the window of a form model, building it on first use.
class GuiHost : public WindowHost {
public:
    // Builds the window of a form model; `main` is the main window, the parent of
    // every other window.
    using Factory = std::function<FormWindow*(FormModel&, QWidget* main)>;
    GuiHost();
    ~GuiHost() override;

    void registerWindow(const QString& formName, Factory factory);
    // Whether a window is registered for the form model of that name.
    bool hasWindow(const QString& formName) const { return factories_.contains(formName); }
    void setMainWindow(FormWindow* main) { main_ = main; }
    FormWindow* windowOf(FormModel& form);

    void showForm(FormModel& form) override;
    void showModal(FormModel& form) override;
    void quit() override;

    // Lets the windows repaint during a long calculation, at most every few
    // milliseconds.
    void processEvents();

private:
    void place(FormWindow& w);

    std::map<QString, Factory> factories_;
    QHash<FormModel*, QPointer<FormWindow>> windows_;
    QPointer<FormWindow> main_;
    qint64 lastEvents_ = 0;
};

}  // namespace ogrado
