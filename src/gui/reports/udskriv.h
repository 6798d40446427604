#pragma once
// The print dialog "Udskriv": a child window of the main window with one tab per printout.
// The tab and its boxes make the request that the report preparation turns into a report;
// the buttons show it in a viewer, print it, or save the result lists as a Word document.
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/reports/prepare.h"
#include "gui/app/form.h"
#include "gui/app/tablemodel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace vemora::report {
class ReportDocument;
}

namespace vemora::gui {

class Udskriv : public MdiForm {
    Q_OBJECT
public:
    explicit Udskriv(AppState& app, QWidget* parent = nullptr);

    QTabWidget* tabs = nullptr;

    // "Kapflyvningsresultat"
    QTableView* gridKapflyvninger = nullptr;
    QCheckBox* UdskrivAlleBeregnede = nullptr;
    QLineEdit* DuerTilUdskrift = nullptr;
    QLineEdit* KapresDiv = nullptr;
    QCheckBox* chkAlleDiv = nullptr;
    QCheckBox* chkModtListe = nullptr;
    QCheckBox* chkOmr = nullptr;
    QCheckBox* NoPoints = nullptr;
    QCheckBox* VisForenX = nullptr;
    // "Kapflyvningsregnskab" and "Bankoverførsler": two grids on one list with one current race.
    QTableView* gridKapflyvninger2 = nullptr;
    QTableView* gridKapflyvninger3 = nullptr;
    // "Præmiekontoudtog"
    QTableView* gridForeninger2 = nullptr;
    QCheckBox* chkAlleForeninger2 = nullptr;
    QCheckBox* chkUgetotaler2 = nullptr;
    QCheckBox* chkMedlemstotaler = nullptr;
    QLineEdit* txtKtUdtUge = nullptr;
    // "Årsregnskab"
    QTableView* gridForeninger = nullptr;
    QRadioButton* btnSektion = nullptr;
    QRadioButton* btnForening = nullptr;
    QCheckBox* chkAlleForeninger = nullptr;
    QCheckBox* chkUgetotaler = nullptr;
    // "Mesterskabsresultat"
    QTableView* gridMesterskaber = nullptr;
    QCheckBox* chkKapflPoint = nullptr;
    QCheckBox* chkDecimaler = nullptr;
    QCheckBox* chkSektionsvindere = nullptr;
    // "Labels"
    QGroupBox* fraLabelformat = nullptr;
    QRadioButton* btnLabel1 = nullptr;
    QRadioButton* btnLabel2 = nullptr;
    // "Statistik"
    QComboBox* StatForening = nullptr;
    QComboBox* StatSlag = nullptr;
    QCheckBox* StatAlleDuer = nullptr;
    QCheckBox* StatOrderByKFK = nullptr;
    QCheckBox* StatOrderByDue = nullptr;
    QCheckBox* StatKunSektionsflyvninger = nullptr;
    // "Diplomer"
    QRadioButton* optDiplomKapfl = nullptr;
    QRadioButton* optDiplomMestersk = nullptr;
    QComboBox* cboDiplUge = nullptr;
    QLabel* lblDiplUge = nullptr;
    QComboBox* cboDiplMestersk = nullptr;
    QLabel* lblDiplMestersk = nullptr;
    QLineEdit* txtDiplomAnt = nullptr;
    // The buttons and the Word file name.
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdSetup = nullptr;
    QPushButton* cmdSaveAsDoc = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtDocname = nullptr;
    QPushButton* cmdLuk = nullptr;

    RowTableModel* dataKapflyvninger = nullptr;
    RowTableModel* dataKapflyvninger2 = nullptr;
    RowTableModel* DataForeninger = nullptr;
    RowTableModel* DataForeninger2 = nullptr;
    RowTableModel* dataMesterskaber = nullptr;

    // The choice of the visible tab and its boxes, as the preparation reads it.
    reports::PrintRequest request() const;

    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdSetup_Click();
    void cmdBrowse_Click();
    void cmdSaveAsDoc_Click();

    // Asks for the Word file's name, starting from the box's text; empty when cancelled.
    // Tests answer it.
    std::function<QString(const QString& start)> askDocFileName;

    // The settings key of the Word file name.
    static const char* const kWordFileKey;

protected:
    void Form_Activate() override;

private:
    QWidget* raceResultsTab();
    QWidget* clubsTab(QTableView*& grid, RowTableModel* model);
    QWidget* prizeStatementTab();
    QWidget* yearAccountsTab();
    QWidget* championshipTab();
    QWidget* labelsTab();
    QWidget* statisticsTab();
    QWidget* diplomasTab();
    QWidget* buttonsPane();
    void connectInterplay();

    // The interplay of the boxes.
    void yearAccountsKindChanged();
    void sectionWinnersChanged();
    void championshipMoved();
    void diplomaKindChanged();
    void statisticsClubChanged();

    // Lists, combos and starting rows.
    void fillChampionshipCombo();
    void fillDiplomaWeeks();
    void fillStatisticsClubs();
    void positionRaceLists();
    void refreshRaces();
    void refreshClubs();
    void refreshChampionships();

    // The current row's field of a grid, Null when there is none.
    static Value current(const QTableView* grid, const RowTableModel* model, std::string_view field);
    // Prepares the printout of the visible tab and reads its data; nullptr when there is
    // nothing to show (after the message). `prepared` gets what the preparation chose.
    std::shared_ptr<report::ReportDocument> prepareDocument(reports::PreparedReport& prepared);
    // Runs an action while the lists hold still: what the preparation writes reaches them
    // once, afterwards.
    void holdingLists(const std::function<void()>& action);
    bool holding_ = false;
    bool racesStale_ = false, clubsStale_ = false, championshipsStale_ = false;
};

}  // namespace vemora::gui
