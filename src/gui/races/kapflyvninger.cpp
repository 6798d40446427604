#include "gui/races/kapflyvninger.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/races/racefields.h"
#include "core/races/races.h"
#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"
#include "gui/races/kapflyvningsdialog.h"
#include "gui/races/nykapfl.h"

namespace vemora::gui {

namespace {

struct Column {
    const char* caption;
    const char* field;
};
const Column kColumns[] = {{"Uge", "Uge"},     {"Farvekode", "Farvekode"}, {"Regi", "Regi"},
                           {"Station", "Station3"}, {"Navn", "Navn"},   {"LMU", "LMU"},
                           {"Kode", "Kode"},   {"Slipdato", "SlipDato"}, {"Sliptid", "Sliptid"},
                           {"Duer", "Duer"},   {"Hanner", "Hanner"},   {"Hunner", "Hunner"}};
constexpr int kColumnCount = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);

// "dd-mm-yyyy" for a stored date, "hh:nn" for a stored time; other texts as stored.
QString formatted(const std::string& field, const Value& v) {
    if (v.isNull()) return {};
    std::string t = v.toText();
    if (field == "SlipDato") {
        return QString::fromStdString(danishDate(t));
    } else if (field == "Sliptid") {
        if (t.size() >= 5 && t[2] == ':') return QString::fromStdString(t.substr(0, 5));
    }
    return QString::fromStdString(t);
}

}  // namespace

// ---- model --------------------------------------------------------------------------------

void KapflyvningslisteModel::refresh() {
    beginResetModel();
    try {
        rows_ = races::ListRaces(app_.database());
    } catch (const DbError& e) {
        rows_ = RowSet{};
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    endResetModel();
}

long long KapflyvningslisteModel::raceAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0;
    return rows_.get(static_cast<size_t>(row), "Nr").toInt();
}

int KapflyvningslisteModel::rowOf(long long nr) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_.get(i, "Nr").toInt() == nr) return static_cast<int>(i);
    return -1;
}

std::vector<std::optional<int>> KapflyvningslisteModel::weeks() const {
    std::vector<std::optional<int>> out;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Value& u = rows_.get(i, "Uge");
        out.push_back(u.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(u.toInt())));
    }
    return out;
}

int KapflyvningslisteModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int KapflyvningslisteModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant KapflyvningslisteModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= kColumnCount) return {};
    const Column& c = kColumns[index.column()];
    if (role == Qt::DisplayRole) return formatted(c.field, rows_.get(static_cast<size_t>(index.row()), c.field));
    if (role == Qt::TextAlignmentRole && index.column() >= 9) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant KapflyvningslisteModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role == Qt::DisplayRole && o == Qt::Horizontal && section >= 0 && section < kColumnCount)
        return QString::fromUtf8(kColumns[section].caption);
    return {};
}

// ---- form ---------------------------------------------------------------------------------

