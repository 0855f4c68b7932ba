// The table grid: titles and widths, the selected row and the query's current row kept together, the
// row marker, in-place edits posted on leaving the row, Ctrl+Delete with its confirmation, Down past the
// last row adding a row that disappears again when left untouched.
#include "data/TDBGrid.h"
#include "DataControlsFixture.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

enum Col { NameCol, BuyCol, NoteCol };

class TDBGridTest : public DataControlsTest {
  protected:
    TDBGrid *grid = nullptr;

    void Build() {
        OpenView();
        grid = Add(new TDBGrid);
        grid->setObjectName("ShopGrid");
        grid->AddColumn("item_name", "Name", 145);
        grid->AddColumn("Count_New", "Buy", 45);
        grid->AddColumn("Note", "Note", 280);
        grid->SetDataSource(source.get());
        grid->setMinimumSize(560, 260);
        ShowActive();
    }

    QPoint CellCenter(int row, int column) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    void ClickCell(int row, int column) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(row, column));
    }
    // A double click on the cell, as a window system delivers it: press, release, double click, release.
    QLineEdit *OpenEditor(int row, int column) {
        const QPoint at = CellCenter(row, column);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        EXPECT_NE(editor, nullptr) << "no cell editor opened";
        return editor;
    }
    // Types a cell's new text into its in-place editor; Return closes the editor (the item view
    // commits and closes it from the event loop).
    void TypeIntoCell(int row, int column, const QString &text, bool pressReturn = true) {
        QPointer<QLineEdit> editor = OpenEditor(row, column);
        if (!editor)
            return;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        if (pressReturn) {
            QTest::keyClick(editor, Qt::Key_Return);
            EXPECT_TRUE(QTest::qWaitFor([&]() { return editor.isNull() || !editor->isVisible(); }));
        }
    }
    QString Cell(int row, int column) { return grid->model()->index(row, column).data().toString(); }
};

TEST_F(TDBGridTest, ShowsTheColumnsWithTheirTitlesAndWidthsAndKeepsTheWidthsWhenReopened) {
    AddRows({{"Milk", "2"}, {"Eggs", "12.5"}});
    OpenView();
    auto *g = Add(new TDBGrid);
    g->AddColumn("item_name", "Item", 146, true, true);
    g->AddColumn("COUNT_NEW", "New", 36); // fields are found without regard to case
    g->SetDataSource(source.get());
    ShowActive();

    QAbstractItemModel *m = g->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Item");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "New");
    EXPECT_TRUE(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter);
    EXPECT_FALSE(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter);
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(1, 0).data().toString(), "Eggs");
    EXPECT_EQ(m->index(1, 1).data().toString(), "12.5");
    EXPECT_TRUE(m->index(1, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight); // numbers on the right
    EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);                      // read-only column
    EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(g->showGrid());
    EXPECT_TRUE(g->verticalHeader()->isVisible());
    EXPECT_EQ(g->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(g->ColumnWidth(0), 146);
    EXPECT_EQ(g->ColumnWidth(1), 36);

    g->horizontalHeader()->resizeSection(1, 60); // the user widens a column
    view->Close();
    view->SetSQL("select * from item where item_name='Milk'");
    view->Open();
    EXPECT_EQ(m->rowCount(), 1);
    EXPECT_EQ(g->ColumnWidth(0), 146);
    EXPECT_EQ(g->ColumnWidth(1), 60);
}

