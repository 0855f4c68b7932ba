// The reconcile window "Reconcile New Items": its look, the two lists and their statements for each
// store box position, the search, the three reconcile commands with and without "All", Ctrl+Delete in
// the grids, and AddItem.
#include "ProgramHarness.h"

#include "data/TDBGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>

namespace {

// 1 January 2007, a Monday: the date columns read 2007, 1, 1, 2 and 39083.
const QDateTime kMonday(QDate(2007, 1, 1), QTime(10, 30));
const QString kMondayStamp = "2007|1|1|2|39083";

const char *kStockColumns =
    "select Item_id, Store, Department, item_name, Count_New, price, Date_Year, Date_Day, Date_Month, "
    "Date_DayOfWeek, Date_Julian from stock order by ID";

class ReconcileTest : public ProgramTest {
protected:
    // Two stores and three departments; the configured store is North (0), so the window starts on
    // its position 1.
    void StartShop(const QString &storeId = "0") {
        SetClockForTests([] { return kMonday; });
        WriteLists({"Dairy", "Bakery", "Fruit"}, {"North", "South"});
        WriteSettings(storeId);
        Start();
    }
    // Rows added behind the window's back show once the lists are run again, as a change of store does.
    void Relist() {
        Item->OpenNewItems();
        Item->OpenInventory();
    }
    // Opens the window with the Manager View page's "Reconcile" button, runs `body` while it is shown,
    // and closes it with "Save".
    void InWindow(const std::function<void()> &body) {
        Form1->Image4Click();
        bool ran = false;
        WhenModal([&](QWidget *w) {
            EXPECT_EQ(w, Item);
            body();
            ran = true;
            QTest::mouseClick(Item->Button2, Qt::LeftButton);
        });
        QTest::mouseClick(Form1->Button3, Qt::LeftButton);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Item->isVisible());
    }
    // What a grid shows in one column, row by row.
    static QStringList Column(TDBGrid *grid, int column) {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, column).data().toString();
        return out;
    }
    static QStringList NewNames() { return Column(Item->GridNew, 1); }
    static QStringList InventoryNames() { return Column(Item->StockGrid, 1); }
    static void ClickNewRow(int row) {
        const QPoint at = Item->GridNew->visualRect(Item->GridNew->model()->index(row, 1)).center();
        QTest::mouseClick(Item->GridNew->viewport(), Qt::LeftButton, {}, at);
    }
    QStringList StockRows() { return Rows(kStockColumns); }
    // Count_InStore, Count_New, Reconciled and the five date columns of an item.
    QString ItemCounts(int id) {
        return Value(QString("select Count_InStore, Count_New, Reconciled, Date_Year, Date_Day, Date_Month, "
                             "Date_DayOfWeek, Date_Julian from item where ID=%1")
                         .arg(id));
    }
    void ExpectNoErrors() {
        EXPECT_TRUE(dialogs->Errors().isEmpty()) << dialogs->Errors().join(" // ").toStdString();
    }
};

// ---------------------------------------------------------------------------------------------
// The window

