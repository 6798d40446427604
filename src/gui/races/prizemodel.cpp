#include "gui/races/prizemodel.h"

namespace vemora::gui {

namespace {
const char* const kColumns[] = {"Antal", "Værdi", "Kapflyvning"};
}

void PrizeModel::showTable(int table, long long race) {
    beginResetModel();
    table_ = table;
    race_ = race;
    rows_.clear();
    try {
        if (table_ >= 0) rows_ = vemora::races::LoadPrizes(app_.database(), table_, race_);
    } catch (const DbError& e) {
        app_.userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    endResetModel();
}

int PrizeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || table_ < 0) return 0;
    return static_cast<int>(rows_.size()) + 1;
}

int PrizeModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant PrizeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (index.row() >= static_cast<int>(rows_.size())) return QString();
    const auto& r = rows_[static_cast<size_t>(index.row())];
    const Value& v = index.column() == 0 ? r.antal : index.column() == 1 ? r.vaerdi : r.kapflyvning;
    return QString::fromStdString(v.toText());
}

QVariant PrizeModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Horizontal && section >= 0 && section < 3) return QString::fromUtf8(kColumns[section]);
    return {};
}

Qt::ItemFlags PrizeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < 2) f |= Qt::ItemIsEditable;
    return f;
}

bool PrizeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || table_ < 0 || index.column() > 1) return false;
    const size_t row = static_cast<size_t>(index.row());
    const bool isNew = row >= rows_.size();
    const QString text = value.toString().trimmed();
    // Passing through the empty line, or leaving a cell as it was, writes nothing.
    if (isNew && text.isEmpty()) return false;
    if (!isNew && text == data(index, Qt::EditRole).toString()) return true;
    try {
        Database& db = app_.database();
        vemora::races::PrizeRow pr = vemora::races::SavePrizeCell(db, table_, race_, isNew ? 0 : rows_[row].rowid,
                                                                  kColumns[index.column()], Value(text.toStdString()));
        if (isNew) {
            // The new line becomes a row of the race, and a fresh empty line follows it.
            const int after = static_cast<int>(rows_.size()) + 1;
            beginInsertRows({}, after, after);
            rows_.push_back(pr);
            endInsertRows();
            emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 2));
        } else {
            rows_[row] = pr;
            emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 2));
        }
        lastWriteOk_ = true;
        return true;
    } catch (const DbError&) {
        lastWriteOk_ = false;
        app_.userInterface().message("Fejl ved lagring af præmier.", "Fejl", Icon::Exclamation);
        return false;
    }
}

}  // namespace vemora::gui
