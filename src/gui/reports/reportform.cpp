#include "gui/reports/reportform.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

#include "gui/app/behaviours.h"
#include "gui/app/mainwindow.h"
#include "gui/reports/pageview.h"
#include "gui/reports/printing.h"
#include "report/document.h"

namespace vemora::gui {

namespace {

const int kPercents[] = {25, 50, 75, 100, 125, 150, 200, 400};
constexpr int kFixedZoomEntries = 2;  // "Sidebredde", "Hel side"

QToolButton* toolButton(const char* name, const QString& text, const QString& tip, QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    if (icon != QStyle::SP_CustomBase) {
        b->setIcon(b->style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    return b;
}

// A file name made from the report's title, for the save dialog's first suggestion.
QString fileNameOf(const QString& title) {
    QString s = title;
    for (QChar& c : s)
        if (QString("\\/:*?\"<>|").contains(c)) c = '-';
    return s.isEmpty() ? QString("Udskrift") : s;
}

}  // namespace

ReportForm::ReportForm(AppState& app, std::shared_ptr<const report::ReportDocument> doc, QWidget* parent)
    : MdiForm(app, "ReportForm", QString::fromStdString(doc->title()), parent), doc_(std::move(doc)) {
    CR = new PageView;
    cmdFirst = toolButton("cmdFirst", "Første side", "Første side", QStyle::SP_MediaSkipBackward);
    cmdPrevious = toolButton("cmdPrevious", "Forrige side", "Forrige side", QStyle::SP_MediaSeekBackward);
    cmdNext = toolButton("cmdNext", "Næste side", "Næste side", QStyle::SP_MediaSeekForward);
    cmdLast = toolButton("cmdLast", "Sidste side", "Sidste side", QStyle::SP_MediaSkipForward);
    txtPage = new QSpinBox;
    txtPage->setObjectName("txtPage");
    txtPage->setToolTip("Gå til siden");
    txtPage->setButtonSymbols(QAbstractSpinBox::NoButtons);
    txtPage->setAlignment(Qt::AlignRight);
    txtPage->setKeyboardTracking(false);
    lblPages = new QLabel;
    lblPages->setObjectName("lblPages");
    cboZoom = new QComboBox;
    cboZoom->setObjectName("cboZoom");
    cboZoom->setEditable(true);
    cboZoom->setInsertPolicy(QComboBox::NoInsert);
    cboZoom->setToolTip("Zoom");
    cboZoom->addItem("Sidebredde");
    cboZoom->addItem("Hel side");
    for (int p : kPercents) cboZoom->addItem(QString("%1 %").arg(p));
    cboZoom->setMinimumContentsLength(10);
    cmdPrint = toolButton("cmdPrint", "&Udskriv", "Udskriv på printeren");
    cmdSavePdf = toolButton("cmdSavePdf", "Gem som &PDF", "Gem udskriften som PDF-fil");

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdFirst, cmdPrevious, txtPage, lblPages, cmdNext, cmdLast})
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(cboZoom);
    bar->addSpacing(16);
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdSavePdf);
    bar->addStretch();
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addLayout(bar);
    top->addWidget(CR, 1);

    const int pages = doc_->pageCount();
    txtPage->setRange(pages ? 1 : 0, std::max(1, pages));
    lblPages->setText(QString("af %1").arg(pages));
    CR->setDocument(doc_);
    showPage(0);
    showZoom();