TEST_F(ReconcileTest, TheWindowHasItsCaptionSizeAndControls) {
    StartShop();
    EXPECT_EQ(Item->windowTitle(), "Reconcile New Items");
    EXPECT_EQ(Item->size(), QSize(767, 556));
    EXPECT_EQ(Item->minimumSize(), Item->maximumSize()); // cannot be resized
    EXPECT_FALSE(Item->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(Item->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Item->font().family(), "Arial");
    EXPECT_EQ(Item->font().pixelSize(), 13);
    EXPECT_FALSE(Item->isVisible()); // created hidden

    auto *store = Child<QComboBox>(Item, "Store");
    ASSERT_NE(store, nullptr);
    EXPECT_FALSE(store->isEditable());
    QStringList stores;
    for (int i = 0; i < store->count(); ++i)
        stores << store->itemText(i);
    EXPECT_EQ(stores, (QStringList{"All Stores", "North", "South"}));
    EXPECT_EQ(store->currentIndex(), 1);
    EXPECT_EQ(store->palette().color(QPalette::Button), QColor(244, 249, 253));
    EXPECT_EQ(Child<QLineEdit>(Item, "Search")->text(), "Search");
    EXPECT_FALSE(Child<QLineEdit>(Item, "Search")->hasFrame());
    EXPECT_EQ(Child<TImage>(Item, "btnSearch")->cursor().shape(), Qt::PointingHandCursor);
    auto *showAll = Child<QCheckBox>(Item, "ShowAll");
    EXPECT_EQ(showAll->text(), "All Items");
    EXPECT_FALSE(showAll->isChecked());
    EXPECT_EQ(Item->Panel1->height(), 33);
    EXPECT_EQ(Item->Panel2->height(), 25);
    EXPECT_EQ(Item->Label1->text(), "New Items");
    EXPECT_EQ(Item->Label2->text(), "Inventory");
    EXPECT_TRUE(Item->Label1->font().bold());
    EXPECT_EQ(Item->Label2->font().pixelSize(), 19);

    struct Col {
        TDBGrid *grid;
        int column;
        const char *title;
        int width;
        bool readOnly;
        bool centred;
    };
    for (const Col &c : {Col{Item->GridNew, 0, "New", 36, false, false}, Col{Item->GridNew, 1, "Item", 146, true, true},
                         Col{Item->StockGrid, 0, "Total", 50, false, false},
                         Col{Item->StockGrid, 1, "Item", 240, true, true},
                         Col{Item->StockGrid, 2, "Department", 90, true, false}}) {
        const TDBColumn &col = c.grid->QueryModel()->Columns()[static_cast<size_t>(c.column)];
        EXPECT_EQ(col.title, c.title);
        EXPECT_EQ(c.grid->ColumnWidth(c.column), c.width) << c.title;
        EXPECT_EQ(col.readOnly, c.readOnly) << c.title;
        EXPECT_EQ(col.titleCentered, c.centred) << c.title;
    }
    EXPECT_EQ(Item->GridNew->width(), 249);
    EXPECT_EQ(Item->GridNew->DataSet(), Item->ShopList);
    EXPECT_EQ(Item->StockGrid->DataSet(), Item->Manager);

    struct Btn {
        const char *name;
        const char *caption;
        const char *hint;
    };
    for (const Btn &b : {Btn{"SpeedButton2", "Add >", "Add to Total"}, Btn{"SpeedButton1", "Set >", "Set as Total"},
                         Btn{"SpeedButton3", "Reset >", "Default Total"}}) {
        auto *button = Child<QToolButton>(Item, b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->toolTip(), b.hint);
        EXPECT_TRUE(button->autoRaise()); // flat
    }
    EXPECT_EQ(Child<QCheckBox>(Item, "All")->text(), "All");
    EXPECT_FALSE(Item->All->isChecked());
    EXPECT_EQ(Child<QPushButton>(Item, "Button2")->text(), "Save");
    EXPECT_EQ(Child<QPushButton>(Item, "Button1")->text(), "Cancel");
}

TEST_F(ReconcileTest, OpensCentredOnTheMainWindowAndSaveAndCancelOnlyCloseIt) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    Relist();
    for (QPushButton *button : {Item->Button2, Item->Button1}) {
        int result = -1;
        WhenModal([&](QWidget *) {
            const QPoint centre = Item->geometry().center();
            const QPoint mainCentre = Form1->geometry().center();
            EXPECT_LE(std::abs(centre.x() - mainCentre.x()), 1);
            EXPECT_LE(std::abs(centre.y() - mainCentre.y()), 1);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        result = Item->exec();
        EXPECT_EQ(result, button == Item->Button2 ? QDialog::Accepted : QDialog::Rejected);
    }
    EXPECT_EQ(Value("select Count_New from item"), "2");
    EXPECT_TRUE(StockRows().isEmpty());
}

struct StartCase {
    const char *storeId;
    int position;
};
class ReconcileStartTest : public ReconcileTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(ReconcileStartTest, TheStoreBoxStartsOnTheConfiguredStore) {
    StartShop(GetParam().storeId);
    EXPECT_EQ(Item->Store->currentIndex(), GetParam().position);
    EXPECT_TRUE(Item->ShopList->Active());
    EXPECT_TRUE(Item->Manager->Active());
    EXPECT_TRUE(Item->Table->Active());
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(Ids, ReconcileStartTest,
                         ::testing::Values(StartCase{"0", 1}, StartCase{"1", 2}, StartCase{"abc", 1}, StartCase{"", 1},
                                           StartCase{"-1", 0}, StartCase{"5", -1}));

TEST_F(ReconcileTest, ShowingTheWindowDoesNotRunTheListsAgain) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    InWindow([] { EXPECT_TRUE(NewNames().isEmpty()); });
    Relist();
    InWindow([] { EXPECT_EQ(NewNames(), QStringList{"Milk"}); });
}

// ---------------------------------------------------------------------------------------------
// The lists

struct SqlCase {
    int position;
    bool showAll;
    const char *storeValue;
    const char *newItems;
    const char *inventory;
};
class ReconcileSqlTest : public ReconcileTest, public ::testing::WithParamInterface<SqlCase> {};

TEST_P(ReconcileSqlTest, TheListStatementsFollowTheStoreBoxAndAllItems) {
    const SqlCase &c = GetParam();
    StartShop();
    Item->ShowAll->setChecked(c.showAll);
    Item->Store->setCurrentIndex(c.position);
    EXPECT_EQ(Item->StoreFilterValue(), c.storeValue);
    EXPECT_EQ(Item->NewItemsSql(), c.newItems);
    EXPECT_EQ(Item->InventorySql(), c.inventory);
    EXPECT_EQ(Item->ShopList->SQLText(), c.newItems);
    EXPECT_EQ(Item->Manager->SQLText(), c.inventory);
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(
    Texts, ReconcileSqlTest,
    ::testing::Values(
        SqlCase{0, true, "*", "select * from item", "select * from item"},
        SqlCase{0, false, "*", "select * from item where Count_New <> '0'",
                "select * from item where Count_New <> '0' or Reconciled <> '0'"},
        SqlCase{2, true, "1", "select * from item where store='1'", "select * from item where store='1'"},
        SqlCase{2, false, "1", "select * from item where store='1' and Count_New <> '0'",
                "select * from item where store='1' and (Count_New <> '0' or Reconciled <> '0')"}));

struct ListCase {
    const char *name;
    int position;
    bool showAll;
    QStringList newItems;
    QStringList inventory;
};
void PrintTo(const ListCase &c, std::ostream *os) {
    *os << c.name;
}
class ReconcileListTest : public ReconcileTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ReconcileListTest, AChosenStoreListsOnlyItsRowsAndAllStoresListsEveryStore) {
    const ListCase &c = GetParam();
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    AddItemRow("0", "Bakery", "Bread", "0");
    Exec("update item set Reconciled = 3 where item_name = 'Bread'");
    AddItemRow("0", "Fruit", "Jam", "0");
    AddItemRow("1", "Dairy", "Eggs", "1");
    AddItemRow("1", "Bakery", "Cake", "0");
    Exec("update item set Reconciled = 1 where item_name = 'Cake'");
    InWindow([&] {
        if (c.showAll)
            QTest::mouseClick(Item->ShowAll, Qt::LeftButton);
        Item->Store->setCurrentIndex(c.position); // a change of store runs both lists
        if (c.position == 1 && !c.showAll) {      // no change: run them as the window would
            Item->StoreChange();
        }
        EXPECT_EQ(NewNames(), c.newItems);
        EXPECT_EQ(InventoryNames(), c.inventory);
    });
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(
    Stores, ReconcileListTest,
    ::testing::Values(ListCase{"North", 1, false, {"Milk"}, {"Milk", "Bread"}},
                      ListCase{"South", 2, false, {"Eggs"}, {"Eggs", "Cake"}},
                      ListCase{"AllStores", 0, false, {"Milk", "Eggs"}, {"Milk", "Bread", "Eggs", "Cake"}},
                      ListCase{"AllStoresAllItems", 0, true, {"Milk", "Bread", "Jam", "Eggs", "Cake"},
                               {"Milk", "Bread", "Jam", "Eggs", "Cake"}},
                      ListCase{"NorthAllItems", 1, true, {"Milk", "Bread", "Jam"}, {"Milk", "Bread", "Jam"}}));

TEST_F(ReconcileTest, WithNoStoreValueBothListsAreEmptyWithoutAnError) {
    SetClockForTests([] { return kMonday; });
    QStringList stores;
    for (int i = 0; i < 301; ++i)
        stores << QString("Store %1").arg(i);
    WriteLists({"Dairy"}, stores);
    WriteSettings("0");
    Start();
    AddItemRow("0", "Dairy", "Milk", "2");
    AddItemRow("299", "Dairy", "Tea", "1");
    AddItemRow("300", "Dairy", "Coffee", "1");
    Item->Store->setCurrentIndex(300);
    EXPECT_EQ(Item->StoreFilterValue(), "299");
    EXPECT_EQ(NewNames(), QStringList{"Tea"});
    for (int position : {301, -1}) {
        Item->Store->setCurrentIndex(position);
        EXPECT_EQ(Item->StoreFilterValue(), "") << position;
        EXPECT_TRUE(NewNames().isEmpty()) << position;
        EXPECT_TRUE(InventoryNames().isEmpty()) << position;
        Item->ShowAll->click();
        EXPECT_TRUE(NewNames().isEmpty()) << position;
        Item->btnSearchClick();
        EXPECT_TRUE(NewNames().isEmpty()) << position;
        for (ReconcileMode mode : {ReconcileMode::Add, ReconcileMode::Set, ReconcileMode::Reset})
            Item->Reconcile(mode);
    }
    EXPECT_TRUE(StockRows().isEmpty());
    ExpectNoErrors();
}

// ---------------------------------------------------------------------------------------------
// The search

TEST_F(ReconcileTest, TheSearchUsesTheTextBeforeTheKeyAndListsTheStoresItemsWhateverTheirCount) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    AddItemRow("0", "Dairy", "mild cheese", "0");
    AddItemRow("0", "Fruit", "Mints", "1");
    AddItemRow("0", "Dairy", "Semi-skimmed", "4");
    AddItemRow("1", "Dairy", "Milk", "3");
    Relist();
    InWindow([] {
        const QStringList inventory = InventoryNames();
        QTest::mouseClick(Item->Search, Qt::LeftButton);
        EXPECT_EQ(Item->Search->text(), "");
        QTest::keyClicks(Item->Search, "Mil");
        EXPECT_EQ(Item->Search->text(), "Mil");
        // The last key went down while the box still held "Mi".
        EXPECT_EQ(Item->ShopList->SQLText(), "select * from item where store='0' and LOWER(Item_Name) Like 'mi%'");
        EXPECT_EQ(NewNames(), (QStringList{"Milk", "mild cheese", "Mints"}));
        QTest::mouseClick(Item->btnSearch, Qt::LeftButton);
        EXPECT_EQ(Item->ShopList->SQLText(), "select * from item where store='0' and LOWER(Item_Name) Like 'mil%'");
        EXPECT_EQ(NewNames(), (QStringList{"Milk", "mild cheese"}));
        EXPECT_EQ(InventoryNames(), inventory); // the Inventory list is not changed
    });
    ExpectNoErrors();
}

TEST_F(ReconcileTest, ASearchWithAllStoresSpansEveryStore) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    AddItemRow("1", "Dairy", "milk powder", "0");
    AddItemRow("1", "Dairy", "Eggs", "1");
    AddItemRow("0", "Dairy", "O'Brien's butter", "1");
    InWindow([] {
        Item->Store->setCurrentIndex(0);
        Item->Search->setText("MIL");
        QTest::mouseClick(Item->btnSearch, Qt::LeftButton);
        EXPECT_EQ(Item->ShopList->SQLText(), "select * from item where LOWER(Item_Name) Like 'mil%'");
        EXPECT_EQ(NewNames(), (QStringList{"Milk", "milk powder"}));
        Item->Search->setText("o'b");
        QTest::mouseClick(Item->btnSearch, Qt::LeftButton);
        EXPECT_EQ(NewNames(), QStringList{"O'Brien's butter"});
    });
    ExpectNoErrors();
}

struct ClickCase {
    const char *text;
    const char *after;
};
class ReconcileSearchClickTest : public ReconcileTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ReconcileSearchClickTest, ClickingTheSearchBoxClearsOnlyItsPlaceholders) {
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "2");
    Relist();
    InWindow([&] {
        Item->Search->setText(GetParam().text);
        // A count being edited in the list is written first.
        Item->ShopList->FieldByName("Count_New").SetAsFloat(6);
        QTest::mouseClick(Item->Search, Qt::LeftButton);
        EXPECT_EQ(Item->Search->text(), GetParam().after);
        EXPECT_EQ(Item->ShopList->State(), TDataSetState::dsBrowse);
    });
    EXPECT_EQ(Value(QString("select Count_New from item where ID=%1").arg(id)), "6");
}
INSTANTIATE_TEST_SUITE_P(Texts, ReconcileSearchClickTest,
                         ::testing::Values(ClickCase{"Search", ""}, ClickCase{"Shopping List", ""},
                                           ClickCase{"Search Inventory", "Search Inventory"},
                                           ClickCase{"search", "search"}, ClickCase{"Mil", "Mil"}));

