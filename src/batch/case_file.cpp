#include "batch/case_file.h"

#include "common/app_error.h"
#include "common/text_file.h"
#include "mainwindow/main_form.h"

#include <QFile>
#include <QJsonDocument>

namespace ogrado {

QJsonObject readJsonObject(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": %2.").arg(path, f.errorString()));
    return parseJsonObject(f.readAll(), path);
}

QJsonObject parseJsonObject(const QByteArray& bytes, const QString& path)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        throw AppError(QStringLiteral("Файл \"%1\" не является объектом JSON: %2.")
                           .arg(path, pe.error != QJsonParseError::NoError ? pe.errorString()
                                                                           : QStringLiteral("ожидался объект")));
    return doc.object();
}

namespace {

// Texts end up in the Windows-1251 results file: one it cannot hold is an error of the
// case, not a name cut short in the report.
void requireWritable(const QString& key, const QString& text)
{
    if (const QString ch = firstOutsideCp1251(text); !ch.isEmpty())
        throw AppError(QStringLiteral("Ключ «%1» варианта расчета: в тексте стоит знак «%2», которого нет в "
                                      "кодировке Windows-1251 файла результатов.")
                           .arg(key, ch));
}

}  // namespace

void applyCase(MainForm& form, const QJsonObject& c)
{
    auto wrongKind = [](const QString& key, const QString& expected) {
        throw AppError(QStringLiteral("Ключ «%1» варианта расчета: ожидается %2.").arg(key, expected));
    };
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (!form.has(it.key()))
            throw AppError(QStringLiteral("Ключ «%1» варианта расчета не является элементом главного окна.").arg(it.key()));
    }
    // lists, in the order of the window's load sequence
    const QStringList lists = {"cboGorod", "cboTipZd", "cboObl", "cboN",  "cboAlv",
                               "cboAln",   "cboTp_1",  "cboTp_0", "lstM", "cboM"};
    for (const QString& key : lists) {
        if (!c.contains(key))
            continue;
        const QJsonValue v = c.value(key);
        const int count = int(form.items(key).size());
        if (count == 0)
            throw AppError(QStringLiteral("Ключ «%1» варианта расчета: %2, выбрать в нем нечего.")
                               .arg(key, key == QStringLiteral("cboM") ? QStringLiteral("каталог материалов пуст")
                                                                      : QStringLiteral("список пуст")));
        if (!v.isDouble() || v.toDouble() != double(v.toInt()) || v.toInt() < 0 || v.toInt() >= count)
            wrongKind(key, QStringLiteral("номер строки списка от 0 до %1").arg(count - 1));
        form.userSelect(key, v.toInt());
    }
    for (auto it = c.begin(); it != c.end(); ++it) {
        const Control& ctl = form.control(it.key());
        if (lists.contains(it.key()))
            continue;
        switch (ctl.kind) {
        case ControlKind::TextBox:
            if (!it->isString())
                wrongKind(it.key(), QStringLiteral("текст"));
            requireWritable(it.key(), it->toString());
            form.setText(it.key(), it->toString());
            break;
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
            wrongKind(it.key(), QStringLiteral("список, которого нет среди выбираемых"));
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            break;
        default:
            wrongKind(it.key(), QStringLiteral("поле ввода, список или флажок"));
        }
    }
    for (auto it = c.begin(); it != c.end(); ++it) {
        const Control& ctl = form.control(it.key());
        if (ctl.kind != ControlKind::CheckBox && ctl.kind != ControlKind::OptionButton)
            continue;
        if (!it->isBool())
            wrongKind(it.key(), QStringLiteral("true или false"));
        form.userCheck(it.key(), it->toBool());
    }
    form.notifyChanged();
}

void applyWindowKeys(FormModel& form, const QJsonObject& keys)
{
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (!form.has(it.key()))
            throw AppError(QStringLiteral("Ключ «%1» не является элементом окна %2.").arg(it.key(), form.formName()));
        const Control& c = form.control(it.key());
        if (c.kind == ControlKind::TextBox && it->isString()) {
            requireWritable(it.key(), it->toString());
            form.setText(it.key(), it->toString());
        }
        else if ((c.kind == ControlKind::CheckBox || c.kind == ControlKind::OptionButton) && it->isBool())
            form.userCheck(it.key(), it->toBool());
        else
            throw AppError(QStringLiteral("Ключ «%1» окна %2: значение не того вида.").arg(it.key(), form.formName()));
    }
    form.notifyChanged();
}

}  // namespace ogrado
