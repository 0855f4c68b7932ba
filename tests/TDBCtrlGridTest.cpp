// The control grid: rows as panels three to a line, the real count edit and name label riding on the
// current row's panel, clicks and keys moving the current row, typed counts posted on leaving the row.
#include "data/TDBCtrlGrid.h"
#include "DataControlsFixture.h"
#include "data/TDBEdit.h"
#include "data/TDBText.h"

#include <QScrollBar>
#include <QSignalSpy>

namespace {

enum class Part { Edit, Label };

class TDBCtrlGridTest : public DataControlsTest {
  protected:
    TDBCtrlGrid *grid = nullptr;
    TDBEdit *edit = nullptr;
    TDBText *label = nullptr;

    // A grid over the item table as the Shopping List page has it: counts to buy beside the names.
    void Build(int visibleLines = 21) {
        OpenView();
        grid = Add(new TDBCtrlGrid);
        grid->setObjectName("DBCtrlGrid1");
        grid->SetRowCount(visibleLines);
        grid->SetPanelSize(150, 19);
        grid->SetEditField("Count_New");
        grid->SetLabelField("item_name");
        grid->Edit()->setObjectName("DBEdit1");
        grid->Label()->setObjectName("DBText1");
        grid->SetDataSource(source.get());
        grid->setFixedSize(grid->sizeHint());
        ShowActive();
        edit = Child<TDBEdit>(Window(), "DBEdit1");
        label = Child<TDBText>(Window(), "DBText1");
    }

    // Clicks a part of a row's panel as the user would: on the real control when the panel is the
    // current one, on the drawn panel otherwise.
    void Click(int row, Part part) {
        const QRect rect = part == Part::Edit ? grid->PanelEditRect(row) : grid->PanelLabelRect(row);
        ASSERT_TRUE(grid->viewport()->rect().contains(rect.center())) << "panel " << row << " not in view";
        if (row == view->CurrentIndex()) {
            QWidget *control = part == Part::Edit ? static_cast<QWidget *>(edit) : label;
            QTest::mouseClick(control, Qt::LeftButton, {}, control->mapFrom(grid->viewport(), rect.center()));
        } else {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
        }
    }

