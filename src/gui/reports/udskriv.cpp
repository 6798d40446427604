#include "gui/reports/udskriv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "core/base/dates.h"
#include "core/championships/championships.h"
#include "core/championships/definition.h"
#include "core/races/races.h"
#include "core/reports/choices.h"
#include "core/settings/clubs.h"
#include "gui/app/behaviours.h"

namespace vemora::gui {

const char* const Udskriv::kWordFileKey = "Print/Word File Name";

namespace {

QString dateText(const Value& v) { return v.isNull() ? QString() : QString::fromStdString(danishDate(v.toText())); }

QString timeText(const Value& v) {
    std::string t = v.toText();
    return QString::fromStdString(t.size() >= 5 && t[2] == ':' ? t.substr(0, 5) : t);
}

std::vector<GridColumn> raceColumns() {
    return {{"Uge", "Uge"},     {"Farvekode", "Farvekode"},       {"Regi", "Regi"},
            {"Station", "Station3"}, {"Navn", "Navn"},            {"Slipdato", "SlipDato", dateText},
            {"Sliptid", "Sliptid", timeText}, {"Kode", "Kode"}};
}

QTableView* grid(const char* name, QAbstractItemModel* model) {
    auto* g = new QTableView;
    g->setObjectName(name);
    g->setModel(model);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->setDefaultSectionSize(20);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

template <class T>
T* named(T* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QCheckBox* check(const char* name, const char* caption) { return named(new QCheckBox(caption), name); }

void setCurrentRow(QTableView* g, int row) {
    if (row < 0) {
        g->setCurrentIndex({});
        return;
    }
    QModelIndex i = g->model()->index(row, 0);
    g->setCurrentIndex(i);
    g->selectRow(row);
    g->scrollTo(i);
}

// Fills a combo with texts and an empty first entry, keeping the text it showed.
void fillCombo(QComboBox* box, const std::vector<std::string>& texts) {
    const QString keep = box->currentText();
    QSignalBlocker block(box);
    box->clear();
    box->addItem(QString());
    for (const auto& t : texts) box->addItem(QString::fromStdString(t));
    int i = box->findText(keep);
    if (i >= 0) box->setCurrentIndex(i);
    else if (box->isEditable()) box->setEditText(keep);
    else box->setCurrentIndex(0);
}

}  // namespace

Udskriv::Udskriv(AppState& app, QWidget* parent) : MdiForm(app, "Udskriv", "Udskriv", parent) {
    dataKapflyvninger = new RowTableModel(app, raceColumns(), this);
    dataKapflyvninger2 = new RowTableModel(app, raceColumns(), this);
    DataForeninger = new RowTableModel(app, {{"Nr", "Nr"}, {"Navn", "Navn"}}, this);
    DataForeninger2 = new RowTableModel(app, {{"Nr", "Nr"}, {"Navn", "Navn"}}, this);
    dataMesterskaber = new RowTableModel(app, {{"RecNr", "RecNr"}, {"Titel", "Titel"}, {"Type", "Type"}}, this);

    tabs = named(new QTabWidget, "tabs");
    tabs->addTab(raceResultsTab(), "Kapflyvningsresultat");
    gridKapflyvninger2 = grid("gridKapflyvninger2", dataKapflyvninger2);
    auto* accounts = new QWidget;
    (new QVBoxLayout(accounts))->addWidget(gridKapflyvninger2);
    tabs->addTab(accounts, "Kapflyvningsregnskab");
    tabs->addTab(prizeStatementTab(), "Præmiekontoudtog");
    tabs->addTab(yearAccountsTab(), "Årsregnskab");
    tabs->addTab(championshipTab(), "Mesterskabsresultat");
    // The bank transfers list shows the same races as the accounts list, with the same
    // current race.
    gridKapflyvninger3 = grid("gridKapflyvninger3", dataKapflyvninger2);
    gridKapflyvninger3->setSelectionModel(gridKapflyvninger2->selectionModel());
    auto* bank = new QWidget;
    (new QVBoxLayout(bank))->addWidget(gridKapflyvninger3);
    tabs->addTab(bank, "Bankoverførsler");
    tabs->addTab(labelsTab(), "Labels");
    tabs->addTab(statisticsTab(), "Statistik");
    tabs->addTab(diplomasTab(), "Diplomer");

    auto* top = new QVBoxLayout(this);
    top->addWidget(tabs, 1);
    top->addWidget(buttonsPane());

    EnterAsTab(this);
    connectInterplay();
    yearAccountsKindChanged();
    diplomaKindChanged();

    refreshOn({"Kapflyvninger", "Stationer", "Regnskab"}, [this] { refreshRaces(); });
    refreshOn({"Foreninger"}, [this] { refreshClubs(); });
    refreshOn({"Mesterskaber"}, [this] { refreshChampionships(); });

    askDocFileName = [this](const QString& start) {
        QFileDialog dlg(this, "Gem som Word-fil", start);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setNameFilters({"Word-dokument (*.docx)", "Alle filer (*.*)"});
        dlg.setDefaultSuffix("docx");
        if (start.isEmpty()) dlg.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        else dlg.selectFile(start);
        return dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty() ? dlg.selectedFiles().first() : QString();
    };
}

QWidget* Udskriv::raceResultsTab() {
    gridKapflyvninger = grid("gridKapflyvninger", dataKapflyvninger);
    UdskrivAlleBeregnede = check("UdskrivAlleBeregnede", "Udskriv alle beregnede duer");
    DuerTilUdskrift = named(new QLineEdit, "DuerTilUdskrift");
    DuerTilUdskrift->setMaximumWidth(80);
    KapresDiv = named(new QLineEdit, "KapresDiv");
    KapresDiv->setMaximumWidth(80);
    chkAlleDiv = check("chkAlleDiv", "Udskriv på tværs af divisioner");
    chkModtListe = check("chkModtListe", "Udskriv modtagelsesliste for ugen");
    chkOmr = check("chkOmr", "Udskriv pr. område");
    NoPoints = check("NoPoints", "NO points");
    VisForenX = check("VisForenX", "Vis foren.markering");

    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    v->addWidget(gridKapflyvninger, 1);
    auto* g = new QGridLayout;
    g->addWidget(UdskrivAlleBeregnede, 0, 0, 1, 2);
    auto* count = named(new QLabel("Antal eller procent duer til udskrift (skriv % efter procentvis angivelse)"), "lblDuerTilUdskrift");
    count->setBuddy(DuerTilUdskrift);
    g->addWidget(count, 1, 0);
    g->addWidget(DuerTilUdskrift, 1, 1);
    auto* div = named(new QLabel("Division"), "lblKapresDiv");
    div->setBuddy(KapresDiv);
    g->addWidget(div, 2, 0);
    g->addWidget(KapresDiv, 2, 1);
    g->addWidget(chkAlleDiv, 3, 0);
    g->addWidget(chkOmr, 3, 1);
    g->addWidget(chkModtListe, 4, 0);
    g->addWidget(NoPoints, 4, 1);
    g->addWidget(VisForenX, 5, 0);
    g->setColumnStretch(2, 1);
    v->addLayout(g);
    return w;
}

QWidget* Udskriv::prizeStatementTab() {
    gridForeninger2 = grid("gridForeninger2", DataForeninger2);
    chkAlleForeninger2 = check("chkAlleForeninger2", "Udskriv alle foreninger");
    chkUgetotaler2 = check("chkUgetotaler2", "Udskriv ugetotaler");
    chkMedlemstotaler = check("chkMedlemstotaler", "Udskriv medlemstotaler");
    txtKtUdtUge = named(new QLineEdit, "txtKtUdtUge");
    txtKtUdtUge->setMaxLength(2);
    txtKtUdtUge->setMaximumWidth(50);
    DigitsOnly(txtKtUdtUge);
    SelectAllOnFocus(txtKtUdtUge);

    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->addWidget(gridForeninger2, 1);
    auto* v = new QVBoxLayout;
    v->addWidget(chkAlleForeninger2);
    v->addWidget(chkUgetotaler2);
    v->addWidget(chkMedlemstotaler);
    auto* week = new QHBoxLayout;
    auto* lbl = named(new QLabel("Uge"), "lblKtUdtUge");
    lbl->setBuddy(txtKtUdtUge);
    week->addWidget(lbl);
    week->addWidget(txtKtUdtUge);
    week->addStretch();
    v->addLayout(week);
    v->addStretch();
    h->addLayout(v);
    return w;
}

QWidget* Udskriv::yearAccountsTab() {
    gridForeninger = grid("gridForeninger", DataForeninger);
    btnSektion = named(new QRadioButton("Sektionsregnskab"), "btnSektion");
    btnForening = named(new QRadioButton("Foreningsregnskab"), "btnForening");
    btnSektion->setChecked(true);
    chkAlleForeninger = check("chkAlleForeninger", "Udskriv alle foreninger");
    chkUgetotaler = check("chkUgetotaler", "Udskriv ugetotaler");

    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->addWidget(gridForeninger, 1);
    auto* v = new QVBoxLayout;
    v->addWidget(btnSektion);
    v->addWidget(btnForening);
    v->addSpacing(8);
    v->addWidget(chkAlleForeninger);
    v->addWidget(chkUgetotaler);
    v->addStretch();
    h->addLayout(v);
    return w;
}

QWidget* Udskriv::championshipTab() {
    gridMesterskaber = grid("gridMesterskaber", dataMesterskaber);
    chkKapflPoint = check("chkKapflPoint", "Specificér point");
    chkDecimaler = check("chkDecimaler", "Vis decimaler");
    chkSektionsvindere = check("chkSektionsvindere", "Udskriv sektionsvindere på alle flyvninger");

    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    v->addWidget(gridMesterskaber, 1);
    auto* h = new QHBoxLayout;
    h->addWidget(chkKapflPoint);
    h->addWidget(chkDecimaler);
    h->addStretch();
    v->addLayout(h);
    v->addWidget(chkSektionsvindere);
    return w;
}

QWidget* Udskriv::labelsTab() {
    fraLabelformat = named(new QGroupBox("Labelformat"), "fraLabelformat");
    btnLabel1 = named(new QRadioButton("Dobbelt-bane laser-print (2 x 8 labels pr. side)"), "btnLabel1");
    btnLabel2 = named(new QRadioButton("Enkelt-bane endeløse baner"), "btnLabel2");
    auto* f = new QVBoxLayout(fraLabelformat);
    f->addWidget(btnLabel1);
    f->addWidget(btnLabel2);
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    v->addWidget(fraLabelformat);
    v->addStretch();
    return w;
}

QWidget* Udskriv::statisticsTab() {
    StatForening = named(new QComboBox, "StatForening");
    StatForening->setMinimumContentsLength(28);
    StatSlag = named(new QComboBox, "StatSlag");
    StatSlag->setMinimumContentsLength(28);
    StatAlleDuer = check("StatAlleDuer", "Alle duer");
    StatOrderByKFK = check("StatOrderByKFK", "Sorter efter uge/kapflyvning");
    StatOrderByDue = check("StatOrderByDue", "Sorter efter ringnummer");
    StatOrderByDue->setChecked(true);
    StatKunSektionsflyvninger = check("StatKunSektionsflyvninger", "Kun sektionsflyvninger");

    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    auto* f = new QFormLayout;
    auto* lf = named(new QLabel("Forening"), "lblStatForening");
    lf->setBuddy(StatForening);
    f->addRow(lf, StatForening);
    auto* ls = named(new QLabel("Slag"), "lblStatSlag");
    ls->setBuddy(StatSlag);
    f->addRow(ls, StatSlag);
    v->addLayout(f);
    v->addWidget(StatAlleDuer);
    v->addWidget(StatKunSektionsflyvninger);
    v->addSpacing(8);
    v->addWidget(StatOrderByKFK);
    v->addWidget(StatOrderByDue);
    v->addStretch();
    return w;
}

QWidget* Udskriv::diplomasTab() {
    optDiplomKapfl = named(new QRadioButton("Kapflyvninger"), "optDiplomKapfl");
    optDiplomMestersk = named(new QRadioButton("Mesterskaber"), "optDiplomMestersk");
    cboDiplUge = named(new QComboBox, "cboDiplUge");
    cboDiplUge->setEditable(true);
    cboDiplUge->setInsertPolicy(QComboBox::NoInsert);
    cboDiplUge->setMinimumContentsLength(6);
    lblDiplUge = named(new QLabel("Uge:"), "lblDiplUge");
    lblDiplUge->setBuddy(cboDiplUge);
    cboDiplMestersk = named(new QComboBox, "cboDiplMestersk");
    cboDiplMestersk->setMinimumContentsLength(30);
    lblDiplMestersk = named(new QLabel("Mesterskab:"), "lblDiplMestersk");
    lblDiplMestersk->setBuddy(cboDiplMestersk);
    txtDiplomAnt = named(new QLineEdit, "txtDiplomAnt");
    txtDiplomAnt->setMaximumWidth(60);
    DigitsOnly(txtDiplomAnt);
    SelectAllOnFocus(txtDiplomAnt);

    auto* w = new QWidget;
    auto* g = new QGridLayout(w);
    g->addWidget(optDiplomKapfl, 0, 0);
    g->addWidget(optDiplomMestersk, 1, 0);
    g->addWidget(lblDiplUge, 2, 0);
    g->addWidget(cboDiplUge, 2, 1, Qt::AlignLeft);
    g->addWidget(lblDiplMestersk, 3, 0);
    g->addWidget(cboDiplMestersk, 3, 1, Qt::AlignLeft);
    auto* la = named(new QLabel("Antal:"), "lblDiplomAnt");
    la->setBuddy(txtDiplomAnt);
    g->addWidget(la, 4, 0);
    g->addWidget(txtDiplomAnt, 4, 1, Qt::AlignLeft);
    g->setColumnStretch(2, 1);
    g->setRowStretch(5, 1);
    return w;
}

QWidget* Udskriv::buttonsPane() {
    cmdPreview = named(new QPushButton("&Vis udskrift"), "cmdPreview");
    cmdPrint = named(new QPushButton("&Udskriv"), "cmdPrint");
    cmdSetup = named(new QPushButton("Definer &printer"), "cmdSetup");
    cmdSaveAsDoc = named(new QPushButton("Gem som &Word-fil"), "cmdSaveAsDoc");
    cmdBrowse = named(new QPushButton("Gennemse"), "cmdBrowse");
    cmdLuk = named(new QPushButton("&Luk"), "cmdLuk");
    txtDocname = named(new QLineEdit, "txtDocname");
    SelectAllOnFocus(txtDocname);

    auto* w = new QWidget;
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 4, 0, 0);
    g->addWidget(cmdPreview, 0, 0);
    g->addWidget(cmdPrint, 0, 1);
    g->addWidget(cmdSetup, 0, 2);
    auto* lbl = named(new QLabel("Filnavn :"), "lblDocname");
    lbl->setBuddy(txtDocname);
    auto* file = new QHBoxLayout;
    file->addWidget(lbl);
    file->addWidget(txtDocname, 1);
    file->addWidget(cmdBrowse);
    g->addLayout(file, 1, 0, 1, 3);
    g->addWidget(cmdSaveAsDoc, 1, 3);
    g->addWidget(cmdLuk, 0, 3);
    g->setColumnStretch(2, 0);

    connect(cmdPreview, &QPushButton::clicked, this, &Udskriv::cmdPreview_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &Udskriv::cmdPrint_Click);
    connect(cmdSetup, &QPushButton::clicked, this, &Udskriv::cmdSetup_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &Udskriv::cmdBrowse_Click);
    connect(cmdSaveAsDoc, &QPushButton::clicked, this, &Udskriv::cmdSaveAsDoc_Click);
    connect(cmdLuk, &QPushButton::clicked, this, [this] {
        if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget())) sw->close();
        else close();
    });
    return w;
}

