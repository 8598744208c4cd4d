#include "dialogs/materials_form.h"

namespace ogrado {

MaterialsForm::MaterialsForm(MainForm& main, QObject* parent)
    : FormModel(QStringLiteral("frmMaterial"), main.prompter(), parent), main_(main)
{
    setSizeTwips(4650, 5100);
    add(QStringLiteral("cboM"), ControlKind::ComboBox);
    add(QStringLiteral("lblM"), ControlKind::Label);
    add(QStringLiteral("txtM"), ControlKind::TextBox);
    add(QStringLiteral("lstM"), ControlKind::ListBox);
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Выход"));

    on(QStringLiteral("cboM"), FormEvent::Click, [this] {
        const int m = currentIndex(QStringLiteral("cboM"));
        setText(QStringLiteral("lblM"), main_.materialDescription(m));
        setText(QStringLiteral("txtM"), main_.materialDensity(m));
    });
    on(QStringLiteral("lstM"), FormEvent::DblClick, [this] {
        main_.insertMaterial(currentIndex(QStringLiteral("cboM")), currentIndex(QStringLiteral("lstM")) + 1);
    });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] { unloadForm(); });
}

MaterialsForm::~MaterialsForm() = default;

std::optional<QPoint> MaterialsForm::placement(const QRect& mainTwips) const
{
    // at the main window's top edge, flush with its right edge
    return QPoint(mainTwips.left() + mainTwips.width() - widthTwips(), mainTwips.top());
}

void MaterialsForm::onLoad()
{
    setCaption(QStringLiteral("Материалы"));
    QStringList rows;
    for (int r = 1; r <= LayerGridRows; ++r)
        rows.append(QString::number(r));
    setItems(QStringLiteral("lstM"), rows);
    QStringList materials;
    for (const Material& m : main_.context().tables.materials)
        materials.append(m.name());
    setItems(QStringLiteral("cboM"), materials);
    select(QStringLiteral("cboM"), materials.isEmpty() ? -1 : 0);
}

}  // namespace ogrado
