// The print dialog "Udskriv" on the offscreen platform: where it opens and where its lists
// start, the interplay of its boxes, and its buttons (preview, print, Word document).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <filesystem>
#include <fstream>

#include "gui/reports/pageview.h"
#include "gui/reports/printing.h"
#include "report/document.h"
#include "gui/gui_keys.h"
#include "print_gui_support.h"
#include "support/docxread.h"
#include "support/pagetexts.h"
#include "support/process.h"

using namespace vemora;
using gui::Udskriv;
using reports::PrintTab;

namespace {

namespace fs = std::filesystem;

long long currentNr(QTableView* grid) {
    auto* m = static_cast<gui::RowTableModel*>(grid->model());
    return grid->currentIndex().isValid() ? m->value(grid->currentIndex().row(), "Nr").toInt() : 0;
}

// A click on the row, as the user chooses a race; the grid must be on the visible tab.
void selectRow(QTableView* grid, int row) {
    ASSERT_TRUE(grid->isVisible()) << grid->objectName().toStdString();
    const QModelIndex i = grid->model()->index(row, 0);
    grid->scrollTo(i);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(i).center());
    ASSERT_EQ(grid->currentIndex().row(), row);
}

// A click on the tab's caption.
void showTab(Udskriv* d, PrintTab tab) {
    QTabBar* bar = d->tabs->tabBar();
    const int i = static_cast<int>(tab);
    ASSERT_TRUE(bar->rect().contains(bar->tabRect(i))) << "tab " << i << " is scrolled out of sight";
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    ASSERT_EQ(d->tabs->currentIndex(), i);
}

TEST(PrintDialog, OpensCentredWithBothRaceListsOnTheWorkingWeek) {
    test::PrintSeason s;
    QSettings().setValue(Udskriv::kWordFileKey, "/tmp/uge.docx");
    s.t.app.currentWeek = 24;  // races by week and code: 23/95, 24/91, 24/96, 25/95, 25/97
    auto w = test::mainWindow(s.t.app);
    Udskriv* dlg = test::openPrintDialog(*w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Udskriv");
    auto* sw = qobject_cast<QMdiSubWindow*>(dlg->parentWidget());
    ASSERT_NE(sw, nullptr);
    const QSize area = w->mdiArea()->viewport()->size();
    ASSERT_LE(sw->width(), area.width());
    EXPECT_EQ(sw->pos(), QPoint((area.width() - sw->width()) / 2, (area.height() - sw->height()) / 2));
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger), 3);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger2), 3);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger3), 3);  // the bank list shares the accounts list's race
    EXPECT_EQ(dlg->txtDocname->text(), "/tmp/uge.docx");
    EXPECT_EQ(test::entries(dlg->tabs), (QStringList{"Kapflyvningsresultat", "Kapflyvningsregnskab", "Præmiekontoudtog", "Årsregnskab",
                                 "Mesterskabsresultat", "Bankoverførsler", "Labels", "Statistik", "Diplomer"}));
    const QStringList champs = test::entries(dlg->cboDiplMestersk);
    EXPECT_EQ(champs.mid(0, 3), (QStringList{"", "001 - Sektionsmesterskab", "002 - Sportsduemesterskab"}));
    EXPECT_EQ(champs.size(), 8);

    // One race in the bank list moves the accounts list with it, not the result list.
    showTab(dlg, PrintTab::BankTransfers);
    selectRow(dlg->gridKapflyvninger3, 0);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger2), 1);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger), 3);

    // The menu command again brings the open dialog forward instead of a second one.
    EXPECT_EQ(test::openPrintDialog(*w), dlg);
    EXPECT_EQ(w->findChildren<Udskriv*>().size(), 1);

    // "&Luk" closes it.
    QTest::keyClick(dlg, Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(w->findChildren<Udskriv*>().empty());
}

TEST(PrintDialog, LaterWorkingWeekStartsOnTheLastRaceAndASmallWindowOnTheTopLeft) {
    test::PrintSeason s;
    s.t.app.currentWeek = 40;
    auto w = test::mainWindow(s.t.app, {500, 400});
    Udskriv* dlg = test::openPrintDialog(*w);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger), 5);
    EXPECT_EQ(currentNr(dlg->gridKapflyvninger2), 5);
    EXPECT_EQ(dlg->parentWidget()->pos(), QPoint(0, 0));
}

