// The print dialog's buttons: preview, print, printer set-up and the Word document, and the
// menu command that opens the dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>

#include <filesystem>

#include "gui/app/mainwindow.h"
#include "gui/reports/printing.h"
#include "gui/reports/reportform.h"
#include "gui/reports/udskriv.h"
#include "report/document.h"
#include "report/docx.h"

namespace vemora::gui {

using reports::PrintTab;

namespace {

std::filesystem::path pathOf(const QString& name) { return std::filesystem::path(name.toStdU16String()); }

// The Word file of the box as a full name: a bare name goes into the documents folder, and a
// name without an extension gets ".docx", as the save dialog would give it.
QString wordFileName(const QString& typed) {
    QString name = typed.trimmed();
    if (name.isEmpty()) return name;
    QFileInfo info(name);
    if (info.isRelative()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty()) folder = QDir::homePath();
        info = QFileInfo(QDir(folder), name);
    }
    QString full = QDir::toNativeSeparators(info.absoluteFilePath());
    if (info.suffix().isEmpty()) full += ".docx";
    return full;
}

}  // namespace

reports::PrintRequest Udskriv::request() const {
    reports::PrintRequest r;
    r.tab = static_cast<PrintTab>(tabs->currentIndex());
    auto number = [](const Value& v) { return v.isNull() ? std::nullopt : std::optional<long long>(v.toInt()); };
    auto text = [](const Value& v) { return v.isNull() ? std::nullopt : std::optional<std::string>(v.toText()); };
    auto ticked = [](const QCheckBox* c) { return c->isChecked() && c->isEnabled(); };

    r.race = number(r.tab == PrintTab::RaceResults ? current(gridKapflyvninger, dataKapflyvninger, "Nr")
                                                   : current(gridKapflyvninger2, dataKapflyvninger2, "Nr"));
    r.allBirds = ticked(UdskrivAlleBeregnede);
    r.birdCount = DuerTilUdskrift->text().toStdString();
    r.division = KapresDiv->text().toStdString();
    r.acrossDivisions = chkAlleDiv->isChecked();
    r.receiptList = chkModtListe->isChecked();
    r.byArea = chkOmr->isChecked();
    r.noPoints = NoPoints->isChecked();
    r.clubMarking = VisForenX->isChecked();

    const bool statement = r.tab == PrintTab::PrizeStatement;
    r.club = text(statement ? current(gridForeninger2, DataForeninger2, "Nr") : current(gridForeninger, DataForeninger, "Nr"));
    r.allClubs = statement ? chkAlleForeninger2->isChecked() : ticked(chkAlleForeninger);
    r.weekTotals = statement ? chkUgetotaler2->isChecked() : ticked(chkUgetotaler);
    r.memberTotals = chkMedlemstotaler->isChecked();
    r.statementWeek = txtKtUdtUge->text().toStdString();
    r.clubAccounts = btnForening->isChecked();

    r.championship = text(current(gridMesterskaber, dataMesterskaber, "Nr"));
    r.specifyPoints = ticked(chkKapflPoint);
    r.decimals = ticked(chkDecimaler);
    r.sectionWinners = chkSektionsvindere->isChecked();

    r.labelFormat = btnLabel2->isChecked() ? 2 : btnLabel1->isChecked() ? 1 : 0;

    r.statClub = StatForening->currentText().toStdString();
    r.statLoft = StatSlag->currentText().toStdString();
    r.statAllBirds = StatAlleDuer->isChecked();
    r.statOrderByRace = StatOrderByKFK->isChecked();
    r.statSectionOnly = StatKunSektionsflyvninger->isChecked();

    r.diploma = optDiplomKapfl->isChecked()      ? reports::DiplomaKind::Races
                : optDiplomMestersk->isChecked() ? reports::DiplomaKind::Championships
                                                 : reports::DiplomaKind::None;
    r.diplomaWeek = cboDiplUge->currentText().toStdString();
    r.diplomaChampionship = cboDiplMestersk->currentText().toStdString();
    r.diplomaCount = txtDiplomAnt->text().toStdString();
    return r;
}