// ---------------------------------------------------------------------------------------------
// Reconciling

struct StepCase {
    const char *button;
    const char *inStore;
};
class ReconcileStepTest : public ReconcileTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ReconcileStepTest, OneStepMovesTheBoughtCountAndWritesOneHistoryRow) {
    const StepCase &c = GetParam();
    StartShop();
    const int tea = AddItemRow("0", "Bakery", "Tea", "1", "1", "1", "1");
    const int milk = AddItemRow("0", "Dairy", "Milk", "3", "5", "10", "2.49");
    Relist();
    InWindow([&] {
        ClickNewRow(1);
        EXPECT_EQ(Item->Manager->RecNo(), 2); // the Inventory list follows the row number
        QTest::mouseClick(Child<QToolButton>(Item, c.button), Qt::LeftButton);
        // The reconciled row leaves the New Items list, which stands on its first row again.
        EXPECT_EQ(NewNames(), QStringList{"Tea"});
        EXPECT_EQ(Item->ShopList->RecNo(), 1);
        EXPECT_EQ(InventoryNames(), (QStringList{"Tea", "Milk"}));
        EXPECT_EQ(Item->Manager->RecNo(), 1);
        EXPECT_EQ(Column(Item->StockGrid, 0).at(1), c.inStore);
    });
    EXPECT_EQ(ItemCounts(milk), QString("%1|0|3|").arg(c.inStore) + kMondayStamp);
    EXPECT_EQ(ItemCounts(tea), "1|1||||||");
    EXPECT_EQ(StockRows(), QStringList{QString("%1|0|Dairy|Milk|3|2.49|").arg(milk) + kMondayStamp});
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(Modes, ReconcileStepTest,
                         ::testing::Values(StepCase{"SpeedButton2", "8"}, StepCase{"SpeedButton1", "3"},
                                           StepCase{"SpeedButton3", "10"}));

TEST_F(ReconcileTest, AnEmptyCountToBuyReadsAsZero) {
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "", "5", "10", "2");
    Relist();
    InWindow([] {
        QTest::mouseClick(Item->ShowAll, Qt::LeftButton); // an empty count is not a new item otherwise
        EXPECT_EQ(NewNames(), QStringList{"Milk"});
        QTest::mouseClick(Item->SpeedButton1, Qt::LeftButton);
    });
    EXPECT_EQ(ItemCounts(id), "0|0|0|" + kMondayStamp);
    EXPECT_EQ(StockRows(), QStringList{QString("%1|0|Dairy|Milk||2|").arg(id) + kMondayStamp});
}

