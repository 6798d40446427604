// The report viewer on the offscreen platform: going from page to page, the zoom, printing
// and saving as PDF from the viewer.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <filesystem>

#include "gui/reports/pageview.h"
#include "gui/reports/printing.h"
#include "gui/reports/reportform.h"
#include "report/document.h"
#include "support/process.h"
#include "support/testdb.h"

using namespace vemora;
using gui::PageView;
using gui::ReportForm;

namespace {

namespace fs = std::filesystem;

// Four 20 mm rows to a page: twenty rows are five pages.
const char* kPages = R"(
side 100 x 100
margener 10 10 10 10
detalje højde 20
  tekst 0 0 * "Række {Nr}"
)";

struct Viewer {
    test::TestApp t;
    std::unique_ptr<ReportForm> form;
    Viewer() {
        auto db = Database::create(t.folder.path() / "pages.db");
        db->exec("CREATE TABLE T (Nr INTEGER)");
        for (int i = 1; i <= 20; ++i) db->exec("INSERT INTO T VALUES (" + std::to_string(i) + ")");
        auto def = std::make_shared<reports::Definition>(reports::parseDefinition(kPages, "T.RPT"));
        auto data = std::make_shared<reports::ReportData>(reports::buildReportData(*db, *def, "SELECT Nr FROM T ORDER BY Nr", "Sider"));
        auto doc = std::make_shared<report::ReportDocument>(def, data, t.folder.path());
        form = std::make_unique<ReportForm>(t.app, doc);
        form->resize(700, 500);
        form->show();
        (void)QTest::qWaitForWindowExposed(form.get());
    }
    PageView& view() { return *form->CR; }
    int shown() { return form->txtPage->value(); }
    // Types into the page box or the zoom box and presses Enter, as the user does.
    void type(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void zoom(const QString& text) { type(form->cboZoom, text); }
    // Whether the page stands whole inside the view.
    bool whole(int page) { return view().viewport()->rect().contains(view().pageRect(page)); }
};

TEST(ReportViewer, GoesFromPageToPage) {
    Viewer v;
    ReportForm& f = *v.form;
    EXPECT_EQ(f.windowTitle(), "Sider");
    EXPECT_EQ(v.view().pageCount(), 5);
    EXPECT_EQ(f.lblPages->text(), "af 5");
    EXPECT_EQ(v.shown(), 1);
    EXPECT_FALSE(f.cmdFirst->isEnabled() || f.cmdPrevious->isEnabled());
    EXPECT_TRUE(f.cmdNext->isEnabled() && f.cmdLast->isEnabled());

    f.cmdNext->click();
    EXPECT_EQ(v.view().currentPage(), 1);
    EXPECT_EQ(v.shown(), 2);
    EXPECT_EQ(v.view().pageRect(1).top(), 12);  // its top at the top of the view, below the gap
    f.cmdLast->click();
    EXPECT_EQ(v.view().currentPage(), 4);
    EXPECT_EQ(v.shown(), 5);
    EXPECT_FALSE(f.cmdNext->isEnabled() || f.cmdLast->isEnabled());
    f.cmdPrevious->click();
    EXPECT_EQ(v.shown(), 4);
    v.type(f.txtPage, "2");
    EXPECT_EQ(v.view().currentPage(), 1);
    v.type(f.txtPage, "9");  // past the last page: the box keeps the page shown
    EXPECT_EQ(v.view().currentPage(), 1);
    EXPECT_EQ(v.shown(), 2);
    f.cmdFirst->click();
    EXPECT_EQ(v.view().currentPage(), 0);

    // Scrolling to the end shows the last page, also in the page box.
    v.view().verticalScrollBar()->setValue(v.view().verticalScrollBar()->maximum());
    EXPECT_EQ(v.view().currentPage(), 4);
    EXPECT_EQ(v.shown(), 5);
    QTest::keyClick(&v.view(), Qt::Key_Home);
    EXPECT_EQ(v.shown(), 1);
}

TEST(ReportViewer, ZoomsToTheWidthThePageOrAPercentageKeepingThePage) {
    Viewer v;
    ReportForm& f = *v.form;
    EXPECT_EQ(f.cboZoom->currentText(), "Sidebredde");
    EXPECT_EQ(v.view().pageRect(0).width(), v.view().viewport()->width() - 24);
    v.type(f.txtPage, "3");

    v.zoom("Hel side");
    EXPECT_EQ(v.view().zoomMode(), PageView::ZoomMode::FitPage);
    EXPECT_EQ(v.view().currentPage(), 2);
    EXPECT_TRUE(v.whole(2));
    QTest::keyClick(&v.view(), Qt::Key_PageDown);  // a whole page at a time
    EXPECT_EQ(v.shown(), 4);
    EXPECT_TRUE(v.whole(3));

    v.zoom("200");
    EXPECT_NEAR(v.view().zoomFactor(), 2.0, 1e-9);
    EXPECT_EQ(v.view().currentPage(), 3);
    EXPECT_EQ(f.cboZoom->currentText(), "200 %");
    const int w200 = v.view().pageRect(3).width();

    v.zoom("50 %");
    EXPECT_NEAR(v.view().zoomFactor(), 0.5, 1e-9);
    EXPECT_NEAR(v.view().pageRect(3).width() * 4.0, w200, 4);
    EXPECT_EQ(f.cboZoom->currentText(), "50 %");

    // The window made smaller keeps the page in full view when the whole page is shown.
    v.zoom("Hel side");
    f.resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(v.view().currentPage(), 3);
    EXPECT_TRUE(v.whole(3));
}

TEST(ReportViewer, PrintsAndSavesEveryPage) {
    Viewer v;
    ReportForm& f = *v.form;
    auto pdfText = [](const fs::path& p) { return test::runCommand("pdftotext " + test::shellQuote(p.string()) + " -").out; };

    const fs::path printed = v.t.folder.path() / "printer.pdf";
    gui::ReportPrinter::instance().printToFile(QString::fromStdString(printed.string()));
    f.cmdPrint->click();
    gui::ReportPrinter::instance().printToFile({});
    std::string text = pdfText(printed);
    EXPECT_NE(text.find("Række 1\n"), std::string::npos);
    EXPECT_NE(text.find("Række 20"), std::string::npos) << text;  // the last page too

    QString suggested;
    f.askPdfFileName = [&](const QString& s) {
        suggested = s;
        return QString();
    };
    f.cmdSavePdf->click();
    EXPECT_TRUE(suggested.endsWith("/Sider.pdf")) << suggested.toStdString();
    const fs::path saved = v.t.folder.path() / "gemt";
    f.askPdfFileName = [&](const QString&) { return QString::fromStdString(saved.string()); };
    f.cmdSavePdf->click();
    EXPECT_NE(pdfText(saved.string() + ".pdf").find("Række 20"), std::string::npos);
    EXPECT_TRUE(v.t.ui.shown.empty());
}

}  // namespace
