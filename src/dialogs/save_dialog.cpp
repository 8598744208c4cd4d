// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/save_dialog.h"

#include "common/app_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

namespace ogrado {

namespace {

const QString kDrives = QStringLiteral("Drives");
const QString kTree = QStringLiteral("Tree");
const QString kFiles = QStringLiteral("Files");
const QString kActDir = QStringLiteral("txtActDir");
const QString kSpec = QStringLiteral("gmbSpec");
const QString kName = QStringLiteral("NameFile");
const QString kOut = QStringLiteral("lblNameFileOut");
const QString kIsx = QStringLiteral("lblNameFileIsx");
const QString kIsxSwitch = QStringLiteral("chkIsxDan");
const QString kSummary = QStringLiteral("Sv");

const QString kDocPlaceholder = QStringLiteral("?.doc");
const QString kIsxPlaceholder = QStringLiteral("?.isx");
const QString kNotSaved = QStringLiteral("Данные не сохраняются");

// A user who keeps answering "Да" to a drive that never becomes ready is asked at
// most this many times; then the drive list stays where it was.
constexpr int kMaxDriveRetries = 50;

// dir & separator & name, without doubling the separator after a root such as "/".
QString joinPath(const QString& dir, const QString& name)
{
    if (dir.endsWith(u'/') || dir.endsWith(u'\\'))
        return dir + name;
    return dir + u'/' + name;
}

bool endsWithExtension(const QString& name, QStringView ext)
{
    return name.size() > ext.size() && name.endsWith(ext, Qt::CaseInsensitive);
}

// A name without a final ".doc" or ".isx".
QString stemOf(const QString& name)
{
    if (endsWithExtension(name, u".doc") || endsWithExtension(name, u".isx"))
        return name.chopped(4);
    return name;
}

// A listed file's name without its extension (the text before the last "."), so
// that "Расчет 12.05.2024.doc" stays "Расчет 12.05.2024".
QString baseOfFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

bool isPlaceholderOrPattern(const QString& name)
{
    return name.startsWith(u'?') || name.startsWith(u'*');
}

QStringList mountedVolumes()
{
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (v.isValid() && !roots.contains(v.rootPath()))
            roots.append(v.rootPath());
    }
    return roots;
}

}  // namespace

const QStringList& SaveDialogForm::filterTexts()
{
    static const QStringList texts = {QStringLiteral("Все файлы(*.*)"), QStringLiteral("Результаты(*.doc)"),
                                      QStringLiteral("Исх. данные(*.isx)")};
    return texts;
}

QString SaveDialogForm::shortenedDirectory(const QString& path)
{
    if (path.size() <= 23)
        return path;
    QString tail = path.right(17);
    const qsizetype sep = tail.indexOf(QRegularExpression(QStringLiteral("[/\\\\]")));
    if (sep >= 0)
        tail = tail.mid(sep);
    return path.left(3) + QStringLiteral("...") + tail;
}

QString SaveDialogForm::proposedName(const AppContext& ctx)
{
    const QString opened = ctx.sourceDataPath;
    return opened.isEmpty() ? defaultFileName() : QFileInfo(opened).completeBaseName();
}

QString SaveDialogForm::proposedFolder(const AppContext& ctx)
{
    const QString wanted = ctx.settings.resultsDir;
    if (wanted.isEmpty())
        return QDir::currentPath();
    QString dir = QFileInfo(wanted).absoluteFilePath();
    while (!(QFileInfo(dir).isDir() && QFileInfo(dir).isReadable()) && !QDir(dir).isRoot())
        dir = QFileInfo(dir).absolutePath();
    return QDir::cleanPath(dir);
}

