#pragma once
// The settings dialog "Indskud, præmier og markeringer": section data and bank, the stakes,
// the prize factors, pool defaults and prize templates, and the point system with the point
// table per race kind. Closing saves in three named steps; a failing step keeps the dialog
// open on its tab with the user's entries.
#include <QDialog>
#include <array>
#include <map>

#include "core/app/appstate.h"
#include "core/settings/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class PostnrTown;
class PrizeTemplateModel;

struct PointRowBoxes {
    QLineEdit* mestPoint;
    QLineEdit* prSlag;
    QLineEdit* step;
};

class Indskud : public QDialog {
    Q_OBJECT
public:
    explicit Indskud(AppState& app, QWidget* parent = nullptr);

    void btnPræmie_Click(int index);
    // The closing: the three saving steps; false (after the message) keeps the dialog open.
    bool Form_QueryUnload();

    PrizeTemplateModel* prizeModel() const { return prizeModel_; }

protected:
    void showEvent(QShowEvent* e) override;
    // Every way of closing (the button, Esc, the window's close box) passes through here.
    void done(int r) override;

private:
    QWidget* buildGenerelt();
    QWidget* buildIndskud();
    QWidget* buildPræmier();
    QWidget* buildMarkeringer();
    void Form_Activate();
    SektionsData shownSektionsdata() const;
    MarkeringData shownMarkering() const;
    IndskudData shownIndskud() const;

    AppState& app_;
    QTabWidget* tabs_;
    QLineEdit* sektionsnr_;
    QLineEdit* sektionsnavn_;
    std::array<QLineEdit*, 6> sektionsfelt_{};
    PostnrTown* bankPostnr_ = nullptr;
    std::array<QLineEdit*, 17> indskudBeløb_{};
    bool indskudChanged_ = false;
    std::array<QLineEdit*, 2> numberField_{};
    std::array<QCheckBox*, 4> pulje_{};
    std::array<QPushButton*, 7> btnPræmie_{};
    QTableView* præmier_;
    PrizeTemplateModel* prizeModel_;
    QRadioButton* btnPlaceringspoint_;
    QRadioButton* btn1000point_;
    std::map<std::string, PointRowBoxes> points_;
    QPushButton* cmdClose_;
    bool activated_ = false;
};

}  // namespace vemora::gui
