// Users, login and the access levels that guard the staff screens.
#include "ProgramHarness.h"
#include "uUserAdd.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

namespace {

class UserTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteLists({"Dairy"}, {"North"});
        WriteSettings("0");
        Start();
        User->AddUser("reg", "r", 0);
        User->AddUser("sup", "s", 1);
        User->AddUser("mgr", "m", 2);
    }
    // File > Login answered with a name and password (or Cancel when `name` is null).
    void Login(const char *name, const char *password = "") {
        WhenModal([name, password](QWidget *w) {
            ASSERT_EQ(w->windowTitle(), "Password Dialog");
            if (!name) {
                Child<QPushButton>(w, "CancelBtn")->click();
                return;
            }
            Child<QLineEdit>(w, "UserName")->setText(name);
            Child<QLineEdit>(w, "Password")->setText(password);
            Child<QPushButton>(w, "OKBtn")->click();
        });
        Form1->LoginIn1->trigger();
    }
};

TEST_F(UserTest, LoginSetsTheLevelOfTheMatchingUser) {
    AppConfig->ForceLogin = true;
    Login("mgr", "m");
    EXPECT_EQ(User->UserLevel, 2);
    EXPECT_TRUE(dialogs->Messages().isEmpty());
    // The edits are emptied when the window closes.
    EXPECT_EQ(User->UserName->text(), "");
    EXPECT_EQ(User->Password->text(), "");
}

TEST_F(UserTest, AFailedLoginShowsItsMessageOnceAndLeavesLevelZero) {
    Login("mgr", "m");
    Login("mgr", "M"); // passwords tell upper from lower case
    EXPECT_EQ(User->UserLevel, 0);
    EXPECT_EQ(dialogs->Messages(), QStringList{"Invalid user name or password. Try Again."});
    EXPECT_FALSE(User->isVisible());
}

TEST_F(UserTest, CancelLeavesLevelZeroEvenAfterAManagerLoggedIn) {
    Login("mgr", "m");
    ASSERT_EQ(User->UserLevel, 2);
    Login(nullptr);
    EXPECT_EQ(User->UserLevel, 0);
    EXPECT_TRUE(dialogs->Messages().isEmpty());
}

TEST_F(UserTest, TheFirstOfTwoMatchingUsersDecides) {
    User->AddUser("twin", "x", 1);
    User->AddUser("twin", "x", 2);
    EXPECT_TRUE(User->CheckLogin("twin", "x"));
    EXPECT_EQ(User->UserLevel, 1);
    EXPECT_FALSE(User->CheckLogin("twin", "y"));
    EXPECT_EQ(User->UserLevel, 1); // a failed check keeps the level
}

// Which guarded commands open, by login requirement and level.
struct AccessCase {
    bool force;
    const char *user; // null: nobody logged in
    const char *password;
    bool preferences, inventory, pages;
};
void PrintTo(const AccessCase &c, std::ostream *os) {
    *os << (c.force ? "forced " : "free ") << (c.user ? c.user : "nobody");
}

class AccessTest : public UserTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessTest, GuardedCommandsOpenOnlyForTheirLevels) {
    const AccessCase c = GetParam();
    if (c.user)
        Login(c.user, c.password);
    AppConfig->ForceLogin = c.force;
    dialogs->ClearShown();

    Form1->Prefferences1->trigger();
    EXPECT_EQ(dialogs->Messages().contains("You need manager lever Access. Login First"), !c.preferences);
    dialogs->ClearShown();
    Form1->Inventory1->trigger();
    EXPECT_EQ(dialogs->Messages().contains("Only a manager can see this report. Login  First"), !c.inventory);

