// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save dialog FileSave ("Сохранить данные в файле"): drive, directory and file name
// of the results file, and the source-data name shown beside it. "ОК" writes the
// report through the save action; the dialog stays open when that fails.
#include "session/app_context.h"
#include "common/form_model.h"

#include <functional>

namespace ogrado {

class SaveDialogForm : public FormModel {
    Q_OBJECT
public:
    // The window's name: its control name, the key of its form and of its view.
    static QString windowName() { return QStringLiteral("FileSave"); }

    // Writes the results file; throws AppError naming the path and the reason.
    using SaveAction = std::function<void(const QString& path)>;
    // Writes the source-data file with the summary; throws AppError as above.
    using SourceSaveAction = std::function<void(const QString& path, const QString& summary)>;
    // The mounted volumes by root path.
    using VolumeSource = std::function<QStringList()>;

    SaveDialogForm(AppContext& ctx, SaveAction save, SourceSaveAction saveSource = {}, QObject* parent = nullptr);
    ~SaveDialogForm() override;

    static QString defaultFileName() { return QStringLiteral("Теплотехнический расчет"); }
    // The name the dialog proposes, without extension: that of the source-data file the
    // input came from, or defaultFileName().
    static QString proposedName(const AppContext& ctx);
    // The folder the dialog opens in: the results directory, or the nearest folder above
    // it that can be read (the current directory when none is set).
    static QString proposedFolder(const AppContext& ctx);
    static const QStringList& filterTexts();
    // The directory as txtActDir shows it: longer than 23 characters, the first three,
    // "..." and the tail from the first separator among the last 17 characters.
    static QString shortenedDirectory(const QString& path);

    // Where the volumes come from (mounted volumes unless replaced, for tests).
    void setVolumeSource(VolumeSource source) { volumes_ = std::move(source); }
    // Where the dialog says what it did besides the files (a results folder created).
    using StatusLine = std::function<void(const QString& text)>;
    void setStatusLine(StatusLine status) { status_ = std::move(status); }

    // The directory the Tree list stands in, and the folder behind each of its entries.
    QString treePath() const { return treePath_; }
    const QStringList& treeEntries() const { return treeEntries_; }
    QString filePattern() const { return pattern_; }
    // The volume chosen in the Drives list.
    QString currentDrive() const { return drive_; }

    // What the dialog leaves behind when it closes.
    QString resultsFilePath() const { return resultsFilePath_; }
    QString isxFilePath() const { return isxFilePath_; }
    int saveConfirmed() const { return saveConfirmed_; }

    std::optional<QPoint> placement(const QRect& mainTwips) const override;

protected:
    void onLoad() override;

private:
    void startUp();  // NacZagr
    void nameChanged();
    void fileClicked();
    void directoryChanged();
    void filterClicked();
    void sourceSwitchClicked();
    void driveChosen();
    void confirm();

    // Moves the Tree list to `dir` and runs the directory behaviour. Returns false when
    // the directory cannot be read.
    bool setTreePath(const QString& dir);
    void fillTree();
    void fillFiles();
    void setActDir(const QString& path);
    // Selects `volume` in the Drives list; a volume that cannot be read brings the
    // retry question, and "Нет" falls back to the volume of the current directory.
    // Returns the volume finally chosen.
    QString chooseDrive(const QString& volume);
    QString defaultVolume() const;
    bool volumeReadable(const QString& volume) const;
    void setIsxLabel(const QString& text);
    // The source-data file for a name typed or chosen: the file the input came from
    // when the name is its own, otherwise the name in the source-data directory.
    QString isxPathFor(const QString& stem) const;
    void setIsxNotSaved();

    AppContext& ctx_;
    SaveAction save_;
    SourceSaveAction saveSource_;
    VolumeSource volumes_;
    StatusLine status_;
    QString drive_;
    QString treePath_;
    QStringList treeEntries_;
    QString pattern_ = QStringLiteral("*.*");
    QString resultsFilePath_;
    QString isxFilePath_;
    int saveConfirmed_ = 0;
};

}  // namespace ogrado
