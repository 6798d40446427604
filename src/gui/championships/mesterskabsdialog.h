#pragma once
// The definition of one championship: number, title and point system, which birds take
// part, how much counts, its races and its member birds. Everything is written back when
// the dialog closes; races and member birds are written at once.
#include <array>

#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;

namespace vemora::gui {

class Mesterskabsdialog : public DialogForm {
    Q_OBJECT
public:
    Mesterskabsdialog(AppState& app, long long recNr, QWidget* parent = nullptr);

    // The controls under their form names (objectName too; "Område", "Køn", "Årgang" and
    // "Ekskl_Årgang" there).
    QTabWidget* SSTab1 = nullptr;
    // "Generelt"
    QLineEdit* Nr = nullptr;
    QLineEdit* Titel = nullptr;
    QComboBox* Mesterskabstype = nullptr;
    QCheckBox *Juniorer = nullptr, *Kun_begyndere = nullptr, *Kun_pensionister = nullptr, *Sportsduer = nullptr,
              *EksklSportsduer = nullptr, *Foreningsafkrydsede = nullptr;
    QLineEdit* Foreningsmarkering1 = nullptr;
    std::array<QLineEdit*, 3> Kode{};
    QLineEdit *Omraade = nullptr, *Koen = nullptr, *Aargang = nullptr, *EksklAargang = nullptr;
    // "Medtag antal..."
    QLineEdit *AntalDuer = nullptr, *AntalFlyvninger = nullptr, *Antal_L_flyvninger = nullptr, *Antal_M_flyvninger = nullptr,
              *Antal_S_flyvninger = nullptr, *Antal_P_flyvninger = nullptr, *ProcentAfsendte = nullptr;
    QLabel *lblDuerPrFlyvn = nullptr, *lblKapflPrSlag = nullptr, *lblLKapflPrSlag = nullptr, *lblMKapflPrSlag = nullptr,
           *lblSKapflPrSlag = nullptr, *lblPKapflPrSlag = nullptr;
    // "Kapflyvninger"
    QListWidget* Kapflyvninger = nullptr;
    QTableView* Mesterskabsflyvninger = nullptr;
    // "Deltagende duer"
    QLineEdit* txtRingnr = nullptr;
    QPushButton *cmdAddRingnr = nullptr, *cmdDelRingnr = nullptr, *cmdClearRingnr = nullptr;
    QListWidget* lstDeltagendeDuer = nullptr;
    QPushButton* cmdLuk = nullptr;

    void Kapflyvninger_DblClick();
    // Takes the current race out of the championship (the Delete key in the grid).
    void Mesterskabsflyvninger_Delete();
    void cmdAddRingnr_Click();
    void cmdDelRingnr_Click();
    void cmdClearRingnr_Click();
    void FillDueListe();
    // The closing: writes the definition; false (after the message) keeps the dialog open.
    bool CanClose() override;

protected:
    void Form_Activate() override;
    void leaveFocusedField() override;
    void showEvent(QShowEvent* e) override;

private:
    QWidget* buildGenerelt();
    QWidget* buildAntal();
    QWidget* buildKapflyvninger();
    QWidget* buildDuer();
    void wireTypeBox();
    void UpdateCaptions();
    // Reads both race lists again; the grid goes to `race` when it is listed.
    void refreshRaces(long long race = 0);

    long long recNr_;
    bool exists_ = false;
    bool focused_ = false;
    RowTableModel* racesModel_ = nullptr;
};

}  // namespace vemora::gui