TEST(PrintDialog, BoxesFollowEachOther) {
    test::PrintSeason s;
    auto w = test::mainWindow(s.t.app);
    Udskriv* d = test::openPrintDialog(*w);

    // Year accounts: the club list and its boxes only for the clubs' accounts.
    showTab(d, PrintTab::YearAccounts);
    EXPECT_TRUE(d->btnSektion->isChecked());
    EXPECT_FALSE(d->gridForeninger->isEnabled());
    EXPECT_FALSE(d->chkAlleForeninger->isEnabled());
    d->btnForening->click();
    EXPECT_TRUE(d->gridForeninger->isEnabled() && d->chkAlleForeninger->isEnabled() && d->chkUgetotaler->isEnabled());
    d->chkUgetotaler->click();
    d->btnSektion->click();
    EXPECT_FALSE(d->chkUgetotaler->isEnabled());
    EXPECT_FALSE(d->request().weekTotals);  // a disabled box does not count

    // Prize statement: week totals and member totals exclude each other.
    showTab(d, PrintTab::PrizeStatement);
    d->chkUgetotaler2->click();
    d->chkMedlemstotaler->click();
    EXPECT_FALSE(d->chkUgetotaler2->isChecked());
    d->chkUgetotaler2->click();
    EXPECT_FALSE(d->chkMedlemstotaler->isChecked());

    // Championships: decimals by the current championship's type; section winners switch
    // the list and both options off.
    auto rowOf = [&](const char* nr) {
        return d->dataMesterskaber->findRow([&](int r) { return d->dataMesterskaber->value(r, "Nr").toText() == nr; });
    };
    showTab(d, PrintTab::Championship);
    selectRow(d->gridMesterskaber, rowOf("004"));  // HB
    EXPECT_FALSE(d->chkDecimaler->isEnabled());
    selectRow(d->gridMesterskaber, rowOf("001"));  // Point
    EXPECT_TRUE(d->chkDecimaler->isEnabled());
    d->chkDecimaler->click();
    EXPECT_TRUE(d->request().decimals);
    EXPECT_EQ(d->request().championship, std::optional<std::string>("001"));
    selectRow(d->gridMesterskaber, rowOf("005"));  // Es-due-koefficient
    EXPECT_FALSE(d->chkDecimaler->isEnabled());
    EXPECT_FALSE(d->request().decimals);  // ticked, but not offered
    d->chkSektionsvindere->click();
    EXPECT_FALSE(d->gridMesterskaber->isEnabled() || d->chkKapflPoint->isEnabled() || d->chkDecimaler->isEnabled());
    EXPECT_TRUE(d->request().sectionWinners);
    EXPECT_FALSE(d->request().specifyPoints);
    d->chkSektionsvindere->click();
    EXPECT_TRUE(d->gridMesterskaber->isEnabled() && d->chkKapflPoint->isEnabled());
    EXPECT_FALSE(d->chkDecimaler->isEnabled());  // still on the Es-due championship
    selectRow(d->gridMesterskaber, rowOf("001"));
    EXPECT_TRUE(d->chkDecimaler->isEnabled());
    d->chkSektionsvindere->click();
    d->chkSektionsvindere->click();
    EXPECT_TRUE(d->chkDecimaler->isEnabled());
    selectRow(d->gridMesterskaber, rowOf("005"));
    d->chkSektionsvindere->click();
    d->chkSektionsvindere->click();
    EXPECT_TRUE(d->chkKapflPoint->isEnabled());
    EXPECT_FALSE(d->chkDecimaler->isEnabled());

    // Diplomas: the option shows its combo and sets the count; the count takes digits only.
    showTab(d, PrintTab::Diplomas);
    d->optDiplomMestersk->click();
    EXPECT_TRUE(d->cboDiplMestersk->isVisible() && d->lblDiplMestersk->isVisible());
    EXPECT_FALSE(d->cboDiplUge->isVisible() || d->lblDiplUge->isVisible());
    EXPECT_EQ(d->txtDiplomAnt->text(), "3");
    d->optDiplomKapfl->click();
    EXPECT_TRUE(d->cboDiplUge->isVisible() && d->lblDiplUge->isVisible());
    EXPECT_FALSE(d->cboDiplMestersk->isVisible() || d->lblDiplMestersk->isVisible());
    EXPECT_EQ(d->txtDiplomAnt->text(), "1");
    d->txtDiplomAnt->setFocus();
    d->txtDiplomAnt->selectAll();
    QTest::keyClicks(d->txtDiplomAnt, "a1x2 ");
    EXPECT_EQ(d->txtDiplomAnt->text(), "12");
    EXPECT_EQ(test::entries(d->cboDiplUge), (QStringList{"", "23", "24", "25"}));  // week 24 for its section race, not the national one

    // Statistics: the loft list follows the club; the two orders work as a pair.
    showTab(d, PrintTab::Statistics);
    d->StatForening->setFocus();
    QTest::keyClicks(d->StatForening, "023");
    ASSERT_EQ(d->StatForening->currentText(), "023 - Skjern Brevdueforening");
    ASSERT_GT(d->StatSlag->count(), 1);
    EXPECT_EQ(d->StatSlag->itemText(0), "");
    for (int i = 1; i < d->StatSlag->count(); ++i) EXPECT_TRUE(d->StatSlag->itemText(i).startsWith("00")) << i;
    const QString loft = d->StatSlag->itemText(1);
    EXPECT_EQ(s.t.db().query("SELECT count(*) FROM Deltagere WHERE Forening = '023' AND Slag = ?",
                             {loft.left(3).toStdString()}).rows[0][0].toInt() > 0, true);
    QTest::keyClick(d->StatForening, Qt::Key_Home);  // the empty entry: no club
    EXPECT_EQ(d->StatForening->currentText(), "");
    EXPECT_EQ(d->StatSlag->count(), 1);
    EXPECT_TRUE(d->StatOrderByDue->isChecked());
    d->StatOrderByKFK->click();
    EXPECT_FALSE(d->StatOrderByDue->isChecked());
    d->StatOrderByKFK->click();  // clicking the ticked one keeps it ticked
    EXPECT_TRUE(d->StatOrderByKFK->isChecked());
    d->StatOrderByDue->click();
    EXPECT_FALSE(d->StatOrderByKFK->isChecked());
}

