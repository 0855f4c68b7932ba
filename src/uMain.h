#pragma once
// The main window: start-up sequence, menu, the three pages over the shared item view, the item detail
// panel and the shopping list.
#include "uControls.h"
#include <QLabel>
#include <QMainWindow>

class QAction;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class TDataSource;
class TDBCtrlGrid;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TDBText;
class TPBNumEdit;
class TQuery;
class TSpinEdit;

// The folder of the program file, ending in a separator. Tests point it at a temporary folder.
QString ProgramFolder();
void SetProgramFolderForTests(const QString &folder);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- operations other windows call
    QString SelectedStoreID() const;
    QString SelectedDepartment() const;
    QString SelectedDepartment2() const;
    QString SelectedDepartment3() const;
    void PostPendingEdit();
    void ShowPageLabel(int Page);
    void LoadItemPanel();
    void SaveItemPanel();
    // Re-reads the department lists and the store box from the settings (start-up and Preferences).
    void FillLists();
    bool StartedUp() const { return startedUp_; }

    // ---- the main menu
    QMenuBar *MainMenu1 = nullptr;
    QMenu *File1 = nullptr, *Edit1 = nullptr, *Reports1 = nullptr, *Help1 = nullptr;
    QAction *LoginIn1 = nullptr, *Backup1 = nullptr, *RestoreBackup1 = nullptr, *ClearDatabase1 = nullptr,
            *E1 = nullptr, *Prefferences1 = nullptr, *Reset1 = nullptr, *ShoppingList1 = nullptr,
            *Inventory1 = nullptr, *Documentation1 = nullptr, *Website1 = nullptr, *About1 = nullptr;
    QTimer *Timer1 = nullptr;

    // ---- top bar
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr; // banner
    TImage *Image2 = nullptr, *Image4 = nullptr, *Image3 = nullptr;
    QLabel *SHoppingList_Label = nullptr, *Manager_Label = nullptr, *InventoryList_Label = nullptr;
    QFrame *SearchFrame = nullptr;
    QLineEdit *Search = nullptr;
    TImage *btnSearch = nullptr;
    QComboBox *Store = nullptr;

    // ---- pages
    QTabWidget *pgMain = nullptr;
    QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    QListWidget *Department = nullptr, *Department2 = nullptr, *Department3 = nullptr;
    TDBCtrlGrid *DBCtrlGrid1 = nullptr, *DBCtrlGrid2 = nullptr;
    TDBEdit *DBEdit1 = nullptr, *DBEdit2 = nullptr;
    TDBText *DBText1 = nullptr, *DBText2 = nullptr;
    QPlainTextEdit *ShopList = nullptr;
    TDBGrid *ShopGrid = nullptr;
    // Shopping List page bottom bar
    QPushButton *Button2 = nullptr, *BitBtn2 = nullptr, *BitBtn3 = nullptr;
    QToolButton *StoreList = nullptr, *AllList = nullptr, *SpeedButton3 = nullptr, *btnEmail = nullptr;
    QPushButton *btnShopREport = nullptr;
    // Manager View page bottom bar and the item detail panel
    QPushButton *Button1 = nullptr, *Button4 = nullptr, *Button3 = nullptr, *btnInventoryReport = nullptr;
    QFrame *Panel3 = nullptr;
    TDBText *DBText4 = nullptr, *DBText3 = nullptr;
    TSpinEdit *Count_inStore = nullptr, *Count_New = nullptr, *Count_Default = nullptr;
    TPBNumEdit *Price = nullptr;
    TDBMemo *DBMemo1 = nullptr;
    QToolButton *SpeedButton4 = nullptr;

    // ---- data
    TQuery *ShopView = nullptr;
    TDataSource *ShopView_Data = nullptr;
    TQuery *Shop = nullptr;
    TDataSource *Table_DataSource = nullptr;

public slots:
    void Timer1Timer();
    void StartUp();
    // menu
    void LoginIn1Click();
    void Backup1Click();
    void RestoreBackup1Click();
    void ClearDatabase1Click();
    void E1Click();
    void Prefferences1Click();
    void Reset1Click();
    void ShoppingList1Click();
    void Inventory1Click();
    void Documentation1Click();
    void Website1Click();
    void About1Click();
    // pages and filters
    void Image2Click();
    void Image4Click();
    void Image3Click();
    void DepartmentClick();
    void Department2Click();
    void Department3Click();
    void StoreChange();
    void SearchClick();
    void SearchKeyUp();
    void btnSearchClick();
    void DBEdit1Click();
    void DBEdit1Exit();
    void btnItemClick();
    // shopping list
    void StoreListClick();
    void AllListClick();
    void BitBtn2Click();
    void BitBtn3Click();
    void ShopListClick();
    void SpeedButton3Click();
    void btnEmailClick();
    void btnShopREportClick();
    void btnInventoryReportClick();
    // item detail panel, add and delete
    void DBText1Click();
    void DBEdit2Change();
    void DBEdit2Click();
    void Count_inStoreExit();
    void Count_NewExit();
    void Count_DefaultExit();
    void PriceExit();
    void SpeedButton4Click();
    void Button2Click();
    void Button4Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenu();
    QWidget *buildTopBar();
    QWidget *buildShoppingPage();
    QWidget *buildManagerPage();
    QWidget *buildInventoryPage();
    QWidget *buildItemPanel();
    QListWidget *makeDepartmentList(const QString &name, const QColor &background);
    void departmentFilter(const QString &department);
    void setView(const QString &sql);
    void runSearch();
    void buildListText(bool allStores);
    bool mayOpenStaffPage();
    void setCountsToBuy(bool generate);
    void setCountsRowByRow(bool generate);
    bool startedUp_ = false;
    bool savingPanel_ = false;
};

extern TForm1 *Form1;

// Frees the main window (and with it DB1, User, Item, Stock, ItemReport and the About box), the settings
// and the folder layout, clears their globals and releases the database connections. The program does
// this on its way out; tests and benchmarks that start the window more than once do it in between.
void FreeProgram();
