#include "gui/settings/prizetemplatemodel.h"

#include <QLineEdit>

#include "gui/app/behaviours.h"

namespace vemora::gui {

namespace {
QString shownNumber(const Value& v) { return QString::fromStdString(FactorShown(v)); }
}  // namespace

PrizeTemplateModel::PrizeTemplateModel(AppState& app, QObject* parent) : QAbstractTableModel(parent), app_(app) {}

void PrizeTemplateModel::load(int index) {
    beginResetModel();
    index_ = index;
    rows_ = ReadTemplate(app_.database(), index);
    endResetModel();
}

bool PrizeTemplateModel::hasPendingEdits() const {
    for (const auto& r : rows_)
        if (r.dirty) return true;
    return false;
}

void PrizeTemplateModel::writePending() {
    if (index_ < 0 || !hasPendingEdits()) return;
    WriteTemplateRows(app_.database(), index_, rows_);
}

bool PrizeTemplateModel::submit() {
    try {
        writePending();
        return true;
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved lagring af præmier.", "Fejl", Icon::Exclamation);
        return false;
    }
}

int PrizeTemplateModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || index_ < 0 ? 0 : static_cast<int>(rows_.size()) + 1;
}

int PrizeTemplateModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant PrizeTemplateModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (index.row() >= static_cast<int>(rows_.size())) return QString();
    const TemplateRow& r = rows_[static_cast<size_t>(index.row())];
    return shownNumber(index.column() == 0 ? r.antal : r.værdi);
}

QVariant PrizeTemplateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section < static_cast<int>(rows_.size()) ? QVariant(section + 1) : QVariant("*");
    return section == 0 ? QStringLiteral("Antal") : QStringLiteral("Værdi");
}

Qt::ItemFlags PrizeTemplateModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool PrizeTemplateModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    std::string text = value.toString().trimmed().toStdString();
    if (text.empty()) {
        app_.userInterface().message("Kolonnen skal udfyldes.", "Fejl", Icon::Exclamation);
        return false;
    }
    Value v;
    try {
        v = Value(ParseFactor(text));
        if (index.column() == 0) v = Value(static_cast<long long>(v.toInt()));
    } catch (const DbError&) {
        v = Value(text);  // the engine refuses it when the row is written
    }
    size_t row = static_cast<size_t>(index.row());
    if (row == rows_.size()) {
        // Typing on the empty line starts a new row with the table's defaults.
        beginInsertRows({}, index.row() + 1, index.row() + 1);
        rows_.push_back(TemplateRow{});
        endInsertRows();
    }
    TemplateRow& r = rows_[row];
    (index.column() == 0 ? r.antal : r.værdi) = v;
    r.dirty = true;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 1));
    emit headerDataChanged(Qt::Vertical, index.row(), index.row() + 1);
    return true;
}

QWidget* PrizeTemplateDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
    auto* box = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (box) DigitsOnly(box, index.column() == 1 ? QStringLiteral(",") : QString());
    return box;
}

}  // namespace vemora::gui
