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

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// ---- the list form -------------------------------------------------------------------------------

Foreninger::Foreninger(AppState& app, QWidget* parent) : MdiForm(app, "Foreninger", "Foreninger", parent) {
    grid_ = new QTableView;
    grid_->setObjectName("Foreningsliste");
    model_ = new RowTableModel(app,
                               {{"Nr", "Nr"},
                                {"Navn", "Navn"},
                                {"Kontakt", "Kontakt"},
                                {"Adresse", "Kontakt_Adr"},
                                {"Postnr", "Kontakt_Postnr"},
                                {"Bank", "Bank"},
                                {"Reg.nr", "Regnr"},
                                {"Kontonr", "Kontonr"}},
                               this);
    setupListGrid(grid_, model_);
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
    model_->setRows([&app](size_t offset, size_t limit) { return ListForeninger(app.database(), offset, limit); });
    refreshOn({"Foreninger"}, [this] { refresh(); });
    refresh();
}

void Foreninger::showEvent(QShowEvent* e) {
    MdiForm::showEvent(e);
    FillMainWindow(this);
}

int64_t Foreninger::currentRecNr() const {
    QModelIndex cur = grid_->currentIndex();
    return cur.isValid() ? model_->value(cur.row(), "RecNr").toInt() : 0;
}

void Foreninger::refresh(const QString& nr) {
    int keep = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
    model_->reload();
    int row = -1;
    if (!nr.isEmpty()) row = model_->findRow([&](int r) { return q(model_->value(r, "Nr").toText()) == nr; });
    if (row < 0) {
        while (keep >= model_->rowCount() && model_->canFetchMore({})) model_->fetchMore({});
        row = std::min(keep, model_->rowCount() - 1);
    }
    if (row >= 0) grid_->selectRow(row);
}

void Foreninger::openDialog(int64_t recNr) {
    ForeningsDialog dlg(app(), recNr, this);
    dlg.exec();
}

void Foreninger::cmdNy_Click() {
    int64_t recNr;
    try {
        recNr = NewForening(app().database());
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(recNr);
}

void Foreninger::cmdRediger_Click() {
    if (!grid_->currentIndex().isValid()) {
        app().userInterface().message("Der er ikke markeret nogen forening.", "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(currentRecNr());
}

void Foreninger::cmdSlet_Click() {
    if (!grid_->currentIndex().isValid()) {
        app().userInterface().message("Der er ikke markeret nogen forening.", "Fejl", Icon::Exclamation);
        return;
    }
    // The list refreshes itself after the commit; the row that followed the deleted one
    // takes its place.
    try {
        DeleteForening(app().database(), currentRecNr());
    } catch (const DbError&) {
        app().userInterface().message("Fejl ved sletning af forening.", "Fejl", Icon::Exclamation);
    }
}

// ---- the dialog ------------------------------------------------------------------------------------

ForeningsDialog::ForeningsDialog(AppState& app, int64_t recNr, QWidget* parent)
    : DialogForm(app, "ForeningsDialog", "Rediger forening", parent), recNr_(recNr) {

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
    postnr_[0] = new PostnrTown(app, felt_[3], felt_[4]);
    postnr_[1] = new PostnrTown(app, felt_[7], felt_[8]);
    // Boxes 4 and 8 are the towns of the postal codes before them; the nine fields of the
    // club fill the other boxes in their stored order.
    bindings().bind(foreningsnr_, "Nr");
    const int boxOf[9] = {0, 1, 2, 3, 5, 6, 7, 9, 10};
    for (size_t i = 0; i < kForeningFields.size(); ++i) bindings().bind(felt_[static_cast<size_t>(boxOf[i])], kForeningFields[i]);

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
    layOutTabsAndClose(this, tabs_, "cmdLuk");
    resize(460, 260);

    for (QLineEdit* b : findChildren<QLineEdit*>()) SelectAllOnFocus(b);
    EnterAsTab(this);
    setFirstField(foreningsnr_);
    activate();
}

void ForeningsDialog::Form_Activate() {
    try {
        auto club = LoadForening(app().database(), recNr_);
        exists_ = club.has_value();
        if (!club) return;
        bindings().load(*club);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    postnr_[0]->lookup();
    postnr_[1]->lookup();
}

bool ForeningsDialog::CanClose() {
    if (!exists_) return true;
    Record club = bindings().save();
    try {
        SaveForening(app().database(), recNr_, club);
    } catch (const DbError&) {
        app().userInterface().message("Fejl ved lagring af forening.", "Fejl", Icon::Exclamation);
        return false;
    }
    if (auto* list = qobject_cast<Foreninger*>(findLoadedForm("Foreninger"))) list->refresh(q(club["Nr"].toText()));
    return true;
}

static RegisterMenuCommand regForeninger("mnuForeninger", [](MainWindow& w) { w.showChild(new Foreninger(w.app())); });

}  // namespace vemora::gui
