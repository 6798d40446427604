#include "gui/stats/expstat.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/settings/clubs.h"
#include "gui/app/behaviours.h"
#include "gui/app/filplacering.h"
#include "gui/app/mainwindow.h"
#include "gui/app/removable.h"

namespace vemora::gui {

namespace {
std::filesystem::path toPath(const QString& s) { return std::filesystem::path(s.toStdU16String()); }
QString fromPath(const std::filesystem::path& p) { return QString::fromStdU16String(p.u16string()); }
}  // namespace

ExpStat::ExpStat(AppState& app, QWidget* parent) : DialogForm(app, "ExpStat", "Eksporter", parent), isRemovable(IsRemovableRoot) {
    optTotStat = new QRadioButton("Totalstatistik (RYX)");
    optTotStat->setObjectName("optTotStat");
    optKapf = new QRadioButton("Kapflyvningsplan");
    optKapf->setObjectName("optKapf");
    optStat = new QRadioButton("Statistik (Foreninger)");
    optStat->setObjectName("optStat");
    optTotStat->setChecked(true);
    Forening = new QComboBox;
    Forening->setObjectName("Forening");
    Forening->setMinimumContentsLength(24);

    // The machine's mounted volumes stand in for the drive letters.
    Drev = new DriveList;
    Drev->setObjectName("Drev");
    DirList = new FolderList;
    DirList->setObjectName("DirList");
    folderLabel_ = new QLabel;
    folderLabel_->setObjectName("lblFolder");
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdOK = new QPushButton("OK");
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdClose = new QPushButton("&Luk");
    cmdClose->setObjectName("cmdClose");

    auto* what = new QVBoxLayout;
    what->addWidget(optTotStat);
    what->addWidget(optKapf);
    what->addWidget(optStat);
    what->addSpacing(12);
    what->addWidget(new QLabel("Forening"));
    what->addWidget(Forening);
    what->addStretch();
    auto* where = new QVBoxLayout;
    where->addWidget(new QLabel("Drev"));
    where->addWidget(Drev);
    where->addWidget(DirList, 1);
    where->addWidget(folderLabel_);
    auto* top = new QHBoxLayout;
    top->addLayout(what);
    top->addLayout(where, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdClose);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top, 1);
    lay->addLayout(buttons);

    connect(Drev, &QComboBox::currentIndexChanged, this, [this] { Drev_Change(); });
    connect(DirList, &FolderList::folderChanged, this, [this](const QString& f) {
        folder_ = f;
        folderLabel_->setText(QDir::toNativeSeparators(f));
    });
    connect(cmdOK, &QPushButton::clicked, this, &ExpStat::cmdOK_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    EnterAsTab(this);
    Form_Load();
    resize(640, 400);
}

void ExpStat::Form_Load() {
    // The program's own export folder, for a section that sends its files by mail.
    std::filesystem::path own = app().appPath / "EXPSTAT";
    std::error_code ec;
    std::filesystem::create_directory(own, ec);

    Forening->addItem(QString());
    try {
        RowSet clubs = ListForeninger(app().database());
        for (size_t i = 0; i < clubs.size(); ++i)
            Forening->addItem(QString::fromStdString(clubs.get(i, "Nr").toText() + " - " + clubs.get(i, "Navn").toText()));
    } catch (const std::exception& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }

    // The drive starts at a removable medium when one is inserted, else at the export folder.
    QString start = fromPath(own);
    for (int i = 0; i < Drev->count(); ++i)
        if (isRemovable(Drev->itemData(i).toString())) {
            start = Drev->itemData(i).toString();
            break;
        }
    {
        QSignalBlocker block(Drev);
        Drev->setDriveFor(start);
    }
    DirList->setDrive(Drev->drive());
    setFolder(start);
}

void ExpStat::Drev_Change() {
    DirList->setDrive(Drev->drive());
    setFolder(Drev->drive());
}

void ExpStat::setFolder(const QString& folder) { DirList->setFolder(folder); }

void ExpStat::cmdOK_Click() {
    ExportKind kind = optKapf->isChecked() ? ExportKind::Plan
                      : optStat->isChecked() ? ExportKind::ClubStats
                                             : ExportKind::TotalStats;
    ExportTarget target;
    target.folder = toPath(folder_);
    // On a medium's root the user is asked for each diskette; the drive is looked at again
    // after every answer, since the medium may have been changed.
    target.removable = isRemovable(folder_);
    lastResult = ExportStatistics(app(), kind, Forening->currentText().toStdString(), target);
}

static RegisterMenuCommand reg("mnuExportStat", [](MainWindow& w) {
    ExpStat dlg(w.app(), &w);
    dlg.exec();
    w.bringToFront();
});

}  // namespace vemora::gui
