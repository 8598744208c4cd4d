#include "mainwindow/source_data_file.h"

#include "common/app_error.h"
#include "common/text_file.h"
#include "mainwindow/main_form.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

#include <cmath>

namespace ogrado {

namespace {

// The list the user may type a caption into (its Change event shows the typed text).
const QString kTypedList = QStringLiteral("cboTipZd");

// Lists a case may choose from besides those a file holds: the rows of table 5.1 (after
// «Тип констр.», which preselects one; a file holds the value, txtRtNorm), and the
// material picker, which acts only on a double click, in the order of the window's
// load sequence.
const QStringList& caseLists()
{
    static const QStringList lists = [] {
        QStringList l = mainWindowLists();
        l << QStringLiteral("cboRtNorm") << QStringLiteral("lstM") << QStringLiteral("cboM");
        return l;
    }();
    return lists;
}

// The picker's fields are not input of the calculation.
bool isMaterialPicker(const QString& name)
{
    return name == u"cboM" || name == u"txtM" || name == u"lstM";
}

bool takesText(const Control& c)
{
    return c.kind == ControlKind::TextBox && !c.readOnly;
}

bool takesCheck(const Control& c)
{
    return c.kind == ControlKind::CheckBox || c.kind == ControlKind::OptionButton;
}

// "Ключ «txtTv» главного окна: …"; `where` is empty for the keys of the file itself.
[[noreturn]] void keyError(const QString& key, const QString& where, const QString& what)
{
    if (where.isEmpty())
        throw AppError(QStringLiteral("Ключ «%1»: %2").arg(key, what));
    throw AppError(QStringLiteral("Ключ «%1» %2: %3").arg(key, where, what));
}

QString kindName(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::String:
        return QStringLiteral("текст");
    case QJsonValue::Double:
        return QStringLiteral("число");
    case QJsonValue::Bool:
        return QStringLiteral("true/false");
    case QJsonValue::Array:
        return QStringLiteral("массив");
    case QJsonValue::Object:
        return QStringLiteral("объект");
    default:
        return QStringLiteral("null");
    }
}

CasePlan::Choice chooseEntry(const FormModel& form, const QString& key, const QJsonValue& v, const QString& where)
{
    const QStringList entries = form.items(key);
    CasePlan::Choice choice;
    choice.list = key;
    if (v.isNull())
        return choice;  // no entry chosen
    if (entries.isEmpty() && key != kTypedList)
        keyError(key, where, key == u"cboM" ? QStringLiteral("каталог материалов пуст, выбрать в нем нечего.")
                                            : QStringLiteral("список пуст, выбрать в нем нечего."));
    if (v.isString()) {
        const QString t = v.toString();
        choice.index = int(entries.indexOf(t));
        if (choice.index < 0) {
            if (key != kTypedList)
                keyError(key, where, QStringLiteral("в списке нет строки «%1».").arg(t));
            choice.typed = t;
        }
        return choice;
    }
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (d == std::floor(d) && d >= 0 && d < double(entries.size())) {
            choice.index = int(d);
            return choice;
        }
        keyError(key, where, QStringLiteral("номер строки списка должен быть от 0 до %1, задано %2.")
                          .arg(entries.size() - 1)
                          .arg(QString::number(d)));
    }
    keyError(key, where, QStringLiteral("ожидается текст строки списка или ее номер от 0, задано значение вида «%1».")
                      .arg(kindName(v)));
}

CasePlan plan(const FormModel& form, const QJsonObject& o, const QStringList& lists, const QString& where)
{
    CasePlan p;
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!form.has(it.key()))
            keyError(it.key(), QString(), QStringLiteral("нет такого элемента %1.").arg(where));
        const Control& c = form.control(it.key());
        if (!takesText(c) && !takesCheck(c) && !lists.contains(it.key()))
            keyError(it.key(), where, QStringLiteral("элемент не является полем ввода, списком или флажком."));
    }
    for (const QString& key : lists) {
        if (o.contains(key))
            p.lists.append(chooseEntry(form, key, o.value(key), where));
    }
    // texts and check states in the window's order
    for (const Control& c : form.controls()) {
        if (!o.contains(c.name) || lists.contains(c.name))
            continue;
        const QJsonValue v = o.value(c.name);
        if (takesText(c)) {
            if (!v.isString())
                keyError(c.name, where, QStringLiteral("ожидается текст в кавычках, задано значение вида «%1».").arg(kindName(v)));
            // texts end up in the Windows-1251 results file: one it cannot hold is an
            // error of the file, not a name cut short in the report
            if (const QString ch = firstOutsideCp1251(v.toString()); !ch.isEmpty())
                keyError(c.name, where, QStringLiteral("в тексте стоит знак «%1», которого нет в кодировке Windows-1251 "
                                                       "файла результатов.")
                                            .arg(ch));
            p.texts.append({c.name, v.toString()});
        } else {
            if (!v.isBool())
                keyError(c.name, where, QStringLiteral("ожидается true или false, задано значение вида «%1».").arg(kindName(v)));
            p.checks.append({c.name, v.toBool()});
        }
    }
    return p;
}

