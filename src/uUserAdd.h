#pragma once
// The add-user window of the settings dialog: name, password twice and the user type.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class TUserAdd : public QDialog {
    Q_OBJECT
public:
    explicit TUserAdd(QWidget *owner);

    QLineEdit *UserName = nullptr;
    QLineEdit *Password = nullptr;
    QLineEdit *Password2 = nullptr;
    QComboBox *Level = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    void OKBtnClick();
    void UserNameClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