void Udskriv::connectInterplay() {
    connect(btnSektion, &QRadioButton::toggled, this, &Udskriv::yearAccountsKindChanged);
    connect(btnForening, &QRadioButton::toggled, this, &Udskriv::yearAccountsKindChanged);
    // Week totals and member totals are two ways of summing the statement: one at a time.
    connect(chkUgetotaler2, &QCheckBox::toggled, this, [this](bool on) {
        if (on) chkMedlemstotaler->setChecked(false);
    });
    connect(chkMedlemstotaler, &QCheckBox::toggled, this, [this](bool on) {
        if (on) chkUgetotaler2->setChecked(false);
    });
    connect(chkSektionsvindere, &QCheckBox::toggled, this, &Udskriv::sectionWinnersChanged);
    connect(gridMesterskaber->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Udskriv::championshipMoved);
    connect(optDiplomKapfl, &QRadioButton::toggled, this, &Udskriv::diplomaKindChanged);
    connect(optDiplomMestersk, &QRadioButton::toggled, this, &Udskriv::diplomaKindChanged);
    connect(txtDiplomAnt, &QLineEdit::editingFinished, this, [this] { txtDiplomAnt->setText(txtDiplomAnt->text().trimmed()); });
    connect(StatForening, &QComboBox::currentIndexChanged, this, &Udskriv::statisticsClubChanged);
    // The two orders of the statistics work as a pair: the one clicked is ticked, the other not.
    connect(StatOrderByKFK, &QCheckBox::clicked, this, [this] {
        StatOrderByKFK->setChecked(true);
        StatOrderByDue->setChecked(false);
    });
    connect(StatOrderByDue, &QCheckBox::clicked, this, [this] {
        StatOrderByDue->setChecked(true);
        StatOrderByKFK->setChecked(false);
    });
}