SaveDialogForm::SaveDialogForm(AppContext& ctx, SaveAction save, SourceSaveAction saveSource, QObject* parent)
    : FormModel(windowName(), ctx.prompter, parent), ctx_(ctx), save_(std::move(save)),
      saveSource_(std::move(saveSource)), volumes_(mountedVolumes)
{
    setModal(true);
    setSizeTwips(8400, 6600);
    add(kDrives, ControlKind::ComboBox);
    add(kTree, ControlKind::ListBox);
    add(kFiles, ControlKind::ListBox);
    add(kActDir, ControlKind::Label);
    add(kSpec, ControlKind::ComboBox);
    add(kName, ControlKind::TextBox);
    add(kOut, ControlKind::Label);
    add(kIsx, ControlKind::Label).foreground = kBlue;
    Control& isxSwitch = add(kIsxSwitch, ControlKind::CheckBox, QStringLiteral("Сохранить рез."));
    isxSwitch.checked = true;
    add(kSummary, ControlKind::TextBox);
    add(QStringLiteral("cmdOk"), ControlKind::Button, QStringLiteral("ОК"));
    add(QStringLiteral("cmdCancel"), ControlKind::Button, QStringLiteral("Отмена"));

    on(kName, FormEvent::Change, [this] { nameChanged(); });
    on(kFiles, FormEvent::Click, [this] { fileClicked(); });
    on(kTree, FormEvent::DblClick, [this] {
        const int i = currentIndex(kTree);
        if (i < 0 || i >= treeEntries_.size() || treeEntries_[i] == treePath_)
            return;
        if (!setTreePath(treeEntries_[i]))
            throw AppError(QStringLiteral("Каталог \"%1\" недоступен. Выберите другой каталог.").arg(treeEntries_[i]),
                           fieldOf(formName(), kTree));
    });
    on(kSpec, FormEvent::Click, [this] { filterClicked(); });
    on(kIsxSwitch, FormEvent::Click, [this] { sourceSwitchClicked(); });
    on(kDrives, FormEvent::Click, [this] { driveChosen(); });
    on(QStringLiteral("cmdOk"), FormEvent::Click, [this] { confirm(); });
    on(QStringLiteral("cmdCancel"), FormEvent::Click, [this] {
        saveConfirmed_ = 0;
        unloadForm();
    });
}

SaveDialogForm::~SaveDialogForm() = default;

std::optional<QPoint> SaveDialogForm::placement(const QRect& mainTwips) const
{
    // over the middle of the main window
    return QPoint(mainTwips.x() + (mainTwips.width() - widthTwips()) / 2,
                  mainTwips.y() + (mainTwips.height() - heightTwips()) / 2);
}

void SaveDialogForm::onLoad()
{
    setCaption(QStringLiteral("Сохранить данные в файле"));
    saveConfirmed_ = 0;
    treePath_.clear();
    treeEntries_.clear();
    drive_.clear();
    pattern_ = QStringLiteral("*.*");
    startUp();
}

