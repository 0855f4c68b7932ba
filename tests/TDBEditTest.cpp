// The bound edit, label and memo: showing the current row's field, following the row, typing into edit
// state, writing on post and on leaving, conversion errors, read-only over a result that cannot change.
#include "data/TDBEdit.h"
#include "DataControlsFixture.h"
#include "data/TDBCtrlGrid.h"
#include "data/TDBGrid.h"
#include "data/TDBMemo.h"
#include "data/TDBText.h"

#include <QLineEdit>
#include <QSignalSpy>

namespace {

class TDBEditTest : public DataControlsTest {
  protected:
    TDBEdit *edit = nullptr;
    QLineEdit *other = nullptr; // somewhere for the focus to go

    void Build(const QString &field = "Count_New", const QString &sql = "select * from item") {
        OpenView(sql);
        edit = Add(new TDBEdit);
        edit->setObjectName("DBEdit2");
        edit->SetDataSource(source.get());
        edit->SetDataField(field);
        other = Add(new QLineEdit);
        ShowActive();
    }
    void Type(const QString &text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void Leave() { QTest::mouseClick(other, Qt::LeftButton); }
};

TEST_F(TDBEditTest, ShowsTheFieldAndSaysChangedOnlyWhenTheRowMovesToAnotherValue) {
    AddRows({{"Milk", "2"}, {"Eggs", "2"}, {"Tea", "5"}, {"Salt", ""}});
    Build();
    QSignalSpy changes(edit, &TDBEdit::changed);
    EXPECT_EQ(edit->text(), "2");

    struct Step {
        int recNo;
        QString shown;
        int changesSoFar;
    };
    const Step steps[] = {{2, "2", 0}, {3, "5", 1}, {3, "5", 1}, {4, "", 2}, {1, "2", 3}};
    for (const Step &s : steps) {
        SCOPED_TRACE(testing::Message() << "row " << s.recNo);
        view->SetRecNo(s.recNo);
        EXPECT_EQ(edit->text(), s.shown);
        EXPECT_EQ(changes.count(), s.changesSoFar);
    }
    EXPECT_FALSE(edit->isReadOnly());
}

TEST_F(TDBEditTest, TypingEditsTheRowAndTheTableGetsTheValueWhenTheRowIsPosted) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Build();
    QSignalSpy changes(edit, &TDBEdit::changed);
    QSignalSpy exits(edit, &TDBEdit::exited);
    Type("14");

    EXPECT_EQ(view->State(), TDataSetState::dsEdit);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(changes.count(), 2);         // the selected text replaced by "1", then "14"
    EXPECT_EQ(ViewText("Count_New"), "2"); // still only in the edit
    view->Next();                          // something else moves the row: UpdateRecord writes the text first
    EXPECT_EQ(Stored("Milk"), "14");
    EXPECT_EQ(edit->text(), "6");
    EXPECT_FALSE(edit->Modified());

    Type("3.50");
    Leave(); // leaving writes the field (the row stays in edit state until posted)
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(ViewText("Count_New"), "3.5");
    EXPECT_EQ(edit->text(), "3.5");
    EXPECT_EQ(view->State(), TDataSetState::dsEdit);
    EXPECT_EQ(Stored("Eggs"), "6");
    view->Post();
    EXPECT_EQ(Stored("Eggs"), "3.5");
}

TEST_F(TDBEditTest, AnOwnerPostingTheRowWhenTheTextChangesPostsWhatWasTyped) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Build();
    std::vector<QString> statesAtChange;
    QObject::connect(edit, &TDBEdit::changed, [&]() {
        statesAtChange.push_back(view->State() == TDataSetState::dsEdit ? "edit" : "browse");
        if (view->State() == TDataSetState::dsEdit)
            view->Post();
    });
    Type("14");
    EXPECT_EQ(Stored("Milk"), "14");
    EXPECT_EQ(edit->text(), "14");
    view->Next();
    EXPECT_EQ(edit->text(), "6");
    EXPECT_EQ(statesAtChange, (std::vector<QString>{"edit", "edit", "browse"}));
    EXPECT_EQ(Stored("Eggs"), "6");
}

TEST_F(TDBEditTest, TextThatIsNoNumberIsReportedAndStaysInTheEdit) {
    AddRows({{"Milk", "2"}});
    Build();
    QSignalSpy exits(edit, &TDBEdit::exited);
    Type("two");
    Leave();

    ASSERT_EQ(dialogs->Errors().size(), 1);
    EXPECT_TRUE(dialogs->Errors().front().contains("two")) << dialogs->Errors().front().toStdString();
    EXPECT_EQ(exits.count(), 0);
    EXPECT_EQ(edit->text(), "two");
    EXPECT_TRUE(edit->WriteFailed());
    EXPECT_EQ(ViewText("Count_New"), "2");

    Type("4"); // corrected
    Leave();
    EXPECT_EQ(exits.count(), 1);
    view->Post();
    EXPECT_EQ(Stored("Milk"), "4");
    EXPECT_EQ(dialogs->Errors().size(), 1);
}

