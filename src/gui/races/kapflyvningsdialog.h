#pragma once
// The race dialog: release station, date and time, fees, games and pool switches, comments
// and the seven prize scales of one race. Choosing another week or colour code saves the
// race and moves to the race of that week and colour code.
#include <array>

#include "gui/app/form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class PrizeModel;

class Kapflyvningsdialog : public DialogForm {
    Q_OBJECT
public:
    explicit Kapflyvningsdialog(AppState& app, QWidget* parent = nullptr);

    // Points the dialog at a race, as its opener does before showing it.
    void setRace(long long nr) { nr_ = nr; }
    long long race() const { return nr_; }
    PrizeModel* prizeModel() const { return prizes_; }
    // The option-button index of the prize scale in the grid, -1 for none.
    int shownScale() const { return shownScale_ - 1; }

    QTabWidget* SSTab1;
    QComboBox* Uge;
    QComboBox* Farvekode;
    QLineEdit* regi;
    QComboBox* Station;
    QLineEdit* Stationsnavn;
    QComboBox* LMU;
    QComboBox* Kode;
    QLineEdit* Slipdato;
    QLineEdit* Sliptid;
    QLabel* lblGebyr;
    QLineEdit* Gebyr;
    QLabel* lblGebyrSlag;
    QLineEdit* GebyrSlag;
    std::array<QCheckBox*, 7> Spil{};
    QCheckBox* Pulje_Puljepræmier;
    QCheckBox* Elite_Puljepræmier;
    QCheckBox* Z_Puljepræmier;
    QCheckBox* R_Puljepræmier;
    QLineEdit* Kommentarer;
    std::array<QRadioButton*, 7> btnPræmie{};
    QTableView* Præmier;
    QPushButton* cmdClose;

    // Form procedures.
    void RefreshStationer();
    bool CanClose() override;
    void UpdateFarvekode();
    void LoadControls();
    bool SaveControls();

    // Event handlers, public so that the tests can drive them as the events do.
    void Form_Activate() override;
    void Uge_LostFocus();
    void Farvekode_LostFocus();
    void Station_LostFocus();
    void Stationsnavn_LostFocus();
    void Slipdato_LostFocus();
    void Sliptid_LostFocus();
    void Spil_Click(int index);
    void btnPræmie_Click(int index);

protected:
    void afterClose() override;

private:
    void buildControls();
    void bindFields();
    void connectHandlers();
    void showRace(long long nr);
    void enableByCategory(bool navigating);
    bool isNational() const;
    bool commitGridEdit();
    void refuse(QWidget* box, const std::string& text);

    long long nr_ = 0;
    int shownScale_ = 0;  // index + 1 of the prize table in the grid, 0 for none
    PrizeModel* prizes_;
    std::array<QCheckBox*, 4> pool_{};    // the pool switches in the catalogue's order of the games
    std::array<QCheckBox*, 7> poolOf_{};  // the pool switch each game box governs, if any
};

}  // namespace vemora::gui
