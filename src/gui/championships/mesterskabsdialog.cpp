#include "gui/championships/mesterskabsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "core/base/dates.h"
#include "core/championships/definition.h"
#include "gui/app/behaviours.h"
#include "gui/championships/mesterskaber.h"

namespace vemora::gui {

namespace champ = championships;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The type list takes no free text: one key chooses a type, every other printable key is
// swallowed (pasting is caught by the check on the text).
class TypeKeys : public QObject {
public:
    explicit TypeKeys(QComboBox* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        std::optional<std::string> type;
        if (k->key() == Qt::Key_Backspace) {
            type = champ::TypeForKey('\b');
        } else {
            QString t = k->text();
            if (t.isEmpty() || !t.at(0).isPrint()) return false;
            if (t.at(0).unicode() < 128) type = champ::TypeForKey(static_cast<char>(t.at(0).unicode()));
        }
        if (type) box_->setCurrentIndex(box_->findText(q(*type)));
        return true;
    }

private:
    QComboBox* box_;
};

// Enter (without Shift, Ctrl or Alt) in the ring number box adds the bird.
class RingEnter : public QObject {
public:
    RingEnter(QObject* parent, std::function<void()> add) : QObject(parent), add_(std::move(add)) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) ||
            (k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            return false;
        add_();
        return true;
    }

private:
    std::function<void()> add_;
};

// Delete in the race grid takes the race out of the championship.
class GridDelete : public QObject {
public:
    GridDelete(QObject* parent, std::function<void()> remove) : QObject(parent), remove_(std::move(remove)) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(ev)->key() != Qt::Key_Delete) return false;
        remove_();
        return true;
    }

private:
    std::function<void()> remove_;
};

QLineEdit* box(const char* name, int maxLength, int width = 0) {
    auto* b = new QLineEdit;
    b->setObjectName(name);
    b->setMaxLength(maxLength);
    if (width) b->setMaximumWidth(width);
    return b;
}

}  // namespace

// ---- the dialog -------------------------------------------------------------------------------

Mesterskabsdialog::Mesterskabsdialog(AppState& app, long long recNr, QWidget* parent)
    : DialogForm(app, "Mesterskabsdialog", "Rediger mesterskab", parent), recNr_(recNr) {
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");
    SSTab1->addTab(buildGenerelt(), "&Generelt");
    SSTab1->addTab(buildAntal(), "&Medtag antal...");
    SSTab1->addTab(buildKapflyvninger(), "&Kapflyvninger");
    SSTab1->addTab(buildDuer(), "Deltagende &duer");
    cmdLuk = layOutTabsAndClose(this, SSTab1, "cmdLuk");
    resize(780, 440);

    // The digits-only boxes, the boxes that move on when typed full, and padding.
    for (QLineEdit* b : {Nr, AntalDuer, AntalFlyvninger, ProcentAfsendte, Antal_L_flyvninger, Antal_M_flyvninger,
                         Antal_S_flyvninger, Antal_P_flyvninger, Aargang})
        DigitsOnly(b);
    for (QLineEdit* b : {Nr, Titel, Aargang, EksklAargang, Foreningsmarkering1, Omraade, Kode[0], Kode[1], Kode[2]})
        MovesOnWhenFull(b);
    ZeroPadOnLeave(Nr, 3);
    ZeroPadOnLeave(Aargang, 2);
    for (QLineEdit* b : findChildren<QLineEdit*>())
        if (b != Mesterskabstype->lineEdit()) SelectAllOnFocus(b);
    EnterAsTab(this);
    // After the shared Enter behaviour, so that this filter sees the key first.
    txtRingnr->installEventFilter(new RingEnter(txtRingnr, [this] { cmdAddRingnr_Click(); }));

    const std::pair<QWidget*, const char*> fields[] = {{Nr, "Nr"},
                                                       {Titel, "Titel"},
                                                       {Mesterskabstype, "Type"},
                                                       {Juniorer, "Kun_juniorduer"},
                                                       {Kun_begyndere, "Kun_begyndere"},
                                                       {Kun_pensionister, "Kun_pensionister"},
                                                       {Sportsduer, "Kun_sportsduer"},
                                                       {EksklSportsduer, "Ekskl_sportsduer"},
                                                       {Foreningsafkrydsede, "Kun_foreningsafkrydsede"},
                                                       {Foreningsmarkering1, "Foreningsmarkering1"},
                                                       {Kode[0], "Kun_Kode1"},
                                                       {Kode[1], "Kun_Kode2"},
                                                       {Kode[2], "Kun_Kode3"},
                                                       {Omraade, "Område"},
                                                       {Koen, "Køn"},
                                                       {Aargang, "Årgang"},
                                                       {EksklAargang, "Ekskl_Årgang"},
                                                       {AntalDuer, "Antal_duer_pr_slag"},
                                                       {AntalFlyvninger, "Antal_flyvninger"},
                                                       {Antal_L_flyvninger, "Antal_L_Flyvninger"},
                                                       {Antal_M_flyvninger, "Antal_M_Flyvninger"},
                                                       {Antal_S_flyvninger, "Antal_S_Flyvninger"},
                                                       {Antal_P_flyvninger, "Antal_P_Flyvninger"},
                                                       {ProcentAfsendte, "TopProc"}};
    for (const auto& [control, field] : fields) bindings().bind(control, field);
    activate();
}