std::shared_ptr<report::ReportDocument> Udskriv::prepareDocument(reports::PreparedReport& prepared) {
    if (!reports::PreparePrint(app(), request(), prepared)) {
        // The championship combo of the diplomas gets the focus back after its messages.
        if (tabs->currentIndex() == static_cast<int>(PrintTab::Diplomas) && optDiplomMestersk->isChecked())
            cboDiplMestersk->setFocus();
        return nullptr;
    }
    if (prepared.empty()) {
        app().userInterface().message("Vælg, om der skal udskrives diplomer for kapflyvninger eller mesterskaber.", "Info",
                                      Icon::Information);
        return nullptr;
    }
    auto bands = std::make_shared<reports::ReportData>(reports::readReportData(app(), prepared));
    return std::make_shared<report::ReportDocument>(prepared.definition, bands, app().appPath);
}

void Udskriv::cmdPreview_Click() {
    holdingLists([this] {
        BusyScope busy(app());
        try {
            reports::PreparedReport prepared;
            auto doc = prepareDocument(prepared);
            if (!doc) return;
            if (auto* main = qobject_cast<MainWindow*>(window())) {
                ReportForm::open(*main, doc);
            } else {
                auto* form = new ReportForm(app(), doc);
                form->setAttribute(Qt::WA_DeleteOnClose);
                form->show();
            }
        } catch (const std::exception& e) {
            app().userInterface().message(e.what(), "Error", Icon::Exclamation);
        }
    });
}

void Udskriv::cmdPrint_Click() {
    // Asked first, so that a computer without a printer does not calculate for nothing.
    if (!ReportPrinter::instance().available(app().userInterface())) return;
    holdingLists([this] {
        BusyScope busy(app());
        try {
            reports::PreparedReport prepared;
            auto doc = prepareDocument(prepared);
            if (doc) ReportPrinter::instance().print(*doc, app().userInterface());
        } catch (const std::exception& e) {
            app().userInterface().message(e.what(), "Error", Icon::Exclamation);
        }
    });
}

void Udskriv::cmdSetup_Click() { ReportPrinter::instance().setup(this, app().userInterface()); }

void Udskriv::cmdBrowse_Click() {
    const QString name = askDocFileName(txtDocname->text());
    if (name.isEmpty()) return;  // cancelled: nothing changes
    txtDocname->setText(QDir::toNativeSeparators(name));
    QSettings().setValue(kWordFileKey, txtDocname->text());
}

void Udskriv::cmdSaveAsDoc_Click() {
    const PrintTab tab = static_cast<PrintTab>(tabs->currentIndex());
    const bool writes = (tab == PrintTab::RaceResults && !chkModtListe->isChecked()) || tab == PrintTab::Championship;
    const QString name = wordFileName(txtDocname->text());
    if (writes && name.isEmpty()) {
        app().userInterface().message("Angiv filnavnet på Word-filen.", "Fejl", Icon::Exclamation);
        txtDocname->setFocus();
        return;
    }
    holdingLists([&] {
        BusyScope busy(app());
        try {
            reports::PreparedReport prepared;
            if (!reports::PreparePrint(app(), request(), prepared)) return;
            if (name.isEmpty()) return;
            const std::filesystem::path file = pathOf(name);
            // The file of that name goes first, also when this printout writes none.
            std::error_code ec;
            if (std::filesystem::exists(file, ec) && !std::filesystem::remove(file, ec)) {
                app().userInterface().message("Word-filen " + name.toStdString() +
                                                  " kan ikke slettes. Den er måske åben i et andet program, eller "
                                                  "mappen er skrivebeskyttet.",
                                              "Error", Icon::Exclamation);
                return;
            }
            if (!prepared.wordExport || prepared.empty()) return;
            reports::ReportData bands = reports::readReportData(app(), prepared);
            std::string error;
            if (!report::writeDocx(*prepared.definition, bands, file, error)) {
                app().userInterface().message(error, "Error", Icon::Exclamation);
                return;
            }
            txtDocname->setText(name);
            QSettings().setValue(kWordFileKey, name);
        } catch (const std::exception& e) {
            app().userInterface().message(e.what(), "Error", Icon::Exclamation);
        }
    });
}

static RegisterMenuCommand reg("mnuUdskriv", [](MainWindow& w) {
    w.showChild(new Udskriv(w.app()));
    w.bringToFront();
});

}  // namespace vemora::gui
