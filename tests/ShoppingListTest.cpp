// The shopping list: the memo text of "List" and "All", Auto Generate, Clear and the memo click, and the
// main window's views (department lists, store box, search) that feed it.
#include "ProgramHarness.h"
#include "uShoppingList.h"

#include "data/TDBCtrlGrid.h"
#include "data/TDBEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QToolButton>
#include <sqlite3.h>

namespace {

QString golden(const QString &name) {
    QFile f(QString(LARDERLY_TEST_DATA) + "/" + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    QString text = QString::fromUtf8(f.readAll());
    if (text.endsWith('\n'))
        text.chop(1);
    return text;
}

// Two stores, three departments; store 0 ("North") is the configured one.
class ShopTest : public ProgramTest {
protected:
    int milk = 0, pears = 0;
    void SetUp() override {
        ProgramTest::SetUp();
        WriteLists({"Dairy", "Fresh fruit", "Bakery"}, {"North", "South"});
        WriteSettings("0");
        Start();
        pears = AddItemRow("0", "Fresh fruit", "Pears", "3");
        AddItemRow("0", "Fresh fruit", "Apples", "1.5"); // listed before Pears
        AddItemRow("0", "Dairy", "Yoghurt", "-2");       // heading but no line
        milk = AddItemRow("0", "Dairy", "Milk", "0");
        AddItemRow("0", "Bakery", "Bread", "0");          // no block at all
        AddItemRow("0", "Frozen", "Peas", "4");           // department not in the list
        AddItemRow("1", "Fresh fruit", "Kiwi", "5");      // the other store
    }
    QStringList viewNames() {
        QStringList names;
        TQuery *v = Form1->ShopView;
        for (int i = 0; i < v->RecordCount(); ++i)
            names << v->TextAt(i, v->FieldByName("item_name").Index());
        return names;
    }
};

TEST_F(ShopTest, ListAndAllBuildTheTextLineByLine) {
    Form1->StoreList->click();
    EXPECT_EQ(Form1->ShopList->toPlainText(), golden("shopping_list_north.txt"));
    Form1->AllList->click();
    EXPECT_EQ(Form1->ShopList->toPlainText(), golden("shopping_list_all.txt"));
    // The store box names the store in the heading and selects its rows.
    Form1->Store->setCurrentIndex(1);
    EXPECT_EQ(MemoLines(), (QStringList{"      Shopping List ", "      South", "", "------FRESH FRUIT-----", "5x Kiwi"}));
}

TEST_F(ShopTest, CountsUseTheLocalesDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Form1->StoreListClick();
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(MemoLines().contains("1,5x Apples")) << MemoLines().join("|").toStdString();
    EXPECT_TRUE(MemoLines().contains("3x Pears"));
}

TEST_F(ShopTest, HeadingsAndCountText) {
    EXPECT_EQ(DepartmentHeading("Fresh fruit"), "------FRESH FRUIT-----");
    EXPECT_EQ(DepartmentHeading("Café & co"), "------CAFé & CO-----");
    EXPECT_EQ(CountText(12), "12");
    const QString dept = "O'Brien's";
    const QString store = "0";
    EXPECT_EQ(ShoppingListSql(dept, &store),
              "select * from item where department='O''Brien''s' and count_new <>'0' and store ='0'");
}

TEST_F(ShopTest, ACountTypedIntoTheGridReachesTheTableAndTheMemo) {
    Form1->Department->setCurrentRow(0);
    Form1->DepartmentClick(); // Dairy of North: Yoghurt, Milk
    ASSERT_TRUE(Form1->ShopView->LocateID(milk));
    Form1->activateWindow();
    Form1->DBEdit1->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([] { return Form1->DBEdit1->hasFocus(); }, 2000));
    Form1->DBEdit1->selectAll();
    QTest::keyClicks(Form1->DBEdit1, "4");
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(milk)), "0"); // not yet posted
    Form1->Search->setFocus(); // leaving the count edit rebuilds the list, posting the count first
    ASSERT_TRUE(QTest::qWaitFor([] { return !Form1->DBEdit1->hasFocus(); }, 2000));
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(milk)), "4");
    EXPECT_TRUE(MemoLines().contains("4x Milk")) << MemoLines().join("|").toStdString();
}

