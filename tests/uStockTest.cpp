// The stock history: the table made at start-up, one row per reconcile step with the item's texts cut
// to the column widths, and the date columns of the moment each row is written.
#include "ProgramHarness.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

class StockHistoryTest : public ProgramTest {
protected:
    QDateTime now{QDate(2007, 1, 1), QTime(10, 30)}; // a Monday

    void StartShop() {
        SetClockForTests([this] { return now; });
        WriteLists({"Dairy", "Bakery"}, {"North", "South"});
        WriteSettings("0");
        Start();
    }
    // Lists the new items again and reconciles the first one with "Add >".
    void ReconcileFirst() {
        Item->OpenNewItems();
        Item->OpenInventory();
        Item->All->setChecked(false);
        Item->Reconcile(ReconcileMode::Add);
    }
    QStringList History() {
        return Rows("select Item_id, Store, Department, item_name, Count_New, price, Date_Year, Date_Day, Date_Month, "
                    "Date_DayOfWeek, Date_Julian from stock order by ID");
    }
    void ExpectNoErrors() {
        EXPECT_TRUE(dialogs->Errors().isEmpty()) << dialogs->Errors().join(" // ").toStdString();
    }
};

TEST_F(StockHistoryTest, AMissingStockTableIsCreatedAtStartUpAndTakesTheFirstRow) {
    ASSERT_FALSE(QFileInfo::exists(DBPath() + "Stock.db"));
    StartShop();
    EXPECT_TRUE(QFileInfo::exists(DBPath() + "stock.db") || QFileInfo::exists(DBPath() + "Stock.db"));
    EXPECT_EQ(Stock->TableName, "Stock");
    EXPECT_EQ(Stock->TableFile, "Stock.db");
    EXPECT_TRUE(Stock->Table->Active());
    EXPECT_EQ(Stock->Table->SQLText(), "select * from stock where date_julian = '39083'");
    const int id = AddItemRow("1", "Bakery", "Rye bread", "2", "0", "1", "3.99");
    Item->Store->setCurrentIndex(2);
    Item->Reconcile(ReconcileMode::Set);
    EXPECT_EQ(History(), QStringList{QString("%1|1|Bakery|Rye bread|2|3.99|2007|1|1|2|39083").arg(id)});
    ExpectNoErrors();
}

struct TextCase {
    const char *countNew;
    const char *price;
    const char *countText;
    const char *priceText;
};
class StockTextTest : public StockHistoryTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(StockTextTest, TheCountAndPriceAreTheItemRowsTextsCutToTheirColumns) {
    const TextCase &c = GetParam();
    StartShop();
    AddItemRow("0", "Dairy", "Cream", c.countNew, "1", "1", c.price);
    ReconcileFirst();
    ASSERT_EQ(History().size(), 1);
    EXPECT_EQ(History().first().section('|', 4, 5), QString("%1|%2").arg(c.countText, c.priceText));
}
INSTANTIATE_TEST_SUITE_P(Texts, StockTextTest,
                         ::testing::Values(TextCase{"12.75", "3.99", "12.7", "3.99"}, TextCase{"2.5", "0", "2.5", "0"},
                                           TextCase{"3", "10.5", "3", "10.5"},
                                           TextCase{"1000.25", "1234567.123456789", "1000", "1234567.12345679"}));

TEST_F(StockHistoryTest, TheItemsIdIsWrittenAsDecimalText) {
    StartShop();
    Exec("insert into item (ID, Store, Department, item_name, Count_New) values (157, '0', 'Dairy', 'Butter', 1)");
    ReconcileFirst();
    EXPECT_EQ(Value("select Item_id from stock"), "157");
}

TEST_F(StockHistoryTest, TwoStepsOfOneItemOnOneDayWriteTwoRows) {
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "2", "1");
    ReconcileFirst();
    Exec(QString("update item set Count_New = 3 where ID=%1").arg(id));
    now = now.addSecs(3600);
    ReconcileFirst();
    EXPECT_EQ(History(), (QStringList{QString("%1|0|Dairy|Milk|2|0|2007|1|1|2|39083").arg(id),
                                      QString("%1|0|Dairy|Milk|3|0|2007|1|1|2|39083").arg(id)}));
    EXPECT_EQ(Value(QString("select Count_InStore, Reconciled from item where ID=%1").arg(id)), "6|3");
}

TEST_F(StockHistoryTest, ARowWrittenAfterMidnightCarriesTheNewDay) {
    now = QDateTime(QDate(2007, 1, 1), QTime(22, 0));
    StartShop();
    const int id = AddItemRow("0", "Dairy", "Milk", "2", "1");
    now = QDateTime(QDate(2007, 1, 2), QTime(0, 5));
    ReconcileFirst();
    EXPECT_EQ(History(), QStringList{QString("%1|0|Dairy|Milk|2|0|2007|2|1|3|39084").arg(id)});
    EXPECT_EQ(Value(QString("select Date_Year, Date_Day, Date_Month, Date_DayOfWeek, Date_Julian from item where ID=%1")
                        .arg(id)),
              "2007|2|1|3|39084");
    // The history query still selects the day of the start.
    EXPECT_EQ(Stock->Table->SQLText(), "select * from stock where date_julian = '39083'");
}

TEST_F(StockHistoryTest, AddStockRowCutsEachTextToItsColumn) {
    StartShop();
    Stock->AddStockRow("123", QString(70, 'd'), QString(130, 'n'), QString(30, '7'), "12345", QString(20, '9'));
    EXPECT_EQ(History(), QStringList{QString(24, '7') + "|12|" + QString(64, 'd') + "|" + QString(128, 'n') + "|1234|" +
                                     QString(16, '9') + "|2007|1|1|2|39083"});
}

TEST_F(StockHistoryTest, OpenDaySelectsTheRowsOfThatDay) {
    StartShop();
    Stock->AddStockRow("0", "Dairy", "Milk", "1", "2", "1");
    now = now.addDays(1);
    Stock->AddStockRow("0", "Dairy", "Eggs", "2", "6", "2");
    Stock->AddStockRow("0", "Dairy", "Tea", "3", "1", "3");
    Stock->OpenDay(now);
    EXPECT_EQ(Stock->Table->RecordCount(), 2);
    Stock->OpenDay(now.addDays(-1));
    EXPECT_EQ(Stock->Table->RecordCount(), 1);
    EXPECT_EQ(Stock->Table->FieldByName("item_name").AsString(), "Milk");
}

} // namespace