QWidget* Mesterskabsdialog::buildGenerelt() {
    Nr = box("Nr", 3, 50);
    Titel = box("Titel", 50);
    Mesterskabstype = new QComboBox;
    Mesterskabstype->setObjectName("Mesterskabstype");
    Mesterskabstype->setEditable(true);
    Mesterskabstype->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& t : champ::ChampionshipTypes()) Mesterskabstype->addItem(q(t));
    wireTypeBox();

    auto* frame = new QGroupBox("Mesterskab");
    auto* fg = new QGridLayout(frame);
    fg->addWidget(new QLabel("Nr"), 0, 0);
    fg->addWidget(Nr, 0, 1);
    fg->addWidget(new QLabel("Titel"), 1, 0);
    fg->addWidget(Titel, 1, 1, 1, 2);
    fg->addWidget(new QLabel("Type"), 2, 0);
    fg->addWidget(Mesterskabstype, 2, 1, 1, 2);
    fg->setColumnStretch(2, 1);

    auto check = [](const char* name, const char* caption) {
        auto* c = new QCheckBox(caption);
        c->setObjectName(name);
        return c;
    };
    Juniorer = check("Juniorer", "Kun juniorer");
    Kun_begyndere = check("Kun_begyndere", "Kun begyndere");
    Kun_pensionister = check("Kun_pensionister", "Kun pensionister");
    Sportsduer = check("Sportsduer", "Kun sportsduer");
    EksklSportsduer = check("EksklSportsduer", "Ekskluder sportsduer");
    Foreningsafkrydsede = check("Foreningsafkrydsede", "Kun foreningsafkrydsede duer");
    Foreningsmarkering1 = box("Foreningsmarkering1", 1, 30);
    for (int i = 0; i < 3; ++i) Kode[i] = box(QString("Kode(%1)").arg(i).toUtf8().constData(), 1, 30);
    Omraade = box("Område", 5, 70);
    Koen = box("Køn", 1, 30);
    Aargang = box("Årgang", 2, 40);
    EksklAargang = box("Ekskl_Årgang", 2, 40);

    auto* criteria = new QGroupBox("Deltagerkriterier");
    auto* cg = new QGridLayout(criteria);
    int r = 0;
    for (QCheckBox* c : {Juniorer, Kun_begyndere, Kun_pensionister, Sportsduer, EksklSportsduer, Foreningsafkrydsede})
        cg->addWidget(c, r++, 0, 1, 2);
    auto row = [&](int at, const QString& caption, QLineEdit* b, const QString& after = {}) {
        cg->addWidget(new QLabel(caption), at, 2);
        cg->addWidget(b, at, 3);
        if (!after.isEmpty()) cg->addWidget(new QLabel(after), at, 4);
    };
    row(0, "Kun foreningsmarkering", Foreningsmarkering1);
    for (int i = 0; i < 3; ++i) row(1 + i, QString("Kun kode%1    =").arg(i + 1), Kode[i]);
    row(4, "Kun område", Omraade);
    row(5, "Kun køn", Koen);
    row(6, "Kun årgang", Aargang);
    row(7, "Årgang", EksklAargang, "indgår IKKE");
    cg->setColumnStretch(5, 1);

    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(frame);
    v->addWidget(criteria);
    v->addStretch();
    return page;
}

