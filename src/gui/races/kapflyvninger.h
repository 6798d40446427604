#pragma once
// The race list: every race of the season with its release data and bird totals, and the
// commands new, edit and delete.
#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "core/app/appstate.h"

class QPushButton;
class QTableView;

namespace vemora::gui {

// The rows of "Q Kapflyvninger" in the list's columns and formats.
class KapflyvningslisteModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit KapflyvningslisteModel(AppState& app, QObject* parent = nullptr) : QAbstractTableModel(parent), app_(app) {}
    void refresh();
    long long raceAt(int row) const;
    int rowOf(long long nr) const;  // -1 when not listed
    std::vector<std::optional<int>> weeks() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    AppState& app_;
    RowSet rows_;
};

class Kapflyvninger : public QWidget {
    Q_OBJECT
public:
    explicit Kapflyvninger(AppState& app, QWidget* parent = nullptr);

    QTableView* Kapflyvningsliste;
    QWidget* PicStatus;
    QPushButton* cmdNy;
    QPushButton* cmdRediger;
    QPushButton* cmdSlet;
    KapflyvningslisteModel* model() const { return model_; }
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
    AppState& app_;
    KapflyvningslisteModel* model_;
};

}  // namespace vemora::gui
