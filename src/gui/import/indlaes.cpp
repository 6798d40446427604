#include "gui/import/indlaes.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/import/clubfile.h"
#include "core/import/importrun.h"
#include "gui/app/behaviours.h"
#include "gui/app/filplacering.h"
#include "gui/app/mainwindow.h"

namespace vemora::gui {

namespace {
std::filesystem::path toPath(const QString& s) { return std::filesystem::path(s.toStdU16String()); }
}  // namespace

Indlaes::Indlaes(AppState& app, QWidget* parent) : DialogForm(app, "Indlæs", "Indlæs fra Foreningsprogram", parent) {

    // The machine's mounted volumes stand in for the drive letters.
    drev_ = new DriveList;
    drev_->setObjectName("Drev");
    dirList_ = new FolderList;
    dirList_->setObjectName("DirList");

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

    connect(drev_, &QComboBox::currentIndexChanged, this, [this] { Drev_Change(); });
    connect(dirList_, &FolderList::folderChanged, this, [this](const QString& f) { showFolder(f); });
    connect(filer_, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
    connect(chkCheckRes_, &QCheckBox::clicked, this, [this] { chkCheckRes_Click(); });
    connect(ok_, &QPushButton::clicked, this, &Indlaes::cmdOK_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load: the check box from the setting; the folder list starts at the program folder,
    // where the club programs' files are usually copied (there is no diskette drive A:).
    try {
        chkCheckRes_->setChecked(readCheckResFiler(app.database()));
    } catch (const std::exception&) {
    }
    QString start = QString::fromStdU16String(app.appPath.u16string());
    {
        QSignalBlocker block(drev_);
        drev_->setDriveFor(start);
    }
    dirList_->setDrive(drev_->drive());
    setFolder(start);
    resize(620, 380);
}

void Indlaes::Drev_Change() {
    dirList_->setDrive(drev_->drive());
    setFolder(drev_->drive());
}

void Indlaes::setFolder(const QString& folder) { dirList_->setFolder(folder); }

void Indlaes::showFolder(const QString& folder) {
    if (folder == folder_) return;
    folder_ = folder;
    folderLabel_->setText(QDir::toNativeSeparators(folder));
    Filer_Refresh();
}

void Indlaes::Filer_Refresh() {
    filer_->clear();
    for (const auto& e : listClubFiles(toPath(folder_))) filer_->addItem(QString::fromStdString(e));
}

void Indlaes::cmdOK_Click() {
    QListWidgetItem* item = filer_->currentItem();
    std::string entry = item ? item->text().toStdString() : std::string();
    // Open lists learn of the imported rows from the commit.
    ImportEntry(app(), toPath(folder_), entry, chkCheckRes_->isChecked());
}

void Indlaes::chkCheckRes_Click() {
    try {
        writeCheckResFiler(app().database(), chkCheckRes_->isChecked());
    } catch (const std::exception& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

static RegisterMenuCommand reg("mnuImporter", [](MainWindow& w) {
    Indlaes dlg(w.app(), &w);
    dlg.exec();
    w.bringToFront();
});

}  // namespace vemora::gui
