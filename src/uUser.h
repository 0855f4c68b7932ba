#pragma once
// Users and access: the login window, owner of the appuser table, and the access check that guards
// the staff screens.
#include "uDB.h"
#include <QDialog>
#include <initializer_list>

class QLineEdit;
class QPushButton;

class TUser : public QDialog, public TTableOwner {
    Q_OBJECT
public:
    explicit TUser(QWidget *owner);

    // True when the screen asking for `level` may open: always while logins are not enforced,
    // otherwise exactly when the logged-in user's level equals it.
    bool HasAccess(int level) const;
    // True when a user row matches both texts (the first one counts); remembers its level.
    bool CheckLogin(const QString &name, const QString &password);
    // Appends a user row with the level's caption and the configured store.
    void AddUser(const QString &name, const QString &password, int level);
    // Opens the new appuser table and adds the default user admin.
    void CreateDefaultUser();
    // Starts a new row of Table unless it is already editing or inserting.
    void StartInsert();
    QString GetSchema() const override;

    QLineEdit *Password = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QLineEdit *UserName = nullptr;
    int UserLevel = 0;

public slots:
    void OKBtnClick();
    void FormClose();
    void Timer1Timer();

protected:
    void AfterCreate() override { CreateDefaultUser(); }
    void done(int result) override;
};

extern TUser *User;

// The caption kept with a level: "Regular", "Supervisor", "Manager", empty for any other.
QString LevelCaption(int level);

// The one place the guarded commands ask for access: true when the current user passes any of the
// levels; otherwise shows `refusedMessage` and returns false.
bool CheckAccess(std::initializer_list<int> levels, const QString &refusedMessage);