TEST_F(TDBEditTest, EscapeGivesUpTheTypedText) {
    AddRows({{"Milk", "2"}});
    Build();
    Type("8");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "2");
    EXPECT_FALSE(edit->Modified());
    Leave();
    view->Post();
    EXPECT_EQ(Stored("Milk"), "2");
}

TEST_F(TDBEditTest, ClickedComesFromAPressAndReleaseInsideTheEdit) {
    AddRows({{"Milk", "2"}});
    Build();
    QSignalSpy clicks(edit, &TDBEdit::clicked);
    // The owner selects the whole text on a click: the click is over by then.
    QObject::connect(edit, &TDBEdit::clicked, edit, &QLineEdit::selectAll);
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(edit->selectedText(), "2");
    QTest::mouseClick(edit, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(TDBEditTest, ReadOnlyWhenTheResultCannotBeChangedOrThereIsNoRow) {
    struct Case {
        const char *sql;
        bool readOnly;
    };
    AddRows({{"Milk", "2"}});
    const Case cases[] = {
        {"select * from item", false},
        {"select item_name, Count_New from item", true}, // no ID: not a live result
        {"select * from item where item_name='none'", true},
    };
    Build();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql);
        view->SetSQL(c.sql);
        view->Open();
        EXPECT_EQ(edit->isReadOnly(), c.readOnly);
    }
    view->Close();
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "");
}

TEST_F(TDBEditTest, TheLabelFollowsTheRowAndReportsClicks) {
    AddRows({{"Milk", "2"}, {"Eggs & <b>bacon</b>", "1"}});
    OpenView();
    auto *label = Add(new TDBText);
    label->SetDataSource(source.get());
    label->SetDataField("ITEM_NAME");
    ShowActive();
    QSignalSpy clicks(label, &TDBText::clicked);

    EXPECT_EQ(label->text(), "Milk");
    view->Next();
    EXPECT_EQ(label->text(), "Eggs & <b>bacon</b>");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    view->FieldByName("item_name").SetAsString("Ham");
    EXPECT_EQ(label->text(), "Ham");
    view->Cancel();
    EXPECT_EQ(label->text(), "Eggs & <b>bacon</b>");
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    view->Close();
    EXPECT_EQ(label->text(), "");
}

TEST_F(TDBEditTest, TheMemoEditsTheNoteAndWritesItOnPostAndOnLeaving) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Exec("update item set Note='fresh' where item_name='Milk'");
    OpenView();
    auto *memo = Add(new TDBMemo);
    memo->setObjectName("DBMemo1");
    memo->SetDataSource(source.get());
    memo->SetDataField("Note");
    other = Add(new QLineEdit);
    ShowActive();
    QSignalSpy exits(memo, &TDBMemo::exited);

    EXPECT_EQ(memo->toPlainText(), "fresh");
    EXPECT_EQ(view->State(), TDataSetState::dsBrowse);
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, " milk");
    EXPECT_EQ(view->State(), TDataSetState::dsEdit);
    EXPECT_EQ(Stored("Milk", "Note"), "fresh");
    view->Post(); // the memo's text goes into the field as the row posts
    EXPECT_EQ(Stored("Milk", "Note"), "fresh milk");

    view->Next();
    EXPECT_EQ(memo->toPlainText(), "");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton);
    QTest::keyClicks(memo, "large");
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(ViewText("Note"), "large");
    view->First(); // leaving the row posts it
    EXPECT_EQ(Stored("Eggs", "Note"), "large");
    EXPECT_EQ(memo->toPlainText(), "fresh milk");
}

TEST_F(TDBEditTest, ControlsOutliveTheirQueryAndDataSource) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Build();
    auto *label = Add(new TDBText);
    label->SetDataSource(source.get());
    label->SetDataField("item_name");
    auto *grid = Add(new TDBGrid);
    grid->AddColumn("item_name", "Name", 100);
    grid->SetDataSource(source.get());
    auto *panels = Add(new TDBCtrlGrid);
    panels->SetEditField("Count_New");
    panels->SetLabelField("item_name");
    panels->SetDataSource(source.get());
    ASSERT_EQ(grid->model()->rowCount(), 2);
    ASSERT_EQ(panels->Label()->text(), "Milk");

    view.reset();
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(panels->Edit()->isVisible());
    source.reset();
    EXPECT_FALSE(Window()->grab().isNull()); // everything still paints
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(panels, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->shown.empty());
}

} // namespace
