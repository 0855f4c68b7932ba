#include "uUserAdd.h"
#include "uUser.h"

#include "uControls.h"

#include "dialogs/Dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TUserAdd::TUserAdd(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("UserAdd"));
    setWindowTitle(QStringLiteral("Password Dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(262, 277);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(18, 14, 18, 14);
    v->setSpacing(4);
    auto edit = [this, v](QLineEdit *&e, const char *name, const QString &caption, bool secret) {
        v->addWidget(new QLabel(caption, this));
        e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        if (secret)
            e->setEchoMode(QLineEdit::Password);
        v->addWidget(e);
        v->addSpacing(2);
    };
    edit(UserName, "UserName", QStringLiteral("User Name:"), false);
    UserName->setText(QStringLiteral("New User"));
    UserName->installEventFilter(this);
    edit(Password, "Password", QStringLiteral("Enter password:"), true);
    edit(Password2, "Password2", QStringLiteral("Confirm password:"), true);
    v->addWidget(new QLabel(QStringLiteral("User Type"), this));
    Level = new QComboBox(this);
    Level->setObjectName(QStringLiteral("Level"));
    Level->addItems({QStringLiteral("Regular"), QStringLiteral("Supervisor"), QStringLiteral("Manager")});
    Level->setCurrentIndex(-1);
    v->addWidget(Level);
    v->addStretch(1);
    v->addLayout(MakeOkCancelRow(this, OKBtn, CancelBtn));
    setTabOrder(UserName, Password);
    setTabOrder(Password, Password2);
    setTabOrder(Password2, Level);
    setTabOrder(Level, OKBtn);
    setTabOrder(OKBtn, CancelBtn);

    connect(OKBtn, &QPushButton::clicked, this, [this] { Guarded([this] { OKBtnClick(); }); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TUserAdd::eventFilter(QObject *watched, QEvent *event) {
    if (watched == UserName && event->type() == QEvent::MouseButtonPress)
        UserNameClick();
    return QDialog::eventFilter(watched, event);
}

void TUserAdd::UserNameClick() {
    if (UserName->text() == QLatin1String("New User"))
        UserName->clear();
}

void TUserAdd::OKBtnClick() {
    if (Password->text() != Password2->text()) {
        ShowMessage(QStringLiteral("confirm password does not match"));
        return;
    }
    User->AddUser(UserName->text(), Password->text(), Level->currentIndex());
    accept();
}
