#include "gui/settings/indskud.h"

#include <QCheckBox>
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

#include "core/db/schema.h"
#include "core/domain/catalogue.h"
#include "gui/app/behaviours.h"
#include "gui/app/editgrid.h"
#include "gui/app/leave.h"
#include "gui/app/mainwindow.h"
#include "gui/settings/postnrtown.h"
#include "gui/settings/prizetemplatemodel.h"

namespace vemora::gui {

namespace {

QLineEdit* box(const QString& name, int maxLength = 0) {
    auto* b = new QLineEdit;
    b->setObjectName(name);
    if (maxLength > 0) b->setMaxLength(maxLength);
    return b;
}

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QLineEdit* b) { return b->text().toStdString(); }

// Stake and prize-factor boxes are never left empty.
void zeroWhenLeftEmpty(QLineEdit* b, std::string (*rule)(const std::string&)) {
    onLeave(b, [b, rule] {
        QString t = q(rule(b->text().toStdString()));
        if (t != b->text()) b->setText(t);
        return true;
    });
}

}  // namespace

Indskud::Indskud(AppState& app, QWidget* parent) : DialogForm(app, "Indskud", "Indskud, præmier og markeringer", parent) {
    tabs_ = new QTabWidget;
    tabs_->setObjectName("SSTab1");
    tabs_->addTab(buildGenerelt(), "&Generelt");
    tabs_->addTab(buildIndskud(), "&Indskud");
    tabs_->addTab(buildPræmier(), "&Præmier");
    tabs_->addTab(buildMarkeringer(), "&Markeringer");

    cmdClose_ = layOutTabsAndClose(this, tabs_, "cmdClose");

    for (QLineEdit* b : findChildren<QLineEdit*>()) SelectAllOnFocus(b);
    EnterAsTab(this);
    setFirstField(sektionsnavn_);
    activate();
}

QWidget* Indskud::buildGenerelt() {
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    sektionsnr_ = box("Sektionsnr", 3);
    DigitsOnly(sektionsnr_);
    ZeroPadOnLeave(sektionsnr_, 3);
    MovesOnWhenFull(sektionsnr_);
    sektionsnavn_ = box("Sektionsnavn", 35);
    MovesOnWhenFull(sektionsnavn_);
    g->addWidget(new QLabel("Sektionsnr"), 0, 0);
    g->addWidget(sektionsnr_, 0, 1);
    g->addWidget(new QLabel("Sektionsnavn"), 1, 0);
    g->addWidget(sektionsnavn_, 1, 1, 1, 2);

    const int maxLen[6] = {35, 35, 4, 35, 4, 14};
    for (int i = 0; i < 6; ++i) {
        sektionsfelt_[i] = box(QString("Sektionsfelt%1").arg(i), maxLen[i]);
        MovesOnWhenFull(sektionsfelt_[i]);
    }
    DigitsOnly(sektionsfelt_[2]);
    DigitsOnly(sektionsfelt_[4]);
    auto* bank = new QGroupBox("Bankforbindelse");
    auto* bg = new QGridLayout(bank);
    bg->addWidget(new QLabel("Bank"), 0, 0);
    bg->addWidget(sektionsfelt_[0], 0, 1, 1, 2);
    bg->addWidget(new QLabel("Adresse"), 1, 0);
    bg->addWidget(sektionsfelt_[1], 1, 1, 1, 2);
    bg->addWidget(new QLabel("Postnr"), 2, 0);
    sektionsfelt_[2]->setMaximumWidth(60);
    bg->addWidget(sektionsfelt_[2], 2, 1);
    bg->addWidget(sektionsfelt_[3], 2, 2);
    bg->addWidget(new QLabel("Reg.nr"), 3, 0);
    sektionsfelt_[4]->setMaximumWidth(60);
    bg->addWidget(sektionsfelt_[4], 3, 1);
    bg->addWidget(new QLabel("Kontonr"), 4, 0);
    bg->addWidget(sektionsfelt_[5], 4, 1, 1, 2);
    bg->setColumnStretch(2, 1);
    g->addWidget(bank, 2, 0, 1, 3);
    g->setColumnStretch(2, 1);
    g->setRowStretch(3, 1);
    sektionsnr_->setMaximumWidth(60);
    bankPostnr_ = new PostnrTown(app(), sektionsfelt_[2], sektionsfelt_[3]);
    bindings().bind(sektionsnr_, "Sektionsnr");
    bindings().bind(sektionsnavn_, "Sektionsnavn");
    // Box 3 is the town of the postal code in box 2; the bank fields fill the others.
    const int boxOf[5] = {0, 1, 2, 4, 5};
    for (size_t i = 0; i < kSektionsBankFields.size(); ++i)
        bindings().bind(sektionsfelt_[static_cast<size_t>(boxOf[i])], kSektionsBankFields[i]);
    return page;
}