    void TypeCount(const QString &text) {
        Click(view->CurrentIndex(), Part::Edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(TDBCtrlGridTest, PanelsFillThreeToALineAndTheCurrentOneCarriesTheControls) {
    AddNumberedRows(7);
    Build();
    EXPECT_EQ(grid->PanelRect(0), QRect(0, 0, 150, 19));
    EXPECT_EQ(grid->PanelRect(2), QRect(300, 0, 150, 19));
    EXPECT_EQ(grid->PanelRect(4), QRect(150, 19, 150, 19));
    EXPECT_EQ(grid->PanelEditRect(4).width(), 17);
    EXPECT_TRUE(grid->PanelRect(4).contains(grid->PanelEditRect(4)));
    EXPECT_TRUE(grid->PanelRect(4).contains(grid->PanelLabelRect(4)));
    EXPECT_FALSE(grid->PanelEditRect(4).intersects(grid->PanelLabelRect(4)));
    EXPECT_EQ(grid->PanelAt(grid->PanelRect(6).center()), 6);
    EXPECT_EQ(grid->PanelAt(grid->PanelRect(7).center()), -1); // past the last row

    ASSERT_EQ(view->CurrentIndex(), 0);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), grid->PanelEditRect(0));
    EXPECT_EQ(label->geometry(), grid->PanelLabelRect(0));
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(label->text(), "Item 1");
}

// The ways a row is posted after a count was typed into it; until then the table keeps the old count.
enum class PostBy { ClickingAnotherPanel, KeyDownInTheEdit, PostingTheView };

void PrintTo(PostBy way, std::ostream *os) {
    const char *names[] = {"clicking another panel", "key Down in the edit", "posting the view"};
    *os << names[static_cast<int>(way)];
}

class TDBCtrlGridPosting : public TDBCtrlGridTest, public ::testing::WithParamInterface<PostBy> {};

TEST_P(TDBCtrlGridPosting, TypedCountReachesTheTableOnlyWhenTheRowIsPosted) {
    AddNumberedRows(6);
    Build();
    view->SetRecNo(2); // Item 2
    TypeCount("9");

    EXPECT_EQ(edit->text(), "9");
    EXPECT_EQ(view->State(), TDataSetState::dsEdit);
    EXPECT_EQ(Stored("Item 2"), "2");

    switch (GetParam()) {
    case PostBy::ClickingAnotherPanel:
        Click(5, Part::Label);
        EXPECT_EQ(view->CurrentIndex(), 5);
        EXPECT_EQ(edit->text(), "6");
        break;
    case PostBy::KeyDownInTheEdit:
        QTest::keyClick(edit, Qt::Key_Down);
        EXPECT_EQ(view->CurrentIndex(), 4);
        EXPECT_EQ(edit->text(), "5");
        break;
    case PostBy::PostingTheView:
        view->Post();
        EXPECT_EQ(view->CurrentIndex(), 1);
        EXPECT_EQ(edit->text(), "9");
        break;
    }
    EXPECT_EQ(view->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Stored("Item 2"), "9");
    EXPECT_EQ(Stored("Item 1"), "1");
    EXPECT_TRUE(dialogs->Errors().isEmpty()) << dialogs->Errors().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(TDBCtrlGrid, TDBCtrlGridPosting,
                         ::testing::Values(PostBy::ClickingAnotherPanel, PostBy::KeyDownInTheEdit,
                                           PostBy::PostingTheView));

TEST_F(TDBCtrlGridTest, ClickingPanelsMovesTheCurrentRowAndCountsAsAClickOnTheControlThere) {
    AddNumberedRows(9);
    Build();
    QSignalSpy editClicks(edit, &TDBEdit::clicked);
    QSignalSpy labelClicks(label, &TDBText::clicked);
    // At the moment of the click the row is already the clicked one (the owner loads it then).
    std::vector<int> rowAtLabelClick;
    QObject::connect(label, &TDBText::clicked, [&]() { rowAtLabelClick.push_back(view->CurrentIndex()); });

    struct Case {
        int row;
        Part part;
        int editClicks;
        int labelClicks;
    };
    const Case cases[] = {
        {4, Part::Label, 0, 1}, // another panel's name
        {4, Part::Label, 0, 2}, // the current panel's name: the real label
        {7, Part::Edit, 1, 2},  // another panel's count
        {7, Part::Edit, 2, 2},  // the current panel's count: the real edit
        {0, Part::Label, 2, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << (c.part == Part::Edit ? " edit" : " label"));
        Click(c.row, c.part);
        EXPECT_EQ(view->CurrentIndex(), c.row);
        EXPECT_EQ(edit->geometry(), grid->PanelEditRect(c.row));
        EXPECT_EQ(label->geometry(), grid->PanelLabelRect(c.row));
        EXPECT_EQ(edit->text(), QString::number(c.row + 1));
        EXPECT_EQ(label->text(), QString("Item %1").arg(c.row + 1));
        EXPECT_EQ(editClicks.count(), c.editClicks);
        EXPECT_EQ(labelClicks.count(), c.labelClicks);
        if (c.part == Part::Edit) {
            EXPECT_TRUE(edit->hasFocus());
        }
    }
    EXPECT_EQ(rowAtLabelClick, (std::vector<int>{4, 4, 0}));
}

TEST_F(TDBCtrlGridTest, TheCurrentPanelsControlsFollowTheRowWhateverMovesIt) {
    AddRows({{"Milk", "2"}, {"Eggs", "12"}, {"Bread", ""}, {"Tea", "2"}});
    Build();
    QSignalSpy changes(edit, &TDBEdit::changed);

    view->SetRecNo(2);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(label->text(), "Eggs");
    EXPECT_EQ(edit->geometry(), grid->PanelEditRect(1));

    view->Next(); // a null count shows as empty text
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(label->text(), "Bread");

    view->FieldByName("Count_New").SetAsString("4"); // changed by someone else than the edit
    EXPECT_EQ(edit->text(), "4");
    view->Cancel();
    EXPECT_EQ(edit->text(), "");
    const int changesSoFar = changes.count();
    EXPECT_EQ(changesSoFar, 4); // 12, empty, 4, empty

    view->Delete(); // Bread goes, Tea takes its place
    EXPECT_EQ(label->text(), "Tea");
    EXPECT_EQ(edit->geometry(), grid->PanelEditRect(2));

    view->Close();
    EXPECT_FALSE(edit->isVisible());
    view->SetSQL("select * from item where item_name='Eggs'");
    view->Open();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(label->text(), "Eggs");
    EXPECT_EQ(edit->geometry(), grid->PanelEditRect(0));
}

TEST_F(TDBCtrlGridTest, KeysMoveBetweenPanels) {
    AddNumberedRows(8); // three lines: 0 1 2 / 3 4 5 / 6 7
    Build(2);           // two lines in view
    struct Case {
        int from;
        int key;
        int to;
        bool fromTheEdit;
    };
    const Case cases[] = {
        {0, Qt::Key_Down, 3, false},     {4, Qt::Key_Up, 1, false},      {1, Qt::Key_Up, 1, false},
        {5, Qt::Key_Down, 7, false},     {6, Qt::Key_Down, 6, false},    {1, Qt::Key_Right, 2, false},
        {2, Qt::Key_Left, 1, false},     {4, Qt::Key_Home, 0, false},    {4, Qt::Key_End, 7, false},
        {0, Qt::Key_PageDown, 6, false}, {7, Qt::Key_PageUp, 1, false},  {1, Qt::Key_Down, 4, true},
        {4, Qt::Key_Up, 1, true},        {4, Qt::Key_PageDown, 7, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << QTest::toString(c.key)
                                        << (c.fromTheEdit ? " in the edit" : ""));
        view->SetRecNo(c.from + 1);
        QWidget *target = c.fromTheEdit ? static_cast<QWidget *>(edit) : grid;
        target->setFocus();
        QTest::keyClick(target, static_cast<Qt::Key>(c.key));
        EXPECT_EQ(view->CurrentIndex(), c.to);
        EXPECT_TRUE(grid->viewport()->rect().contains(grid->PanelRect(c.to)));
        EXPECT_TRUE(edit->isVisible());
    }
}

TEST_F(TDBCtrlGridTest, ScrollsToKeepTheCurrentPanelInViewAndTheScrollBarScrollsTheView) {
    AddNumberedRows(30); // ten lines
    Build(3);
    QScrollBar *bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 7);

    view->Last();
    EXPECT_EQ(grid->TopLine(), 7);
    EXPECT_EQ(edit->geometry(), grid->PanelEditRect(29));
    EXPECT_TRUE(grid->viewport()->rect().contains(edit->geometry()));
    EXPECT_EQ(edit->text(), "30");

    view->First();
    EXPECT_EQ(grid->TopLine(), 0);

    bar->setValue(5); // the user scrolls: the current row stays, its panel goes out of view
    EXPECT_EQ(view->CurrentIndex(), 0);
    EXPECT_FALSE(edit->isVisible());
    Click(16, Part::Label); // line 5 is the first in view: rows 15 16 17
    EXPECT_EQ(grid->PanelRect(16).topLeft(), QPoint(150, 0));
    EXPECT_EQ(view->CurrentIndex(), 16);
    EXPECT_EQ(label->text(), "Item 17");
    EXPECT_TRUE(edit->isVisible());
}

TEST_F(TDBCtrlGridTest, ACountThatIsNoNumberIsReportedAndKeepsTheRow) {
    AddNumberedRows(4);
    Build();
    TypeCount("abc");
    Click(3, Part::Label);

    ASSERT_EQ(dialogs->Errors().size(), 1);
    EXPECT_TRUE(dialogs->Errors().front().contains("abc")) << dialogs->Errors().front().toStdString();
    EXPECT_EQ(view->CurrentIndex(), 0);
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(Stored("Item 1"), "1");

    // Escape gives the typed text up; then the row can be left and nothing was written.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "1");
    Click(3, Part::Label);
    EXPECT_EQ(view->CurrentIndex(), 3);
    EXPECT_EQ(Stored("Item 1"), "1");
    EXPECT_EQ(dialogs->Errors().size(), 1);
}

TEST_F(TDBCtrlGridTest, LeavingTheCountEditWritesItAndTellsTheOwner) {
    AddNumberedRows(3);
    Build();
    QSignalSpy exits(edit, &TDBEdit::exited);
    // The owner rebuilds its list on exit: by then the field holds the typed count.
    QString fieldAtExit;
    QObject::connect(edit, &TDBEdit::exited, [&]() { fieldAtExit = ViewText("Count_New"); });
    TypeCount("7");
    Click(2, Part::Label); // the grid takes the focus, then moves
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(fieldAtExit, "7");
    EXPECT_EQ(Stored("Item 1"), "7");
}

} // namespace