TEST_F(ReconcileTest, ACountTypedIntoTheGridIsTheOneReconciled) {
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "3", "5", "10", "2");
    Relist();
    InWindow([&] {
        // Open the cell editor as a double click would (a synthetic double click is timing-dependent).
        const QModelIndex cell = Item->GridNew->model()->index(0, 0);
        const QPoint at = Item->GridNew->visualRect(cell).center();
        QTest::mouseClick(Item->GridNew->viewport(), Qt::LeftButton, {}, at);
        Item->GridNew->edit(cell);
        ASSERT_TRUE(QTest::qWaitFor([] { return qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr; }, 3000));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "7"); // the editor is still open when the button is pressed
        QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton);
        EXPECT_TRUE(NewNames().isEmpty());
    });
    EXPECT_EQ(ItemCounts(id), "12|0|7|" + kMondayStamp);
    EXPECT_EQ(StockRows(), QStringList{QString("%1|0|Dairy|Milk|7|2|").arg(id) + kMondayStamp});
}

TEST_F(ReconcileTest, AllReconcilesEveryNewItemFromTheCurrentOneAndThenFromTheTop) {
    StartShop();
    QList<int> ids;
    for (const char *name : {"Apples", "Bread", "Cheese", "Dates"})
        ids << AddItemRow("0", "Fruit", name, QString::number(ids.size() + 1), "10");
    AddItemRow("0", "Fruit", "Figs", "0", "4"); // not a new item
    Relist();
    InWindow([] {
        ClickNewRow(2);
        QTest::mouseClick(Item->All, Qt::LeftButton);
        QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton);
        EXPECT_TRUE(NewNames().isEmpty());
        EXPECT_EQ(InventoryNames(), (QStringList{"Apples", "Bread", "Cheese", "Dates"}));
        EXPECT_EQ(Item->Manager->RecNo(), 1);
    });
    QStringList names;
    for (const QString &row : StockRows())
        names << row.section('|', 3, 4);
    EXPECT_EQ(names, (QStringList{"Cheese|3", "Apples|1", "Bread|2", "Dates|4"}));
    for (int i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ItemCounts(ids[i]), QString("%1|0|%2|").arg(11 + i).arg(i + 1) + kMondayStamp);
    EXPECT_EQ(Value("select Count_InStore, Reconciled from item where item_name='Figs'"), "4|");
    ExpectNoErrors();
}

