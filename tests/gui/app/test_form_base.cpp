// The form base, the main window's closing of its children and the chunked grid model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>

#include "gui/app/form.h"
#include "gui/app/mainwindow.h"
#include "gui/app/tablemodel.h"
#include "support/testdb.h"

using namespace vemora;
using namespace vemora::gui;

namespace {

// A dialog that records how it was asked to close and can refuse.
class Probe : public DialogForm {
public:
    Probe(AppState& app, QWidget* parent = nullptr) : DialogForm(app, "Probe", "Probe", parent) {
        name = new QLineEdit(this);
        flag = new QCheckBox(this);
        bindings().bind(name, "Navn");
        bindings().bind(flag, "Kontantpræmier");
    }
    QLineEdit* name;
    QCheckBox* flag;
    bool allow = true;
    std::vector<std::string> calls;

protected:
    void Form_Activate() override { calls.push_back("activate"); }
    void leaveFocusedField() override { calls.push_back("leave"); }
    bool CanClose() override {
        calls.push_back("canclose");
        return allow;
    }
};

class ListProbe : public MdiForm {
public:
    explicit ListProbe(AppState& app, const char* name) : MdiForm(app, name, name) {}
    bool allow = true;

protected:
    bool CanClose() override { return allow; }
};

}  // namespace

TEST(FormBase, BindingsLoadAndSaveByTheControlRules) {
    test::TestApp t;
    Probe p(t.app);
    p.bindings().load({{"Navn", Value()}, {"Kontantpræmier", Value(1)}, {"Andet", Value("x")}});
    EXPECT_EQ(p.name->text(), "");
    EXPECT_TRUE(p.flag->isChecked());
    p.name->setText("Ærø");
    Record r = p.bindings().save();
    EXPECT_EQ(r, (Record{{"Navn", Value("Ærø")}, {"Kontantpræmier", Value(1)}}));
    p.name->clear();
    p.flag->setChecked(false);
    r = p.bindings().save();
    EXPECT_TRUE(r["Navn"].isNull());  // an empty box is stored as Null
    EXPECT_EQ(r["Kontantpræmier"], Value(0));
    p.bindings().load({{"Navn", Value(12.5)}, {"Kontantpræmier", Value()}});
    EXPECT_EQ(p.name->text(), "12.5");
    EXPECT_EQ(p.bindings().save()["Kontantpræmier"], Value(0));  // a Null flag shows unticked
    p.bindings().load({{"Kontantpræmier", Value(1)}});  // a field the record lacks stays
    EXPECT_EQ(p.name->text(), "12.5");
    EXPECT_EQ(p.bindings().control("navn"), p.name);
    EXPECT_EQ(p.bindings().control("Nr"), nullptr);
}

TEST(FormBase, EveryWayOfClosingAsksCanCloseOnce) {
    test::TestApp t;
    Probe p(t.app);
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    EXPECT_EQ(p.calls, std::vector<std::string>{"activate"});
    p.show();  // shown again: activated once only
    p.allow = false;
    p.close();                                   // the window's close box
    QTest::keyClick(&p, Qt::Key_Escape);         // Esc
    p.accept();                                  // a button
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.calls, (std::vector<std::string>{"activate", "leave", "canclose", "leave", "canclose", "leave", "canclose"}));
    p.allow = true;
    p.reject();
    EXPECT_FALSE(p.isVisible());
}

TEST(FormBase, MainWindowClosesEveryChildUnlessOneRefuses) {
    test::TestApp t;
    MainWindow w(t.app);
    w.show();
    auto* a = new ListProbe(t.app, "A");
    auto* b = new ListProbe(t.app, "B");
    w.showChild(a);
    w.showChild(b);
    b->allow = false;
    EXPECT_FALSE(w.closeAllChildren());
    ASSERT_EQ(w.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w.mdiArea()->subWindowList()[0]->widget(), b);
    b->allow = true;
    EXPECT_TRUE(w.closeAllChildren());
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(w.closeAllChildren());  // nothing open: nothing to refuse
}

TEST(FormBase, GridReadsItsRowsInChunksAsItScrolls) {
    test::TestApp t;
    t.db().exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        // Four hexadecimal digits: a postal code holds four characters, and they sort as the numbers.
        "INSERT INTO Postnr (Postnr, \"By\") SELECT printf('%04X', i), 'By ' || i FROM n");
    int pagesRead = 0;
    RowTableModel m(t.app, {{"Postnr", "Postnr"}, {"By", "By", [](const Value& v) { return QString::fromStdString(v.toText()) + "!"; }}});
    m.setRows(
        [&](size_t offset, size_t limit) {
            ++pagesRead;
            return t.db().queryPage("SELECT * FROM Postnr ORDER BY Postnr", {}, offset, limit);
        },
        1000);
    EXPECT_EQ(m.rowCount(), 1000);
    EXPECT_TRUE(m.canFetchMore({}));
    EXPECT_EQ(m.index(999, 1).data().toString(), "By 1000!");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "By");

    // Scrolling to the end of a grid reads the next chunk, not the whole table.
    QTableView view;
    view.setModel(&m);
    view.resize(300, 200);
    view.show();
    view.scrollToBottom();
    QTRY_VERIFY(m.rowCount() > 1000);
    EXPECT_LT(m.rowCount(), 20000);

    EXPECT_EQ(m.findRow([&](int row) { return m.value(row, "Postnr") == Value("3039"); }), 12344);  // 0x3039 = 12345
    EXPECT_GE(m.rowCount(), 12345);
    m.fetchAll();
    EXPECT_EQ(m.rowCount(), 20000);
    EXPECT_FALSE(m.canFetchMore({}));
    EXPECT_EQ(pagesRead, 21);  // 20 full chunks and the empty one that shows the end
    EXPECT_EQ(m.findRow([](int) { return false; }), -1);

    m.reload();
    EXPECT_EQ(m.rowCount(), 1000);
    RowTableModel broken(t.app, {{"X", "X"}});
    broken.setRows([&](size_t, size_t) -> RowSet { throw DbError("låst"); });
    EXPECT_EQ(broken.rowCount(), 0);
    EXPECT_EQ(t.ui.messages().back(), "Fejl: låst");
}
