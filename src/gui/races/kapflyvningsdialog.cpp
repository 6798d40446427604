#include "gui/races/kapflyvningsdialog.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/domain/catalogue.h"
#include "core/races/racefields.h"
#include "core/races/races.h"
#include "gui/app/behaviours.h"
#include "gui/app/editgrid.h"
#include "gui/app/leave.h"
#include "gui/races/kapflyvninger.h"
#include "gui/races/prizemodel.h"

namespace vemora::gui {


namespace core = vemora::races;

namespace {

QComboBox* comboBox(const char* name, bool editable) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setEditable(editable);
    if (editable) {
        c->setCompleter(nullptr);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    return c;
}

QLineEdit* textBox(const char* name, int maxLength = 0) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    if (maxLength) e->setMaxLength(maxLength);
    return e;
}

QCheckBox* checkBox(const QString& name, const QString& caption) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(name);
    return c;
}

// The width of a box that shows `chars` characters (of the widest digit), whatever it holds:
// the dialog's layout must not move with the race shown or the length of a list.
void fixedChars(QWidget* box, int chars) {
    if (auto* c = qobject_cast<QComboBox*>(box)) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(chars);
        c->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return;
    }
    QFontMetrics fm(box->font());
    box->setFixedWidth(fm.horizontalAdvance(QString(chars, '0')) + 16);
}

bool matchesDigits(const QString& text, const char* pattern) { return matchesDigitPattern(text.toStdString(), pattern); }