TEST_F(ReconcileTest, AllWithAllItemsTickedTakesEachListedRowOnceAndStops) {
    StartShop();
    AddItemRow("0", "Fruit", "Apples", "2", "1");
    AddItemRow("0", "Fruit", "Bread", "0", "1");
    AddItemRow("0", "Fruit", "Cheese", "5", "1");
    AddItemRow("1", "Fruit", "Dates", "6", "1"); // another store
    Relist();
    InWindow([] {
        QTest::mouseClick(Item->ShowAll, Qt::LeftButton);
        ClickNewRow(1);
        QTest::mouseClick(Item->All, Qt::LeftButton);
        QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton);
        // Every row stays listed ("All Items"), and the list stands on its first row.
        EXPECT_EQ(NewNames(), (QStringList{"Apples", "Bread", "Cheese"}));
        EXPECT_EQ(Column(Item->GridNew, 0), (QStringList{"0", "0", "0"}));
        EXPECT_EQ(Item->ShopList->RecNo(), 1);
    });
    QStringList names;
    for (const QString &row : StockRows())
        names << row.section('|', 3, 4);
    EXPECT_EQ(names, (QStringList{"Bread|0", "Apples|2", "Cheese|5"}));
    EXPECT_EQ(Rows("select item_name, Count_InStore, Count_New, Reconciled from item order by ID"),
              (QStringList{"Apples|3|0|2", "Bread|1|0|0", "Cheese|6|0|5", "Dates|1|6|"}));
}

