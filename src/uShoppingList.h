#pragma once
// The shopping list text: built line by line from the item rows, so the window only shows what this
// produced and tests can compare it with golden files.
#include <QString>
#include <QStringList>

class TQuery;

// Lines 1 and 2: the title and the store line ("All Stores" for the combined list).
QStringList ShoppingListHeading(const QString &storeText);
// The statement selecting one department's items to buy; `store` null for every store. The caller
// adds the second line "Order By item_name asc".
QString ShoppingListSql(const QString &department, const QString *store);
// Adds a department's block: an empty line and the heading when `rows` has any row, then one line per
// positive count. Moves `rows` through its result.
void AppendDepartmentLines(QStringList &lines, const QString &department, TQuery &rows);
// The department heading: six hyphens, the name with a to z upper-cased, five hyphens.
QString DepartmentHeading(const QString &department);
// A count in its shortest decimal form with the user's decimal separator (3, 1.5).
QString CountText(double count);