    connect(cmdFirst, &QToolButton::clicked, this, [this] { CR->setCurrentPage(0); });
    connect(cmdPrevious, &QToolButton::clicked, this, [this] { CR->setCurrentPage(CR->currentPage() - 1); });
    connect(cmdNext, &QToolButton::clicked, this, [this] { CR->setCurrentPage(CR->currentPage() + 1); });
    connect(cmdLast, &QToolButton::clicked, this, [this] { CR->setCurrentPage(CR->pageCount() - 1); });
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int v) {
        if (v - 1 != CR->currentPage()) CR->setCurrentPage(v - 1);
    });
    connect(CR, &PageView::currentPageChanged, this, &ReportForm::showPage);
    connect(CR, &PageView::zoomChanged, this, &ReportForm::showZoom);
    connect(cboZoom, &QComboBox::activated, this, &ReportForm::zoomChosen);
    connect(cboZoom->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        // A percentage typed into the box ("130" or "130 %").
        QString t = cboZoom->currentText();
        t.remove('%');
        bool ok = false;
        const double p = t.trimmed().toDouble(&ok);
        if (ok && p > 0) CR->setZoomFactor(p / 100.0);
        else showZoom();
    });
    connect(cmdPrint, &QToolButton::clicked, this, &ReportForm::cmdPrint_Click);
    connect(cmdSavePdf, &QToolButton::clicked, this, &ReportForm::cmdSavePdf_Click);

    askPdfFileName = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, "Gem som PDF-fil", suggested, "PDF-fil (*.pdf);;Alle filer (*)");
    };
    // The print dialog behind has "Definer &printer" and "&Udskriv" too.
    CR->setFocus();
}

ReportForm* ReportForm::open(MainWindow& main, std::shared_ptr<const report::ReportDocument> doc) {
    auto* form = new ReportForm(main.app(), std::move(doc));
    // Not through showChild: every preview is a window of its own, also of the same printout.
    QMdiSubWindow* sw = main.mdiArea()->addSubWindow(form);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    form->setAttribute(Qt::WA_DeleteOnClose);
    FillMainWindow(form);
    sw->show();
    main.mdiArea()->setActiveSubWindow(sw);
    return form;
}

void ReportForm::showPage(int index) {
    const int pages = CR->pageCount();
    {
        QSignalBlocker block(txtPage);
        txtPage->setValue(pages ? index + 1 : 0);
    }
    cmdFirst->setEnabled(index > 0);
    cmdPrevious->setEnabled(index > 0);
    cmdNext->setEnabled(index + 1 < pages);
    cmdLast->setEnabled(index + 1 < pages);
}

void ReportForm::zoomChosen(int index) {
    if (index == 0) return CR->setZoomMode(PageView::ZoomMode::FitWidth);
    if (index == 1) return CR->setZoomMode(PageView::ZoomMode::FitPage);
    if (index - kFixedZoomEntries < static_cast<int>(std::size(kPercents)))
        CR->setZoomFactor(kPercents[index - kFixedZoomEntries] / 100.0);
}

void ReportForm::showZoom() {
    QSignalBlocker block(cboZoom);
    switch (CR->zoomMode()) {
        case PageView::ZoomMode::FitWidth: cboZoom->setCurrentIndex(0); break;
        case PageView::ZoomMode::FitPage: cboZoom->setCurrentIndex(1); break;
        case PageView::ZoomMode::Factor: {
            const int p = static_cast<int>(std::lround(CR->zoomFactor() * 100));
            const int i = cboZoom->findText(QString("%1 %").arg(p));
            if (i >= 0) cboZoom->setCurrentIndex(i);
            else cboZoom->setEditText(QString("%1 %").arg(p));
        }
    }
}

void ReportForm::cmdPrint_Click() { ReportPrinter::instance().print(*doc_, app().userInterface()); }

void ReportForm::cmdSavePdf_Click() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QString name = askPdfFileName(QDir(folder).filePath(fileNameOf(windowTitle()) + ".pdf"));
    if (name.isEmpty()) return;  // cancelled: nothing changes
    if (QFileInfo(name).suffix().isEmpty()) name += ".pdf";
    std::string error;
    BusyScope busy(app());
    if (!report::writePdf(*doc_, std::filesystem::path(name.toStdU16String()), error)) app().userInterface().message(error, "Error", Icon::Exclamation);
}

}  // namespace vemora::gui
