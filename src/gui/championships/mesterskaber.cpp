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

namespace {

struct Column {
    const char* caption;
    const char* field;
};
// The yes/no criteria come as "X" from the stored query.
const Column kColumns[] = {
    {"Kode", "Nr"},
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
    {"Antal P-flyvn.", "Antal_P_flyvninger"},
};
constexpr int kColumnCount = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);

}  // namespace

// ---- the list's rows ---------------------------------------------------------------------

void MesterskaberModel::setRows(RowSet rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

long long MesterskaberModel::recNrAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_.get(static_cast<size_t>(row), "RecNr").toInt();
}

int MesterskaberModel::rowOf(long long recNr) const {
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        if (recNrAt(i) == recNr) return i;
    return -1;
}

int MesterskaberModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(rows_.size()); }

int MesterskaberModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant MesterskaberModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return QString::fromStdString(rows_.get(static_cast<size_t>(index.row()), kColumns[index.column()].field).toText());
}

QVariant MesterskaberModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString(kColumns[section].caption);
}

// ---- the list form ----------------------------------------------------------------------------

Mesterskaber::Mesterskaber(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName("Mesterskaber");
    setWindowTitle("Mesterskaber");
    Mesterskabsliste = new QTableView;
    Mesterskabsliste->setObjectName("Mesterskabsliste");
    model_ = new MesterskaberModel(this);
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
    refresh();
    Mesterskabsliste->resizeColumnsToContents();
}

void Mesterskaber::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FillMainWindow(this);
}

void Mesterskaber::refresh(long long recNr) {
    int keep = Mesterskabsliste->currentIndex().isValid() ? Mesterskabsliste->currentIndex().row() : 0;
    try {
        model_->setRows(championships::ListChampionships(app_.database()));
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    int row = recNr ? model_->rowOf(recNr) : -1;
    if (row < 0) row = std::min(keep, model_->rowCount() - 1);
    if (row >= 0) Mesterskabsliste->selectRow(row);
}

void Mesterskaber::openDialog(long long recNr) {
    Mesterskabsdialog dlg(app_, recNr, this);
    dlg.exec();
}

void Mesterskaber::cmdNy_Click() {
    long long recNr;
    try {
        recNr = championships::NewChampionship(app_.database());
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    refresh(recNr);
    openDialog(recNr);
}

void Mesterskaber::cmdRediger_Click() {
    QModelIndex cur = Mesterskabsliste->currentIndex();
    if (!cur.isValid()) {
        app_.userInterface().message("Der er ikke markeret noget mesterskab.", "Fejl", Icon::Exclamation);
        return;
    }
    openDialog(model_->recNrAt(cur.row()));
}

void Mesterskaber::cmdSlet_Click() {
    QModelIndex cur = Mesterskabsliste->currentIndex();
    if (!cur.isValid()) {
        app_.userInterface().message("Der er ikke markeret noget mesterskab.", "Fejl", Icon::Exclamation);
        return;
    }
    // At once, without asking; the next row takes the deleted one's place.
    if (championships::DeleteChampionship(app_, model_->recNrAt(cur.row()))) refresh();
}

static RegisterMenuCommand regMesterskaber("mnuMesterskaber", [](MainWindow& w) { w.showChild(new Mesterskaber(w.app())); });

}  // namespace vemora::gui