std::string str(const QString& s) { return s.toStdString(); }
QString qstr(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Kapflyvningsdialog::Kapflyvningsdialog(AppState& app, QWidget* parent)
    : DialogForm(app, "Kapflyvningsdialog", "Rediger kapflyvning", parent) {
    prizes_ = new PrizeModel(app, this);
    buildControls();
    bindFields();
    connectHandlers();
    // Form_Load: the station list is filled once; the race is loaded when the dialog shows.
    RefreshStationer();
}

void Kapflyvningsdialog::buildControls() {
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");

    // ---- the race page
    auto* racePage = new QWidget;
    racePage->setObjectName("Kapflyvningsside");
    Uge = comboBox("Uge", true);
    Farvekode = comboBox("Farvekode", true);
    regi = textBox("regi");
    regi->setReadOnly(true);
    regi->setFocusPolicy(Qt::NoFocus);
    Station = comboBox("Station", true);
    Stationsnavn = textBox("Stationsnavn", 50);
    LMU = comboBox("LMU", true);
    LMU->addItems({"L", "M", "U"});
    Kode = comboBox("Kode", false);
    Kode->addItems({"", "Kode 1", "Kode 2", "Kode 3"});
    Slipdato = textBox("Slipdato", 10);
    Sliptid = textBox("Sliptid", 5);
    Gebyr = textBox("Gebyr", 9);
    GebyrSlag = textBox("GebyrSlag", 9);
    lblGebyr = new QLabel("Gebyr pr. due i øre");
    lblGebyr->setObjectName("lblGebyr");
    lblGebyrSlag = new QLabel("Fast gebyr i øre");
    lblGebyrSlag->setObjectName("lblGebyrSlag");
    Kommentarer = textBox("Kommentarer", 255);
    for (auto [box, chars] : std::initializer_list<std::pair<QWidget*, int>>{
             {Uge, 3}, {Farvekode, 17}, {regi, 7}, {Station, 4}, {Stationsnavn, 22}, {LMU, 2}, {Kode, 7},
             {Slipdato, 10}, {Sliptid, 5}, {Gebyr, 7}, {GebyrSlag, 7}})
        fixedChars(box, chars);

    auto* grid = new QGridLayout;
    int row = 0;
    auto label = [](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label("Uge", Uge), row, 0);
    grid->addWidget(Uge, row, 1);
    grid->addWidget(label("Farvekode", Farvekode), row, 2);
    grid->addWidget(Farvekode, row, 3);
    grid->addWidget(label("Regi", regi), row, 4);
    grid->addWidget(regi, row++, 5);
    grid->addWidget(label("Station", Station), row, 0);
    grid->addWidget(Station, row, 1);
    grid->addWidget(label("Navn", Stationsnavn), row, 2);
    grid->addWidget(Stationsnavn, row++, 3, 1, 3);
    grid->addWidget(label("LMU", LMU), row, 0);
    grid->addWidget(LMU, row, 1);
    grid->addWidget(label("Beregn pr. kode", Kode), row, 2);
    grid->addWidget(Kode, row++, 3);

    auto* slip = new QGroupBox("Slipoplysninger");
    slip->setObjectName("fraSlip");
    auto* slipGrid = new QGridLayout(slip);
    slipGrid->addWidget(label("Dato", Slipdato), 0, 0);
    slipGrid->addWidget(Slipdato, 0, 1);
    slipGrid->addWidget(label("Klokkeslet", Sliptid), 0, 2);
    slipGrid->addWidget(Sliptid, 0, 3);
    grid->addWidget(slip, row++, 0, 1, 6);

    grid->addWidget(lblGebyr, row, 0, 1, 2);
    grid->addWidget(Gebyr, row, 2);
    grid->addWidget(lblGebyrSlag, row, 3, 1, 2);
    grid->addWidget(GebyrSlag, row++, 5);

    auto* gameBoxes = new QGroupBox("Spil");
    gameBoxes->setObjectName("fraSpil");
    auto* gamesGrid = new QGridLayout(gameBoxes);
    for (int i = 0; i < kScaleCount; ++i) {
        const size_t k = static_cast<size_t>(i);
        Spil[k] = checkBox("Spil" + QString::number(i), QString::fromUtf8(prizeScales()[k].gameCaption));
        gamesGrid->addWidget(Spil[k], i % 4, i / 4);
    }
    auto* pools = new QGroupBox("Puljepræmier");
    pools->setObjectName("fraPulje");
    auto* poolsBox = new QVBoxLayout(pools);
    for (size_t g = 0; g < games().size(); ++g) {
        const Game& game = games()[g];
        pool_[g] = checkBox(QString::fromUtf8(game.poolSwitch), QString::fromUtf8(game.poolCaption));
        poolsBox->addWidget(pool_[g]);
        // Each switch is open only while the box of its game is ticked.
        poolOf_[static_cast<size_t>(game.scale)] = pool_[g];
    }
    Pulje_Puljepræmier = pool_[kGameP];
    Elite_Puljepræmier = pool_[kGameE];
    Z_Puljepræmier = pool_[kGameZ];
    R_Puljepræmier = pool_[kGameR];
    grid->addWidget(gameBoxes, row, 0, 1, 4);
    grid->addWidget(pools, row++, 4, 1, 2);

    grid->addWidget(label("Kommentarer", Kommentarer), row, 0);
    grid->addWidget(Kommentarer, row++, 1, 1, 5);
    grid->setRowStretch(row, 1);
    // The boxes keep their widths; what is left goes to the right.
    grid->setColumnStretch(6, 1);
    racePage->setLayout(grid);

    // ---- the prize page
    auto* prizePage = new QWidget;
    prizePage->setObjectName("Præmieside");
    auto* scales = new QVBoxLayout;
    for (int i = 0; i < kScaleCount; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(prizeScales()[static_cast<size_t>(i)].caption));
        b->setObjectName("btnPræmie" + QString::number(i));
        btnPræmie[static_cast<size_t>(i)] = b;
        scales->addWidget(b);
    }
    scales->addStretch();
    Præmier = new QTableView;
    Præmier->setObjectName("Præmier");
    setupEditGrid(Præmier, prizes_);
    Præmier->setColumnHidden(2, true);
    Præmier->horizontalHeader()->setStretchLastSection(true);
    auto* prizeBox = new QHBoxLayout(prizePage);
    prizeBox->addLayout(scales);
    prizeBox->addWidget(Præmier, 1);

    SSTab1->addTab(racePage, "Kapflyvning");
    SSTab1->addTab(prizePage, "Præmier");

    cmdClose = layOutTabsAndClose(this, SSTab1, "cmdClose");
}

void Kapflyvningsdialog::bindFields() {
    FieldBindings& b = bindings();
    b.bind(Station, "Station");
    b.bind(Slipdato, "SlipDato");
    b.bind(Sliptid, "Sliptid");
    b.bind(Gebyr, "Gebyr");
    b.bind(GebyrSlag, "GebyrSlag");
    b.bind(LMU, "LMU");
    b.bind(Kode, "Kode");
    b.bind(Kommentarer, "Kommentarer");
    for (size_t i = 0; i < Spil.size(); ++i) b.bind(Spil[i], prizeScales()[i].flagField);
    for (size_t g = 0; g < pool_.size(); ++g) b.bind(pool_[g], games()[g].poolSwitch);
}