void Mesterskabsdialog::wireTypeBox() {
    Mesterskabstype->installEventFilter(new TypeKeys(Mesterskabstype));
    connect(Mesterskabstype, &QComboBox::editTextChanged, this, [this](const QString& text) {
        std::string t = champ::NormalizeType(text.toStdString());
        if (q(t) != text) {
            Mesterskabstype->setEditText(q(t));
            return;
        }
        UpdateCaptions();
    });
}

QWidget* Mesterskabsdialog::buildAntal() {
    auto count = [](const char* name) { return box(name, 5, 60); };
    AntalDuer = count("AntalDuer");
    AntalFlyvninger = count("AntalFlyvninger");
    Antal_L_flyvninger = count("Antal_L_flyvninger");
    Antal_M_flyvninger = count("Antal_M_flyvninger");
    Antal_S_flyvninger = count("Antal_S_flyvninger");
    Antal_P_flyvninger = count("Antal_P_flyvninger");
    ProcentAfsendte = box("ProcentAfsendte", 3, 60);
    auto label = [](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(name);
        return l;
    };
    lblDuerPrFlyvn = label("lblDuerPrFlyvn");
    lblKapflPrSlag = label("lblKapflPrSlag");
    lblLKapflPrSlag = label("lblLKapflPrSlag");
    lblMKapflPrSlag = label("lblMKapflPrSlag");
    lblSKapflPrSlag = label("lblSKapflPrSlag");
    lblPKapflPrSlag = label("lblPKapflPrSlag");
    auto* percent = new QLabel("procent af afsendte duer");

    auto* frame = new QGroupBox("Kriterier");
    auto* g = new QGridLayout(frame);
    const std::pair<QLineEdit*, QLabel*> rows[] = {{AntalDuer, lblDuerPrFlyvn},         {AntalFlyvninger, lblKapflPrSlag},
                                                   {Antal_L_flyvninger, lblLKapflPrSlag}, {Antal_M_flyvninger, lblMKapflPrSlag},
                                                   {Antal_S_flyvninger, lblSKapflPrSlag}, {Antal_P_flyvninger, lblPKapflPrSlag},
                                                   {ProcentAfsendte, percent}};
    int r = 0;
    for (const auto& [b, l] : rows) {
        g->addWidget(new QLabel("Medtag"), r, 0);
        g->addWidget(b, r, 1);
        g->addWidget(l, r++, 2);
    }
    g->setColumnStretch(2, 1);
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(frame);
    v->addStretch();
    UpdateCaptions();
    return page;
}

