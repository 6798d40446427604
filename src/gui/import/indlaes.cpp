#include "gui/import/indlaes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/import/clubfile.h"
#include "core/import/importrun.h"
#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"

namespace vemora::gui {

namespace {
std::filesystem::path toPath(const QString& s) { return std::filesystem::path(s.toStdU16String()); }
}  // namespace

Indlaes::Indlaes(AppState& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("Indlæs");
    setWindowTitle("Indlæs fra Foreningsprogram");

    drev_ = new QComboBox;
    drev_->setObjectName("Drev");
    // The machine's mounted volumes stand in for the drive letters.
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady()) drev_->addItem(QDir::toNativeSeparators(v.rootPath()), v.rootPath());

    dirs_ = new QFileSystemModel(this);
    dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    dirs_->setRootPath(QString());
    dirList_ = new QTreeView;
    dirList_->setObjectName("DirList");
    dirList_->setModel(dirs_);
    dirList_->setHeaderHidden(true);
    for (int c = 1; c < dirs_->columnCount(); ++c) dirList_->hideColumn(c);

    filer_ = new QListWidget;
    filer_->setObjectName("Filer");
    chkCheckRes_ = new QCheckBox("Check resultatfiler");
    chkCheckRes_->setObjectName("chkCheckRes");
    ok_ = new QPushButton("&Ok");
    ok_->setObjectName("cmdOK");
    ok_->setDefault(true);
    close_ = new QPushButton("&Luk");
    close_->setObjectName("cmdClose");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Drev"), 0, 0);
    grid->addWidget(drev_, 1, 0);
    folderLabel_ = new QLabel;
    folderLabel_->setObjectName("lblFolder");
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(dirList_, 2, 0);
    grid->addWidget(folderLabel_, 3, 0, 1, 2);
    grid->addWidget(new QLabel("Filer"), 0, 1);
    grid->addWidget(filer_, 1, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkCheckRes_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(close_);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(grid, 1);
    lay->addLayout(buttons);

    connect(dirs_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (folder_.startsWith(loaded)) revealFolder();
    });
    connect(drev_, &QComboBox::currentIndexChanged, this, [this] { Drev_Change(); });
    connect(dirList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { showFolder(dirs_->filePath(i), false); });
    connect(filer_, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
    connect(chkCheckRes_, &QCheckBox::clicked, this, [this] { chkCheckRes_Click(); });
    connect(ok_, &QPushButton::clicked, this, &Indlaes::cmdOK_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load: the check box from the setting; the folder list starts at the program folder,
    // where the club programs' files are usually copied (there is no diskette drive A:).
    try {
        chkCheckRes_->setChecked(readCheckResFiler(app_.database()));
    } catch (const std::exception&) {
    }
    QString start = QString::fromStdU16String(app_.appPath.u16string());
    int d = drev_->findData(QStorageInfo(start).rootPath());
    if (d >= 0) {
        QSignalBlocker block(drev_);
        drev_->setCurrentIndex(d);
        dirList_->setRootIndex(dirs_->index(drev_->currentData().toString()));
    }
    setFolder(start);
    resize(620, 380);
    // The tree reads the disk in the background and may report the folder's levels before it
    // is shown; a late look puts the chosen folder in view in any case.
    for (int ms : {200, 800}) QTimer::singleShot(ms, this, [this] { revealFolder(); });
}

void Indlaes::Drev_Change() {
    QString root = drev_->currentData().toString();
    dirList_->setRootIndex(dirs_->index(root));
    setFolder(root);
}

void Indlaes::setFolder(const QString& folder) { showFolder(folder, true); }

void Indlaes::showFolder(const QString& folder, bool reveal) {
    if (folder == folder_) return;
    folder_ = folder;
    folderLabel_->setText(QDir::toNativeSeparators(folder));
    pendingReveal_ = reveal;
    revealFolder();
    Filer_Refresh();
}

// The folder model reads the disk in the background, so the chosen folder is shown again each
// time another level of its path has been read.
void Indlaes::revealFolder() {
    if (!pendingReveal_) return;  // after the user's own click the tree is left where it is
    QModelIndex i = dirs_->index(folder_);
    if (!i.isValid()) return;
    QSignalBlocker block(dirList_->selectionModel());
    for (QModelIndex p = i.parent(); p.isValid(); p = p.parent()) dirList_->expand(p);
    dirList_->setCurrentIndex(i);
    // The tree lays out the expanded levels on its next turn; scroll once it has.
    QTimer::singleShot(0, dirList_, [this] {
        QModelIndex cur = dirList_->currentIndex();
        dirList_->scrollTo(cur, QAbstractItemView::PositionAtCenter);
    });
}

void Indlaes::Filer_Refresh() {
    filer_->clear();
    for (const auto& e : listClubFiles(toPath(folder_))) filer_->addItem(QString::fromStdString(e));
}

void Indlaes::cmdOK_Click() {
    QListWidgetItem* item = filer_->currentItem();
    std::string entry = item ? item->text().toStdString() : std::string();
    ImportResult r = ImportEntry(app_, toPath(folder_), entry, chkCheckRes_->isChecked());
    if (r.outcome != ImportOutcome::NothingSelected)
        if (MainWindow* w = MainWindow::current()) emit w->racesChanged();
}

void Indlaes::chkCheckRes_Click() {
    try {
        writeCheckResFiler(app_.database(), chkCheckRes_->isChecked());
    } catch (const std::exception& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

static RegisterMenuCommand reg("mnuImporter", [](MainWindow& w) {
    Indlaes dlg(w.app(), &w);
    dlg.exec();
    w.bringToFront();
});

}  // namespace vemora::gui