void Udskriv::yearAccountsKindChanged() {
    const bool clubs = btnForening->isChecked();
    gridForeninger->setEnabled(clubs);
    chkAlleForeninger->setEnabled(clubs);
    chkUgetotaler->setEnabled(clubs);
}

void Udskriv::sectionWinnersChanged() {
    const bool winners = chkSektionsvindere->isChecked();
    gridMesterskaber->setEnabled(!winners);
    chkKapflPoint->setEnabled(!winners);
    if (winners) chkDecimaler->setEnabled(false);
    else championshipMoved();
}

void Udskriv::championshipMoved() {
    if (chkSektionsvindere->isChecked()) return;
    // Es-due coefficients and HB points are printed as they are, without a decimals option.
    Value type = current(gridMesterskaber, dataMesterskaber, "Type");
    chkDecimaler->setEnabled(championships::DecimalsEnabled(type.isNull() ? std::string() : type.toText()));
}

void Udskriv::diplomaKindChanged() {
    const bool races = optDiplomKapfl->isChecked();
    const bool champs = optDiplomMestersk->isChecked();
    cboDiplUge->setVisible(races);
    lblDiplUge->setVisible(races);
    cboDiplMestersk->setVisible(champs);
    lblDiplMestersk->setVisible(champs);
    // Only the option being chosen sets the count, not the one being left.
    if (races && sender() == optDiplomKapfl) txtDiplomAnt->setText("1");
    if (champs && sender() == optDiplomMestersk) txtDiplomAnt->setText("3");
}