QWidget* Mesterskabsdialog::buildKapflyvninger() {
    Kapflyvninger = new QListWidget;
    Kapflyvninger->setObjectName("Kapflyvninger");
    connect(Kapflyvninger, &QListWidget::itemDoubleClicked, this, [this] { Kapflyvninger_DblClick(); });
    Mesterskabsflyvninger = new QTableView;
    Mesterskabsflyvninger->setObjectName("Mesterskabsflyvninger");
    racesModel_ = new RowTableModel(app(),
                                    {{"Uge", "Uge"},
                                     {"Farvekode", "Farvekode"},
                                     {"Regi", "Regi"},
                                     {"Station", "Station2"},
                                     {"Slipdato", "Slipdato", [](const Value& v) { return q(danishDate(v.toText())); }},
                                     {"Sliptid", "Sliptid"}},
                                    this);
    Mesterskabsflyvninger->setModel(racesModel_);
    Mesterskabsflyvninger->setSelectionBehavior(QAbstractItemView::SelectRows);
    Mesterskabsflyvninger->setSelectionMode(QAbstractItemView::SingleSelection);
    Mesterskabsflyvninger->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Mesterskabsflyvninger->verticalHeader()->setDefaultSectionSize(22);
    Mesterskabsflyvninger->installEventFilter(new GridDelete(Mesterskabsflyvninger, [this] { Mesterskabsflyvninger_Delete(); }));

    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->addWidget(new QLabel("Kapflyvninger (dobbeltklik for at tilføje)"), 0, 0);
    g->addWidget(Kapflyvninger, 1, 0);
    g->addWidget(new QLabel("Mesterskabets kapflyvninger (Delete fjerner)"), 0, 1);
    g->addWidget(Mesterskabsflyvninger, 1, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 3);
    return page;
}

QWidget* Mesterskabsdialog::buildDuer() {
    txtRingnr = box("txtRingnr", 11, 110);
    txtRingnr->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9-]*"), txtRingnr));
    connect(txtRingnr, &QLineEdit::textEdited, this, [this](const QString& t) {
        QString full = q(champ::RewriteRingnr(t.toStdString()));
        if (full != t) txtRingnr->setText(full);
    });
    auto button = [this](const char* name, const char* caption, void (Mesterskabsdialog::*fn)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, fn);
        return b;
    };
    cmdAddRingnr = button("cmdAddRingnr", "Tilføj", &Mesterskabsdialog::cmdAddRingnr_Click);
    cmdDelRingnr = button("cmdDelRingnr", "Slet", &Mesterskabsdialog::cmdDelRingnr_Click);
    cmdClearRingnr = button("cmdClearRingnr", "Slet alle", &Mesterskabsdialog::cmdClearRingnr_Click);
    lstDeltagendeDuer = new QListWidget;
    lstDeltagendeDuer->setObjectName("lstDeltagendeDuer");
    lstDeltagendeDuer->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->addWidget(new QLabel("Ringnummer"), 0, 0);
    g->addWidget(txtRingnr, 1, 0);
    g->addWidget(cmdAddRingnr, 2, 0);
    g->addWidget(cmdDelRingnr, 3, 0);
    g->addWidget(cmdClearRingnr, 4, 0);
    g->setRowStretch(5, 1);
    g->addWidget(new QLabel("Deltagende ringnumre"), 0, 1);
    g->addWidget(lstDeltagendeDuer, 1, 1, 5, 1);
    g->setColumnStretch(1, 1);
    return page;
}

void Mesterskabsdialog::UpdateCaptions() {
    champ::CountCaptions c = champ::CaptionsForType(Mesterskabstype->currentText().toStdString());
    const std::pair<QLabel*, const std::optional<std::string>*> labels[] = {
        {lblDuerPrFlyvn, &c.birds}, {lblKapflPrSlag, &c.flights}, {lblLKapflPrSlag, &c.l},
        {lblMKapflPrSlag, &c.m},    {lblSKapflPrSlag, &c.s},      {lblPKapflPrSlag, &c.p}};
    for (const auto& [label, caption] : labels)
        if (label && *caption) label->setText(q(**caption));
}