TEST_F(ShopTest, DepartmentFiltersAndTheStoreBoxSetTheView) {
    Form1->Department2->setCurrentRow(1);
    Form1->Department2Click();
    EXPECT_EQ(viewNames(), (QStringList{"Pears", "Apples"}));
    Form1->Department3->setCurrentRow(0);
    Form1->Department3Click();
    EXPECT_EQ(viewNames(), (QStringList{"Yoghurt", "Milk"}));
    // A store change filters on the Shopping List page's department, whatever page is shown.
    Form1->Department->setCurrentRow(1);
    Form1->Store->setCurrentIndex(1);
    EXPECT_EQ(viewNames(), QStringList{"Kiwi"});
    // No store selected: store -1 matches nothing.
    Form1->Store->setCurrentIndex(-1);
    EXPECT_EQ(Form1->SelectedStoreID(), "-1");
    EXPECT_TRUE(viewNames().isEmpty());
    Form1->Search->setText("");
    Form1->SearchKeyUp();
    EXPECT_TRUE(viewNames().isEmpty());
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ShopTest, ADepartmentChosenWithTheKeyboardOrTheMouseFilters) {
    Form1->activateWindow();
    Form1->Department->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([] { return Form1->Department->hasFocus(); }, 2000));
    QTest::keyClick(Form1->Department, Qt::Key_Down); // from Dairy to Fresh fruit
    EXPECT_EQ(viewNames(), (QStringList{"Pears", "Apples"}));
    QListWidget *list = Form1->Department;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Form1->SelectedDepartment(), "Dairy");
    EXPECT_EQ(viewNames(), (QStringList{"Yoghurt", "Milk"}));
}

TEST_F(ShopTest, SearchIsACaseInsensitivePrefixMatchWithinTheStore) {
    AddItemRow("0", "Dairy", "mints", "0");
    AddItemRow("0", "Dairy", "Semi-skimmed", "0");
    AddItemRow("0", "Dairy", "O'Brien's Tea", "0");
    AddItemRow("1", "Dairy", "Mild cheese", "0");
    // A click clears the placeholder; every key released searches.
    QTest::mouseClick(Form1->Search, Qt::LeftButton);
    EXPECT_EQ(Form1->Search->text(), "");
    QTest::keyClicks(Form1->Search, "MI");
    EXPECT_EQ(viewNames(), (QStringList{"Milk", "mints"}));
    Form1->Search->clear();
    QTest::keyClicks(Form1->Search, "o'b");
    EXPECT_EQ(viewNames(), QStringList{"O'Brien's Tea"});
    EXPECT_TRUE(dialogs->shown.empty());
    QTest::keyClick(Form1->Search, Qt::Key_Backspace);
    QTest::keyClick(Form1->Search, Qt::Key_Backspace);
    QTest::keyClick(Form1->Search, Qt::Key_Backspace);
    EXPECT_EQ(viewNames().size(), 9); // every item of North
    // Any other text survives a click.
    Form1->Search->setText("pe");
    QTest::mouseClick(Form1->Search, Qt::LeftButton);
    EXPECT_EQ(Form1->Search->text(), "pe");
    for (const char *placeholder : {"Search", "Shopping List", "Search Inventory", "Search Shopping List"}) {
        Form1->Search->setText(placeholder);
        QTest::mouseClick(Form1->Search, Qt::LeftButton);
        EXPECT_EQ(Form1->Search->text(), "") << placeholder;
    }
}

struct GenerateCase {
    const char *inStore, *keep, *before, *after;
};
void PrintTo(const GenerateCase &c, std::ostream *os) {
    *os << "in store " << c.inStore << ", keep " << c.keep << ", before " << c.before;
}
class AutoGenerateTest : public ShopTest, public ::testing::WithParamInterface<GenerateCase> {};

