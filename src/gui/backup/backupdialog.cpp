#include "gui/backup/backupdialog.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "gui/app/filplacering.h"
#include "gui/app/mainwindow.h"
#include "gui/app/removable.h"

namespace vemora::gui {

namespace {

const char* kFolderKey = "Backup/BackupFolder";
const char* kTotal = "Total";

// The first diskette drive where there are drive letters; elsewhere the first removable
// medium that is mounted, else the user's own folder.
QString defaultFolder(const std::function<bool(const QString&)>& isRemovable) {
#ifdef Q_OS_WIN
    (void)isRemovable;
    return "A:\\";
#else
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && isRemovable(v.rootPath())) return v.rootPath();
    return QDir::homePath();
#endif
}

}  // namespace

Backup::Backup(AppState& app, QWidget* parent)
    : DialogForm(app, "Backup", "Backup", parent), isRemovable(IsRemovableRoot) {
    txtDestination = new QLineEdit;
    txtDestination->setObjectName("txtDestination");
    cmdBrowse = new QPushButton("Gennemse");
    cmdBrowse->setObjectName("cmdBrowse");
    Uge = new QComboBox;
    Uge->setObjectName("Uge");
    Uge->setEditable(true);
    Uge->addItem(kTotal);
    for (int w = 1; w <= 53; ++w) Uge->addItem(QString::number(w));
    cmdGem = new QPushButton("Gem");
    cmdGem->setObjectName("cmdGem");
    cmdIndlæs = new QPushButton("Indlæs");
    cmdIndlæs->setObjectName("cmdIndlæs");
    btnRestore = new QPushButton("Reparer database");
    btnRestore->setObjectName("btnRestore");
    cmdLuk = new QPushButton("&Luk");
    cmdLuk->setObjectName("cmdLuk");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Placering"), 0, 0);
    grid->addWidget(txtDestination, 0, 1);
    grid->addWidget(cmdBrowse, 0, 2);
    grid->addWidget(new QLabel("Uge"), 1, 0);
    grid->addWidget(Uge, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdGem);
    buttons->addWidget(cmdIndlæs);
    buttons->addWidget(btnRestore);
    buttons->addStretch();
    buttons->addWidget(cmdLuk);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(grid);
    lay->addSpacing(12);
    lay->addLayout(buttons);

    connect(cmdBrowse, &QPushButton::clicked, this, &Backup::cmdBrowse_Click);
    connect(cmdGem, &QPushButton::clicked, this, &Backup::cmdGem_Click);
    connect(cmdIndlæs, &QPushButton::clicked, this, &Backup::cmdIndlæs_Click);
    connect(btnRestore, &QPushButton::clicked, this, &Backup::btnRestore_Click);
    connect(cmdLuk, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load.
    txtDestination->setText(QSettings().value(kFolderKey, defaultFolder(isRemovable)).toString());
    Uge->setCurrentText(kTotal);
    resize(520, sizeHint().height());
}

void Backup::afterClose() { QSettings().setValue(kFolderKey, txtDestination->text()); }

void Backup::cmdBrowse_Click() {
    Filplacering picker(txtDestination->text(), this);
    if (picker.exec() == QDialog::Accepted && !picker.folder().isEmpty())
        txtDestination->setText(QDir::toNativeSeparators(picker.folder()));
}

bool Backup::chosenWeek(int& week) {
    QString text = Uge->currentText().trimmed();
    if (text.isEmpty()) {
        app().userInterface().message("Angiv uge.", "Fejl", Icon::Exclamation);
        return false;
    }
    if (text.compare(kTotal, Qt::CaseInsensitive) == 0) {
        week = 0;
        return true;
    }
    bool ok = false;
    week = text.toInt(&ok);
    if (!ok || week < 1 || week > 53) {
        app().userInterface().message("Ugyldig uge.", "Fejl", Icon::Exclamation);
        return false;
    }
    return true;
}

std::filesystem::path Backup::destination() const {
    QString folder = txtDestination->text().trimmed();
    return std::filesystem::path(folder.isEmpty() ? QString(".").toStdU16String() : folder.toStdU16String());
}

void Backup::cmdGem_Click() {
    int week = 0;
    if (!chosenWeek(week)) return;
    if (week > 0) {
        lastOutcome = backupWeek(app(), destination(), week);
        return;
    }
    FolderMedium medium(destination(), isRemovable(txtDestination->text().trimmed()));
    lastOutcome = backupWholeDatabase(app(), medium);
}

void Backup::cmdIndlæs_Click() {
    int week = 0;
    if (!chosenWeek(week)) return;
    if (week > 0) {
        lastOutcome = restoreWeek(app(), destination(), week);
        return;
    }
    FolderMedium medium(destination(), isRemovable(txtDestination->text().trimmed()));
    lastOutcome = restoreWholeDatabase(app(), medium);
}

void Backup::btnRestore_Click() { lastOutcome = RepairDatabase(app()); }

// The dialog also serves a database that could not be opened or is damaged: restoring or
// repairing it is the way out.
static RegisterMenuCommand reg(
    "mnuBackup",
    [](MainWindow& w) {
        Backup dlg(w.app(), &w);
        dlg.exec();
        w.bringToFront();
    },
    false);

}  // namespace vemora::gui