TEST_F(ReconcileTest, AllAfterASearchTakesEachFoundRowOnce) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2", "1");
    AddItemRow("0", "Dairy", "mild cheese", "0", "1");
    AddItemRow("0", "Dairy", "Tea", "3", "1");
    Relist();
    InWindow([] {
        Item->Search->setText("mil");
        QTest::mouseClick(Item->btnSearch, Qt::LeftButton);
        Item->All->setChecked(true);
        QTest::mouseClick(Item->SpeedButton1, Qt::LeftButton);
        EXPECT_EQ(NewNames(), (QStringList{"Milk", "mild cheese"})); // the search stays
    });
    EXPECT_EQ(StockRows().size(), 2);
    EXPECT_EQ(Rows("select item_name, Count_InStore, Count_New from item order by ID"),
              (QStringList{"Milk|2|0", "mild cheese|0|0", "Tea|1|3"}));
}

TEST_F(ReconcileTest, WithoutAllOnlyTheCurrentRowIsReconciled) {
    StartShop();
    for (const char *name : {"Apples", "Bread", "Cheese", "Dates"})
        AddItemRow("0", "Fruit", name, "2", "1");
    Relist();
    InWindow([] {
        ClickNewRow(1);
        QTest::mouseClick(Item->SpeedButton3, Qt::LeftButton);
        EXPECT_EQ(NewNames(), (QStringList{"Apples", "Cheese", "Dates"}));
        EXPECT_EQ(Item->ShopList->RecNo(), 1);
    });
    EXPECT_EQ(StockRows().size(), 1);
    EXPECT_EQ(StockRows().first().section('|', 3, 3), "Bread");
}

