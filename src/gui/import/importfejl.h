#pragma once
// The list of import errors ("Fejllister"): the ImportFejl rows filtered by week and club,
// and the command that deletes the rows shown.
#include <QAbstractTableModel>
#include <QWidget>

#include "core/app/appstate.h"
#include "core/import/importfejl.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace vemora::gui {

class ImportFejlModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(RowSet rows);
    int rowCount(const QModelIndex& = {}) const override;
    int columnCount(const QModelIndex& = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    RowSet rows_;
};

class ImportFejl : public QWidget {
    Q_OBJECT
public:
    explicit ImportFejl(AppState& app, QWidget* parent = nullptr);

    // The record source of the grid as it was last set by FilterFejlList.
    const QString& recordSource() const { return recordSource_; }
    ImportFejlModel* model() const { return model_; }

    QSize sizeHint() const override { return {780, 420}; }

    void FilterFejlList();
    void cmdSlet_Click();
    void Uge_LostFocus();
    void Forening_LostFocus();

private:
    ImportFejlFilter filter() const;
    AppState& app_;
    QLineEdit* uge_;
    QLineEdit* forening_;
    QTableView* grid_;
    QWidget* status_;
    QPushButton* slet_;
    ImportFejlModel* model_;
    QString recordSource_;
};

}  // namespace vemora::gui
