#include "gui/settings/foreninger.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "core/settings/clubs.h"
#include "core/settings/settings.h"
#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"
#include "gui/settings/postnrtown.h"

namespace vemora::gui {

namespace {

// The columns of the list: field and heading.
const std::array<std::pair<const char*, const char*>, 8> kColumns = {{{"Nr", "Nr"},
                                                                      {"Navn", "Navn"},
                                                                      {"Kontakt", "Kontakt"},
                                                                      {"Kontakt_Adr", "Adresse"},
                                                                      {"Kontakt_Postnr", "Postnr"},
                                                                      {"Bank", "Bank"},
                                                                      {"Regnr", "Reg.nr"},
                                                                      {"Kontonr", "Kontonr"}}};

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// ---- the list's rows ---------------------------------------------------------------------------

void ForeningerModel::setRows(RowSet rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ForeningerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ForeningerModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant ForeningerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return q(rows_.get(static_cast<size_t>(index.row()), kColumns[static_cast<size_t>(index.column())].first).toText());
}

QVariant ForeningerModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
    return QString(kColumns[static_cast<size_t>(section)].second);
}

// ---- the list form -------------------------------------------------------------------------------

Foreninger::Foreninger(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName("Foreninger");
    setWindowTitle("Foreninger");
    grid_ = new QTableView;
    grid_->setObjectName("Foreningsliste");
    model_ = new ForeningerModel(this);
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    connect(grid_, &QTableView::doubleClicked, this, [this] { cmdRediger_Click(); });

    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* name, const char* caption, void (Foreninger::*fn)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, fn);
        buttons->addWidget(b);
    };
    add("cmdNy", "&Ny", &Foreninger::cmdNy_Click);
    add("cmdRediger", "&Rediger", &Foreninger::cmdRediger_Click);
    add("cmdSlet", "&Slet", &Foreninger::cmdSlet_Click);
    buttons->addStretch();

    // The layout fits the grid to the window whenever it is resized.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    EnterAsTab(this);
    refresh();
}

void Foreninger::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FillMainWindow(this);
}