// A JSON scalar as it stands in a file.
QByteArray scalarJson(const QJsonValue& v)
{
    const QByteArray a = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2);
}

void appendObject(QByteArray& out, const ControlValues& values, int indent)
{
    if (values.isEmpty()) {
        out += "{}";
        return;
    }
    const QByteArray inner(indent + 4, ' ');
    out += "{\n";
    for (qsizetype i = 0; i < values.size(); ++i) {
        out += inner + scalarJson(values[i].first) + ": " + scalarJson(values[i].second);
        out += i + 1 < values.size() ? ",\n" : "\n";
    }
    out += QByteArray(indent, ' ') + '}';
}

}  // namespace

QJsonObject toJsonObject(const ControlValues& values)
{
    QJsonObject o;
    for (const auto& [key, value] : values)
        o.insert(key, value);
    return o;
}

QString sourceDataFormat()
{
    return QStringLiteral("ogrado-isx");
}

QString airLayerSectionName()
{
    return QStringLiteral("окна вентилируемой прослойки (раздел «airlayer»)");
}

const QStringList& mainWindowLists()
{
    static const QStringList lists = {QStringLiteral("cboGorod"), QStringLiteral("cboTipZd"), QStringLiteral("cboObl"),
                                      QStringLiteral("cboN"),     QStringLiteral("cboAlv"),   QStringLiteral("cboAln"),
                                      QStringLiteral("cboTp_1"),  QStringLiteral("cboTp_0")};
    return lists;
}

ControlValues mainWindowInputs(const MainForm& form)
{
    ControlValues values;
    for (const Control& c : form.controls()) {
        if (isMaterialPicker(c.name))
            continue;
        if (mainWindowLists().contains(c.name)) {
            // the building-type list shows a typed caption as its text
            const QString shown = c.name == kTypedList ? c.text : form.currentItem(c.name);
            values.append({c.name, c.name == kTypedList || c.current >= 0 ? QJsonValue(shown) : QJsonValue()});
        } else if (takesText(c)) {
            values.append({c.name, c.text});
        } else if (takesCheck(c)) {
            values.append({c.name, c.checked});
        }
    }
    return values;
}

ControlValues windowInputs(const FormModel& form)
{
    ControlValues values;
    for (const Control& c : form.controls()) {
        if (takesText(c))
            values.append({c.name, c.text});
        else if (takesCheck(c))
            values.append({c.name, c.checked});
    }
    return values;
}

ControlValues inWindowOrder(const FormModel& form, const QJsonObject& values)
{
    ControlValues ordered;
    for (const Control& c : form.controls()) {
        if (values.contains(c.name))
            ordered.append({c.name, values.value(c.name)});
    }
    return ordered;
}

QByteArray sourceDataJson(const SourceData& data)
{
    QByteArray out = "{\n";
    auto field = [&out](const char* key, const QJsonValue& v) {
        out += "    " + scalarJson(QString::fromLatin1(key)) + ": " + scalarJson(v) + ",\n";
    };
    field("format", sourceDataFormat());
    field("version", kSourceDataVersion);
    field("saved", data.saved.toOffsetFromUtc(data.saved.offsetFromUtc()).toString(Qt::ISODate));
    field("summary", data.summary);
    out += "    \"main\": ";
    appendObject(out, data.main, 4);
    if (data.airLayer) {
        out += ",\n    \"airlayer\": ";
        appendObject(out, *data.airLayer, 4);
    }
    out += "\n}\n";
    return out;
}

void writeSourceDataFile(const QString& path, const SourceData& data)
{
    writeFileBytes(path, sourceDataJson(data));
}

bool isSourceDataObject(const QJsonObject& o)
{
    return o.contains(QStringLiteral("format"));
}