TEST_F(ReconcileTest, AnEmptyNewItemsListChangesNothing) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "0", "4", "6", "1");
    AddItemRow("1", "Dairy", "Eggs", "3", "4", "6", "1"); // another store
    Relist();
    const QStringList before = Rows("select * from item");
    InWindow([] {
        EXPECT_TRUE(NewNames().isEmpty());
        for (bool all : {false, true}) {
            Item->All->setChecked(all);
            for (QToolButton *b : {Item->SpeedButton2, Item->SpeedButton1, Item->SpeedButton3})
                QTest::mouseClick(b, Qt::LeftButton);
        }
    });
    EXPECT_EQ(Rows("select * from item"), before);
    EXPECT_TRUE(StockRows().isEmpty());
    ExpectNoErrors();
}

TEST_F(ReconcileTest, AReconciledItemStaysInTheInventoryList) {
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2", "1");
    Relist();
    InWindow([] { QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton); });
    Relist();
    EXPECT_TRUE(NewNames().isEmpty());
    EXPECT_EQ(InventoryNames(), QStringList{"Milk"});
}

TEST_F(ReconcileTest, AHistoryRowThatCannotBeWrittenEndsTheStepBeforeTheItemRowIsPosted) {
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "3", "5", "10", "2");
    Relist();
    Stock->Table->Close(); // the history cannot take rows
    InWindow([] { QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton); });
    ASSERT_EQ(dialogs->Errors().size(), 1);
    EXPECT_EQ(ItemCounts(id), "5|3||||||");
    EXPECT_EQ(Item->ShopList->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Column(Item->GridNew, 0), QStringList{"3"});
    EXPECT_TRUE(StockRows().isEmpty());
}

TEST_F(ReconcileTest, AFailureDuringAllKeepsTheStepsDoneBeforeIt) {
    StartShop();
    QList<int> ids;
    for (const char *name : {"Apples", "Bread", "Cheese", "Dates"})
        ids << AddItemRow("0", "Fruit", name, "2", "1");
    Relist();
    Exec(QString("delete from item where ID=%1").arg(ids[2])); // gone behind the list's back
    InWindow([] {
        Item->All->setChecked(true);
        QTest::mouseClick(Item->SpeedButton2, Qt::LeftButton);
        // What was done shows: only Dates is still new.
        EXPECT_EQ(NewNames(), QStringList{"Dates"});
    });
    ASSERT_EQ(dialogs->Errors().size(), 1);
    EXPECT_EQ(Rows("select item_name, Count_InStore, Count_New from item order by ID"),
              (QStringList{"Apples|3|0", "Bread|3|0", "Dates|1|2"}));
    // The history row of the failing step was written before its item row could not be posted.
    QStringList names;
    for (const QString &row : StockRows())
        names << row.section('|', 3, 3);
    EXPECT_EQ(names, (QStringList{"Apples", "Bread", "Cheese"}));
}

