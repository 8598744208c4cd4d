// SPDX-License-Identifier: GPL-3.0-or-later
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

// When a file was written: local time with its offset from UTC.
QString savedText(const QDateTime& saved)
{
    return saved.toOffsetFromUtc(saved.offsetFromUtc()).toString(Qt::ISODate);
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
    field("version", kSingleConstructionVersion);
    field("saved", savedText(data.saved));
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

bool fitsSingleConstructionVersion(const ProjectSource& project)
{
    return project.constructions.size() == 1 && project.name.isEmpty() &&
           project.constructions.first().mark == firstConstructionMark() && project.constructions.first().name.isEmpty();
}

QByteArray projectJson(const ProjectSource& project)
{
    if (fitsSingleConstructionVersion(project)) {
        const ConstructionSource& c = project.constructions.first();
        return sourceDataJson(SourceData{project.saved, project.description, c.main, c.airLayer});
    }
    auto text = [](const char* key, const QString& value) -> QByteArray {
        return scalarJson(QString::fromLatin1(key)) + ": " + scalarJson(value);
    };
    QByteArray out = "{\n";
    out += "    " + text("format", sourceDataFormat()) + ",\n";
    out += "    \"version\": " + QByteArray::number(kSourceDataVersion) + ",\n";
    out += "    " + text("saved", savedText(project.saved)) + ",\n";
    out += "    \"project\": {\n        " + text("name", project.name) + ",\n        " +
           text("description", project.description) + "\n    },\n";
    out += "    \"constructions\": [\n";
    for (qsizetype i = 0; i < project.constructions.size(); ++i) {
        const ConstructionSource& c = project.constructions[i];
        out += "        {\n            " + text("mark", c.mark) + ",\n            " + text("name", c.name) + ",\n";
        out += "            \"main\": ";
        appendObject(out, c.main, 12);
        if (c.airLayer) {
            out += ",\n            \"airlayer\": ";
            appendObject(out, *c.airLayer, 12);
        }
        out += i + 1 < project.constructions.size() ? "\n        },\n" : "\n        }\n";
    }
    out += "    ]\n}\n";
    return out;
}

void writeProjectFile(const QString& path, const ProjectSource& project)
{
    writeFileBytes(path, projectJson(project));
}

bool isSourceDataObject(const QJsonObject& o)
{
    return o.contains(QStringLiteral("format"));
}

QString firstConstructionMark()
{
    return QStringLiteral("К-1");
}

QString nameProblem(const QString& name)
{
    // a mark or a name stands on one line of the bar, the summary and the documents
    for (const QChar ch : name) {
        if (ch.category() == QChar::Other_Control)
            return QStringLiteral("в тексте стоит управляющий знак (перевод строки, табуляция). Запишите текст в "
                                  "одну строку.");
    }
    if (const QString ch = firstOutsideCp1251(name); !ch.isEmpty())
        return QStringLiteral("в тексте стоит знак «%1», которого нет в кодировке Windows-1251 файла результатов. "
                              "Замените его.")
            .arg(ch);
    return {};
}

QString markProblem(const QString& mark, const QStringList& others)
{
    const QString m = mark.trimmed();
    if (m.isEmpty())
        return QStringLiteral("марка конструкции пуста. Укажите марку, например «НС-1».");
    if (const QString problem = nameProblem(m); !problem.isEmpty())
        return problem;
    for (const QString& other : others) {
        if (other.trimmed().compare(m, Qt::CaseInsensitive) == 0)
            return QStringLiteral("марка «%1» уже есть у другой конструкции проекта. Дайте конструкции другую марку.")
                .arg(m);
    }
    return {};
}

namespace {

// The format and the version of a file; throws AppError for another format or a
// version this program cannot read.
int checkedVersion(const QJsonObject& o)
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
                                      "читает файлы версий от 1 до %2.")
                           .arg(QString::number(v))
                           .arg(kSourceDataVersion));
    return int(v);
}

void refuseUnknownKeys(const QJsonObject& o, const QStringList& known, const QString& where)
{
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!known.contains(it.key()))
            keyError(it.key(), where,
                     where.isEmpty() ? QStringLiteral("такой ключ в файле исходных данных не предусмотрен.")
                                     : QStringLiteral("такой ключ здесь не предусмотрен."));
    }
}

// The text under `key`, empty when the key is missing.
QString optionalText(const QJsonObject& o, const QString& key, const QString& where)
{
    const QJsonValue value = o.value(key);
    if (!value.isUndefined() && !value.isString())
        keyError(key, where, QStringLiteral("ожидается текст в кавычках."));
    return value.toString();
}

std::optional<QJsonObject> airLayerObject(const QJsonObject& o, const QString& where)
{
    const QJsonValue air = o.value(QStringLiteral("airlayer"));
    if (air.isObject())
        return air.toObject();
    if (!air.isUndefined() && !air.isNull())
        keyError(QStringLiteral("airlayer"), where,
                 QStringLiteral("ожидается объект с полями окна вентилируемой прослойки."));
    return std::nullopt;
}