void Udskriv::statisticsClubChanged() {
    std::vector<std::string> lofts;
    try {
        lofts = reports::statisticsLoftChoices(app().database(), StatForening->currentText().toStdString());
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    QSignalBlocker block(StatSlag);
    StatSlag->clear();
    StatSlag->addItem(QString());
    for (const auto& l : lofts) StatSlag->addItem(QString::fromStdString(l));
}

// ---- opening and refreshing -----------------------------------------------------------------

void Udskriv::Form_Activate() {
    fillChampionshipCombo();
    fillDiplomaWeeks();
    fillStatisticsClubs();
    Database& db = app().database();
    dataKapflyvninger->setRows([&db](size_t o, size_t l) { return races::ListRaces(db, o, l); });
    dataKapflyvninger2->setRows([&db](size_t o, size_t l) { return races::ListRaces(db, o, l); });
    DataForeninger->setRows([&db](size_t o, size_t l) { return ListForeninger(db, o, l); });
    DataForeninger2->setRows([&db](size_t o, size_t l) { return ListForeninger(db, o, l); });
    dataMesterskaber->setRows([&db](size_t o, size_t l) { return championships::ListChampionships(db, o, l); });
    setCurrentRow(gridForeninger, DataForeninger->rowCount() ? 0 : -1);
    setCurrentRow(gridForeninger2, DataForeninger2->rowCount() ? 0 : -1);
    setCurrentRow(gridMesterskaber, dataMesterskaber->rowCount() ? 0 : -1);
    championshipMoved();
    positionRaceLists();
    for (QTableView* g : {gridKapflyvninger, gridKapflyvninger2, gridKapflyvninger3, gridForeninger, gridForeninger2, gridMesterskaber})
        g->resizeColumnsToContents();
    txtDocname->setText(QSettings().value(kWordFileKey, QString()).toString());

    // Centred in the main window's inner area where it fits, else from its top left corner.
    if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()); sw && sw->mdiArea()) {
        const QSize area = sw->mdiArea()->viewport()->size();
        // Wide enough for all nine tab captions at once when the main window has the room;
        // the tab bar scrolls otherwise.
        const int allTabs = tabs->tabBar()->sizeHint().width() + (sw->sizeHint().width() - tabs->sizeHint().width()) + 8;
        QSize size = sw->sizeHint().expandedTo(QSize(760, 560));
        size.setWidth(std::max(size.width(), std::min(allTabs, area.width())));
        sw->resize(size);
        sw->move(std::max(0, (area.width() - sw->width()) / 2), std::max(0, (area.height() - sw->height()) / 2));
    }
}