TEST_F(TDBGridTest, TheSelectedRowAndTheQuerysCurrentRowMoveTogetherWithTheRowMarker) {
    AddNumberedRows(5);
    Build();
    auto markers = [&]() {
        std::vector<TRowIndicator> all;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            all.push_back(grid->RowIndicator(row));
        return all;
    };
    using R = TRowIndicator;

    ClickCell(3, NameCol);
    EXPECT_EQ(view->CurrentIndex(), 3);
    EXPECT_EQ(markers(), (std::vector<R>{R::None, R::None, R::None, R::Current, R::None}));

    view->SetRecNo(2);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, {}));
    EXPECT_FALSE(grid->selectionModel()->isRowSelected(3, {}));

    view->Edit();
    EXPECT_EQ(markers(), (std::vector<R>{R::None, R::Editing, R::None, R::None, R::None}));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical, TQueryModel::IndicatorRole).toInt(),
              static_cast<int>(R::Editing));
    EXPECT_FALSE(grid->model()->headerData(1, Qt::Vertical, Qt::DecorationRole).value<QIcon>().isNull());
    view->Cancel();

    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(view->CurrentIndex(), 0);
    view->Last();
    EXPECT_EQ(grid->currentIndex().row(), 4);
    EXPECT_EQ(markers().back(), R::Current);
}

TEST_F(TDBGridTest, MouseReleasedComesAfterTheClickHasMovedTheCurrentRow) {
    AddNumberedRows(4);
    Build();
    std::vector<int> rowsAtRelease;
    QObject::connect(grid, &TDBGrid::mouseReleased, [&]() { rowsAtRelease.push_back(view->CurrentIndex()); });
    ClickCell(2, BuyCol);
    ClickCell(1, NameCol);
    EXPECT_EQ(rowsAtRelease, (std::vector<int>{2, 1}));
}

// The ways the row is posted after a cell was edited in place.
enum class PostBy { ClickingAnotherRow, KeyDown, PostingTheView, PostingWithTheEditorStillOpen };

void PrintTo(PostBy way, std::ostream *os) {
    const char *names[] = {"clicking another row", "key Down", "posting the view",
                           "posting with the editor open"};
    *os << names[static_cast<int>(way)];
}

class TDBGridPosting : public TDBGridTest, public ::testing::WithParamInterface<PostBy> {};

TEST_P(TDBGridPosting, AnInPlaceEditReachesTheTableWhenTheRowIsPosted) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}, {"Tea", "1"}});
    Build();
    const bool editorOpen = GetParam() == PostBy::PostingWithTheEditorStillOpen;
    TypeIntoCell(1, BuyCol, "7", !editorOpen);

    EXPECT_EQ(view->CurrentIndex(), 1);
    EXPECT_EQ(view->State(), TDataSetState::dsEdit);
    EXPECT_EQ(grid->RowIndicator(1), TRowIndicator::Editing);
    if (!editorOpen) {
        EXPECT_EQ(Cell(1, BuyCol), "7");
        EXPECT_EQ(ViewText("Count_New"), "7");
    }
    EXPECT_EQ(Stored("Eggs"), "6");

    switch (GetParam()) {
    case PostBy::ClickingAnotherRow:
        ClickCell(0, NameCol);
        EXPECT_EQ(view->CurrentIndex(), 0);
        break;
    case PostBy::KeyDown:
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(view->CurrentIndex(), 2);
        break;
    case PostBy::PostingTheView:
    case PostBy::PostingWithTheEditorStillOpen:
        view->Post();
        EXPECT_EQ(view->CurrentIndex(), 1);
        break;
    }
    EXPECT_EQ(view->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Stored("Eggs"), "7");
    EXPECT_EQ(Stored("Milk"), "2");
    EXPECT_EQ(Cell(1, BuyCol), "7");
    EXPECT_EQ(StoredRowCount(), 3);
    EXPECT_TRUE(dialogs->Errors().isEmpty()) << dialogs->Errors().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(TDBGrid, TDBGridPosting,
                         ::testing::Values(PostBy::ClickingAnotherRow, PostBy::KeyDown,
                                           PostBy::PostingTheView, PostBy::PostingWithTheEditorStillOpen));

TEST_F(TDBGridTest, EscapeGivesUpTheRowsPendingEdit) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Build();
    TypeIntoCell(0, NoteCol, "semi-skimmed");
    ASSERT_EQ(view->State(), TDataSetState::dsEdit);
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_EQ(view->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Cell(0, NoteCol), "");
    ClickCell(1, NameCol);
    EXPECT_EQ(Stored("Milk", "Note"), "");
}

