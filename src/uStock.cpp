#include "uStock.h"
#include "uDir.h"

#include "dialogs/Dialogs.h"
#include <QTimer>

TStock *Stock = nullptr;

TStock::TStock(QWidget *owner) : QWidget(owner), TTableOwner(this, QStringLiteral("Stock"), QStringLiteral("stock"), true) {
    setObjectName(QStringLiteral("Stock"));
    setWindowFlags(Qt::Window);
    hide(); // needs no visible window
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
}

QString TStock::GetSchema() const {
    return QStringLiteral("ID autoinc, Item_id char(24), Store char(2), Department char(64), item_name char(128),") +
           QStringLiteral("Count_New char(4), price char(16),") +
           QStringLiteral("Date_Year char(4), Date_Day char(2),Date_Month char(2), Date_DayOfWeek char(1), Date_Julian char(12)");
}

void TStock::Timer1Timer() {
    Timer1->stop();
    EnsureTable();
    OpenDay(Now());
}

void TStock::OpenDay(const QDateTime &moment) {
    Table->SetDatabaseName(AppDirs->DBPath);
    Table->SQLClear();
    Table->SQLAdd(QStringLiteral("select * from stock where date_julian = ") +
                  QuotedStr(QString::number(DayNumber(moment.date()))));
    DB1->OpenQuery(*Table);
}

void TStock::AddStockRow(const QString &store, const QString &department, const QString &itemName,
                         const QString &itemId, const QString &count, const QString &price) {
    const TDataSetState s = Table->State();
    if (s != TDataSetState::dsEdit && s != TDataSetState::dsInsert)
        Table->Append();
    Table->FieldByName(QStringLiteral("store")).SetAsString(store);
    Table->FieldByName(QStringLiteral("department")).SetAsString(department);
    Table->FieldByName(QStringLiteral("item_id")).SetAsString(itemId);
    Table->FieldByName(QStringLiteral("item_name")).SetAsString(itemName);
    Table->FieldByName(QStringLiteral("Count_New")).SetAsString(count);
    Table->FieldByName(QStringLiteral("Price")).SetAsString(price);
    StampDateColumns(*Table, Now());
    Table->Post();
}