TEST_P(AutoGenerateTest, SetsTheShortfallOfTheConfiguredStore) {
    const GenerateCase c = GetParam();
    Exec("delete from item");
    const int id = AddItemRow("0", "Dairy", "Milk", c.before, c.inStore, c.keep);
    const int other = AddItemRow("1", "Dairy", "Milk", "0", "0", "9");
    Form1->Store->setCurrentIndex(1); // the box shows the other store: Auto Generate still works on store 0
    Form1->BitBtn2->click();
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(id)), c.after);
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(other)), "0");
    EXPECT_EQ(MemoLines().at(1), "      South"); // the List text right after is the box's store
}

INSTANTIATE_TEST_SUITE_P(Counts, AutoGenerateTest,
                         ::testing::Values(GenerateCase{"3", "5", "0", "2"}, GenerateCase{"5", "5", "7", "7"},
                                           GenerateCase{"7", "5", "1", "1"}, GenerateCase{"2.5", "5", "0", "3"},
                                           GenerateCase{"3.5", "5", "0", "1"}, GenerateCase{"", "2", "", "2"},
                                           GenerateCase{"0", "4.5", "0", "4"}));

// A row the table refuses (a trigger stands in for a disk error on one row): the rows before it keep
// their new counts, the rest stay as they were, and the error is shown.
TEST_F(ShopTest, AutoGenerateKeepsWhatWasWrittenBeforeARowThatFails) {
    Exec("delete from item");
    const int first = AddItemRow("0", "Dairy", "Milk", "0", "1", "5");
    const int bad = AddItemRow("0", "Dairy", "Bad", "0", "1", "5");
    const int last = AddItemRow("0", "Dairy", "Tea", "0", "1", "5");
    Session.Close();
    sqlite3 *h = nullptr;
    ASSERT_EQ(sqlite3_open((DBPath() + "item.db").toUtf8().constData(), &h), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(h, "CREATE TRIGGER refuse BEFORE UPDATE ON item WHEN new.item_name='Bad' "
                              "BEGIN SELECT RAISE(ABORT, 'row refused'); END;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(h);
    Guarded([] { Form1->BitBtn2Click(); });
    ASSERT_EQ(dialogs->Errors().size(), 1);
    EXPECT_TRUE(dialogs->Errors().first().contains("row refused")) << dialogs->Errors().first().toStdString();
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(first)), "4");
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(bad)), "0");
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(last)), "0");
}

TEST_F(ShopTest, ClearAsksFirstAndZeroesOnlyTheConfiguredStore) {
    dialogs->confirmAnswers.push_back(TModalResult::mrNo);
    Form1->BitBtn3->click();
    EXPECT_EQ(dialogs->Texts("confirm"), QStringList{"Clear the Shopping List"});
    EXPECT_EQ(Value("select count(*) from item where Count_New <> 0"), "5");
    dialogs->confirmAnswers.push_back(TModalResult::mrYes);
    Form1->BitBtn3->click();
    EXPECT_EQ(Rows("select Store, item_name from item where Count_New <> 0"), QStringList{"1|Kiwi"});
    EXPECT_EQ(Form1->ShopList->toPlainText(), "      Shopping List \n      North");
}

TEST_F(ShopTest, ClickingTheMemoShowsTheConfiguredStoresItemsToBuy) {
    Form1->Store->setCurrentIndex(1);
    QTest::mouseClick(Form1->ShopList->viewport(), Qt::LeftButton);
    EXPECT_EQ(viewNames(), (QStringList{"Pears", "Apples", "Yoghurt", "Peas"}));
    EXPECT_EQ(Form1->Search->text(), "Shopping List");
}

TEST_F(ShopTest, ShowingTheShoppingPageRebuildsTheListButKeepsTheView) {
    Form1->Department->setCurrentRow(1);
    Form1->DepartmentClick();
    Exec(QString("update item set Count_New=6 where ID=%1").arg(milk));
    Form1->Image2Click();
    EXPECT_TRUE(MemoLines().contains("6x Milk"));
    EXPECT_EQ(viewNames(), (QStringList{"Pears", "Apples"}));
}

} // namespace