void Mesterskabsdialog::Form_Activate() {
    try {
        auto record = champ::LoadDefinition(app().database(), recNr_);
        exists_ = record.has_value();
        if (record) bindings().load(*record);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    UpdateCaptions();
    FillDueListe();
    racesModel_->setRows([this](size_t offset, size_t limit) {
        return champ::ChampionshipRaces(app().database(), recNr_, offset, limit);
    });
    refreshRaces();
}

void Mesterskabsdialog::showEvent(QShowEvent* e) {
    DialogForm::showEvent(e);
    if (!focused_) {
        focused_ = true;
        Nr->setFocus();
    }
}

void Mesterskabsdialog::refreshRaces(long long race) {
    try {
        RowSet available = champ::AvailableRaces(app().database(), recNr_);
        Kapflyvninger->clear();
        for (size_t i = 0; i < available.size(); ++i) {
            auto* item = new QListWidgetItem(q(available.get(i, "Id").toText()));
            item->setData(Qt::UserRole, QVariant::fromValue(available.get(i, "Nr").toInt()));
            Kapflyvninger->addItem(item);
        }
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    racesModel_->reload();
    Mesterskabsflyvninger->resizeColumnsToContents();
    int row = race ? racesModel_->findRow([&](int r) { return racesModel_->value(r, "Kapflyvning").toInt() == race; }) : -1;
    if (row >= 0) Mesterskabsflyvninger->selectRow(row);
}

void Mesterskabsdialog::Kapflyvninger_DblClick() {
    QListWidgetItem* chosen = Kapflyvninger->currentItem();
    if (!chosen || !chosen->isSelected()) {
        app().userInterface().message("Der er ikke markeret nogen kapflyvning.", "Fejl", Icon::Exclamation);
        return;
    }
    const long long race = chosen->data(Qt::UserRole).toLongLong();
    const QString text = chosen->text();
    try {
        if (!champ::AddRace(app(), recNr_, race)) return;
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    refreshRaces(race);
    // The next race to add is usually the one after: the first whose text sorts at or after
    // the added one, else the last.
    const int n = Kapflyvninger->count();
    if (n == 0) return;
    int at = n - 1;
    for (int i = 0; i < n; ++i)
        if (Kapflyvninger->item(i)->text().compare(text, Qt::CaseInsensitive) >= 0) {
            at = i;
            break;
        }
    Kapflyvninger->setCurrentRow(at);
}

void Mesterskabsdialog::Mesterskabsflyvninger_Delete() {
    QModelIndex cur = Mesterskabsflyvninger->currentIndex();
    const long long race = cur.isValid() ? racesModel_->value(cur.row(), "Kapflyvning").toInt() : 0;
    if (!race) return;
    try {
        champ::RemoveRace(app().database(), recNr_, race);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
        return;
    }
    const int keep = Mesterskabsflyvninger->currentIndex().row();
    refreshRaces();
    Kapflyvninger->clearSelection();
    Kapflyvninger->setCurrentItem(nullptr);
    if (racesModel_->rowCount() > 0) Mesterskabsflyvninger->selectRow(std::min(keep, racesModel_->rowCount() - 1));
}

void Mesterskabsdialog::FillDueListe() {
    lstDeltagendeDuer->clear();
    try {
        for (const auto& ring : champ::MemberBirds(app().database(), recNr_)) lstDeltagendeDuer->addItem(q(ring));
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

void Mesterskabsdialog::cmdAddRingnr_Click() {
    try {
        if (champ::AddMemberBird(app(), recNr_, txtRingnr->text().toStdString())) FillDueListe();
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    txtRingnr->setFocus();
    txtRingnr->selectAll();
}

void Mesterskabsdialog::cmdDelRingnr_Click() {
    std::vector<std::string> rings;
    for (QListWidgetItem* item : lstDeltagendeDuer->selectedItems()) rings.push_back(item->text().toStdString());
    try {
        champ::DeleteMemberBirds(app().database(), recNr_, rings);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    FillDueListe();
}

void Mesterskabsdialog::cmdClearRingnr_Click() {
    try {
        champ::ClearMemberBirds(app().database(), recNr_);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
    FillDueListe();
}

void Mesterskabsdialog::leaveFocusedField() {
    // The box being left is padded before the closing reads it.
    if (auto* b = qobject_cast<QLineEdit*>(focusWidget())) emit b->editingFinished();
}

bool Mesterskabsdialog::CanClose() {
    if (!exists_) return true;
    if (!champ::SaveDefinition(app(), recNr_, bindings().save())) return false;
    // The list has read the saved row again; it goes to this championship, wherever it sorts.
    if (auto* list = qobject_cast<Mesterskaber*>(findLoadedForm("Mesterskaber"))) list->refresh(recNr_);
    return true;
}

}  // namespace vemora::gui
