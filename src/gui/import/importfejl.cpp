#include "gui/import/importfejl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/import/importfejl.h"
#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"

namespace vemora::gui {

ImportFejl::ImportFejl(AppState& app, QWidget* parent) : MdiForm(app, "ImportFejl", "Fejllister", parent) {
    auto* top = new QHBoxLayout;
    auto* lblUge = new QLabel("Uge");
    uge_ = new QLineEdit;
    uge_->setObjectName("Uge");
    uge_->setMaxLength(2);
    uge_->setFixedWidth(40);
    auto* lblForening = new QLabel("Forening");
    forening_ = new QLineEdit;
    forening_->setObjectName("Forening");
    forening_->setMaxLength(3);
    forening_->setFixedWidth(50);
    top->addWidget(lblUge);
    top->addWidget(uge_);
    top->addSpacing(16);
    top->addWidget(lblForening);
    top->addWidget(forening_);
    top->addStretch();

    model_ = new RowTableModel(app,
                               {{"Foren", "Forening"},
                                {"Slag", "Slag"},
                                {"Slagnavn", "Slagnavn"},
                                {"Farvekode", "Farvekode"},
                                {"Ringnummer", "Ringnummer"},
                                {"Fejltekst", "Tekst"}},
                               this);
    grid_ = new QTableView;
    grid_->setObjectName("dgrFejl");
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    for (auto [col, width] : {std::pair{0, 50}, {1, 45}, {2, 160}, {3, 70}, {4, 100}}) grid_->setColumnWidth(col, width);
    grid_->verticalHeader()->setDefaultSectionSize(20);

    status_ = new QWidget;
    status_->setObjectName("PicStatus");
    auto* st = new QHBoxLayout(status_);
    st->setContentsMargins(4, 2, 4, 2);
    st->addStretch();
    slet_ = new QPushButton("&Slet alle viste");
    slet_->setObjectName("cmdSlet");
    st->addWidget(slet_);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(grid_, 1);
    lay->addWidget(status_);

    for (QLineEdit* box : {uge_, forening_}) {
        DigitsOnly(box);
        SelectAllOnFocus(box);
    }
    ZeroPadOnLeave(forening_, 3);  // connected first, so the filter below sees "007"
    connect(uge_, &QLineEdit::editingFinished, this, &ImportFejl::Uge_LostFocus);
    connect(forening_, &QLineEdit::editingFinished, this, &ImportFejl::Forening_LostFocus);
    connect(slet_, &QPushButton::clicked, this, &ImportFejl::cmdSlet_Click);
    EnterAsTab(this);

    // Form_Load
    uge_->setText(QString::number(app.currentWeek));
    FilterFejlList();
    // An import writes its errors while the list is open.
    refreshOn({"ImportFejl"}, [this] { model_->reload(); });
}

void ImportFejl::Uge_LostFocus() {
    bool ok = false;
    int w = uge_->text().toInt(&ok);
    if (ok) app().currentWeek = w;
    FilterFejlList();
}

void ImportFejl::Forening_LostFocus() {
    if (!forening_->text().isEmpty()) forening_->setText(forening_->text().rightJustified(3, '0'));
    FilterFejlList();
}

ImportFejlFilter ImportFejl::filter() const { return {uge_->text().toStdString(), forening_->text().toStdString()}; }

void ImportFejl::FilterFejlList() {
    recordSource_ = QString::fromStdString(importFejlRecordSource(filter()));
    AppState& state = app();
    model_->setRows([&state, f = filter()](size_t offset, size_t limit) {
        return ListImportFejl(state.database(), f, offset, limit);
    });
}

void ImportFejl::cmdSlet_Click() {
    if (app().userInterface().ask("Ønskes alle viste importfejl slettet?", "Slet", Buttons::YesNo, Icon::Question, Answer::No) !=
        Answer::Yes)
        return;
    SetBusy(app(), true);
    try {
        DeleteImportFejl(app().database(), filter());
        FilterFejlList();
        SetBusy(app(), false);
    } catch (const std::exception& e) {
        SetBusy(app(), false);
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

static RegisterMenuCommand reg("mnuImportFejl", [](MainWindow& w) { w.showChild(new ImportFejl(w.app())); });

}  // namespace vemora::gui
