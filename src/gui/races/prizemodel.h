#pragma once
// The editable grid of one prize scale of a race: "Antal", "Værdi" and the race number, one
// line per prize row, highest value first, and an empty line at the end for a new row. Every
// cell is written to the database as it is committed.
#include <QAbstractTableModel>
#include <vector>

#include "core/app/appstate.h"
#include "core/races/racefields.h"

namespace vemora::gui {

class PrizeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PrizeModel(AppState& app, QObject* parent = nullptr) : QAbstractTableModel(parent), app_(app) {}

    // Shows the rows of prize table `table` (by option-button index) of the race; -1 shows
    // nothing (the grid is emptied).
    void showTable(int table, long long race);
    int table() const { return table_; }
    long long race() const { return race_; }
    // False after a cell could not be stored (the message has been shown).
    bool lastWriteOk() const { return lastWriteOk_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    AppState& app_;
    int table_ = -1;
    long long race_ = 0;
    std::vector<vemora::races::PrizeRow> rows_;
    bool lastWriteOk_ = true;
};

}  // namespace vemora::gui
