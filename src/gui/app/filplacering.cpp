#include "gui/app/filplacering.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/app/behaviours.h"

namespace vemora::gui {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) { refresh(); }

void DriveList::refresh() {
    QString keep = drive();
    clear();
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady()) continue;
        QString root = QDir::toNativeSeparators(v.rootPath());
        // Pseudo file systems are no places to keep files.
        QString type = QString::fromLatin1(v.fileSystemType());
        if (type == "proc" || type == "sysfs" || type == "devpts" || type == "cgroup" || type == "cgroup2" ||
            type == "securityfs" || type == "debugfs" || type == "mqueue" || type == "tracefs")
            continue;
        if (!roots.contains(root)) roots << root;
    }
    if (roots.isEmpty()) roots << QDir::toNativeSeparators(QDir::rootPath());
    roots.sort();
    for (const QString& r : roots) addItem(r, QDir::fromNativeSeparators(r));
    int i = findData(keep);
    setCurrentIndex(i >= 0 ? i : 0);
}

QString DriveList::drive() const { return currentData().toString(); }

void DriveList::setDriveFor(const QString& path) {
    QString abs = QDir(path).absolutePath();
    int best = -1, bestLen = -1;
    for (int i = 0; i < count(); ++i) {
        QString root = itemData(i).toString();
        if (abs.startsWith(root) && root.size() > bestLen) {
            best = i;
            bestLen = static_cast<int>(root.size());
        }
    }
    if (best >= 0) setCurrentIndex(best);
}

FolderList::FolderList(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) hideColumn(c);
    setHeaderHidden(true);
    // The model reads the disk in the background: the chosen folder is shown again each time
    // another level of its path has been read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_.startsWith(loaded)) reveal();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& cur) {
        pendingReveal_ = false;  // after the user's own click the tree is left where it is
        folder_ = model_->filePath(cur);
        emit folderChanged(folder_);
    });
}

void FolderList::setDrive(const QString& rootPath) { setRootIndex(model_->index(rootPath)); }

void FolderList::setFolder(const QString& path) {
    folder_ = path;
    pendingReveal_ = true;
    reveal();
    emit folderChanged(folder_);
    // The tree may report the folder's levels before it is shown; a late look puts the
    // chosen folder in view in any case.
    for (int ms : {200, 800}) QTimer::singleShot(ms, this, [this] { reveal(); });
}

void FolderList::reveal() {
    if (!pendingReveal_) return;
    QModelIndex i = model_->index(folder_);
    if (!i.isValid()) return;
    QSignalBlocker block(selectionModel());
    for (QModelIndex p = i.parent(); p.isValid(); p = p.parent()) expand(p);
    setCurrentIndex(i);
    // The tree lays out the expanded levels on its next turn; scroll once it has.
    QTimer::singleShot(0, this, [this] { scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter); });
}

Filplacering::Filplacering(const QString& startFolder, QWidget* parent) : QDialog(parent) {
    setObjectName("Filplacering");
    setWindowTitle("Filplacering");
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel("Drev:", this));
    Drev = new DriveList(this);
    Drev->setObjectName("Drev");
    lay->addWidget(Drev);
    lay->addWidget(new QLabel("Folder:", this));
    Folder = new FolderList(this);
    Folder->setObjectName("Folder");
    lay->addWidget(Folder, 1);
    auto* buttons = new QHBoxLayout;
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Annuller", this);
    cmdCancel->setObjectName("cmdCancel");
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    lay->addLayout(buttons);
    connect(Drev, &QComboBox::currentIndexChanged, this, [this] {
        Folder->setDrive(Drev->drive());
        Folder->setFolder(Drev->drive());
    });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    QString start = startFolder.isEmpty() ? QDir::homePath() : startFolder;
    {
        QSignalBlocker block(Drev);
        Drev->setDriveFor(start);
    }
    Folder->setDrive(Drev->drive());
    Folder->setFolder(start);
    EnterAsTab(this);
    resize(420, 460);
}

}  // namespace vemora::gui