void Foreninger::refresh(const QString& nr) {
    int keep = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
    try {
        model_->setRows(ListForeninger(app_.database()));
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    int row = std::min(keep, model_->rowCount() - 1);
    if (!nr.isEmpty()) {
        for (int i = 0; i < model_->rowCount(); ++i)
            if (q(model_->rows().get(static_cast<size_t>(i), "Nr").toText()) == nr) {
                row = i;
                break;
            }
    }
    if (row >= 0) grid_->selectRow(row);
}

void Foreninger::openDialog(int64_t recNr) {
    ForeningsDialog dlg(app_, recNr, this);
    dlg.exec();
}

void Foreninger::cmdNy_Click() {
    int64_t recNr;
    try {
        recNr = NewForening(app_.database());
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(recNr);
}

void Foreninger::cmdRediger_Click() {
    QModelIndex cur = grid_->currentIndex();
    if (!cur.isValid()) {
        app_.userInterface().message("Der er ikke markeret nogen forening.", "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(model_->rows().get(static_cast<size_t>(cur.row()), "RecNr").toInt());
}

void Foreninger::cmdSlet_Click() {
    QModelIndex cur = grid_->currentIndex();
    if (!cur.isValid()) {
        app_.userInterface().message("Der er ikke markeret nogen forening.", "Fejl", Icon::Exclamation);
        return;
    }
    try {
        DeleteForening(app_.database(), model_->rows().get(static_cast<size_t>(cur.row()), "RecNr").toInt());
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved sletning af forening.", "Fejl", Icon::Exclamation);
        return;
    }
    if (MainWindow* w = MainWindow::current()) emit w->racesChanged();
    // The row that followed the deleted one takes its place.
    refresh();
}

// ---- the dialog ------------------------------------------------------------------------------------

ForeningsDialog::ForeningsDialog(AppState& app, int64_t recNr, QWidget* parent)
    : QDialog(parent), app_(app), recNr_(recNr) {
    setObjectName("ForeningsDialog");
    setWindowTitle("Rediger forening");
    setModal(true);

    foreningsnr_ = new QLineEdit;
    foreningsnr_->setObjectName("Foreningsnr");
    foreningsnr_->setMaxLength(3);
    foreningsnr_->setMaximumWidth(60);
    DigitsOnly(foreningsnr_);
    ZeroPadOnLeave(foreningsnr_, 3);
    MovesOnWhenFull(foreningsnr_);
    const int maxLen[11] = {35, 35, 35, 4, 35, 35, 35, 4, 35, 4, 14};
    for (int i = 0; i < 11; ++i) {
        felt_[i] = new QLineEdit;
        felt_[i]->setObjectName(QString("Foreningsfelt%1").arg(i));
        felt_[i]->setMaxLength(maxLen[i]);
        if (maxLen[i] == 4) {
            DigitsOnly(felt_[i]);
            felt_[i]->setMaximumWidth(60);
        }
        MovesOnWhenFull(felt_[i]);
    }
    postnr_[0] = new PostnrTown(app_, felt_[3], felt_[4]);
    postnr_[1] = new PostnrTown(app_, felt_[7], felt_[8]);

    auto row = [](QGridLayout* g, int r, const char* caption, QLineEdit* b, QLineEdit* town = nullptr) {
        g->addWidget(new QLabel(caption), r, 0);
        if (town) {
            g->addWidget(b, r, 1);
            g->addWidget(town, r, 2);
        } else {
            g->addWidget(b, r, 1, 1, b->maximumWidth() < 100 ? 1 : 2);
        }
    };
    auto* generelt = new QWidget;
    auto* gg = new QGridLayout(generelt);
    row(gg, 0, "Foreningsnr", foreningsnr_);
    row(gg, 1, "Foreningsnavn", felt_[0]);
    row(gg, 2, "Kontaktperson", felt_[1]);
    row(gg, 3, "Adresse", felt_[2]);
    row(gg, 4, "Postnr", felt_[3], felt_[4]);
    gg->setColumnStretch(2, 1);
    gg->setRowStretch(5, 1);
    auto* bank = new QWidget;
    auto* bg = new QGridLayout(bank);
    row(bg, 0, "Bank", felt_[5]);
    row(bg, 1, "Adresse", felt_[6]);
    row(bg, 2, "Postnr", felt_[7], felt_[8]);
    row(bg, 3, "Reg.nr", felt_[9]);
    row(bg, 4, "Kontonr", felt_[10]);
    bg->setColumnStretch(2, 1);
    bg->setRowStretch(5, 1);

    tabs_ = new QTabWidget;
    tabs_->setObjectName("SSTab1");
    tabs_->addTab(generelt, "&Generelt");
    tabs_->addTab(bank, "&Bank");
    auto* cmdLuk = new QPushButton("&Luk");
    cmdLuk->setObjectName("cmdLuk");
    cmdLuk->setAutoDefault(false);
    connect(cmdLuk, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdLuk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);
    resize(460, 260);

    for (QLineEdit* b : findChildren<QLineEdit*>()) SelectAllOnFocus(b);
    EnterAsTab(this);
    Form_Activate();
}

void ForeningsDialog::Form_Activate() {
    try {
        auto d = LoadForening(app_.database(), recNr_);
        exists_ = d.has_value();
        if (!d) return;
        foreningsnr_->setText(q(d->nr));
        // Boxes 4 and 8 are towns; the nine fields fill the other boxes in order.
        const int boxes[9] = {0, 1, 2, 3, 5, 6, 7, 9, 10};
        for (int i = 0; i < 9; ++i) felt_[boxes[i]]->setText(q(d->felter[i]));
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    postnr_[0]->lookup();
    postnr_[1]->lookup();
}

void ForeningsDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!activated_) {
        activated_ = true;
        foreningsnr_->setFocus();
    }
}

bool ForeningsDialog::Form_QueryUnload() {
    if (!exists_) return true;
    ForeningData d;
    d.nr = foreningsnr_->text().toStdString();
    const int boxes[9] = {0, 1, 2, 3, 5, 6, 7, 9, 10};
    for (int i = 0; i < 9; ++i) d.felter[i] = felt_[boxes[i]]->text().toStdString();
    try {
        SaveForening(app_.database(), recNr_, d);
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved lagring af forening.", "Fejl", Icon::Exclamation);
        return false;
    }
    if (auto* list = qobject_cast<Foreninger*>(findLoadedForm("Foreninger"))) list->refresh(q(d.nr));
    return true;
}

void ForeningsDialog::done(int r) {
    // The box being left is padded before the closing reads it.
    if (auto* b = qobject_cast<QLineEdit*>(focusWidget())) emit b->editingFinished();
    for (PostnrTown* p : postnr_) p->leaveFocusedBox();
    if (!Form_QueryUnload()) return;
    QDialog::done(r);
}

static RegisterMenuCommand regForeninger("mnuForeninger", [](MainWindow& w) { w.showChild(new Foreninger(w.app())); });

}  // namespace vemora::gui
