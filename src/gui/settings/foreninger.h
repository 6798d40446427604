#pragma once
// The club register: the list form "Foreninger" and the dialog that edits one club.
#include <QAbstractTableModel>
#include <QDialog>
#include <QWidget>
#include <array>

#include "core/app/appstate.h"
#include "core/db/database.h"

class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class PostnrTown;

// The rows of the list's record source, read only.
class ForeningerModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(RowSet rows);
    const RowSet& rows() const { return rows_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RowSet rows_;
};

class Foreninger : public QWidget {
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
    AppState& app_;
    QTableView* grid_;
    ForeningerModel* model_;
};

class ForeningsDialog : public QDialog {
    Q_OBJECT
public:
    ForeningsDialog(AppState& app, int64_t recNr, QWidget* parent = nullptr);

    // The closing: writes the club; false (after the message) keeps the dialog open.
    bool Form_QueryUnload();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    void Form_Activate();
    AppState& app_;
    int64_t recNr_;
    bool exists_ = false;
    QTabWidget* tabs_;
    QLineEdit* foreningsnr_;
    std::array<QLineEdit*, 11> felt_{};
    std::array<PostnrTown*, 2> postnr_{};
    bool activated_ = false;
};

}  // namespace vemora::gui
