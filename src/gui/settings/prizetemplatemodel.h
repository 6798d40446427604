#pragma once
// The rows of one prize template for the grid "Præmier": the rows of the template shown,
// plus an empty line at the end on which a new row is started.
#include "core/settings/settings.h"
#include "gui/app/editgrid.h"

namespace vemora::gui {

class PrizeTemplateModel : public EditableRowsModel {
    Q_OBJECT
public:
    PrizeTemplateModel(AppState& app, QObject* parent = nullptr);

    // Reads template i afresh (the record source of row i of the templates).
    void load(int index);
    int templateIndex() const { return index_; }

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    EditRow storeRow(const EditRow& row) override;
    void removeStoredRow(const EditRow& row) override;

private:
    int index_ = -1;
};

}  // namespace vemora::gui