void Kapflyvningsdialog::connectHandlers() {
    EnterAsTab(this);
    for (QWidget* w : std::initializer_list<QWidget*>{Uge, Farvekode, Station, Stationsnavn, Slipdato, Sliptid, Gebyr,
                                                      GebyrSlag, Kommentarer})
        SelectAllOnFocus(w);

    // Week and colour code: two typed characters move on; leaving or choosing navigates.
    connect(Farvekode, &QComboBox::editTextChanged, this, [this](const QString& t) {
        regi->setText(t.isEmpty() ? QString() : qstr(raceCategory(str(t))));
    });
    codeComboBox(Uge, [](const QString& t) { return matchesDigits(t, "##"); }, [this] { return Uge_LostFocus(); });
    codeComboBox(Farvekode, [](const QString& t) { return t.size() == 2; }, [this] { return Farvekode_LostFocus(); });

    // Station number: digits only; the name box moves on when typed full.
    filterKeys(Station, [](QWidget*, const QString& t) { return t.at(0).isDigit(); });
    onLeave(Station, [this] { return Station_LostFocus(); });
    connect(Station, &QComboBox::activated, this, [this] { Station_LostFocus(); });
    onLeave(Stationsnavn, [this] { return Stationsnavn_LostFocus(); });
    MovesOnWhenFull(Stationsnavn);

    // Release date and time are rewritten while typed and move on when complete.
    connect(Slipdato, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (auto r = core::slipdatoWhileTyping(str(t))) Slipdato->setText(qstr(*r));
        if (matchesDigits(Slipdato->text(), "##-##-##") && Slipdato->hasFocus()) sendEnter(Slipdato);
    });
    connect(Sliptid, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (auto r = core::sliptidWhileTyping(str(t))) Sliptid->setText(qstr(*r));
        if (matchesDigits(Sliptid->text(), "##:##") && Sliptid->hasFocus()) sendEnter(Sliptid);
    });
    onLeave(Slipdato, [this] { return Slipdato_LostFocus(); });
    onLeave(Sliptid, [this] { return Sliptid_LostFocus(); });

    // Fees: digits only, and an empty box means no fee.
    for (QLineEdit* fee : {Gebyr, GebyrSlag}) {
        DigitsOnly(fee);
        onLeave(fee, [fee] {
            if (fee->text().isEmpty()) fee->setText("0");
            return true;
        });
    }

    // Distance class: l, m and u stand for themselves; nothing else can be typed.
    filterKeys(LMU, [](QWidget* box, const QString& t) {
        QString u = t.toUpper();
        if (u == "L" || u == "M" || u == "U") static_cast<QComboBox*>(box)->setEditText(u);
        return false;
    });

    for (int i = 0; i < 7; ++i) {
        connect(Spil[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, i] { Spil_Click(i); });
        connect(btnPræmie[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] { btnPræmie_Click(i); });
    }
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 0) commitGridEdit();
    });
    setFirstField(Uge);
}

// ---- form procedures ------------------------------------------------------------------------

