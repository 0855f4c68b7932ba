#include "uItem.h"
#include "uDir.h"

#include "dialogs/Dialogs.h"
#include <QTimer>

TItem *Item = nullptr;

TItem::TItem(QWidget *owner) : QDialog(owner), TTableOwner(this, QStringLiteral("item"), QStringLiteral("item"), true) {
    setObjectName(QStringLiteral("Item"));
    setWindowTitle(QStringLiteral("Reconcile New Items"));
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
}

QString TItem::GetSchema() const {
    return QStringLiteral("ID autoinc, Store char(2), Department_id char(2), Department char(64), item_name char(128), "
                          "row char(3), col char(2),") +
           QStringLiteral("Count_Shop Float, Count_New Float, Count_InStore Float,count_default Float, Count_Total "
                          "Float, Price Float,") +
           QStringLiteral("Date_Year char(4), Date_Day char(2),Date_Month char(2), Date_DayOfWeek char(1), "
                          "Date_Julian char(12),") +
           QStringLiteral("Reconciled Float, Note char(255)");
}

void TItem::Timer1Timer() {
    Timer1->stop();
    EnsureTable();
    DB1->OpenQuery(*Table);
}

void TItem::AddItem(const QString &store, const QString &departmentId, const QString &department,
                    const QString &itemName, int countInStore, int countDefault, double price) {
    DB1->OpenQuery(*Table);
    const TDataSetState s = Table->State();
    if (s != TDataSetState::dsEdit && s != TDataSetState::dsInsert)
        Table->Append();
    Table->FieldByName(QStringLiteral("Store")).SetAsString(store);
    Table->FieldByName(QStringLiteral("Department_id")).SetAsString(departmentId);
    Table->FieldByName(QStringLiteral("Department")).SetAsString(department);
    Table->FieldByName(QStringLiteral("item_name")).SetAsString(itemName);
    Table->FieldByName(QStringLiteral("Count_New")).SetAsInteger(0);
    Table->FieldByName(QStringLiteral("Count_InStore")).SetAsInteger(countInStore);
    Table->FieldByName(QStringLiteral("Count_Total")).SetAsInteger(countInStore);
    Table->FieldByName(QStringLiteral("count_default")).SetAsInteger(countDefault);
    Table->FieldByName(QStringLiteral("Price")).SetAsFloat(price);
    StampDateColumns(*Table, Now());
    Table->Post();
}
