#include "gui/app/filplacering.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
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
    addItems(roots);
    int i = findText(keep);
    setCurrentIndex(i >= 0 ? i : 0);
}

QString DriveList::drive() const { return currentText(); }

void DriveList::setDriveFor(const QString& path) {
    QString native = QDir::toNativeSeparators(QDir(path).absolutePath());
    int best = -1, bestLen = -1;
    for (int i = 0; i < count(); ++i) {
        QString root = itemText(i);
        if (native.startsWith(root) && root.size() > bestLen) {
            best = i;
            bestLen = static_cast<int>(root.size());
        }
    }
    if (best >= 0) setCurrentIndex(best);
}

FolderList::FolderList(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) hideColumn(c);
    header()->hide();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& cur) { emit folderChanged(model_->filePath(cur)); });
}

void FolderList::setDrive(const QString& rootPath) {
    QModelIndex root = model_->index(rootPath);
    setRootIndex(root.parent().isValid() || root.isValid() ? root.parent() : root);
    setCurrentIndex(root);
    expand(root);
}

void FolderList::setFolder(const QString& path) {
    QModelIndex i = model_->index(path);
    if (!i.isValid()) return;
    setCurrentIndex(i);
    scrollTo(i);
    expand(i);
}

QString FolderList::folder() const { return model_->filePath(currentIndex()); }

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
    connect(Drev, &QComboBox::currentTextChanged, Folder, &FolderList::setDrive);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    QString start = startFolder.isEmpty() ? QDir::homePath() : startFolder;
    Drev->setDriveFor(start);
    Folder->setDrive(Drev->drive());
    Folder->setFolder(start);
    EnterAsTab(this);
    resize(420, 460);
}

}  // namespace vemora::gui
