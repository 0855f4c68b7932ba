#include "uItemReport.h"

TItemReport *ItemReport = nullptr;

TItemReport::TItemReport(QWidget *owner)
    : QDialog(owner), TTableOwner(this, QStringLiteral("ItemReport"), QStringLiteral("ItemReport"), false) {
    setObjectName(QStringLiteral("ItemReport"));
    setWindowTitle(QStringLiteral("Shopping History"));
}

QString TItemReport::GetSchema() const {
    return QStringLiteral("ID autoinc, item_id char(9), Store char(2), Department_id char(2), Department char(64), "
                          "item_name char(128), Count_Total Float, Price_Total Float, Price_Average Float, "
                          "Price_High Float, Price_Low Float, Price_Percent Float, Price_LowDate Float, "
                          "Price_HighDate char(128), Replace_Rate char(128)");
}