void Kapflyvningsdialog::RefreshStationer() {
    const QString text = Station->currentText();
    Station->blockSignals(true);
    Station->clear();
    try {
        for (const auto& item : core::stationListItems(app().database())) Station->addItem(qstr(item));
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    Station->setEditText(text);
    Station->blockSignals(false);
}

bool Kapflyvningsdialog::SaveControls() {
    if (!nr_) return true;
    return core::SaveRace(app(), nr_, bindings().save());
}

bool Kapflyvningsdialog::commitGridEdit() {
    // The cell being typed, then the row being edited; both show their own messages.
    return commitCellEditor(Præmier) && prizes_->submit();
}

bool Kapflyvningsdialog::CanClose() {
    // SaveRace shows "Fejl ved lagring af kapflyvning." itself; the grid shows the prize message.
    if (!SaveControls()) return false;
    if (commitGridEdit()) return true;
    showField(Præmier);
    return false;
}

void Kapflyvningsdialog::UpdateFarvekode() {
    const QString previous = Farvekode->currentText();
    Farvekode->blockSignals(true);
    Farvekode->clear();
    try {
        for (const auto& c : core::raceColourCodes(app().database(), Uge->currentText().toInt())) Farvekode->addItem(qstr(c));
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    Farvekode->blockSignals(false);
    int i = Farvekode->findText(previous);
    Farvekode->setCurrentIndex(i >= 0 ? i : 0);
    Farvekode->setEditText(Farvekode->itemText(i >= 0 ? i : 0));
    // The list was refilled with its signals held back, so the category is set here.
    regi->setText(qstr(raceCategory(str(Farvekode->currentText()))));
}

void Kapflyvningsdialog::LoadControls() {
    std::optional<core::RaceRow> race;
    try {
        race = core::LoadRace(app().database(), nr_);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    if (!race) return;
    bindings().load(race->controls);
    // The station's name comes from the station register.
    QString name;
    if (!Station->currentText().isEmpty()) {
        try {
            name = qstr(core::stationName(app().database(), str(Station->currentText())));
        } catch (const DbError&) {
        }
    }
    Stationsnavn->setText(name);
    Stationsnavn->setReadOnly(Station->currentText().isEmpty());
}

// ---- opening and closing --------------------------------------------------------------------

void Kapflyvningsdialog::Form_Activate() {
    LoadControls();
    QString week, code;
    try {
        auto race = core::LoadRace(app().database(), nr_);
        if (race) {
            week = qstr(race->uge.toText());
            code = qstr(race->farvekode);
        }
        Uge->blockSignals(true);
        Uge->clear();
        for (int w : core::raceWeeks(app().database())) Uge->addItem(QString::number(w));
        Uge->blockSignals(false);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    Uge->setEditText(week);
    Farvekode->setEditText(code);
    UpdateFarvekode();
    Farvekode->setEditText(code);
    enableByCategory(false);
}

bool Kapflyvningsdialog::isNational() const {
    // As the category box shows it: an empty colour code has no category either.
    const QString code = Farvekode->currentText();
    return code.isEmpty() || !isPrivateOrSection(str(code));
}

void Kapflyvningsdialog::enableByCategory(bool navigating) {
    const bool own = !isNational();
    // Opening decides all seven games; moving to another race only the first five, and the
    // Z and R games are then open to the user whatever the race.
    for (size_t i = 0; i < 7; ++i) Spil[i]->setEnabled(i < 5 ? own : (navigating || own));
    for (QWidget* w : std::initializer_list<QWidget*>{Gebyr, lblGebyr, GebyrSlag, lblGebyrSlag}) w->setEnabled(own);
    for (int i = 0; i < 7; ++i) Spil_Click(i);
}

void Kapflyvningsdialog::afterClose() {
    // The list shows the race the dialog ended on.
    if (auto* list = qobject_cast<Kapflyvninger*>(findLoadedForm("Kapflyvninger"))) list->refreshAndFind(nr_);
}

// ---- navigation -----------------------------------------------------------------------------

void Kapflyvningsdialog::refuse(QWidget* box, const std::string& text) {
    app().userInterface().message(text, "Fejl", Icon::Exclamation);
    if (auto* c = qobject_cast<QComboBox*>(box)) c->setEditText(textAtFocus(box));
    else if (auto* e = qobject_cast<QLineEdit*>(box)) e->setText(textAtFocus(box));
    focusBack(box);
}

void Kapflyvningsdialog::showRace(long long nr) {
    const int scale = shownScale_;
    nr_ = nr;
    LoadControls();
    enableByCategory(true);
    if (scale > 0 && btnPræmie[static_cast<size_t>(scale - 1)]->isEnabled()) btnPræmie_Click(scale - 1);
    else if (scale > 0) prizes_->showTable(-1, nr_);
}

bool Kapflyvningsdialog::Uge_LostFocus() {
    const QString t = Uge->currentText();
    if (t.isEmpty() || t == textAtFocus(Uge)) return true;
    bool numeric = false;
    int week = t.toInt(&numeric);
    if (numeric) app().currentWeek = week;
    if (Uge->findText(t) < 0) {
        refuse(Uge, "Der er ikke oprettet kapflyvninger for i uge " + str(t) + ".");
        return false;
    }
    if (!CanClose()) {
        Uge->setEditText(textAtFocus(Uge));
        return false;
    }
    setTextAtFocus(Uge, t);
    UpdateFarvekode();
    if (auto nr = core::findRace(app().database(), week, str(Farvekode->currentText()))) showRace(*nr);
    return true;
}

bool Kapflyvningsdialog::Farvekode_LostFocus() {
    const QString t = Farvekode->currentText();
    if (t.isEmpty() || t == textAtFocus(Farvekode)) return true;
    std::vector<std::string> codes;
    for (int i = 0; i < Farvekode->count(); ++i) codes.push_back(str(Farvekode->itemText(i)));
    auto entry = core::matchColourCode(str(t), codes);
    if (!entry) {
        refuse(Farvekode, "Der er ikke oprettet kapflyvninger i uge " + str(Uge->currentText()) + " af type " + str(t) + ".");
        return false;
    }
    Farvekode->setEditText(qstr(*entry));
    if (!CanClose()) {
        Farvekode->setEditText(textAtFocus(Farvekode));
        return false;
    }
    setTextAtFocus(Farvekode, qstr(*entry));
    if (auto nr = core::findRace(app().database(), Uge->currentText().toInt(), *entry)) showRace(*nr);
    return true;
}

// ---- station, date and time -----------------------------------------------------------------

bool Kapflyvningsdialog::Station_LostFocus() {
    const QString t = Station->currentText();
    if (t.isEmpty()) {
        Stationsnavn->clear();
        Stationsnavn->setReadOnly(true);
        return true;
    }
    if (t == textAtFocus(Station)) return true;
    auto s = core::LeaveStation(app(), str(t));
    if (!s.ok) {
        Station->setEditText(textAtFocus(Station));
        focusBack(Station);
        return false;
    }
    Station->setEditText(qstr(s.nr));
    setTextAtFocus(Station, qstr(s.nr));
    Stationsnavn->setText(qstr(s.name));
    Stationsnavn->setReadOnly(false);
    return true;
}

bool Kapflyvningsdialog::Stationsnavn_LostFocus() {
    if (Stationsnavn->text() == textAtFocus(Stationsnavn) || Station->currentText().isEmpty()) return true;
    if (!core::SaveStationName(app(), str(Station->currentText()), str(Stationsnavn->text()))) return false;
    setTextAtFocus(Stationsnavn, Stationsnavn->text());
    RefreshStationer();
    return true;
}

bool Kapflyvningsdialog::Slipdato_LostFocus() {
    const QString t = Slipdato->text();
    if (t.isEmpty() || t == textAtFocus(Slipdato)) return true;
    auto c = core::checkSlipdato(str(t), str(Uge->currentText()), app().currentYear());
    if (!c.ok) {
        refuse(Slipdato, c.error);
        return false;
    }
    Slipdato->setText(qstr(c.text));
    return true;
}

bool Kapflyvningsdialog::Sliptid_LostFocus() {
    const QString t = Sliptid->text();
    if (t.isEmpty() || t == textAtFocus(Sliptid)) return true;
    auto c = core::checkSliptid(str(t));
    if (c.ok) return true;
    refuse(Sliptid, c.error);
    return false;
}

// ---- games and prize scales -----------------------------------------------------------------

void Kapflyvningsdialog::Spil_Click(int index) {
    const size_t i = static_cast<size_t>(index);
    const bool on = Spil[i]->isChecked();
    btnPræmie[i]->setEnabled(on);
    if (poolOf_[i]) poolOf_[i]->setEnabled(on);
    if (!on && shownScale_ == index + 1) {
        // A radio button of an exclusive group can only be cleared with the group let go.
        btnPræmie[i]->setAutoExclusive(false);
        btnPræmie[i]->setChecked(false);
        btnPræmie[i]->setAutoExclusive(true);
        prizes_->showTable(-1, nr_);
        shownScale_ = 0;
    }
}

void Kapflyvningsdialog::btnPræmie_Click(int index) {
    if (index + 1 != shownScale_ && shownScale_ > 0 && !commitGridEdit()) {
        if (shownScale_ > 0) btnPræmie[static_cast<size_t>(shownScale_ - 1)]->setChecked(true);
        return;
    }
    btnPræmie[static_cast<size_t>(index)]->setChecked(true);
    prizes_->showTable(index, nr_);
    shownScale_ = index + 1;
}

}  // namespace vemora::gui
