#pragma once
// The reconcile window "Reconcile New Items" and owner of the item table. After shopping, the bought
// counts (Count_New) of the new items are moved into the inventory counts, each step writing one row of
// the stock history.
#include "uDB.h"
#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDataSource;
class TDBGrid;
class TImage;

// How a reconcile step changes the in-store count: set it to the bought count, add the bought count to
// it, or reset it to the keep-in-stock count.
enum class ReconcileMode { Set = 0, Add = 1, Reset = 2 };

class TItem : public QDialog, public TTableOwner {
    Q_OBJECT
public:
    explicit TItem(QWidget *owner);
    QString GetSchema() const override;

    // ---- the lists
    // The store value of the store box: "*" for "All Stores", the store number for a store, empty
    // (no value) when nothing is selected or the position is beyond the 300th store.
    QString StoreFilterValue() const;
    // The statements of the New Items list and of the Inventory list for the store box and "All Items".
    QString NewItemsSql() const;
    QString InventorySql() const;
    // The statement of a search for names beginning with `text`.
    QString SearchSql(const QString &text) const;
    // Re-run the New Items list (ShopList) and the Inventory list (Manager) with their statements.
    void OpenNewItems();
    void OpenInventory();

    // ---- reconciling
    // One step on the current new item, or (with "All" ticked) on every listed new item.
    void Reconcile(ReconcileMode mode);
    // One step on the current row of the New Items list, then the lists are read again.
    void ReconcileRow(ReconcileMode mode);

    // Appends one item row: Count_New 0, Count_InStore and Count_Total the count in store, today's date.
    void AddItem(const QString &store, const QString &departmentId, const QString &department,
                 const QString &itemName, int countInStore, int countDefault, double price);

    // ---- controls, top to bottom
    QFrame *Panel1 = nullptr; // top bar
    QComboBox *Store = nullptr;
    QFrame *SearchFrame = nullptr;
    QLineEdit *Search = nullptr;
    TImage *btnSearch = nullptr;
    QCheckBox *ShowAll = nullptr;
    QFrame *Panel2 = nullptr; // header strip
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    TDBGrid *GridNew = nullptr;
    QToolButton *SpeedButton2 = nullptr, *SpeedButton1 = nullptr, *SpeedButton3 = nullptr;
    QCheckBox *All = nullptr;
    TDBGrid *StockGrid = nullptr;
    QFrame *Panel3 = nullptr; // bottom bar
    QPushButton *Button2 = nullptr, *Button1 = nullptr;

    // ---- data
    TQuery *ShopList = nullptr; // the New Items list
    TQuery *Manager = nullptr;  // the Inventory list
    TDataSource *DataSource1 = nullptr, *DataSource2 = nullptr;

public slots:
    void Timer1Timer();
    void StoreChange();
    void ShowAllClick();
    void btnSearchClick();
    void SearchKeyDown();
    void SearchClick();
    void SpeedButton2Click();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void GridNewMouseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow();
    void openList(TQuery &list, const QString &sql);
    void runSearch();
    // Steps 2 to 9 of a reconcile step: the counts, the history row, the stamp and the post.
    void reconcileStep(ReconcileMode mode);
    // The end of a step: both lists on their first rows, read again, the inventory grid redrawn.
    void rereadLists();
    // Ctrl+Delete in a grid: deletes the list's current item row after an OK/Cancel confirmation.
    void deleteItemRow(TQuery &list, TQuery &other);
};

extern TItem *Item;
