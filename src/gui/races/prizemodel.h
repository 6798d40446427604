#pragma once
// The editable grid of one prize scale of a race: "Antal", "Værdi" and the race number, one
// line per prize row, highest value first, and an empty line at the end for a new row.
#include "gui/app/editgrid.h"

namespace vemora::gui {

class PrizeModel : public EditableRowsModel {
    Q_OBJECT
public:
    explicit PrizeModel(AppState& app, QObject* parent = nullptr);

    // Shows the rows of prize table `table` (by option-button index) of the race; -1 shows
    // nothing (the grid is emptied).
    void showTable(int table, long long race);
    int table() const { return table_; }
    long long race() const { return race_; }

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    EditRow storeRow(const EditRow& row) override;
    void removeStoredRow(const EditRow& row) override;
    EditRow newRow() const override;

private:
    int table_ = -1;
    long long race_ = 0;
};

}  // namespace vemora::gui
