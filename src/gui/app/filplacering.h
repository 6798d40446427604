#pragma once
// The drive list and folder list shared by the dialogs that choose a folder, and the small
// folder picker `Filplacering` built from them.
#include <QComboBox>
#include <QDialog>
#include <QTreeView>

class QFileSystemModel;
class QPushButton;

namespace vemora::gui {

// The machine's mounted volumes (on Windows its drives), shown by their root path.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);
    void refresh();
    QString drive() const;  // root path of the chosen volume
    // Chooses the volume that holds the path (the longest matching root).
    void setDriveFor(const QString& path);
};

// The folders of one drive; the current folder is the chosen one.
class FolderList : public QTreeView {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);
    // Shows the folders below the drive's root.
    void setDrive(const QString& rootPath);
    // Chooses a folder and keeps it in view while the disk is still being read.
    void setFolder(const QString& path);
    QString folder() const { return folder_; }

signals:
    // A folder was chosen, by the user or by setFolder.
    void folderChanged(const QString& path);

private:
    void reveal();
    QFileSystemModel* model_;
    QString folder_;
    bool pendingReveal_ = false;
};

class Filplacering : public QDialog {
    Q_OBJECT
public:
    explicit Filplacering(const QString& startFolder = {}, QWidget* parent = nullptr);
    QString folder() const { return Folder->folder(); }

    DriveList* Drev;
    FolderList* Folder;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

}  // namespace vemora::gui
