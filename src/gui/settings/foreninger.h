#pragma once
// The club register: the list form "Foreninger" and the dialog that edits one club.
#include <array>

#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QLineEdit;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class PostnrTown;

class Foreninger : public MdiForm {
    Q_OBJECT
public:
    explicit Foreninger(AppState& app, QWidget* parent = nullptr);

    void cmdNy_Click();
    void cmdRediger_Click();
    void cmdSlet_Click();
    // Reads the list afresh and makes the first club with that number current.
    void refresh(const QString& nr = {});
    QTableView* grid() const { return grid_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void openDialog(int64_t recNr);
    int64_t currentRecNr() const;  // 0 when no row is current
    QTableView* grid_;
    RowTableModel* model_;
};

class ForeningsDialog : public DialogForm {
    Q_OBJECT
public:
    ForeningsDialog(AppState& app, int64_t recNr, QWidget* parent = nullptr);

    // The closing: writes the club; false (after the message) keeps the dialog open.
    bool CanClose() override;

protected:
    void Form_Activate() override;
    void leaveFocusedField() override;
    void showEvent(QShowEvent* e) override;

private:
    int64_t recNr_;
    bool exists_ = false;
    QTabWidget* tabs_;
    QLineEdit* foreningsnr_;
    std::array<QLineEdit*, 11> felt_{};
    std::array<PostnrTown*, 2> postnr_{};
    bool focused_ = false;
};

}  // namespace vemora::gui
