#pragma once
// The championship list: every championship with its criteria, and the commands new, edit
// and delete that lead to the definition dialog.
#include <QAbstractTableModel>
#include <QWidget>

#include "core/app/appstate.h"

class QPushButton;
class QTableView;

namespace vemora::gui {

// The rows of "Q Mesterskaber" in the list's columns.
class MesterskaberModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(RowSet rows);
    long long recNrAt(int row) const;  // 0 when there is no such row
    int rowOf(long long recNr) const;  // -1 when not listed

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RowSet rows_;
};

class Mesterskaber : public QWidget {
    Q_OBJECT
public:
    explicit Mesterskaber(AppState& app, QWidget* parent = nullptr);

    QTableView* Mesterskabsliste = nullptr;
    QPushButton* cmdNy = nullptr;
    QPushButton* cmdRediger = nullptr;
    QPushButton* cmdSlet = nullptr;
    MesterskaberModel* model() const { return model_; }

    void cmdNy_Click();
    void cmdRediger_Click();
    void cmdSlet_Click();
    // Reads the list again and makes the championship current (the row at the same place
    // when it is gone or none is named).
    void refresh(long long recNr = 0);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void openDialog(long long recNr);
    AppState& app_;
    MesterskaberModel* model_ = nullptr;
};

}  // namespace vemora::gui