void SaveDialogForm::startUp()
{
    // 1. the filter list, "Результаты(*.doc)" chosen
    setItems(kSpec, filterTexts());
    select(kSpec, 1);

    // 2. the drive: the source-data drive, or the volume of the current directory
    setItems(kDrives, volumes_());
    const QString drive = ctx_.settings.isxDrive.isEmpty() ? defaultVolume() : ctx_.settings.isxDrive;
    chooseDrive(drive);

    // 3, 4. the results directory, created when it is missing (the dialog saves into it);
    // when it cannot be, the nearest folder above it
    const QString wanted = ctx_.settings.resultsDir;
    if (const QString created = createMissingFolder(wanted); !created.isEmpty() && status_)
        status_(created);
    if (!setTreePath(wanted)) {
        if (!setTreePath(proposedFolder(ctx_)))
            setTreePath(QDir::currentPath());
        const QString missing = wanted.isEmpty()
                                    ? QStringLiteral("Каталог результатов не задан.")
                                    : QStringLiteral("Каталог \"%1\" не найден.").arg(QDir::toNativeSeparators(wanted));
        prompter().message(missing + QStringLiteral("\rОткрыт каталог \"%1\".").arg(QDir::toNativeSeparators(treePath_)),
                           QStringLiteral("Внимание!"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
    setActDir(treePath_);

    // 5. the proposed name: that of the source-data file the input came from, if any,
    // with its summary
    setText(kName, proposedName(ctx_));
    setText(kSummary, ctx_.sourceDataSummary);
    nameChanged();
}

void SaveDialogForm::nameChanged()
{
    const QString x = text(kName);
    if (x.startsWith(u'*')) {
        // a pattern for the file list; the labels stay
        pattern_ = x;
        fillFiles();
        return;
    }
    const QString stem = endsWithExtension(x, u".doc") ? x.chopped(4) : x;
    setText(kOut, joinPath(treePath_, stem + QStringLiteral(".doc")));
    setIsxLabel(isxPathFor(stem));
}

QString SaveDialogForm::isxPathFor(const QString& stem) const
{
    const QString opened = ctx_.sourceDataPath;
    if (!opened.isEmpty() && QFileInfo(opened).completeBaseName() == stem)
        return opened;
    // without a source-data directory (no ISX in the settings file) the name goes
    // beside the results rather than into the root folder
    const QString dir = ctx_.settings.isxDir.isEmpty() ? treePath_ : ctx_.settings.isxDir;
    return joinPath(dir, stem + QStringLiteral(".isx"));
}

void SaveDialogForm::fileClicked()
{
    const QString name = currentItem(kFiles);
    if (name.isEmpty())
        return;
    setText(kName, name);
    nameChanged();
    const QString base = baseOfFile(name);
    setIsxLabel(isxPathFor(base));
    setText(kOut, joinPath(treePath_, base + QStringLiteral(".doc")));
}

void SaveDialogForm::directoryChanged()
{
    setActDir(treePath_);
    setIsxLabel(kIsxPlaceholder);
    setText(kOut, kDocPlaceholder);
    setText(kName, kDocPlaceholder);
}

void SaveDialogForm::filterClicked()
{
    const QString entry = currentItem(kSpec);
    const qsizetype open = entry.indexOf(u'(');
    const qsizetype close = entry.lastIndexOf(u')');
    if (open < 0 || close <= open)
        return;
    setText(kName, entry.mid(open + 1, close - open - 1));
    nameChanged();
    setIsxLabel(kIsxPlaceholder);
    setText(kOut, kDocPlaceholder);
}

void SaveDialogForm::sourceSwitchClicked()
{
    if (!isChecked(kIsxSwitch)) {
        setIsxNotSaved();
        return;
    }
    const QString x = text(kName);
    setEnabled(kSummary, true);
    setIsxLabel(isPlaceholderOrPattern(x) ? kIsxPlaceholder
                                          : joinPath(treePath_, stemOf(x) + QStringLiteral(".isx")));
}

void SaveDialogForm::setIsxLabel(const QString& text)
{
    // With "Сохранить рез." clear the label keeps saying that nothing is saved.
    if (!isChecked(kIsxSwitch))
        return;
    setText(kIsx, text);
    setForeground(kIsx, kBlue);
}

void SaveDialogForm::setIsxNotSaved()
{
    setText(kIsx, kNotSaved);
    setForeground(kIsx, kRed);
    setEnabled(kSummary, false);
}

void SaveDialogForm::setActDir(const QString& path)
{
    setText(kActDir, shortenedDirectory(QDir::toNativeSeparators(path)));
}

bool SaveDialogForm::setTreePath(const QString& dir)
{
    if (dir.isEmpty())
        return false;
    const QFileInfo info(dir);
    if (!info.isDir() || !info.isReadable())
        return false;
    treePath_ = QDir::cleanPath(info.absoluteFilePath());
    fillTree();
    fillFiles();
    directoryChanged();
    return true;
}

void SaveDialogForm::fillTree()
{
    // The path from the root down to the current folder, then its subfolders, each
    // level indented as a directory list shows it.
    QStringList chain;
    QDir d(treePath_);
    for (int guard = 0; guard < 256; ++guard) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    QStringList items;
    treeEntries_.clear();
    auto indent = [](qsizetype level) { return QString(level * 2, u' '); };
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const QDir level(chain[i]);
        const QString shown = i == 0 ? QDir::toNativeSeparators(chain[i]) : level.dirName();
        items.append(indent(i) + shown);
        treeEntries_.append(chain[i]);
    }
    const QStringList subs =
        QDir(treePath_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString& s : subs) {
        items.append(indent(chain.size()) + s);
        treeEntries_.append(joinPath(treePath_, s));
    }
    setItems(kTree, items);
    setCurrentIndex(kTree, int(chain.size()) - 1);
}

void SaveDialogForm::fillFiles()
{
    QStringList filters;
    for (QString p : pattern_.split(u';', Qt::SkipEmptyParts)) {
        p = p.trimmed();
        // "*.*" means every file, with an extension or without
        filters.append(p == u"*.*" ? QStringLiteral("*") : p);
    }
    QStringList files;
    if (!treePath_.isEmpty()) {
        files = QDir(treePath_).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    }
    setItems(kFiles, files);
}

QString SaveDialogForm::defaultVolume() const
{
    return QStorageInfo(QDir::currentPath()).rootPath();
}

bool SaveDialogForm::volumeReadable(const QString& volume) const
{
    if (volume.isEmpty())
        return false;
    const QFileInfo info(volume);
    if (!info.isDir() || !info.isReadable())
        return false;
    const QStorageInfo storage(volume);
    return storage.isValid() && storage.isReady();
}

QString SaveDialogForm::chooseDrive(const QString& volume)
{
    QString v = volume;
    for (int attempt = 0;; ++attempt) {
        if (volumeReadable(v)) {
            QStringList drives = items(kDrives);
            if (!drives.contains(v)) {
                drives.append(v);
                setItems(kDrives, drives);
            }
            setCurrentIndex(kDrives, int(drives.indexOf(v)));
            drive_ = v;
            return v;
        }
        if (attempt >= kMaxDriveRetries)
            return {};
        const MessageAnswer answer =
            prompter().message(QStringLiteral("Повторить попытку?"), QStringLiteral("Накопитель ") + v + QStringLiteral(" не готов"),
                               MessageIcon::Critical, MessageButtons::YesNo);
        if (answer == MessageAnswer::No)
            v = defaultVolume();
    }
}

void SaveDialogForm::driveChosen()
{
    const QString wanted = currentItem(kDrives);
    if (wanted == drive_)
        return;
    const QString previous = drive_;
    const QString drive = chooseDrive(wanted);
    if (drive.isEmpty()) {
        setCurrentIndex(kDrives, int(items(kDrives).indexOf(previous)));
        return;
    }
    // The drive of the current directory opens there, another one at its root.
    setTreePath(drive == defaultVolume() ? QDir::currentPath() : drive);
}

void SaveDialogForm::confirm()
{
    const bool withSource = isChecked(kIsxSwitch);
    const bool withResults = ctx_.report.lineCount() > 0;
    if (!withResults && !withSource) {
        throw AppError(QStringLiteral("Нет результатов расчета для сохранения.") +
                       QStringLiteral("\rСначала выполните расчет (кнопка \"Расчет\")."));
    }
    const QString name = text(kName).trimmed();
    const QString out = text(kOut);
    if (name.isEmpty() || isPlaceholderOrPattern(name) || out.isEmpty() || out.startsWith(u'?')) {
        throw AppError(QStringLiteral("Не задано имя файла результатов.") +
                           QStringLiteral("\rВведите имя файла в поле \"Имя файла:\" или выберите файл в списке."),
                       fieldOf(formName(), kName));
    }
    const QString isx = text(kIsx);
    if (withSource) {
        if (isx.isEmpty() || isPlaceholderOrPattern(QFileInfo(isx).fileName()))
            throw AppError(QStringLiteral("Не задано имя файла исходных данных.") +
                               QStringLiteral("\rВведите имя файла в поле \"Имя файла:\" или выберите файл в списке."),
                           fieldOf(formName(), kName));
        // Saving again into the file the input came from is what "Сохранить" is for;
        // any other existing file is replaced only when the user agrees.
        const QFileInfo target(isx);
        const bool ownFile = !ctx_.sourceDataPath.isEmpty() && target.absoluteFilePath() == ctx_.sourceDataPath;
        if (target.exists() && !ownFile) {
            const MessageAnswer answer = prompter().message(
                QStringLiteral("Файл исходных данных \"%1\" уже существует.\rЗаменить его?")
                    .arg(QDir::toNativeSeparators(isx)),
                QStringLiteral("Подтверждение записи"), MessageIcon::Question, MessageButtons::YesNo);
            if (answer != MessageAnswer::Yes)
                return;  // the dialog stays open for another name
        }
    }
    resultsFilePath_ = out;
    isxFilePath_ = isx;
    saveConfirmed_ = 0;
    // The input first: it cannot be computed again. An AppError keeps the dialog open
    // with its message.
    if (withSource && saveSource_)
        saveSource_(isx, text(kSummary));
    if (withResults && save_)
        save_(resultsFilePath_);
    saveConfirmed_ = 1;
    unloadForm();
    if (withSource && !withResults) {
        prompter().message(QStringLiteral("Исходные данные сохранены в файле \"%1\".\rРезультаты расчета не "
                                          "записаны: расчет еще не выполнен.")
                               .arg(QDir::toNativeSeparators(isx)),
                           QStringLiteral("Внимание!"), MessageIcon::Information, MessageButtons::Ok);
    }
}

}  // namespace ogrado
