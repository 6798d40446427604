#pragma once
// The list of import errors ("Fejllister"): the ImportFejl rows filtered by week and club,
// and the command that deletes the rows shown.
#include "core/import/importfejl.h"
#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace vemora::gui {

class ImportFejl : public MdiForm {
    Q_OBJECT
public:
    explicit ImportFejl(AppState& app, QWidget* parent = nullptr);

    // The record source of the grid as it was last set by FilterFejlList.
    const QString& recordSource() const { return recordSource_; }
    RowTableModel* model() const { return model_; }

    QSize sizeHint() const override { return {780, 420}; }

    void FilterFejlList();
    void cmdSlet_Click();
    void Uge_LostFocus();
    void Forening_LostFocus();

private:
    ImportFejlFilter filter() const;
    QLineEdit* uge_;
    QLineEdit* forening_;
    QTableView* grid_;
    QWidget* status_;
    QPushButton* slet_;
    RowTableModel* model_;
    QString recordSource_;
};

}  // namespace vemora::gui
