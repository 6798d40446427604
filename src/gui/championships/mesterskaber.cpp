#include "gui/championships/mesterskaber.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/championships/definition.h"
#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"
#include "gui/championships/mesterskabsdialog.h"

namespace vemora::gui {

Mesterskaber::Mesterskaber(AppState& app, QWidget* parent) : MdiForm(app, "Mesterskaber", "Mesterskaber", parent) {
    Mesterskabsliste = new QTableView;
    Mesterskabsliste->setObjectName("Mesterskabsliste");
    // The yes/no criteria come as "X" from the stored query.
    model_ = new RowTableModel(app,
                               {{"Kode", "Nr"},
                                {"Navn", "Titel"},
                                {"Type", "Type"},
                                {"Junior", "Juniorduer"},
                                {"Begynder", "Begyndere"},
                                {"Pensionist", "Pensionister"},
                                {"Kode1", "Kun_Kode1"},
                                {"Kode2", "Kun_Kode2"},
                                {"Kode3", "Kun_Kode3"},
                                {"Område", "Område"},
                                {"Sportsduer", "Sportsduer"},
                                {"Ekskl. sportsduer", "EksklSportsduer"},
                                {"Køn", "Køn"},
                                {"Foreningsduer", "Foreningsafkrydsede"},
                                {"Kun markering", "Foreningsmarkering1"},
                                {"Årgang", "Årgang"},
                                {"Ekskl. år", "Ekskl_Årgang"},
                                {"Antal duer", "Antal_duer_pr_slag"},
                                {"Procent", "TopProc"},
                                {"Antal flyvn.", "Antal_flyvninger"},
                                {"Antal L-flyvn.", "Antal_L_flyvninger"},
                                {"Antal M-flyvn.", "Antal_M_flyvninger"},
                                {"Antal S-flyvn.", "Antal_S_flyvninger"},
                                {"Antal P-flyvn.", "Antal_P_flyvninger"}},
                               this);
    Mesterskabsliste->setModel(model_);
    Mesterskabsliste->setSelectionBehavior(QAbstractItemView::SelectRows);
    Mesterskabsliste->setSelectionMode(QAbstractItemView::SingleSelection);
    Mesterskabsliste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Mesterskabsliste->verticalHeader()->setDefaultSectionSize(22);
    connect(Mesterskabsliste, &QTableView::doubleClicked, this, [this] { cmdRediger_Click(); });

    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* name, const char* caption, void (Mesterskaber::*fn)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, fn);
        buttons->addWidget(b);
        return b;
    };
    cmdNy = add("cmdNy", "&Ny", &Mesterskaber::cmdNy_Click);
    cmdRediger = add("cmdRediger", "&Rediger", &Mesterskaber::cmdRediger_Click);
    cmdSlet = add("cmdSlet", "&Slet", &Mesterskaber::cmdSlet_Click);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Mesterskabsliste);
    layout->addLayout(buttons);
    EnterAsTab(this);
    model_->setRows([&app](size_t offset, size_t limit) { return championships::ListChampionships(app.database(), offset, limit); });
    // A deleted championship or a saved definition shows at once, the same row staying current.
    refreshOn({"Mesterskaber"}, [this] { refresh(); });
    refresh();
    Mesterskabsliste->resizeColumnsToContents();
}

void Mesterskaber::showEvent(QShowEvent* e) {
    MdiForm::showEvent(e);
    FillMainWindow(this);
}

long long Mesterskaber::currentRecNr() const {
    QModelIndex cur = Mesterskabsliste->currentIndex();
    return cur.isValid() ? model_->value(cur.row(), "RecNr").toInt() : 0;
}

void Mesterskaber::refresh(long long recNr) {
    int keep = Mesterskabsliste->currentIndex().isValid() ? Mesterskabsliste->currentIndex().row() : 0;
    model_->reload();
    int row = recNr ? model_->findRow([&](int r) { return model_->value(r, "RecNr").toInt() == recNr; }) : -1;
    if (row < 0) {
        while (keep >= model_->rowCount() && model_->canFetchMore({})) model_->fetchMore({});
        row = std::min(keep, model_->rowCount() - 1);
    }
    if (row >= 0) Mesterskabsliste->selectRow(row);
}

void Mesterskaber::openDialog(long long recNr) {
    Mesterskabsdialog dlg(app(), recNr, this);
    dlg.exec();
}

void Mesterskaber::cmdNy_Click() {
    long long recNr;
    try {
        recNr = championships::NewChampionship(app().database());
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    refresh(recNr);
    openDialog(recNr);
}

void Mesterskaber::cmdRediger_Click() {
    if (!Mesterskabsliste->currentIndex().isValid()) {
        app().userInterface().message("Der er ikke markeret noget mesterskab.", "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(currentRecNr());
}

void Mesterskaber::cmdSlet_Click() {
    if (!Mesterskabsliste->currentIndex().isValid()) {
        app().userInterface().message("Der er ikke markeret noget mesterskab.", "Fejl", Icon::Exclamation);
        return;
    }
    // At once, without asking; the list refreshes itself after the commit and the row that
    // followed takes the deleted one's place.
    championships::DeleteChampionship(app(), currentRecNr());
}

static RegisterMenuCommand regMesterskaber("mnuMesterskaber", [](MainWindow& w) { w.showChild(new Mesterskaber(w.app())); });

}  // namespace vemora::gui
