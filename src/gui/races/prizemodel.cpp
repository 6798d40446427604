#include "gui/races/prizemodel.h"

#include "core/races/racefields.h"

namespace vemora::gui {

namespace core = vemora::races;

namespace {
EditRow editRow(const core::PrizeRow& r) { return {r.rowid, {r.antal, r.vaerdi, r.kapflyvning}}; }
}  // namespace

// A new row starts with the fields' defaults (one prize of 0 kroner) and belongs to the race.
PrizeModel::PrizeModel(AppState& app, QObject* parent)
    : EditableRowsModel(app, {{"Antal", false, true, Value(1)}, {"Værdi", true, true, Value(0)}, {"Kapflyvning", false, false, {}}},
                        "præmier", parent) {}

void PrizeModel::showTable(int table, long long race) {
    table_ = table;
    race_ = race;
    std::vector<EditRow> rows;
    try {
        if (table_ >= 0)
            for (const auto& r : core::LoadPrizes(app().database(), table_, race_)) rows.push_back(editRow(r));
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    setStoredRows(std::move(rows));
}

int PrizeModel::rowCount(const QModelIndex& parent) const { return table_ < 0 ? 0 : EditableRowsModel::rowCount(parent); }

EditRow PrizeModel::storeRow(const EditRow& row) {
    return editRow(core::SavePrizeRow(app().database(), table_, race_, row.id, row.cells[0], row.cells[1]));
}

EditRow PrizeModel::newRow() const {
    EditRow r = EditableRowsModel::newRow();
    r.cells[2] = Value(race_);
    return r;
}

void PrizeModel::removeStoredRow(const EditRow& row) { core::DeletePrizeRow(app().database(), table_, row.id); }

}  // namespace vemora::gui
