// The item detail panel of the Manager View page (loaded from the clicked row, written back when a
// control is left or "Save" is pressed), the Add command with its "Add Item" dialog, and Delete.
#include "ProgramHarness.h"

#include "controls/TPBNumEdit.h"
#include "controls/TSpinEdit.h"
#include "data/TDBCtrlGrid.h"
#include "data/TDBEdit.h"
#include "data/TDBText.h"
#include "uItemAdd.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace {

const QDateTime kMonday(QDate(2007, 1, 1), QTime(9, 0));

class ItemPanelTest : public ProgramTest {
protected:
    // Three departments, two stores; the store box shows South (1).
    void StartShop() {
        SetClockForTests([] { return kMonday; });
        WriteLists({"Dairy", "Bakery", "Fruit"}, {"North", "South"});
        WriteSettings("1");
        Start();
        Form1->activateWindow();
        QApplication::setActiveWindow(Form1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    }
    // Shows the Manager View page with one department's rows, as a click on its name does.
    void ShowDepartment(int row) {
        Form1->Image4Click();
        ASSERT_EQ(Form1->pgMain->currentIndex(), 1);
        QListWidget *list = Form1->Department2;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Clicks the item name of a row's panel in the Manager View grid.
    void ClickName(int row) {
        TDBCtrlGrid *grid = Form1->DBCtrlGrid2;
        const QRect rect = grid->PanelLabelRect(row);
        ASSERT_TRUE(grid->viewport()->rect().contains(rect.center()));
        if (row == Form1->ShopView->CurrentIndex())
            QTest::mouseClick(Form1->DBText2, Qt::LeftButton, {},
                              Form1->DBText2->mapFrom(grid->viewport(), rect.center()));
        else
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QString Panel() {
        return QString("%1|%2|%3|%4")
            .arg(Form1->Count_inStore->Value())
            .arg(Form1->Count_New->Value())
            .arg(Form1->Count_Default->Value())
            .arg(Form1->Price->Value());
    }
    QString Stored(int id) {
        return Value(QString("select Count_InStore, Count_New, count_default, Price from item where ID=%1").arg(id));
    }
    void ExpectNoErrors() {
        EXPECT_TRUE(dialogs->Errors().isEmpty()) << dialogs->Errors().join(" // ").toStdString();
    }
};

// ---------------------------------------------------------------------------------------------
// The panel

TEST_F(ItemPanelTest, ClickingAnItemNameFillsThePanelWithItsCountsAndPrice) {
    StartShop();
    AddItemRow("1", "Dairy", "Milk", "2", "4", "6", "2.49");
    AddItemRow("1", "Dairy", "Eggs", "1", "2.5", "12", "3");
    AddItemRow("1", "Dairy", "Butter", "", "", "", "0");
    ShowDepartment(0);
    struct Case {
        int row;
        const char *name;
        const char *panel;
    };
    for (const Case &c : {Case{1, "Eggs", "0|1|12|3"}, Case{0, "Milk", "4|2|6|2.49"}, Case{2, "Butter", "0|0|0|0"},
                          Case{2, "Butter", "0|0|0|0"}}) {
        ClickName(c.row);
        EXPECT_EQ(Form1->ShopView->FieldByName("item_name").AsString(), c.name);
        EXPECT_EQ(Panel(), c.panel) << c.name; // 2.5 in store is not a whole number: the panel shows 0
        EXPECT_EQ(Form1->DBText3->text(), c.name);
        EXPECT_EQ(Form1->DBText4->text(), "Dairy");
    }
    ExpectNoErrors();
}

TEST_F(ItemPanelTest, LeavingUnitsToBuyWritesAllFourValuesIntoTheRow) {
    StartShop();
    AddItemRow("1", "Dairy", "Milk", "2", "4", "6", "2.49");
    const int eggs = AddItemRow("1", "Dairy", "Eggs", "1", "3", "12", "3");
    ShowDepartment(0);
    ClickName(1);
    // Values changed without leaving their controls wait in the panel ...
    Form1->Count_inStore->SetValue(9);
    Form1->Price->SetValue(1.5);
    EXPECT_EQ(Stored(eggs), "3|1|12|3");
    // ... until "Units to Buy" is changed and left.
    Form1->Count_New->setFocus();
    Form1->Count_New->selectAll();
    QTest::keyClicks(Form1->Count_New, "5");
    QTest::keyClick(Form1->Count_New, Qt::Key_Tab);
    EXPECT_EQ(Stored(eggs), "9|5|12|1.5");
    EXPECT_EQ(Form1->ShopView->State(), TDataSetState::dsBrowse);
    ExpectNoErrors();
}

TEST_F(ItemPanelTest, SaveWritesThePanelAndReadsTheViewAgain) {
    StartShop();
    const int milk = AddItemRow("1", "Dairy", "Milk", "2", "4", "6", "2.49");
    const int eggs = AddItemRow("1", "Dairy", "Eggs", "1", "3", "12", "3");
    ShowDepartment(0);
    ClickName(0);
    Form1->Count_Default->SetValue(8);
    Form1->Price->SetValue(2.75);
    Exec(QString("update item set Note = 'free range' where ID=%1").arg(eggs)); // changed behind the view
    QTest::mouseClick(Child<QToolButton>(Form1, "SpeedButton4"), Qt::LeftButton);
    EXPECT_EQ(Form1->SpeedButton4->text(), "Save");
    EXPECT_EQ(Stored(milk), "4|2|8|2.75");
    EXPECT_EQ(Form1->ShopView->FieldByName("item_name").AsString(), "Milk");
    Form1->ShopView->Next();
    EXPECT_EQ(Form1->ShopView->FieldByName("Note").AsString(), "free range");
    ExpectNoErrors();
}

TEST_F(ItemPanelTest, SavingWithNoCurrentRowChangesNothing) {
    StartShop();
    AddItemRow("1", "Dairy", "Milk", "2", "4", "6", "2.49");
    ShowDepartment(0);
    ClickName(0);
    ShowDepartment(2); // no Fruit items: an empty view
    ASSERT_TRUE(Form1->ShopView->IsEmpty());
    const QStringList before = Rows("select * from item");
    Form1->Count_New->SetValue(7);
    QTest::mouseClick(Form1->SpeedButton4, Qt::LeftButton);
    Form1->SaveItemPanel();
    EXPECT_EQ(Rows("select * from item"), before);
    ExpectNoErrors();
}

// ---------------------------------------------------------------------------------------------
// Add

struct AddCase {
    const char *name;
    int selectedDepartment; // row of the Shopping List page's department list; -1 none
    bool fromManagerPage;
    const char *departmentId;
    const char *department;
};
void PrintTo(const AddCase &c, std::ostream *os) {
    *os << c.name;
}
class ItemAddTest : public ItemPanelTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(ItemAddTest, AddWithTheUntouchedDialogAddsANewItemOfThePreselectedDepartment) {
    const AddCase &c = GetParam();
    StartShop();
    Form1->Department->setCurrentRow(c.selectedDepartment);
    if (c.fromManagerPage)
        ShowDepartment(0); // the Manager View page's own list does not count
    bool shown = false;
    WhenModal([&](QWidget *w) {
        shown = true;
        EXPECT_EQ(w->windowTitle(), "Add Item");
        auto *dialog = qobject_cast<TItemAdd *>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->ItemName->text(), "New Item");
        EXPECT_EQ(dialog->Department->currentText(), c.department);
        QTest::mouseClick(Child<QPushButton>(w, "Button2"), Qt::LeftButton);
    });
    QTest::mouseClick(c.fromManagerPage ? Form1->Button1 : Form1->Button2, Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_EQ(Rows("select Store, Department_id, Department, item_name, Count_InStore, Count_Total, count_default, "
                   "Price, Count_New, Date_Year, Date_Day, Date_Month, Date_DayOfWeek, Date_Julian from item"),
              QStringList{QString("1|%1|%2|New Item|0|0|1|0|0|2007|1|1|2|39083").arg(c.departmentId, c.department)});
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(Departments, ItemAddTest,
                         ::testing::Values(AddCase{"ThirdDepartment", 2, false, "2", "Fruit"},
                                           AddCase{"FromTheManagerPage", 1, true, "1", "Bakery"},
                                           AddCase{"NoneSelected", -1, false, "0", "Dairy"}));

TEST_F(ItemPanelTest, APreselectedDepartmentThatIsNotInTheListLeavesTheFirstSelected) {
    StartShop();
    Form1->Department->addItem("Frozen"); // shown in the page's list, not in the department list
    Form1->Department->setCurrentRow(3);
    WhenModal([](QWidget *w) {
        auto *dialog = qobject_cast<TItemAdd *>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Department->currentIndex(), 0);
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    });
    QTest::mouseClick(Form1->Button2, Qt::LeftButton);
    EXPECT_EQ(Value("select Department_id, Department from item"), "0|Dairy");
}

TEST_F(ItemPanelTest, CancelAppendsNothingAndTheViewIsReadAgain) {
    StartShop();
    ShowDepartment(0);
    ASSERT_TRUE(Form1->ShopView->IsEmpty());
    AddItemRow("1", "Dairy", "Milk", "2"); // behind the view
    WhenModal([](QWidget *w) { QTest::mouseClick(Child<QPushButton>(w, "Button1"), Qt::LeftButton); });
    QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    EXPECT_EQ(Rows("select item_name from item"), QStringList{"Milk"});
    EXPECT_EQ(Form1->ShopView->RecordCount(), 1);
}

// ---------------------------------------------------------------------------------------------
// Delete

struct DeleteCase {
    TModalResult answer;
    QStringList left;
};
class ItemDeleteTest : public ItemPanelTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ItemDeleteTest, DeleteAsksAndDeletesTheCurrentRowUnlessTheAnswerIsNo) {
    StartShop();
    AddItemRow("1", "Dairy", "Milk", "2");
    AddItemRow("1", "Dairy", "Eggs", "1");
    ShowDepartment(0);
    ClickName(1);
    dialogs->confirmAnswers.push_back(GetParam().answer);
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    EXPECT_EQ(dialogs->Texts("confirm"), QStringList{"Are you sure you want to delete this item"});
    EXPECT_EQ(Rows("select item_name from item order by ID"), GetParam().left);
    EXPECT_EQ(Form1->ShopView->RecordCount(), GetParam().left.size());
    ExpectNoErrors();
}
INSTANTIATE_TEST_SUITE_P(Answers, ItemDeleteTest,
                         ::testing::Values(DeleteCase{TModalResult::mrNo, {"Milk", "Eggs"}},
                                           DeleteCase{TModalResult::mrYes, {"Milk"}}));

TEST_F(ItemPanelTest, DeleteOnAnEmptyViewShowsAMessageAndChangesNothing) {
    StartShop();
    AddItemRow("1", "Dairy", "Milk", "2");
    ShowDepartment(1);
    ASSERT_TRUE(Form1->ShopView->IsEmpty());
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    EXPECT_EQ(dialogs->Messages().size(), 1);
    EXPECT_EQ(Rows("select item_name from item"), QStringList{"Milk"});
    ExpectNoErrors();
}

} // namespace
