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

// "dd-mm-yyyy" for a stored date; other texts as stored.
QString dateText(const Value& v) { return v.isNull() ? QString() : QString::fromStdString(danishDate(v.toText())); }

// "hh:nn" for a stored time; other texts as stored.
QString timeText(const Value& v) {
    std::string t = v.toText();
    return QString::fromStdString(t.size() >= 5 && t[2] == ':' ? t.substr(0, 5) : t);
}

std::vector<GridColumn> columns() {
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    return {{"Uge", "Uge"},         {"Farvekode", "Farvekode"},
            {"Regi", "Regi"},       {"Station", "Station3"},
            {"Navn", "Navn"},       {"LMU", "LMU"},
            {"Kode", "Kode"},       {"Slipdato", "SlipDato", dateText},
            {"Sliptid", "Sliptid", timeText}, {"Duer", "Duer", {}, right},
            {"Hanner", "Hanner", {}, right},  {"Hunner", "Hunner", {}, right}};
}

}  // namespace

// ---- form ---------------------------------------------------------------------------------

Kapflyvninger::Kapflyvninger(AppState& app, QWidget* parent) : MdiForm(app, "Kapflyvninger", "Kapflyvninger", parent) {
    model_ = new RowTableModel(app, columns(), this);
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
    // A race created, changed or deleted anywhere (the import, the race dialog, a new season)
    // shows at once; the current race stays current.
    refreshOn({"Kapflyvninger", "Regnskab", "Stationer"}, [this] {
        long long nr = currentRace();
        if (!nr) return refreshAtWorkingWeek();
        model_->reload();
        int row = rowOf(nr);
        if (row >= 0) setCurrentRow(row);
        else refreshAtWorkingWeek();
    });
    model_->setRows([&app](size_t offset, size_t limit) { return races::ListRaces(app.database(), offset, limit); });
    refreshAtWorkingWeek();
}

long long Kapflyvninger::raceAt(int row) const { return model_->value(row, "Nr").toInt(); }

int Kapflyvninger::rowOf(long long nr) {
    return model_->findRow([&](int row) { return raceAt(row) == nr; });
}

long long Kapflyvninger::currentRace() const {
    QModelIndex i = Kapflyvningsliste->currentIndex();
    return i.isValid() ? raceAt(i.row()) : 0;
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
    model_->reload();
    model_->fetchAll();  // the start row may be the last one
    Kapflyvningsliste->resizeColumnsToContents();
    std::vector<std::optional<int>> weeks;
    for (int row = 0; row < model_->rowCount(); ++row) {
        Value u = model_->value(row, "Uge");
        weeks.push_back(u.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(u.toInt())));
    }
    setCurrentRow(races::listStartRow(weeks, app().currentWeek));
}

void Kapflyvninger::refreshAndFind(long long nr) {
    model_->reload();
    int row = rowOf(nr);
    if (row >= 0) setCurrentRow(row);
}

void Kapflyvninger::bringMainWindowToFront() {
    if (auto* w = qobject_cast<MainWindow*>(window())) w->bringToFront();
}

void Kapflyvninger::cmdNy_Click() {
    long long nr = NyKapfl::run(app(), this);
    // The race dialog returns the list to the new race when it closes; a cancelled creation
    // leaves the list as it was.
    if (nr) refreshAndFind(nr);
    bringMainWindowToFront();
}

void Kapflyvninger::cmdRediger_Click() {
    long long nr = currentRace();
    if (!nr) {
        app().userInterface().message("Der er ikke markeret nogen kapflyvning.", "Fejl", Icon::Exclamation);
        return;
    }
    try {
        // Opening a race for editing always leaves it to be calculated again.
        races::MarkForCalculation(app().database(), races::RaceSelection::one(nr));
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    Kapflyvningsdialog dlg(app(), this);
    dlg.setRace(nr);
    dlg.exec();
    bringMainWindowToFront();
}

void Kapflyvninger::cmdSlet_Click() {
    long long nr = currentRace();
    if (!nr) return;
    int row = Kapflyvningsliste->currentIndex().row();
    if (!races::DeleteRace(app(), nr)) return;
    model_->reload();
    model_->fetchAll();
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
