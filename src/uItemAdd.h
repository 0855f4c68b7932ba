#pragma once
// The "Add Item" dialog: a new item for the store shown in the main window.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TPBNumEdit;
class TSpinEdit;

class TItemAdd : public QDialog {
    Q_OBJECT
public:
    explicit TItemAdd(QWidget *owner);
    // Fills the department box, preselects `department` (ignoring case; else the first entry) and
    // presets the name.
    void Prepare(const QString &department);

    QLineEdit *ItemName = nullptr;
    QComboBox *Department = nullptr;
    TSpinEdit *Count_inStore = nullptr;
    TSpinEdit *Count_default = nullptr;
    TPBNumEdit *Price = nullptr;
    QPushButton *Button2 = nullptr; // "Add"
    QPushButton *Button1 = nullptr; // "Cancel"

public slots:
    void Button2Click();
    void ItemNameClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
