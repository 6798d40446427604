#include "gui/settings/prizetemplatemodel.h"

namespace vemora::gui {

// A new row starts with the fields' defaults: one prize of 0 kroner.
PrizeTemplateModel::PrizeTemplateModel(AppState& app, QObject* parent)
    : EditableRowsModel(app, {{"Antal", false, true, Value(1)}, {"Værdi", true, true, Value(0)}}, "præmier", parent) {}

void PrizeTemplateModel::load(int index) {
    std::vector<EditRow> rows;
    for (const auto& r : ReadTemplate(app().database(), index)) rows.push_back({r.rowId, {r.antal, r.værdi}});
    index_ = index;
    setStoredRows(std::move(rows));
}

int PrizeTemplateModel::rowCount(const QModelIndex& parent) const {
    return index_ < 0 ? 0 : EditableRowsModel::rowCount(parent);
}

EditRow PrizeTemplateModel::storeRow(const EditRow& row) {
    std::vector<TemplateRow> one{TemplateRow{row.id, row.cells[0], row.cells[1], true}};
    WriteTemplateRows(app().database(), index_, one);
    return {one[0].rowId, {one[0].antal, one[0].værdi}};
}

void PrizeTemplateModel::removeStoredRow(const EditRow& row) { DeleteTemplateRow(app().database(), index_, row.id); }

}  // namespace vemora::gui
