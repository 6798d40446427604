#pragma once
// One read-only grid model for every list form: the rows of a core query in declared
// columns, read in chunks as the grid scrolls, so a grid of twenty thousand birds opens at
// once and holds only what has been looked at.
#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/appstate.h"

namespace vemora::gui {

struct GridColumn {
    QString caption;
    std::string field;
    // How the value shows; empty: as text, Null as empty.
    std::function<QString(const Value&)> format = {};
    Qt::Alignment alignment = {};
};

// A page of rows of the form's query: the rows from offset, at most limit of them.
using RowPages = std::function<RowSet(size_t offset, size_t limit)>;

class RowTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RowTableModel(AppState& app, std::vector<GridColumn> columns, QObject* parent = nullptr);

    // Sets the query and reads its first chunk. Errors are shown in a "Fejl" box and leave
    // the grid empty.
    void setRows(RowPages pages, size_t chunk = 500);
    // Reads the query again from its first row.
    void reload();

    // A field of a loaded row (also one that is no column); Null when the row is not loaded.
    Value value(int row, std::string_view field) const;
    // The first row that matches, reading further chunks until one does; -1 when none.
    int findRow(const std::function<bool(int row)>& match);
    // Reads the rest of the rows.
    void fetchAll();
    bool complete() const { return complete_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // The next chunk; nullopt after an error (shown).
    std::optional<RowSet> readPage();
    void append(RowSet page);
    AppState& app_;
    std::vector<GridColumn> columns_;
    std::vector<int> fieldOf_;  // the row set column of each grid column, -1 when absent
    RowPages pages_;
    size_t chunk_ = 500;
    RowSet rows_;
    bool complete_ = true;
};

}  // namespace vemora::gui
