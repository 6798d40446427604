#pragma once
// The editable grids (the prize scales of a race, the section's prize templates): rows of
// number cells with an empty line at the end on which a new row is begun. As with a data
// grid, a row's changes are kept while the user is on it and written when the row is left
// (Enter after its last column, another row, another scale, closing); a row only exists
// once something was typed on the empty line. Cells take digits (and one decimal comma where
// the field has decimals); an emptied cell is refused with "Kolonnen skal udfyldes.". The
// Delete key and the grid's context menu delete the current row.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <string>
#include <vector>

#include "core/app/appstate.h"

class QAbstractItemView;
class QTableView;

namespace vemora::gui {

struct EditColumn {
    QString caption;
    bool decimals = false;   // a number with decimals: the cell takes one decimal comma
    bool editable = true;
    Value initial = {};      // the value a new row starts with (the field's default)
};

struct EditRow {
    long long id = 0;  // 0: not stored yet
    std::vector<Value> cells;
};

class EditableRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `what` names the rows in the failure messages ("præmier": "Fejl ved lagring af præmier.").
    EditableRowsModel(AppState& app, std::vector<EditColumn> columns, std::string what, QObject* parent = nullptr);

    const std::vector<EditColumn>& columns() const { return columns_; }
    bool hasPendingRow() const { return pending_ >= 0; }
    // Writes the row being edited; throws DbError and keeps it pending when that fails.
    void writePending();
    // True when the last cell typed was refused (its message has been shown).
    bool lastEditRefused() const { return refused_; }
    // Deletes the row (a row not yet stored is simply dropped); false after the message.
    bool deleteRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

public slots:
    // The grid writes a row this way when the user leaves it; a failure is shown here.
    bool submit() override;

protected:
    // Shows these rows (the stored rows, in their order); a pending row is dropped.
    void setStoredRows(std::vector<EditRow> rows);
    // Writes the row (adds it when its id is 0) and returns it as stored. Throws DbError.
    virtual EditRow storeRow(const EditRow& row) = 0;
    // Deletes a stored row. Throws DbError.
    virtual void removeStoredRow(const EditRow& row) = 0;
    // The row typing on the empty line begins: the columns' initial values.
    virtual EditRow newRow() const;
    AppState& app() const { return app_; }

private:
    AppState& app_;
    std::vector<EditColumn> columns_;
    std::string what_;
    std::vector<EditRow> rows_;
    int pending_ = -1;  // the row with unwritten changes, -1 for none
    bool refused_ = false;
};

// Cell editors with the number rule of their column.
class NumberCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Commits the grid's open cell editor, as leaving the cell would; false when the model
// refused what was typed (its message has been shown).
bool commitCellEditor(QAbstractItemView* grid);

// Puts the model in the grid with the editing behaviour above: a key typed on a cell starts
// editing it (moving to a cell does not), number cell editors, and deleting rows.
void setupEditGrid(QTableView* grid, EditableRowsModel* model);

// The shown text of a number: a decimal comma, no trailing zeros.
QString numberText(const Value& v);

}  // namespace vemora::gui