QWidget* Indskud::buildIndskud() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    std::array<QLineEdit*, kIndskudFields.size()> indskudBeløb{};
    for (size_t i = 0; i < indskudBeløb.size(); ++i) {
        auto* b = box(QString("IndskudBeløb%1").arg(i));
        b->setMaximumWidth(80);
        DigitsOnly(b);
        zeroWhenLeftEmpty(b, &StakeText);
        connect(b, &QLineEdit::textChanged, this, [this] { indskudChanged_ = true; });
        bindings().bind(b, kIndskudFields[i]);
        indskudBeløb[i] = b;
    }
    auto* classes = new QHBoxLayout;
    for (int game = 0; game < 2; ++game) {
        auto* frame = new QGroupBox(game == 0 ? "A-spil" : "B-spil");
        auto* fg = new QGridLayout(frame);
        for (int k = 0; k < 6; ++k) {
            fg->addWidget(new QLabel(QString("Kl. %1").arg(k + 1)), k, 0);
            fg->addWidget(indskudBeløb[static_cast<size_t>(game * 6 + k)], k, 1);
        }
        classes->addWidget(frame);
    }
    auto* others = new QGroupBox;
    auto* og = new QGridLayout(others);
    const char* labels[5] = {"Kl. P", "Kl. E", "Slagspil", "Kl. Z", "Kl. R"};
    for (int i = 0; i < 5; ++i) {
        og->addWidget(new QLabel(labels[i]), i, 0);
        og->addWidget(indskudBeløb[static_cast<size_t>(12 + i)], i, 1);
    }
    og->setRowStretch(5, 1);
    classes->addWidget(others);
    v->addLayout(classes);
    v->addWidget(new QLabel("Alle indskud angives i hele kroner"));
    v->addStretch();
    return page;
}

QWidget* Indskud::buildPræmier() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* factors = new QGridLayout;
    const char* factorLabels[2] = {"Præmier i A-spil =", "Præmier i B-spil ="};
    const char* factorFields[2] = {"Præmiefaktor_A", "Præmiefaktor_B"};
    for (int i = 0; i < 2; ++i) {
        QLineEdit* field = box(QString("NumberField%1").arg(i));
        field->setMaximumWidth(80);
        DecimalOnly(field);
        zeroWhenLeftEmpty(field, &FactorText);
        bindings().bind(field, factorFields[i]);
        factors->addWidget(new QLabel(factorLabels[i]), i, 0);
        factors->addWidget(field, i, 1);
        factors->addWidget(new QLabel("gange indsats"), i, 2);
    }
    factors->setColumnStretch(3, 1);
    v->addLayout(factors);

    auto* pool = new QGroupBox("Præmiepulje kan ikke overstige samlede indskud:");
    auto* ph = new QHBoxLayout(pool);
    for (const auto& g : games()) {
        auto* poolBox = new QCheckBox(QString::fromUtf8(g.poolCaption));
        poolBox->setObjectName(QString::fromUtf8(g.poolSwitch));
        bindings().bind(poolBox, g.poolSwitch);
        ph->addWidget(poolBox);
    }
    ph->addStretch();
    v->addWidget(pool);

    auto* spil = new QGroupBox("Spil");
    auto* sh = new QHBoxLayout(spil);
    auto* buttons = new QVBoxLayout;
    for (int i = 0; i < 7; ++i) {
        btnPræmie_[i] = new QPushButton(QString::fromUtf8(prizeScales()[static_cast<size_t>(i)].caption));
        btnPræmie_[i]->setObjectName(QString("btnPræmie%1").arg(i));
        btnPræmie_[i]->setAutoDefault(false);
        // The button of the template shown stays pressed in.
        btnPræmie_[i]->setCheckable(true);
        btnPræmie_[i]->setAutoExclusive(true);
        connect(btnPræmie_[i], &QPushButton::clicked, this, [this, i] { btnPræmie_Click(i); });
        buttons->addWidget(btnPræmie_[i]);
    }
    buttons->addStretch();
    sh->addLayout(buttons);
    præmier_ = new QTableView;
    præmier_->setObjectName("Præmier");
    prizeModel_ = new PrizeTemplateModel(app(), this);
    setupEditGrid(præmier_, prizeModel_);
    præmier_->horizontalHeader()->setStretchLastSection(true);
    sh->addWidget(præmier_, 1);
    v->addWidget(spil, 1);
    return page;
}