struct DeleteCase {
    const char *name;
    bool confirm;
    bool byOwner;
    TModalResult answer;
    bool deleted;
    bool asked;
};

void PrintTo(const DeleteCase &c, std::ostream *os) {
    *os << c.name;
}

class TDBGridCtrlDelete : public TDBGridTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(TDBGridCtrlDelete, CtrlDeleteDeletesTheCurrentRowUnlessTheAnswerIsCancel) {
    const DeleteCase &c = GetParam();
    AddRows({{"Milk", "2"}, {"Eggs", "6"}, {"Tea", "1"}});
    Build();
    grid->SetConfirmDelete(c.confirm);
    grid->SetCtrlDeleteHandledByOwner(c.byOwner);
    QSignalSpy ownerCalls(grid, &TDBGrid::ctrlDeletePressed);
    dialogs->confirmAnswers.push_back(c.answer);

    ClickCell(1, NameCol);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);

    EXPECT_EQ(dialogs->Texts("confirm"), c.asked ? QStringList{"Delete record?"} : QStringList{});
    EXPECT_EQ(ownerCalls.count(), c.byOwner ? 1 : 0);
    EXPECT_EQ(Stored("Eggs"), c.deleted ? "<no row>" : "6");
    EXPECT_EQ(StoredRowCount(), c.deleted ? 2 : 3);
    EXPECT_EQ(grid->model()->rowCount(), c.deleted ? 2 : 3);
    EXPECT_EQ(ViewText("item_name"), c.deleted ? "Tea" : "Eggs");
    EXPECT_EQ(grid->currentIndex().row(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    TDBGrid, TDBGridCtrlDelete,
    ::testing::Values(DeleteCase{"Cancel", true, false, TModalResult::mrCancel, false, true},
                      DeleteCase{"OK", true, false, TModalResult::mrOK, true, true},
                      DeleteCase{"NoConfirmation", false, false, TModalResult::mrCancel, true, false},
                      DeleteCase{"OwnerHandlesIt", true, true, TModalResult::mrOK, false, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TDBGridTest, DownOnTheLastRowAppendsARowThatIsDroppedWhenLeftUntouched) {
    AddRows({{"Milk", "2"}, {"Eggs", "6"}});
    Build();
    struct Leave {
        const char *how;
        std::function<void()> act;
    };
    const Leave ways[] = {
        {"key Up", [&]() { QTest::keyClick(grid, Qt::Key_Up); }},
        {"click on the first row", [&]() { ClickCell(0, NameCol); }},
        {"moving the view", [&]() { view->First(); }},
    };
    for (const Leave &way : ways) {
        SCOPED_TRACE(way.how);
        view->Last();
        QTest::keyClick(grid, Qt::Key_Down);
        ASSERT_EQ(view->State(), TDataSetState::dsInsert);
        EXPECT_EQ(grid->model()->rowCount(), 3);
        EXPECT_EQ(grid->currentIndex().row(), 2);
        EXPECT_EQ(grid->RowIndicator(2), TRowIndicator::Inserting);
        QTest::keyClick(grid, Qt::Key_Down); // still untouched: no second new row
        EXPECT_EQ(grid->model()->rowCount(), 3);

        way.act();
        EXPECT_EQ(view->State(), TDataSetState::dsBrowse);
        EXPECT_EQ(view->RecordCount(), 2);
        EXPECT_EQ(grid->model()->rowCount(), 2);
        EXPECT_EQ(grid->currentIndex().row(), view->CurrentIndex());
        EXPECT_EQ(StoredRowCount(), 2);
    }

    // A new row with something typed into it is kept.
    view->Last();
    QTest::keyClick(grid, Qt::Key_Down);
    TypeIntoCell(2, NameCol, "Butter");
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(StoredRowCount(), 3);
    EXPECT_EQ(Stored("Butter", "item_name"), "Butter");
    EXPECT_EQ(Cell(2, NameCol), "Butter");
}

} // namespace
