#pragma once
// The settings dialog "Indskud, præmier og markeringer": section data and bank, the stakes,
// the prize factors, pool defaults and prize templates, and the point system with the point
// table per race kind. Closing saves in three named steps; a failing step keeps the dialog
// open on its tab with the user's entries.
#include <array>
#include <map>

#include "core/settings/settings.h"
#include "gui/app/form.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class PostnrTown;
class PrizeTemplateModel;

class Indskud : public DialogForm {
    Q_OBJECT
public:
    explicit Indskud(AppState& app, QWidget* parent = nullptr);

    void btnPræmie_Click(int index);
    // The closing: the three saving steps; false (after the message) keeps the dialog open.
    bool CanClose() override;

    PrizeTemplateModel* prizeModel() const { return prizeModel_; }

protected:
    void Form_Activate() override;
    void leaveFocusedField() override;
    void showEvent(QShowEvent* e) override;

private:
    QWidget* buildGenerelt();
    QWidget* buildIndskud();
    QWidget* buildPræmier();
    QWidget* buildMarkeringer();
    PointSystem shownPointSystem() const;

    QTabWidget* tabs_;
    QLineEdit* sektionsnr_;
    QLineEdit* sektionsnavn_;
    std::array<QLineEdit*, 6> sektionsfelt_{};
    PostnrTown* bankPostnr_ = nullptr;
    bool indskudChanged_ = false;
    std::array<QPushButton*, 7> btnPræmie_{};
    QTableView* præmier_;
    PrizeTemplateModel* prizeModel_;
    QRadioButton* btnPlaceringspoint_;
    QRadioButton* btn1000point_;
    QPushButton* cmdClose_;
    bool focused_ = false;
};

}  // namespace vemora::gui
