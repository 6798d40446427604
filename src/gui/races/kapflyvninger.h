#pragma once
// The race list: every race of the season with its release data and bird totals, and the
// commands new, edit and delete.
#include <optional>
#include <vector>

#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QPushButton;
class QTableView;

namespace vemora::gui {

class Kapflyvninger : public MdiForm {
    Q_OBJECT
public:
    explicit Kapflyvninger(AppState& app, QWidget* parent = nullptr);

    QTableView* Kapflyvningsliste;
    QWidget* PicStatus;
    QPushButton* cmdNy;
    QPushButton* cmdRediger;
    QPushButton* cmdSlet;
    RowTableModel* model() const { return model_; }
    // The race of a row and the row of a race (-1 when it is not listed).
    long long raceAt(int row) const;
    int rowOf(long long nr);
    // The race of the current row, 0 when there is none.
    long long currentRace() const;

    void cmdNy_Click();
    void cmdRediger_Click();
    void cmdSlet_Click();
    // Reads the list again and makes the race current (if it is still listed).
    void refreshAndFind(long long nr);
    // Reads the list again and starts on the first race of the working week or later.
    void refreshAtWorkingWeek();

private:
    void setCurrentRow(int row);
    void bringMainWindowToFront();
    RowTableModel* model_;
};

}  // namespace vemora::gui
