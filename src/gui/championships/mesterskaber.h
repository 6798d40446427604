#pragma once
// The championship list: every championship with its criteria, and the commands new, edit
// and delete that lead to the definition dialog.
#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QPushButton;
class QTableView;

namespace vemora::gui {

class Mesterskaber : public MdiForm {
    Q_OBJECT
public:
    explicit Mesterskaber(AppState& app, QWidget* parent = nullptr);

    QTableView* Mesterskabsliste = nullptr;
    QPushButton* cmdNy = nullptr;
    QPushButton* cmdRediger = nullptr;
    QPushButton* cmdSlet = nullptr;
    RowTableModel* model() const { return model_; }

    void cmdNy_Click();
    void cmdRediger_Click();
    void cmdSlet_Click();
    // Reads the list again and makes the championship current (the row at the same place
    // when it is gone or none is named).
    void refresh(long long recNr = 0);
    long long currentRecNr() const;  // 0 when no row is current

protected:
    void showEvent(QShowEvent* e) override;

private:
    void openDialog(long long recNr);
    RowTableModel* model_ = nullptr;
};

}  // namespace vemora::gui