    const QString refused = "This Screen can only be accessed by Supervisor, or Manager. Login First.";
    for (int page : {1, 2}) {
        dialogs->ClearShown();
        Form1->Image2Click();
        if (page == 1)
            Form1->Image4Click();
        else
            Form1->Image3Click();
        EXPECT_EQ(Form1->pgMain->currentIndex(), c.pages ? page : 0) << "page " << page;
        EXPECT_EQ(dialogs->Messages(), c.pages ? QStringList() : QStringList{refused}) << "page " << page;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, AccessTest,
    ::testing::Values(AccessCase{false, nullptr, "", true, true, true}, AccessCase{false, "reg", "r", true, true, true},
                      AccessCase{false, "admin", "tulip", true, true, true},
                      AccessCase{true, nullptr, "", false, false, false}, AccessCase{true, "reg", "r", false, false, false},
                      AccessCase{true, "sup", "s", false, false, true}, AccessCase{true, "mgr", "m", true, true, true},
                      AccessCase{true, "admin", "tulip", false, false, false}));

TEST_F(UserTest, PageButtonsSetTheSearchTextAndTheLabel) {
    Form1->Image4Click();
    EXPECT_EQ(Form1->Search->text(), "Search Inventory");
    EXPECT_TRUE(Form1->Manager_Label->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->SHoppingList_Label->isVisibleTo(Form1));
    Form1->Image3Click();
    EXPECT_EQ(Form1->pgMain->currentIndex(), 2);
    EXPECT_TRUE(Form1->InventoryList_Label->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->Manager_Label->isVisibleTo(Form1));
    Form1->Image2Click();
    EXPECT_EQ(Form1->pgMain->currentIndex(), 0);
    EXPECT_EQ(Form1->Search->text(), "Shopping List");
    EXPECT_TRUE(Form1->SHoppingList_Label->isVisibleTo(Form1));
}

struct ResetCase {
    const char *phrase;                // the configured reset phrase
    std::optional<QString> answer;     // nullopt: Cancel
    bool cleared;
};
void PrintTo(const ResetCase &c, std::ostream *os) {
    *os << c.phrase << " / " << (c.answer ? c.answer->toStdString() : std::string("Cancel"));
}
class RemoveLoginsTest : public UserTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(RemoveLoginsTest, TheResetPhraseClearsTheLoginRequirement) {
    AppConfig->ForceLogin = true;
    AppConfig->ResetPhrase = GetParam().phrase;
    dialogs->inputAnswers.push_back(GetParam().answer);
    Form1->Reset1->trigger();
    EXPECT_EQ(dialogs->Texts("input"), QStringList{"Please Enter reset Phrase | Reset Phrase"});
    EXPECT_EQ(AppConfig->ForceLogin, !GetParam().cleared);
    EXPECT_EQ(dialogs->Messages(), GetParam().cleared
                                       ? QStringList{"Succes!! Users will no longer be required to login"}
                                       : QStringList());
    if (GetParam().cleared) {
        dialogs->ClearShown();
        Form1->Prefferences1->trigger(); // every guarded screen opens again
        EXPECT_TRUE(dialogs->Messages().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Phrases, RemoveLoginsTest,
                         ::testing::Values(ResetCase{"MopDog", QString("MopDog"), true},
                                           ResetCase{"MopDog", QString("  mOPdog  "), true},
                                           ResetCase{"MopDog", QString("Mop Dog"), false},
                                           ResetCase{"MopDog", std::nullopt, false},
                                           ResetCase{" Secret", std::nullopt, true}));

TEST_F(UserTest, TheAddUserWindowChecksTheConfirmationAndStoresTheLevel) {
    TUserAdd add(Form1);
    EXPECT_EQ(add.windowTitle(), "Password Dialog");
    EXPECT_EQ(add.UserName->text(), "New User");
    QTest::mouseClick(add.UserName, Qt::LeftButton);
    EXPECT_EQ(add.UserName->text(), "");
    add.UserName->setText("ann");
    add.Password->setText("pw");
    add.Password2->setText("pW");
    add.Level->setCurrentIndex(1);
    add.OKBtn->click();
    EXPECT_EQ(dialogs->Messages(), QStringList{"confirm password does not match"});
    EXPECT_EQ(Value("select count(*) from appuser where User_Name='ann'"), "0");
    add.Password2->setText("pw");
    add.OKBtn->click();
    EXPECT_EQ(add.result(), QDialog::Accepted);
    EXPECT_EQ(Rows("select User_Name, User_Password, Store, User_Level, User_caption from appuser where User_Name='ann'"),
              QStringList{"ann|pw|0|1|Supervisor"});
}

TEST_F(UserTest, AUserWithNoTypeIsStoredWithADashAndLogsInAtLevelZero) {
    TUserAdd add(Form1);
    add.UserName->setText("nobody");
    add.OKBtn->click(); // empty passwords match; no type selected
    EXPECT_EQ(Rows("select User_Level, User_caption from appuser where User_Name='nobody'"), QStringList{"-|"});
    User->UserLevel = 2;
    EXPECT_TRUE(User->CheckLogin("nobody", ""));
    EXPECT_EQ(User->UserLevel, 0);
}

TEST_F(UserTest, LongNamesAndPasswordsAreCutTo24Characters) {
    const QString longName = QString(30, 'n');
    const QString longPassword = QString("p").repeated(30);
    User->AddUser(longName, longPassword, 2);
    EXPECT_EQ(Value("select User_Name from appuser where ID=(select max(ID) from appuser)"), longName.left(24));
    EXPECT_FALSE(User->CheckLogin(longName.left(24), longPassword));
    EXPECT_TRUE(User->CheckLogin(longName.left(24), longPassword.left(24)));
}

TEST_F(UserTest, LaterLoginWindowsFindTheTableAndAddNoDefaultUser) {
    Login(nullptr);
    Login(nullptr);
    EXPECT_EQ(Value("select count(*) from appuser where User_Name='admin'"), "1");
}

} // namespace
