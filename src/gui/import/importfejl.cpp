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

namespace {
// Grid caption and field, in the grid's order.
const std::pair<const char*, const char*> kColumns[] = {{"Foren", "Forening"},     {"Slag", "Slag"},
                                                        {"Slagnavn", "Slagnavn"},  {"Farvekode", "Farvekode"},
                                                        {"Ringnummer", "Ringnummer"}, {"Fejltekst", "Tekst"}};
}  // namespace

void ImportFejlModel::setRows(RowSet rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ImportFejlModel::rowCount(const QModelIndex& p) const { return p.isValid() ? 0 : static_cast<int>(rows_.size()); }
int ImportFejlModel::columnCount(const QModelIndex& p) const { return p.isValid() ? 0 : 6; }

QVariant ImportFejlModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const Value& v = rows_.get(static_cast<size_t>(index.row()), kColumns[index.column()].second);
    return v.isNull() ? QVariant() : QVariant(QString::fromStdString(v.toText()));
}

QVariant ImportFejlModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Horizontal) return QString::fromUtf8(kColumns[section].first);
    return section + 1;
}

ImportFejl::ImportFejl(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName("ImportFejl");
    setWindowTitle("Fejllister");

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

    model_ = new ImportFejlModel(this);
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
    uge_->setText(QString::number(app_.currentWeek));
    FilterFejlList();
}

void ImportFejl::Uge_LostFocus() {
    bool ok = false;
    int w = uge_->text().toInt(&ok);
    if (ok) app_.currentWeek = w;
    FilterFejlList();
}

void ImportFejl::Forening_LostFocus() {
    if (!forening_->text().isEmpty()) forening_->setText(forening_->text().rightJustified(3, '0'));
    FilterFejlList();
}

ImportFejlFilter ImportFejl::filter() const { return {uge_->text().toStdString(), forening_->text().toStdString()}; }

void ImportFejl::FilterFejlList() {
    recordSource_ = QString::fromStdString(importFejlRecordSource(filter()));
    try {
        model_->setRows(ListImportFejl(app_.database(), filter()));
    } catch (const std::exception& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

void ImportFejl::cmdSlet_Click() {
    if (app_.userInterface().ask("Ønskes alle viste importfejl slettet?", "Slet", Buttons::YesNo, Icon::Question, Answer::No) !=
        Answer::Yes)
        return;
    SetBusy(app_, true);
    try {
        DeleteImportFejl(app_.database(), filter());
        FilterFejlList();
        SetBusy(app_, false);
    } catch (const std::exception& e) {
        SetBusy(app_, false);
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

static RegisterMenuCommand reg("mnuImportFejl", [](MainWindow& w) { w.showChild(new ImportFejl(w.app())); });

}  // namespace vemora::gui