TEST_F(ReconcileTest, AThousandNewItemsAmongTwentyThousandAreReconciledInOnePass) {
    StartShop();
    Exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
         "insert into item (Store, Department, item_name, Count_New, Count_InStore, count_default, Price) "
         "select '0', 'Dairy', 'Item ' || i, case when i % 20 = 0 then 2 else 0 end, 5, 10, 1.5 from n");
    Relist();
    ASSERT_EQ(Item->ShopList->RecordCount(), 1000);
    QElapsedTimer clock;
    clock.start();
    Item->All->setChecked(true);
    Item->Reconcile(ReconcileMode::Add);
    RecordProperty("milliseconds", static_cast<int>(clock.elapsed()));
    EXPECT_EQ(Item->ShopList->RecordCount(), 0);
    EXPECT_EQ(Item->Manager->RecordCount(), 1000);
    EXPECT_EQ(Value("select count(*) from stock"), "1000");
    EXPECT_EQ(Value("select count(*) from item where Count_InStore = 7 and Count_New = 0 and Reconciled = 2"), "1000");
    EXPECT_EQ(Value("select count(*) from item where Count_New <> 0"), "0");
    ExpectNoErrors();
}

// ---------------------------------------------------------------------------------------------
// The grids

TEST_F(ReconcileTest, ReleasingTheMouseOverTheNewItemsMovesTheInventoryToTheSameRowNumber) {
    StartShop();
    for (const char *name : {"Apples", "Bread", "Cheese"})
        AddItemRow("0", "Fruit", name, "2");
    AddItemRow("0", "Fruit", "Dates", "0");
    Exec("update item set Reconciled = 1 where item_name = 'Dates'");
    Relist();
    InWindow([] {
        ASSERT_EQ(InventoryNames(), (QStringList{"Apples", "Bread", "Cheese", "Dates"}));
        ClickNewRow(2);
        EXPECT_EQ(Item->ShopList->RecNo(), 3);
        EXPECT_EQ(Item->Manager->RecNo(), 3);
        ClickNewRow(0);
        EXPECT_EQ(Item->Manager->RecNo(), 1);
    });
}

struct DeleteCase {
    const char *grid;
    TModalResult answer;
    bool deleted;
};
class ReconcileDeleteTest : public ReconcileTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ReconcileDeleteTest, CtrlDeleteInEitherGridDeletesTheItemAfterOK) {
    const DeleteCase &c = GetParam();
    StartShop();
    AddItemRow("0", "Dairy", "Milk", "2");
    AddItemRow("0", "Dairy", "Eggs", "6");
    Relist();
    dialogs->confirmAnswers.push_back(c.answer);
    InWindow([&] {
        auto *grid = Child<TDBGrid>(Item, c.grid);
        const QPoint at = grid->visualRect(grid->model()->index(1, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        const QStringList expected = c.deleted ? QStringList{"Milk"} : QStringList{"Milk", "Eggs"};
        EXPECT_EQ(NewNames(), expected);
        EXPECT_EQ(InventoryNames(), expected); // the other list does not keep a row that is gone
    });
    EXPECT_EQ(dialogs->Texts("confirm"), QStringList{"Delete record?"});
    EXPECT_EQ(Rows("select item_name from item order by ID"),
              c.deleted ? QStringList{"Milk"} : (QStringList{"Milk", "Eggs"}));
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(Answers, ReconcileDeleteTest,
                         ::testing::Values(DeleteCase{"GridNew", TModalResult::mrCancel, false},
                                           DeleteCase{"GridNew", TModalResult::mrOK, true},
                                           DeleteCase{"StockGrid", TModalResult::mrCancel, false},
                                           DeleteCase{"StockGrid", TModalResult::mrOK, true}));

// ---------------------------------------------------------------------------------------------
// Adding an item

TEST_F(ReconcileTest, AddItemWritesTheCountInStoreTwiceAndStampsTheDate) {
    StartShop();
    Item->AddItem("1", "2", "Fruit", "Pears", 4, 6, 1.25);
    EXPECT_EQ(Rows("select Store, Department_id, Department, item_name, Count_New, Count_InStore, Count_Total, "
                   "count_default, Price, Reconciled, Note, Date_Year, Date_Day, Date_Month, Date_DayOfWeek, "
                   "Date_Julian from item"),
              QStringList{"1|2|Fruit|Pears|0|4|4|6|1.25|||" + kMondayStamp});
}

} // namespace