TEST(PrintDialog, PreviewOpensAViewerWithTheResultListFillingTheMainWindow) {
    test::PrintSeason s;
    s.t.app.currentWeek = 20;
    auto w = test::mainWindow(s.t.app);
    Udskriv* d = test::openPrintDialog(*w);
    ASSERT_EQ(currentNr(d->gridKapflyvninger), 1);
    d->UdskrivAlleBeregnede->click();
    // Alt+V is also the main menu's "&Vis"; inside the dialog it is "&Vis udskrift".
    d->DuerTilUdskrift->setFocus();
    QTest::keyClick(d->DuerTilUdskrift, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(d->DuerTilUdskrift->text(), "");
    ASSERT_EQ(test::viewers(*w).size(), 1u) << testing::PrintToString(s.t.ui.messages());
    gui::ReportForm* v = test::viewers(*w)[0];
    EXPECT_EQ(v->windowTitle(), "Kapflyvningsresultat");
    const QSize area = w->mdiArea()->viewport()->size();
    EXPECT_EQ(v->parentWidget()->geometry(), QRect(QPoint(0, 0), area));
    const auto texts = test::pageTexts(v->document(), 0);
    EXPECT_TRUE(test::contains(texts, "035-26-0002"));  // the race's winner
    EXPECT_TRUE(test::contains(texts, "Uge 23  -  95 - Blå skema"));
    EXPECT_EQ(s.t.app.currentWeek, 23);  // printing a race makes its week the working week
    EXPECT_EQ(currentNr(d->gridKapflyvninger), 1);  // the calculation did not move the list
    // Alt+P in the viewer is its "Gem som &PDF", not the dialog's "Definer &printer".
    bool asked = false;
    v->askPdfFileName = [&](const QString&) {
        asked = true;
        return QString();
    };
    v->CR->setFocus();
    QTest::keyClick(v->CR, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(s.t.ui.shown.empty());

    // Another preview is another window; the dialog's choices are checked first.
    showTab(d, PrintTab::Labels);
    d->btnLabel2->click();
    d->cmdPreview->click();
    ASSERT_EQ(test::viewers(*w).size(), 2u);
    EXPECT_EQ(test::viewers(*w)[1]->windowTitle(), "Adresselabels");
    showTab(d, PrintTab::RaceResults);
    d->DuerTilUdskrift->setText("abc");
    d->cmdPreview->click();
    showTab(d, PrintTab::Diplomas);
    d->cmdPreview->click();
    d->optDiplomMestersk->click();
    d->cmdPreview->click();
    EXPECT_TRUE(d->cboDiplMestersk->hasFocus());  // back to the combo that wants a choice
    EXPECT_EQ(s.t.ui.messages(), (std::vector<std::string>{
                                     "Fejl: Ugyldig angivelse.",
                                     "Info: Vælg, om der skal udskrives diplomer for kapflyvninger eller mesterskaber.",
                                     "Fejl: Angiv mesterskab."}));
    EXPECT_EQ(test::viewers(*w).size(), 2u);
}

TEST(PrintDialog, PrintsOnThePrinterOrSaysThereIsNone) {
    test::PrintSeason s;
    auto w = test::mainWindow(s.t.app);
    Udskriv* d = test::openPrintDialog(*w);
    showTab(d, PrintTab::BankTransfers);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        d->cmdPrint->click();
        d->cmdSetup->click();
        const std::string none = "Fejl: Der er ikke installeret nogen printer på denne computer. Installér en printer, "
                                 "eller vis udskriften og gem den som PDF-fil.";
        EXPECT_EQ(s.t.ui.messages(), (std::vector<std::string>{none, none}));
        EXPECT_EQ(s.t.ui.busyOn, 0);  // nothing was prepared for a printer that is not there
    }
    const fs::path pdf = s.t.folder.path() / "printer.pdf";
    gui::ReportPrinter::instance().printToFile(QString::fromStdString(pdf.string()));
    s.t.ui.shown.clear();
    selectRow(d->gridKapflyvninger3, 3);  // race 4, where three clubs won money
    d->cmdPrint->click();
    gui::ReportPrinter::instance().printToFile({});
    EXPECT_TRUE(s.t.ui.shown.empty()) << s.t.ui.messages().front();
    const std::string text = test::runCommand("pdftotext -layout " + test::shellQuote(pdf.string()) + " -").out;
    EXPECT_NE(text.find("Bankoverførsler"), std::string::npos) << text;
    EXPECT_NE(text.find("Skjern Brevdueforening"), std::string::npos) << text;
}

TEST(PrintDialog, WordFileForTheResultListsOnlyAndTheNameIsKept) {
    test::PrintSeason s;
    auto w = test::mainWindow(s.t.app);
    Udskriv* d = test::openPrintDialog(*w);
    const fs::path folder = s.t.folder.path();

    // Gennemse: a cancelled dialog changes nothing, a chosen name is kept for next time.
    QString started;
    d->askDocFileName = [&](const QString& start) {
        started = start;
        return QString();
    };
    d->txtDocname->setText("før");
    d->cmdBrowse->click();
    EXPECT_EQ(started, "før");
    EXPECT_EQ(d->txtDocname->text(), "før");
    const QString chosen = QString::fromStdString((folder / "uge23").string());
    d->askDocFileName = [&](const QString&) { return chosen; };
    d->cmdBrowse->click();
    EXPECT_EQ(d->txtDocname->text(), chosen);
    EXPECT_EQ(QSettings().value(Udskriv::kWordFileKey).toString(), chosen);

    // A name without extension gets ".docx".
    selectRow(d->gridKapflyvninger, 0);
    d->UdskrivAlleBeregnede->click();
    d->cmdSaveAsDoc->click();
    ASSERT_TRUE(s.t.ui.shown.empty()) << s.t.ui.messages().front();
    const fs::path docx = folder / "uge23.docx";
    test::DocxContent doc = test::readDocx(docx);
    ASSERT_TRUE(doc.ok) << doc.error;
    ASSERT_EQ(doc.tables.size(), 1u);
    // The first bird row, after the heading row and the first division's heading row.
    const auto& rows = doc.tables[0];
    auto bird = std::find_if(rows.begin() + 1, rows.end(), [](const auto& r) { return r.front() != r.back(); });
    ASSERT_NE(bird, rows.end());
    EXPECT_EQ((*bird)[0], "1");
    EXPECT_EQ((*bird)[1], "035-26-0002");
    EXPECT_EQ(d->txtDocname->text(), QString::fromStdString(docx.string()));

    // A choice the preparation refuses leaves the file alone.
    QTest::keyClicks(d->DuerTilUdskrift, "x%");
    d->cmdSaveAsDoc->click();
    EXPECT_EQ(s.t.ui.messages(), std::vector<std::string>{"Fejl: Ugyldig angivelse."});
    EXPECT_TRUE(fs::exists(docx));
    d->DuerTilUdskrift->clear();
    s.t.ui.shown.clear();

    // The receipt list and the labels go to no Word file, but the file of the name is
    // deleted all the same.
    d->chkModtListe->click();
    d->cmdSaveAsDoc->click();
    EXPECT_FALSE(fs::exists(docx));
    std::ofstream(docx) << "gammel";
    showTab(d, PrintTab::Labels);
    d->cmdSaveAsDoc->click();
    EXPECT_FALSE(fs::exists(docx));
    EXPECT_TRUE(s.t.ui.shown.empty());

    // The championship tab writes the section winners; an empty name is asked for first.
    showTab(d, PrintTab::Championship);
    d->chkSektionsvindere->click();
    d->txtDocname->clear();
    d->cmdSaveAsDoc->click();
    EXPECT_EQ(s.t.ui.messages(), std::vector<std::string>{"Fejl: Angiv filnavnet på Word-filen."});
    d->txtDocname->setText(QString::fromStdString((folder / "vindere.docx").string()));
    d->cmdSaveAsDoc->click();
    EXPECT_TRUE(test::readDocx(folder / "vindere.docx").landscape);

    // A folder that is not there: the message, and no file.
    s.t.ui.shown.clear();
    d->txtDocname->setText(QString::fromStdString((folder / "mangler" / "x.docx").string()));
    d->cmdSaveAsDoc->click();
    ASSERT_EQ(s.t.ui.shown.size(), 1u);
    EXPECT_EQ(s.t.ui.shown[0].title, "Error");
    EXPECT_NE(s.t.ui.shown[0].text.find("findes ikke"), std::string::npos);
}

}  // namespace
