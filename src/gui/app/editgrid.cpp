#include "gui/app/editgrid.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include "gui/app/behaviours.h"

namespace vemora::gui {

QString numberText(const Value& v) {
    QString s = QString::fromStdString(v.toText());
    if (v.isNumber()) s.replace('.', ',');
    return s;
}

EditableRowsModel::EditableRowsModel(AppState& app, std::vector<EditColumn> columns, std::string what, QObject* parent)
    : QAbstractTableModel(parent), app_(app), columns_(std::move(columns)), what_(std::move(what)) {}

void EditableRowsModel::setStoredRows(std::vector<EditRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    pending_ = -1;
    endResetModel();
}

void EditableRowsModel::writePending() {
    if (pending_ < 0) return;
    const int r = pending_;
    rows_[static_cast<size_t>(r)] = storeRow(rows_[static_cast<size_t>(r)]);
    pending_ = -1;
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

EditRow EditableRowsModel::newRow() const {
    EditRow r;
    for (const auto& c : columns_) r.cells.push_back(c.initial);
    return r;
}

bool EditableRowsModel::submit() {
    try {
        writePending();
        return true;
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved lagring af " + what_ + ".", "Fejl", Icon::Exclamation);
        return false;
    }
}

bool EditableRowsModel::deleteRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return false;  // the empty line
    const EditRow& r = rows_[static_cast<size_t>(row)];
    if (r.id != 0) {
        try {
            removeStoredRow(r);
        } catch (const DbError&) {
            app_.userInterface().message("Fejl ved sletning af " + what_ + ".", "Fejl", Icon::Exclamation);
            return false;
        }
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    if (pending_ == row) pending_ = -1;
    else if (pending_ > row) --pending_;
    endRemoveRows();
    emit headerDataChanged(Qt::Vertical, row, static_cast<int>(rows_.size()));
    return true;
}

bool EditableRowsModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid()) return false;
    bool all = true;
    for (int i = 0; i < count; ++i) all = deleteRow(row) && all;
    return all;
}

int EditableRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int EditableRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant EditableRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (index.row() >= static_cast<int>(rows_.size())) return QString();
    return numberText(rows_[static_cast<size_t>(index.row())].cells[static_cast<size_t>(index.column())]);
}

QVariant EditableRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section < static_cast<int>(rows_.size()) ? QVariant(section + 1) : QVariant("*");
    return section < static_cast<int>(columns_.size()) ? columns_[static_cast<size_t>(section)].caption : QString();
}

Qt::ItemFlags EditableRowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && columns_[static_cast<size_t>(index.column())].editable) f |= Qt::ItemIsEditable;
    return f;
}

bool EditableRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    refused_ = false;
    if (!index.isValid() || role != Qt::EditRole || !columns_[static_cast<size_t>(index.column())].editable) return false;
    const int row = index.row();
    const bool newLine = row == static_cast<int>(rows_.size());
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        // Passing over a cell of the empty line, or leaving an empty cell empty, is no entry.
        if (newLine || data(index, Qt::EditRole).toString().isEmpty()) return false;
        refused_ = true;
        app_.userInterface().message("Kolonnen skal udfyldes.", "Fejl", Icon::Exclamation);
        return false;
    }
    std::optional<Value> v = Value::fromNumberText(text.toStdString());
    if (!v) {
        refused_ = true;
        app_.userInterface().message("Fejl ved lagring af " + what_ + ".", "Fejl", Icon::Exclamation);
        return false;
    }
    if (!newLine && data(index, Qt::EditRole).toString() == numberText(*v)) return true;  // unchanged
    // One row is edited at a time; the grid writes a row when it is left, so this only
    // matters when a cell of another row is set directly.
    if (pending_ >= 0 && pending_ != row && !submit()) {
        refused_ = true;
        return false;
    }
    if (newLine) {
        // Typing on the empty line begins a row with the fields' initial values; a new empty
        // line follows it.
        beginInsertRows({}, row + 1, row + 1);
        rows_.push_back(newRow());
        endInsertRows();
    }
    rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(index.column())] = *v;
    pending_ = row;
    emit dataChanged(this->index(row, 0), this->index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row + 1);
    return true;
}

QWidget* NumberCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = qobject_cast<QLineEdit*>(editor);
    auto* model = qobject_cast<const EditableRowsModel*>(index.model());
    if (box && model) {
        bool decimals = model->columns()[static_cast<size_t>(index.column())].decimals;
        box->setValidator(numberValidator(decimals, box));
    }
    return editor;
}

bool commitCellEditor(QAbstractItemView* grid) {
    // An open editor is a child of the grid's viewport and holds the focus.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || editor->parentWidget() != grid->viewport()) return true;
    // The view's own slots write the cell and close its editor, as leaving the cell would.
    QMetaObject::invokeMethod(grid, "commitData", Q_ARG(QWidget*, editor));
    QMetaObject::invokeMethod(grid, "closeEditor", Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    auto* rows = qobject_cast<EditableRowsModel*>(grid->model());
    return !rows || !rows->lastEditRefused();
}

void setupEditGrid(QTableView* grid, EditableRowsModel* model) {
    grid->setModel(model);
    grid->setItemDelegate(new NumberCellDelegate(grid));
    // Moving to a cell does not open it (the next keys would fall into an empty editor);
    // typing does, and so do F2 and a double click.
    grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* del = new QAction("&Slet række", grid);
    del->setObjectName("actSletRække");
    del->setShortcut(Qt::Key_Delete);
    // Only while the grid itself has the focus: in an open cell Delete deletes characters.
    del->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(del, &QAction::triggered, grid, [grid, model] {
        QModelIndex cur = grid->currentIndex();
        if (!cur.isValid() || !model->deleteRow(cur.row())) return;
        grid->setCurrentIndex(model->index(std::min(cur.row(), model->rowCount() - 1), cur.column()));
    });
    grid->addAction(del);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace vemora::gui
