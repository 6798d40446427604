#pragma once
// The rows of one prize template for the grid "Præmier": the rows of the template shown,
// plus an empty line at the end on which a new row is started. Edited rows are kept until
// they are written (when the row is left by Enter, on a template change and on closing).
#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "core/app/appstate.h"
#include "core/settings/settings.h"

namespace vemora::gui {

class PrizeTemplateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PrizeTemplateModel(AppState& app, QObject* parent = nullptr);

    // Reads template i afresh (the record source of row i of the templates).
    void load(int index);
    int templateIndex() const { return index_; }
    bool hasPendingEdits() const;
    // Writes the pending rows; throws DbError and keeps them pending when that fails.
    void writePending();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

public slots:
    // The grid's own row write (Enter past the last column): a failure is reported here.
    bool submit() override;

private:
    AppState& app_;
    int index_ = -1;
    std::vector<TemplateRow> rows_;
};

// Cell editors that take digits only ("Antal") or digits and a decimal comma ("Værdi").
class PrizeTemplateDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace vemora::gui