ProjectData parseVersion1(const QJsonObject& o)
{
    refuseUnknownKeys(o, {"format", "version", "saved", "summary", "main", "airlayer"}, QString());
    ProjectData p;
    p.version = kSingleConstructionVersion;
    p.saved = optionalText(o, QStringLiteral("saved"), QString());
    p.description = optionalText(o, QStringLiteral("summary"), QString());
    const QJsonValue main = o.value(QStringLiteral("main"));
    if (!main.isObject())
        throw AppError(QStringLiteral("Нет раздела «main» с полями главного окна."));
    p.constructions.append({firstConstructionMark(), QString(), main.toObject(), airLayerObject(o, QString())});
    return p;
}

// "конструкции №2 («НС-2»)": how a message names the construction it is about.
QString constructionPlace(int number, const QString& mark)
{
    const QString place = QStringLiteral("конструкции №%1").arg(number);
    return mark.trimmed().isEmpty() ? place : place + QStringLiteral(" («%1»)").arg(mark.trimmed());
}

ConstructionData parseConstruction(const QJsonValue& value, int number, const QStringList& earlierMarks)
{
    if (!value.isObject())
        throw AppError(QStringLiteral("Ключ «constructions»: конструкция №%1 должна быть объектом с ключами «mark», "
                                      "«name», «main».")
                           .arg(number));
    const QJsonObject o = value.toObject();
    const QString where = constructionPlace(number, o.value(QStringLiteral("mark")).toString());
    refuseUnknownKeys(o, {"mark", "name", "main", "airlayer"}, where);
    ConstructionData c;
    const QJsonValue mark = o.value(QStringLiteral("mark"));
    if (!mark.isString())
        keyError(QStringLiteral("mark"), where, QStringLiteral("ожидается марка конструкции текстом в кавычках."));
    c.mark = mark.toString().trimmed();
    if (const QString problem = markProblem(c.mark, earlierMarks); !problem.isEmpty())
        keyError(QStringLiteral("mark"), where, problem);
    c.name = optionalText(o, QStringLiteral("name"), where).trimmed();
    if (const QString problem = nameProblem(c.name); !problem.isEmpty())
        keyError(QStringLiteral("name"), where, problem);
    const QJsonValue main = o.value(QStringLiteral("main"));
    if (!main.isObject())
        keyError(QStringLiteral("main"), where, QStringLiteral("нет раздела с полями главного окна."));
    c.main = main.toObject();
    c.airLayer = airLayerObject(o, where);
    return c;
}

ProjectData parseVersion2(const QJsonObject& o)
{
    refuseUnknownKeys(o, {"format", "version", "saved", "project", "constructions"}, QString());
    ProjectData p;
    p.version = 2;
    p.saved = optionalText(o, QStringLiteral("saved"), QString());
    const QJsonValue project = o.value(QStringLiteral("project"));
    if (project.isObject()) {
        const QString where = QStringLiteral("раздела «project»");
        refuseUnknownKeys(project.toObject(), {"name", "description"}, where);
        p.name = optionalText(project.toObject(), QStringLiteral("name"), where).trimmed();
        if (const QString problem = nameProblem(p.name); !problem.isEmpty())
            keyError(QStringLiteral("name"), where, problem);
        p.description = optionalText(project.toObject(), QStringLiteral("description"), where);
    } else if (!project.isUndefined() && !project.isNull()) {
        keyError(QStringLiteral("project"), QString(), QStringLiteral("ожидается объект с ключами «name» и «description»."));
    }
    const QJsonValue list = o.value(QStringLiteral("constructions"));
    if (!list.isArray() || list.toArray().isEmpty())
        throw AppError(QStringLiteral("Ключ «constructions»: ожидается список конструкций проекта (массив "
                                      "объектов), в нем должна быть хотя бы одна конструкция."));
    QStringList marks;
    const QJsonArray array = list.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        p.constructions.append(parseConstruction(array[i], int(i + 1), marks));
        marks.append(p.constructions.last().mark);
    }
    return p;
}

}  // namespace

ProjectData parseProjectData(const QJsonObject& o)
{
    return checkedVersion(o) == kSingleConstructionVersion ? parseVersion1(o) : parseVersion2(o);
}

SourceDataContents parseSourceData(const QJsonObject& o)
{
    const ProjectData p = parseProjectData(o);
    if (p.constructions.size() != 1)
        throw AppError(QStringLiteral("В файле проект из %1 конструкций, а здесь рассчитывается одна конструкция. "
                                      "Откройте проект в окне программы.")
                           .arg(p.constructions.size()));
    const ConstructionData& c = p.constructions.first();
    return {p.saved, p.description, c.main, c.airLayer};
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
        p.contents = parseProjectData(doc.object());
        const bool several = p.contents.constructions.size() > 1;
        int number = 0;
        for (const ConstructionData& c : p.contents.constructions) {
            ++number;
            try {
                p.main.append(planCase(main, c.main));
                if (c.airLayer && !airLayer)
                    throw AppError(QStringLiteral("Окно вентилируемой прослойки недоступно."));
                p.airLayer.append(c.airLayer ? std::optional(planWindowKeys(*airLayer, *c.airLayer, airLayerSectionName()))
                                             : std::nullopt);
            } catch (const AppError& e) {
                // in a project, the construction the key belongs to
                if (!several)
                    throw;
                const QString mark = c.mark.trimmed();
                throw AppError(QStringLiteral("Конструкция №%1 («%2»): %3").arg(number).arg(mark, e.message()));
            }
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