void Udskriv::fillChampionshipCombo() { fillCombo(cboDiplMestersk, reports::championshipChoices(app().database())); }

void Udskriv::fillDiplomaWeeks() { fillCombo(cboDiplUge, reports::diplomaWeekChoices(app().database())); }

void Udskriv::fillStatisticsClubs() {
    const QString loft = StatSlag->currentText();
    fillCombo(StatForening, reports::statisticsClubChoices(app().database()));
    statisticsClubChanged();
    int i = StatSlag->findText(loft);
    if (i >= 0) StatSlag->setCurrentIndex(i);
}

void Udskriv::positionRaceLists() {
    for (auto [g, model] : {std::pair{gridKapflyvninger, dataKapflyvninger}, std::pair{gridKapflyvninger2, dataKapflyvninger2}}) {
        model->fetchAll();  // the start row may be the last one
        std::vector<std::optional<int>> weeks;
        for (int row = 0; row < model->rowCount(); ++row) {
            Value u = model->value(row, "Uge");
            weeks.push_back(u.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(u.toInt())));
        }
        setCurrentRow(g, races::listStartRow(weeks, app().currentWeek));
    }
}

void Udskriv::refreshRaces() {
    if (holding_) {
        racesStale_ = true;
        return;
    }
    bool lost = false;
    for (auto [g, model] : {std::pair{gridKapflyvninger, dataKapflyvninger}, std::pair{gridKapflyvninger2, dataKapflyvninger2}}) {
        Value nr = current(g, model, "Nr");
        model->reload();
        int row = nr.isNull() ? -1 : model->findRow([&](int r) { return model->value(r, "Nr") == nr; });
        if (row >= 0) setCurrentRow(g, row);
        else lost = true;
    }
    // A race that is gone leaves its list where a new dialog would start.
    if (lost) positionRaceLists();
    fillDiplomaWeeks();
}

