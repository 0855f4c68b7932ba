// The main window shell: start-up in a fresh folder, the frame, the menu, Documentation, Website, About.
#include "ProgramHarness.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

class MainShellTest : public ProgramTest {};

TEST_F(MainShellTest, AFirstStartInAnEmptyFolderComesUpMaximisedOnTheShoppingListPage) {
    Form1 = new TForm1();
    frmAbout = new TfrmAbout(Form1);
    EXPECT_FALSE(Form1->isVisible()); // hidden until the start-up has run
    EXPECT_EQ(AppDirs, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([] { return Form1->StartedUp(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([] { return Form1->isVisible(); }, 5000));
    EXPECT_TRUE(Form1->isMaximized());
    EXPECT_EQ(Form1->windowTitle(), "Larderly");
    EXPECT_EQ(Form1->minimumSize(), QSize(775, 530));
    EXPECT_EQ(Form1->pgMain->currentIndex(), 0);
    EXPECT_TRUE(Form1->ShopView->Active());
    EXPECT_EQ(Form1->ShopList->toPlainText(), "      Shopping List \n      ");
    for (auto &s : dialogs->shown) ADD_FAILURE() << s.kind.toStdString() << ": " << s.text.toStdString();
    for (const char *sub : {"DB", "Config", "Build", "Help", "FTP", "Log", "Report", "Report/Images"})
        EXPECT_TRUE(QDir(folder + sub).exists()) << sub;
    // The table owners' timers create the other tables, and appuser gets exactly one user.
    ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(DBPath() + "stock.db") && QFile::exists(DBPath() + "appuser.db"); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([] { return !User->Timer1->isActive(); }, 5000));
    EXPECT_EQ(Rows("select User_Name, User_Password, User_Level, User_caption from appuser"),
              QStringList{"admin|tulip|3|"});
}

TEST_F(MainShellTest, TheStartUpRunsOnceAndFillsTheListsAndTheStoreBox) {
    WriteLists({"Dairy", "Fresh fruit", "Bakery"}, {"North", "South"});
    WriteSettings("1");
    Start();
    QTest::qWait(400); // longer than the start timer: it must not fire again
    for (QListWidget *list : {Form1->Department, Form1->Department2, Form1->Department3}) {
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(1)->text(), "Fresh fruit");
    }
    EXPECT_EQ(Form1->SelectedDepartment(), "Dairy");
    EXPECT_EQ(Form1->Store->count(), 2);
    EXPECT_EQ(Form1->Store->currentText(), "South");
    EXPECT_EQ(Form1->SelectedStoreID(), "1");
    EXPECT_EQ(Form1->ShopList->toPlainText(), "      Shopping List \n      South");
}

struct StoreIdCase {
    const char *id;
    int selected;
};
void PrintTo(const StoreIdCase &c, std::ostream *os) { *os << "ID '" << c.id << "'"; }
class StoreIdTest : public ProgramTest, public ::testing::WithParamInterface<StoreIdCase> {};

TEST_P(StoreIdTest, TheConfiguredStoreSelectsItsEntry) {
    WriteLists({"Dairy"}, {"North", "South"});
    WriteSettings(GetParam().id);
    Start();
    EXPECT_EQ(Form1->Store->currentIndex(), GetParam().selected);
}
INSTANTIATE_TEST_SUITE_P(Ids, StoreIdTest,
                         ::testing::Values(StoreIdCase{"0", 0}, StoreIdCase{"1", 1}, StoreIdCase{"abc", 0},
                                           StoreIdCase{"7", -1}, StoreIdCase{"", 0}));

TEST_F(MainShellTest, TheMenuHasEveryItemInOrder) {
    Start();
    QStringList seen;
    for (QAction *menu : Form1->MainMenu1->actions()) {
        QStringList items;
        for (QAction *a : menu->menu()->actions())
            items << (a->isSeparator() ? QString("-") : a->objectName() + "=" + a->text());
        seen << menu->menu()->objectName() + "=" + menu->text() + ": " + items.join(", ");
    }
    EXPECT_EQ(seen, (QStringList{
                        "File1=&File: LoginIn1=Login, -, Backup1=Backup, RestoreBackup1=Restore Backup, -, "
                        "ClearDatabase1=Clear Database, -, E1=Exit",
                        "Edit1=&Settings: Prefferences1=&Preferences, -, Reset1=&Remove Logins",
                        "Reports1=&Reports: ShoppingList1=Shopping History, Inventory1=Inventory",
                        "Help1=&Help: Documentation1=Documentation, -, Website1=Website, -, About1=About",
                    }));
}

TEST_F(MainShellTest, DocumentationAndWebsiteGoToTheShell) {
    Start();
    Form1->Documentation1->trigger();
    Form1->Website1->trigger();
    EXPECT_EQ(opened, (QStringList{folder + "Help/index.html", "https://larderly.example.org"}));
}

TEST_F(MainShellTest, TheAboutBoxShowsTheSameVersionEachTime) {
    Start();
    for (int i = 0; i < 2; ++i) {
        WhenModal([](QWidget *w) {
            EXPECT_EQ(w->objectName(), "frmAbout");
            Child<QPushButton>(w, "OKButton")->click();
        });
        Form1->About1->trigger();
        EXPECT_EQ(Child<QLabel>(frmAbout, "lblVersion")->text(), "Version 1.0.0 Build 1");
    }
    EXPECT_EQ(frmAbout->windowTitle(), "About");
}

TEST_F(MainShellTest, AnErrorInAHandlerIsShownWithItsOwnTextAndTheProgramGoesOn) {
    Start();
    // Take the item table away under the running program: the next filter fails with the engine's text.
    Session.Close();
    QFile::remove(DBPath() + "item.db");
    Form1->Department->addItem("Dairy");
    Form1->Department->setCurrentRow(0);
    Guarded([] { Form1->DepartmentClick(); });
    ASSERT_EQ(dialogs->Errors().size(), 1) << dialogs->Errors().join(" // ").toStdString();
    EXPECT_TRUE(dialogs->Errors().first().contains("item")) << dialogs->Errors().first().toStdString();
}

} // namespace
