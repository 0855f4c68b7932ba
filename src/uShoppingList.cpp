#include "uShoppingList.h"
#include "uDB.h"

#include "engine/TQuery.h"
#include <QLocale>

QStringList ShoppingListHeading(const QString &storeText) {
    return {QStringLiteral("      Shopping List "), QStringLiteral("      ") + storeText};
}

QString ShoppingListSql(const QString &department, const QString *store) {
    QString sql = QStringLiteral("select * from item where department=") + QuotedStr(department) +
                  QStringLiteral(" and count_new <>") + QuotedStr(QStringLiteral("0"));
    if (store)
        sql += QStringLiteral(" and store =") + QuotedStr(*store);
    return sql;
}

QString DepartmentHeading(const QString &department) {
    QString name = department;
    for (QChar &c : name)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return QStringLiteral("------") + name + QStringLiteral("-----");
}

QString CountText(double count) {
    QString text = FormatNumberText(count);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

void AppendDepartmentLines(QStringList &lines, const QString &department, TQuery &rows) {
    rows.First();
    if (rows.IsEmpty())
        return;
    lines << QString() << DepartmentHeading(department);
    TField &count = rows.FieldByName(QStringLiteral("Count_New"));
    TField &name = rows.FieldByName(QStringLiteral("Item_name"));
    for (; !rows.Eof(); rows.Next()) {
        const double n = count.AsFloat();
        if (n > 0)
            lines << CountText(n) + QStringLiteral("x ") + name.AsString();
    }
}