SourceDataContents parseSourceData(const QJsonObject& o)
{
    const QJsonValue format = o.value(QStringLiteral("format"));
    if (format.toString() != sourceDataFormat())
        throw AppError(QStringLiteral("Это не файл исходных данных программы: ключ «format» должен быть «%1».")
                           .arg(sourceDataFormat()));
    const QJsonValue version = o.value(QStringLiteral("version"));
    const double v = version.toDouble(-1);
    if (!version.isDouble() || v != std::floor(v) || v < 1)
        throw AppError(QStringLiteral("Ключ «version»: ожидается номер версии формата (целое число от 1)."));
    if (v > kSourceDataVersion)
        throw AppError(QStringLiteral("Файл записан более новой версией программы (версия формата %1); эта версия "
                                      "читает файлы версии %2.")
                           .arg(QString::number(v))
                           .arg(kSourceDataVersion));
    static const QStringList known = {"format", "version", "saved", "summary", "main", "airlayer"};
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!known.contains(it.key()))
            keyError(it.key(), QString(), QStringLiteral("такой ключ в файле исходных данных не предусмотрен."));
    }
    SourceDataContents c;
    for (const auto& [key, target] : {std::pair{"saved", &c.saved}, std::pair{"summary", &c.summary}}) {
        const QJsonValue value = o.value(QLatin1String(key));
        if (!value.isUndefined() && !value.isString())
            keyError(QLatin1String(key), QString(), QStringLiteral("ожидается текст в кавычках."));
        *target = value.toString();
    }
    const QJsonValue main = o.value(QStringLiteral("main"));
    if (!main.isObject())
        throw AppError(QStringLiteral("Нет раздела «main» с полями главного окна."));
    c.main = main.toObject();
    const QJsonValue air = o.value(QStringLiteral("airlayer"));
    if (air.isObject())
        c.airLayer = air.toObject();
    else if (!air.isUndefined() && !air.isNull())
        keyError(QStringLiteral("airlayer"), QString(), QStringLiteral("ожидается объект с полями окна вентилируемой прослойки."));
    return c;
}

CasePlan planCase(const MainForm& form, const QJsonObject& c)
{
    return plan(form, c, caseLists(), QStringLiteral("главного окна"));
}

CasePlan planWindowKeys(const FormModel& form, const QJsonObject& keys, const QString& where)
{
    return plan(form, keys, {}, where);
}

void applyPlan(FormModel& form, const CasePlan& p)
{
    for (const CasePlan::Choice& choice : p.lists) {
        if (choice.typed)
            form.userEdit(choice.list, *choice.typed);
        else
            form.userSelect(choice.list, choice.index);
    }
    for (const auto& [name, text] : p.texts)
        form.setText(name, text);
    bool clicked = false;
    for (const auto& [name, checked] : p.checks) {
        if (form.isChecked(name) != checked) {
            form.userCheck(name, checked);
            clicked = true;
        }
    }
    if (clicked) {
        for (const auto& [name, text] : p.texts)
            form.setText(name, text);
    }
    form.notifyChanged();
}

void applyCase(MainForm& form, const QJsonObject& c)
{
    applyPlan(form, planCase(form, c));
}

void applyWindowKeys(FormModel& form, const QJsonObject& keys)
{
    applyPlan(form, planWindowKeys(form, keys, QStringLiteral("окна %1").arg(form.formName())));
}

PreparedSourceData prepareSourceData(const QString& path, const MainForm& main, const FormModel* airLayer)
{
    // reading errors name the file themselves
    const QByteArray bytes = readFileBytes(path, kSourceDataMaxBytes);
    try {
        QJsonParseError pe;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
        if (pe.error != QJsonParseError::NoError)
            throw AppError(QStringLiteral("Файл не является файлом JSON: ошибка в символе %1.").arg(pe.offset + 1));
        if (!doc.isObject())
            throw AppError(QStringLiteral("Файл не является объектом JSON."));
        PreparedSourceData p;
        p.contents = parseSourceData(doc.object());
        p.main = planCase(main, p.contents.main);
        if (p.contents.airLayer) {
            if (!airLayer)
                throw AppError(QStringLiteral("Окно вентилируемой прослойки недоступно."));
            p.airLayer = planWindowKeys(*airLayer, *p.contents.airLayer, airLayerSectionName());
        }
        return p;
    } catch (const AppError& e) {
        throw AppError(QStringLiteral("Файл исходных данных \"%1\" не открыт.\r%2\rИсправьте файл или откройте другой.")
                           .arg(QDir::toNativeSeparators(path), e.message()));
    }
}

QString sourceDataArgument(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-'))
            return arguments[i];
    }
    return {};
}

QString defaultRecentFilesStore()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ogrado/ogrado.conf");
}

}  // namespace ogrado