void Udskriv::refreshClubs() {
    if (holding_) {
        clubsStale_ = true;
        return;
    }
    for (auto [g, model] : {std::pair{gridForeninger, DataForeninger}, std::pair{gridForeninger2, DataForeninger2}}) {
        Value rec = current(g, model, "RecNr");
        model->reload();
        int row = rec.isNull() ? -1 : model->findRow([&](int r) { return model->value(r, "RecNr") == rec; });
        setCurrentRow(g, row >= 0 ? row : (model->rowCount() ? 0 : -1));
    }
    fillStatisticsClubs();
}

void Udskriv::refreshChampionships() {
    if (holding_) {
        championshipsStale_ = true;
        return;
    }
    Value rec = current(gridMesterskaber, dataMesterskaber, "RecNr");
    dataMesterskaber->reload();
    int row = rec.isNull() ? -1 : dataMesterskaber->findRow([&](int r) { return dataMesterskaber->value(r, "RecNr") == rec; });
    setCurrentRow(gridMesterskaber, row >= 0 ? row : (dataMesterskaber->rowCount() ? 0 : -1));
    championshipMoved();
    fillChampionshipCombo();
}

void Udskriv::holdingLists(const std::function<void()>& action) {
    holding_ = true;
    try {
        action();
    } catch (...) {
        holding_ = false;
        throw;
    }
    holding_ = false;
    if (std::exchange(racesStale_, false)) refreshRaces();
    if (std::exchange(clubsStale_, false)) refreshClubs();
    if (std::exchange(championshipsStale_, false)) refreshChampionships();
}

Value Udskriv::current(const QTableView* grid, const RowTableModel* model, std::string_view field) {
    QModelIndex i = grid->currentIndex();
    if (!i.isValid()) return {};
    return model->value(i.row(), field);
}

}  // namespace vemora::gui