Kapflyvninger::Kapflyvninger(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName("Kapflyvninger");
    setWindowTitle("Kapflyvninger");
    model_ = new KapflyvningslisteModel(app_, this);
    Kapflyvningsliste = new QTableView;
    Kapflyvningsliste->setObjectName("Kapflyvningsliste");
    Kapflyvningsliste->setModel(model_);
    Kapflyvningsliste->setSelectionBehavior(QAbstractItemView::SelectRows);
    Kapflyvningsliste->setSelectionMode(QAbstractItemView::SingleSelection);
    Kapflyvningsliste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Kapflyvningsliste->verticalHeader()->setDefaultSectionSize(22);

    PicStatus = new QWidget;
    PicStatus->setObjectName("PicStatus");
    cmdNy = new QPushButton("&Ny");
    cmdNy->setObjectName("cmdNy");
    cmdRediger = new QPushButton("&Rediger");
    cmdRediger->setObjectName("cmdRediger");
    cmdSlet = new QPushButton("&Slet");
    cmdSlet->setObjectName("cmdSlet");
    auto* bar = new QHBoxLayout(PicStatus);
    bar->setContentsMargins(4, 4, 4, 4);
    for (QPushButton* b : {cmdNy, cmdRediger, cmdSlet}) bar->addWidget(b);
    bar->addStretch();
    // Form_Resize: the grid fills the window above the button bar.
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(Kapflyvningsliste, 1);
    top->addWidget(PicStatus);

    EnterAsTab(this);
    connect(cmdNy, &QPushButton::clicked, this, &Kapflyvninger::cmdNy_Click);
    connect(cmdRediger, &QPushButton::clicked, this, &Kapflyvninger::cmdRediger_Click);
    connect(cmdSlet, &QPushButton::clicked, this, &Kapflyvninger::cmdSlet_Click);
    connect(Kapflyvningsliste, &QTableView::doubleClicked, this, &Kapflyvninger::cmdRediger_Click);
    if (MainWindow* w = MainWindow::current()) {
        connect(w, &MainWindow::racesChanged, this, [this] {
            long long nr = currentRace();
            if (nr && (model_->refresh(), model_->rowOf(nr) >= 0)) setCurrentRow(model_->rowOf(nr));
            else refreshAtWorkingWeek();
        });
    }
    refreshAtWorkingWeek();
}

long long Kapflyvninger::currentRace() const {
    QModelIndex i = Kapflyvningsliste->currentIndex();
    return i.isValid() ? model_->raceAt(i.row()) : 0;
}

void Kapflyvninger::setCurrentRow(int row) {
    if (row < 0) {
        Kapflyvningsliste->setCurrentIndex({});
        return;
    }
    QModelIndex i = model_->index(row, 0);
    Kapflyvningsliste->setCurrentIndex(i);
    Kapflyvningsliste->selectRow(row);
    Kapflyvningsliste->scrollTo(i);
}

void Kapflyvninger::refreshAtWorkingWeek() {
    model_->refresh();
    Kapflyvningsliste->resizeColumnsToContents();
    setCurrentRow(races::listStartRow(model_->weeks(), app_.currentWeek));
}

void Kapflyvninger::refreshAndFind(long long nr) {
    model_->refresh();
    int row = model_->rowOf(nr);
    if (row >= 0) setCurrentRow(row);
}

void Kapflyvninger::cmdNy_Click() {
    long long nr = NyKapfl::run(app_, this);
    // The race dialog returns the list to the new race when it closes; a cancelled creation
    // leaves the list as it was.
    if (nr) refreshAndFind(nr);
    if (MainWindow* w = MainWindow::current()) w->bringToFront();
}

void Kapflyvninger::cmdRediger_Click() {
    long long nr = currentRace();
    if (!nr) {
        app_.userInterface().message("Der er ikke markeret nogen kapflyvning.", "Fejl", Icon::Exclamation);
        return;
    }
    try {
        // Opening a race for editing always leaves it to be calculated again.
        races::MarkForCalculation(app_.database(), races::RaceSelection::one(nr));
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    Kapflyvningsdialog dlg(app_, this);
    dlg.setRace(nr);
    dlg.exec();
    if (MainWindow* w = MainWindow::current()) w->bringToFront();
}

void Kapflyvninger::cmdSlet_Click() {
    long long nr = currentRace();
    if (!nr) return;
    int row = Kapflyvningsliste->currentIndex().row();
    if (!races::DeleteRace(app_, nr)) return;
    model_->refresh();
    setCurrentRow(std::min(row, model_->rowCount() - 1));
}

static RegisterMenuCommand reg("mnuKapflyvninger", [](MainWindow& w) {
    QWidget* shown = w.showChild(new Kapflyvninger(w.app()));
    // A new list window opens wide enough for its columns; one already open keeps its size.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(shown->parentWidget()); sub && !shown->property("sized").toBool()) {
        shown->setProperty("sized", true);
        QSize area = w.mdiArea()->viewport()->size();
        sub->resize(std::min(area.width(), 980), std::min(area.height(), 520));
    }
});

}  // namespace vemora::gui
