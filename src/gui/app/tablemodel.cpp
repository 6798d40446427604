#include "gui/app/tablemodel.h"

namespace vemora::gui {

RowTableModel::RowTableModel(AppState& app, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), app_(app), columns_(std::move(columns)) {}

void RowTableModel::setRows(RowPages pages, size_t chunk) {
    pages_ = std::move(pages);
    chunk_ = std::max<size_t>(1, chunk);
    reload();
}

void RowTableModel::reload() {
    beginResetModel();
    rows_ = RowSet{};
    fieldOf_.clear();
    complete_ = !pages_;
    if (pages_)
        if (auto page = readPage()) append(std::move(*page));
    endResetModel();
}

std::optional<RowSet> RowTableModel::readPage() {
    try {
        RowSet page = pages_(rows_.size(), chunk_);
        complete_ = page.size() < chunk_;
        return page;
    } catch (const std::exception& e) {
        complete_ = true;
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return std::nullopt;
    }
}

void RowTableModel::append(RowSet page) {
    if (rows_.columns.empty()) {
        rows_.columns = std::move(page.columns);
        for (const auto& c : columns_) fieldOf_.push_back(rows_.columnIndex(c.field));
    }
    for (auto& r : page.rows) rows_.rows.push_back(std::move(r));
}

Value RowTableModel::value(int row, std::string_view field) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
    int c = rows_.columnIndex(field);
    return c < 0 ? Value() : rows_.rows[static_cast<size_t>(row)][static_cast<size_t>(c)];
}

int RowTableModel::findRow(const std::function<bool(int)>& match) {
    for (int row = 0;; ++row) {
        while (row >= rowCount() && !complete_) fetchMore({});
        if (row >= rowCount()) return -1;
        if (match(row)) return row;
    }
}

void RowTableModel::fetchAll() {
    while (!complete_) fetchMore({});
}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= static_cast<int>(columns_.size())) return {};
    const GridColumn& col = columns_[static_cast<size_t>(index.column())];
    if (role == Qt::TextAlignmentRole && col.alignment) return static_cast<int>(col.alignment);
    if (role != Qt::DisplayRole) return {};
    int field = fieldOf_.empty() ? -1 : fieldOf_[static_cast<size_t>(index.column())];
    if (field < 0) return {};
    const Value& v = rows_.rows[static_cast<size_t>(index.row())][static_cast<size_t>(field)];
    if (col.format) return col.format(v);
    return v.isNull() ? QString() : QString::fromStdString(v.toText());
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_[static_cast<size_t>(section)].caption;
}

bool RowTableModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && !complete_; }

void RowTableModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || complete_) return;
    auto page = readPage();
    if (!page || page->empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(page->size()) - 1);
    append(std::move(*page));
    endInsertRows();
}

}  // namespace vemora::gui