QWidget* Indskud::buildMarkeringer() {
    auto* page = new QWidget;
    auto* v = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* system = new QGroupBox("Pointsberegningssystem");
    auto* sv = new QVBoxLayout(system);
    btnPlaceringspoint_ = new QRadioButton("&Placeringspoint");
    btnPlaceringspoint_->setObjectName("btnPlaceringspoint");
    btn1000point_ = new QRadioButton("&1000-points");
    btn1000point_->setObjectName("btn1000point");
    sv->addWidget(btnPlaceringspoint_);
    sv->addWidget(btn1000point_);
    left->addWidget(system);
    left->addStretch();
    v->addLayout(left);

    auto* table = new QGridLayout;
    table->setVerticalSpacing(2);
    table->addWidget(new QLabel("Max. point"), 0, 1);
    table->addWidget(new QLabel("Duer pr. slag"), 0, 2);
    table->addWidget(new QLabel("Step"), 0, 3);
    int row = 1;
    for (const auto& k : pointTableKinds()) {
        QString kk = q(k);
        auto* lbl = new QLabel(kk);
        lbl->setObjectName("lblMestPoint" + kk);
        QLineEdit* mest = box("MestPoint" + kk);
        QLineEdit* pr = box("SE_PointPrSlag" + kk);
        QLineEdit* st = box("SE_PointStep" + kk);
        for (QLineEdit* b : {mest, pr, st}) {
            DigitsOnly(b);
            b->setMaximumWidth(90);
            bindings().bind(b, b->objectName().toStdString());
        }
        connect(mest, &QLineEdit::textChanged, mest, [mest](const QString& t) {
            if (t.isEmpty()) mest->setText(q(MestPointText({})));
        });
        onLeave(pr, [pr, st] {
            st->setText(q(StepAfterPrSlag(s(pr), s(st))));
            return true;
        });
        onLeave(st, [pr, st] {
            pr->setText(q(PrSlagAfterStep(s(st), s(pr))));
            return true;
        });
        table->addWidget(lbl, row, 0);
        table->addWidget(mest, row, 1);
        table->addWidget(pr, row, 2);
        table->addWidget(st, row, 3);
        ++row;
    }
    v->addLayout(table);
    v->addStretch();
    return page;
}

void Indskud::Form_Activate() {
    try {
        Database& db = app().database();
        if (auto sek = LoadSektionsData(db)) {
            bindings().load(*sek);
            bankPostnr_->lookup();
        }
        if (auto m = LoadMarkering(db)) {
            bindings().load(m->fields);
            btn1000point_->setChecked(m->pointsystem == PointSystem::Points1000);
            btnPlaceringspoint_->setChecked(m->pointsystem == PointSystem::Placering);
        }
        if (auto stakes = LoadIndskud(db)) bindings().load(*stakes);
        indskudChanged_ = false;
        prizeModel_->load(0);
        btnPræmie_[0]->setChecked(true);
    } catch (const DbError& e) {
        app().userInterface().message(e.what(), "Fejl", Icon::Exclamation);
    }
}

void Indskud::btnPræmie_Click(int index) {
    if (index == prizeModel_->templateIndex()) return;
    try {
        commitCellEditor(præmier_);
        prizeModel_->writePending();
        prizeModel_->load(index);
    } catch (const DbError&) {
        app().userInterface().message("Fejl ved lagring af præmier.", "Fejl", Icon::Exclamation);
    }
    int shown = prizeModel_->templateIndex();
    if (shown >= 0) btnPræmie_[static_cast<size_t>(shown)]->setChecked(true);
}

PointSystem Indskud::shownPointSystem() const {
    return btn1000point_->isChecked()        ? PointSystem::Points1000
           : btnPlaceringspoint_->isChecked() ? PointSystem::Placering
                                              : PointSystem::None;
}

bool Indskud::CanClose() {
    const char* step = kStepSektionsdata;
    try {
        Database& db = app().database();
        Record shown = bindings().save();
        SaveSektionsdata(db, shown, shownPointSystem());
        step = kStepIndskud;
        if (indskudChanged_) {
            SaveIndskud(db, shown);
            indskudChanged_ = false;
        }
        step = kStepPræmier;
        if (!commitCellEditor(præmier_)) {  // the cell's own message has been shown
            showField(præmier_);
            return false;
        }
        prizeModel_->writePending();
        return true;
    } catch (const DbError& e) {
        // The user is shown what failed: the box of a field that was refused, else the tab
        // of the step (the grid for the prize step).
        auto* field = dynamic_cast<const FieldError*>(&e);
        QWidget* box = field ? bindings().control(field->field()) : nullptr;
        if (box) showField(box);
        else if (step == kStepPræmier) showField(præmier_);
        else tabs_->setCurrentIndex(step == kStepSektionsdata ? 0 : 1);
        app().userInterface().message(std::string("Fejl ved lagring af ") + step + ".", "Fejl", Icon::Exclamation);
        return false;
    }
}

static RegisterMenuCommand regIndskud("mnuIndskud", [](MainWindow& w) {
    Indskud dlg(w.app(), &w);
    dlg.exec();
    w.bringToFront();
});

}  // namespace vemora::gui
