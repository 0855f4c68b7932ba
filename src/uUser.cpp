#include "uUser.h"
#include "uConfigIni.h"

#include "uControls.h"

#include "dialogs/Dialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TUser *User = nullptr;

QString LevelCaption(int level) {
    switch (level) {
    case 0:
        return QStringLiteral("Regular");
    case 1:
        return QStringLiteral("Supervisor");
    case 2:
        return QStringLiteral("Manager");
    default:
        return QString();
    }
}

bool CheckAccess(std::initializer_list<int> levels, const QString &refusedMessage) {
    for (int level : levels)
        if (User && User->HasAccess(level))
            return true;
    ShowMessage(refusedMessage);
    return false;
}

TUser::TUser(QWidget *owner) : QDialog(owner), TTableOwner(this, QStringLiteral("appuser"), QStringLiteral("appuser"), true) {
    setObjectName(QStringLiteral("User"));
    setWindowTitle(QStringLiteral("Password Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(243, 191);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(18, 14, 18, 14);
    v->setSpacing(4);
    v->addWidget(new QLabel(QStringLiteral("User Name:"), this));
    UserName = new QLineEdit(this);
    UserName->setObjectName(QStringLiteral("UserName"));
    v->addWidget(UserName);
    v->addSpacing(6);
    v->addWidget(new QLabel(QStringLiteral("Enter password:"), this));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    v->addWidget(Password);
    v->addStretch(1);
    v->addLayout(MakeOkCancelRow(this, OKBtn, CancelBtn));
    setTabOrder(UserName, Password);
    setTabOrder(Password, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    UserName->setFocus();

    connect(OKBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
}

QString TUser::GetSchema() const {
    return QStringLiteral("ID autoinc, User_Name char(24), User_Password char(24), Store char(2), User_Level char(1), "
                          "User_caption char(64)");
}

bool TUser::HasAccess(int level) const {
    if (!AppConfig || !AppConfig->ForceLogin)
        return true;
    return level == UserLevel;
}

bool TUser::CheckLogin(const QString &name, const QString &password) {
    Table->SQLClear();
    Table->SQLAdd(QStringLiteral("select * from appuser where user_name = ") + QuotedStr(name) +
                  QStringLiteral(" and user_password=") + QuotedStr(password));
    DB1->OpenQuery(*Table);
    if (Table->IsEmpty())
        return false;
    Table->First();
    UserLevel = ReadWholeNumber(Table->FieldByName(QStringLiteral("User_Level")).AsString(), 0);
    return true;
}

void TUser::StartInsert() {
    const TDataSetState s = Table->State();
    if (s != TDataSetState::dsEdit && s != TDataSetState::dsInsert)
        Table->Append();
}

void TUser::AddUser(const QString &name, const QString &password, int level) {
    Table->SQLClear();
    Table->SQLAdd(QStringLiteral("select * from appuser"));
    DB1->OpenQuery(*Table);
    StartInsert();
    Table->FieldByName(QStringLiteral("Store")).SetAsString(AppConfig ? AppConfig->StoreID : QString());
    Table->FieldByName(QStringLiteral("User_Name")).SetAsString(name);
    Table->FieldByName(QStringLiteral("User_Password")).SetAsString(password);
    Table->FieldByName(QStringLiteral("User_Level")).SetAsString(QString::number(level));
    Table->FieldByName(QStringLiteral("User_caption")).SetAsString(LevelCaption(level));
    Table->Post();
}

void TUser::CreateDefaultUser() {
    Table->Open();
    AddUser(QStringLiteral("admin"), QStringLiteral("tulip"), 3);
}

void TUser::OKBtnClick() {
    const bool ok = CheckLogin(UserName->text(), Password->text());
    if (!ok)
        ShowMessage(QStringLiteral("Invalid user name or password. Try Again."));
    accept();
}

void TUser::FormClose() {
    UserName->clear();
    Password->clear();
}

void TUser::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TUser::Timer1Timer() {
    Timer1->stop();
    EnsureTable();
}
