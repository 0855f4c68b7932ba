#include "uMain.h"

#include "uAbout.h"
#include "uConfigIni.h"
#include "uDB.h"
#include "uDir.h"
#include "uItem.h"
#include "uItemAdd.h"
#include "uItemReport.h"
#include "uShoppingList.h"
#include "uStock.h"
#include "uUser.h"

#include "controls/TPBNumEdit.h"
#include "controls/TSpinEdit.h"
#include "data/TDBCtrlGrid.h"
#include "data/TDBEdit.h"
#include "data/TDBGrid.h"
#include "data/TDBMemo.h"
#include "data/TDBText.h"
#include "data/TDataSource.h"
#include "dialogs/Dialogs.h"
#include "engine/Session.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

TForm1 *Form1 = nullptr;

void FreeProgram() {
    delete Form1; // owns DB1, User, Item, Stock, ItemReport and the About box
    Form1 = nullptr;
    frmAbout = nullptr;
    DB1 = nullptr;
    User = nullptr;
    Item = nullptr;
    Stock = nullptr;
    ItemReport = nullptr;
    delete AppConfig;
    AppConfig = nullptr;
    delete AppDirs;
    AppDirs = nullptr;
    Session.Close();
}

namespace {

QString &programFolderOverride() {
    static QString folder;
    return folder;
}

// Runs an event handler under the top-level error handler.
template <typename F> auto guard(F f) {
    return [f]() { Guarded(f); };
}

// Keeps the hourglass up while a command works, and takes it down on any way out.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

const QColor kBrandGreen(0x2e, 0x7d, 0x32);
const QColor kBarColour(0xf1, 0xf5, 0xf0);

// The pictures of the top bar, drawn here so the program needs no picture files of its own.
QPixmap pagePicture(int kind) {
    const int s = 44;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBrandGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case 0: { // a shopping basket
        QPainterPath basket;
        basket.moveTo(7, 17);
        basket.lineTo(37, 17);
        basket.lineTo(33, 36);
        basket.lineTo(11, 36);
        basket.closeSubpath();
        p.setBrush(QColor(0xc8, 0xe6, 0xc9));
        p.drawPath(basket);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(13, 5, 18, 22), 0, 180 * 16);
        p.drawLine(QPointF(17, 22), QPointF(17, 31));
        p.drawLine(QPointF(22, 22), QPointF(22, 31));
        p.drawLine(QPointF(27, 22), QPointF(27, 31));
        break;
    }
    case 1: { // a clipboard with ticks: the manager's view
        p.setBrush(QColor(0xff, 0xf3, 0xe0));
        p.drawRoundedRect(QRectF(9, 7, 26, 32), 3, 3);
        p.setBrush(kBrandGreen);
        p.drawRoundedRect(QRectF(16, 4, 12, 6), 2, 2);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            const qreal y = 17 + i * 7;
            p.drawLine(QPointF(13, y), QPointF(15, y + 2));
            p.drawLine(QPointF(15, y + 2), QPointF(18, y - 2));
            p.drawLine(QPointF(21, y), QPointF(31, y));
        }
        break;
    }
    default: { // shelves of boxes: the inventory list
        p.setBrush(QColor(0xe3, 0xf2, 0xfd));
        p.drawRect(QRectF(6, 8, 32, 30));
        p.drawLine(QPointF(6, 23), QPointF(38, 23));
        p.setBrush(QColor(0xff, 0xcc, 0x80));
        p.drawRect(QRectF(10, 13, 8, 10));
        p.drawRect(QRectF(21, 15, 7, 8));
        p.drawRect(QRectF(12, 28, 10, 10));
        p.drawRect(QRectF(26, 30, 8, 8));
        break;
    }
    }
    return pm;
}

QPixmap bannerPicture() {
    QPixmap pm(190, 56);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBrandGreen);
    p.drawEllipse(QRectF(4, 10, 36, 36));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15, 18, 14, 20));
    p.setBrush(kBrandGreen);
    p.drawRect(QRectF(18, 22, 8, 3));
    p.drawRect(QRectF(18, 28, 8, 3));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kBrandGreen);
    p.drawText(QRectF(48, 6, 140, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Larderly"));
    f.setPixelSize(10);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(0x66, 0x66, 0x66));
    p.drawText(QRectF(49, 36, 140, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("stock and shopping list"));
    return pm;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(26);
    return b;
}

QLabel *smallCaption(QWidget *parent, const QString &name, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(9);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color:#2e7d32;"));
    return l;
}

} // namespace

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void SetProgramFolderForTests(const QString &folder) {
    programFolderOverride() = folder.isEmpty() || folder.endsWith('/') ? folder : folder + QLatin1Char('/');
}

// =============================================================================================
// Frame

TForm1::TForm1(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Larderly"));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(779, 574);
    setMinimumSize(775, 530);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = screen->availableGeometry();
        move(r.center() - QPoint(779 / 2, 574 / 2));
    }

    ShopView = new TQuery(this);
    ShopView->setObjectName(QStringLiteral("ShopView"));
    ShopView->SetSQL(QStringLiteral("select * from item"));
    ShopView_Data = new TDataSource(this);
    ShopView_Data->setObjectName(QStringLiteral("ShopView_Data"));
    ShopView_Data->SetDataSet(ShopView);
    Shop = new TQuery(this);
    Shop->setObjectName(QStringLiteral("Shop"));
    Shop->SetSQL(QStringLiteral("select * from item"));
    Table_DataSource = new TDataSource(this);
    Table_DataSource->setObjectName(QStringLiteral("Table_DataSource"));
    Table_DataSource->SetDataSet(Shop);

    buildMenu();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(buildTopBar());
    pgMain = new QTabWidget(central);
    pgMain->setObjectName(QStringLiteral("pgMain"));
    pgMain->tabBar()->hide(); // the pages are reached through the pictures of the top bar
    pgMain->setDocumentMode(true);
    pgMain->addTab(buildShoppingPage(), QStringLiteral("Shopping List"));
    pgMain->addTab(buildManagerPage(), QStringLiteral("Manager View"));
    pgMain->addTab(buildInventoryPage(), QStringLiteral("Inventory List"));
    v->addWidget(pgMain, 1);
    setCentralWidget(central);
    ShowPageLabel(0);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    Timer1->start();
}

TForm1::~TForm1() {
    // The bound controls react to their queries going away; no handler of this window may run then.
    for (QObject *child : findChildren<QObject *>())
        child->blockSignals(true);
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::buildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [this](QMenu *menu, QAction *&action, const char *name, const QString &caption, auto handler) {
        action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, guard([this, handler] { (this->*handler)(); }));
    };
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    item(File1, LoginIn1, "LoginIn1", QStringLiteral("Login"), &TForm1::LoginIn1Click);
    File1->addSeparator();
    item(File1, Backup1, "Backup1", QStringLiteral("Backup"), &TForm1::Backup1Click);
    item(File1, RestoreBackup1, "RestoreBackup1", QStringLiteral("Restore Backup"), &TForm1::RestoreBackup1Click);
    File1->addSeparator();
    item(File1, ClearDatabase1, "ClearDatabase1", QStringLiteral("Clear Database"), &TForm1::ClearDatabase1Click);
    File1->addSeparator();
    item(File1, E1, "E1", QStringLiteral("Exit"), &TForm1::E1Click);

    Edit1 = MainMenu1->addMenu(QStringLiteral("&Settings"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    item(Edit1, Prefferences1, "Prefferences1", QStringLiteral("&Preferences"), &TForm1::Prefferences1Click);
    Edit1->addSeparator();
    item(Edit1, Reset1, "Reset1", QStringLiteral("&Remove Logins"), &TForm1::Reset1Click);

    Reports1 = MainMenu1->addMenu(QStringLiteral("&Reports"));
    Reports1->setObjectName(QStringLiteral("Reports1"));
    item(Reports1, ShoppingList1, "ShoppingList1", QStringLiteral("Shopping History"), &TForm1::ShoppingList1Click);
    item(Reports1, Inventory1, "Inventory1", QStringLiteral("Inventory"), &TForm1::Inventory1Click);

    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    item(Help1, Documentation1, "Documentation1", QStringLiteral("Documentation"), &TForm1::Documentation1Click);
    Help1->addSeparator();
    item(Help1, Website1, "Website1", QStringLiteral("Website"), &TForm1::Website1Click);
    Help1->addSeparator();
    item(Help1, About1, "About1", QStringLiteral("About"), &TForm1::About1Click);
}

QWidget *TForm1::buildTopBar() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(73);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                         "stop:0 #ffffff, stop:1 #eef5ec); border-bottom: 1px solid #c5d8c2; }"));
    auto *h = new QHBoxLayout(Panel1);
    h->setContentsMargins(8, 4, 10, 4);
    h->setSpacing(6);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(bannerPicture());
    h->addWidget(Image1);
    h->addSpacing(12);

    auto pageButton = [this, h](TImage *&image, const char *name, int picture, const QString &hint, QLabel *&label,
                                const char *labelName, const QString &caption) {
        auto *box = new QWidget(Panel1);
        auto *v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(0);
        image = new TImage(box);
        image->setObjectName(QLatin1String(name));
        image->setPixmap(pagePicture(picture));
        image->setToolTip(hint);
        image->setAlignment(Qt::AlignCenter);
        v->addWidget(image);
        label = smallCaption(box, QLatin1String(labelName), caption);
        v->addWidget(label);
        box->setFixedWidth(64);
        h->addWidget(box);
    };
    pageButton(Image2, "Image2", 0, QStringLiteral("Shopping List"), SHoppingList_Label, "SHoppingList_Label",
               QStringLiteral("Shopping List"));
    pageButton(Image4, "Image4", 1, QStringLiteral("Manager View"), Manager_Label, "Manager_Label",
               QStringLiteral("Manager"));
    pageButton(Image3, "Image3", 2, QStringLiteral("Inventory List"), InventoryList_Label, "InventoryList_Label",
               QStringLiteral("Inventory"));
    connect(Image2, &TImage::clicked, this, guard([this] { Image2Click(); }));
    connect(Image4, &TImage::clicked, this, guard([this] { Image4Click(); }));
    connect(Image3, &TImage::clicked, this, guard([this] { Image3Click(); }));
    h->addSpacing(16);

    SearchFrame = MakeSearchBox(Panel1, this, Search, btnSearch, QSize(230, 26));
    connect(btnSearch, &TImage::clicked, this, guard([this] { btnSearchClick(); }));
    h->addWidget(SearchFrame, 0, Qt::AlignVCenter);
    h->addStretch(1);

    auto *storeBox = new QWidget(Panel1);
    auto *sv = new QVBoxLayout(storeBox);
    sv->setContentsMargins(0, 0, 0, 0);
    sv->setSpacing(2);
    auto *storeCaption = new QLabel(QStringLiteral("Store"), storeBox);
    storeCaption->setStyleSheet(QStringLiteral("color:#555;"));
    sv->addWidget(storeCaption);
    Store = new QComboBox(storeBox);
    Store->setObjectName(QStringLiteral("Store"));
    Store->setEditable(false);
    Store->setMinimumWidth(160);
    sv->addWidget(Store);
    connect(Store, &QComboBox::currentIndexChanged, this, [this](int) {
        if (startedUp_ && !Store->signalsBlocked())
            Guarded([this] { StoreChange(); });
    });
    h->addWidget(storeBox, 0, Qt::AlignTop | Qt::AlignRight);
    return Panel1;
}

QListWidget *TForm1::makeDepartmentList(const QString &name, const QColor &background) {
    auto *list = new QListWidget(this);
    list->setObjectName(name);
    list->setFrameShape(QFrame::NoFrame);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    list->setFont(f);
    list->setFixedWidth(150);
    list->setStyleSheet(QStringLiteral("QListWidget { background: %1; padding-top: 4px; }"
                                       "QListWidget::item { height: 18px; padding-left: 6px; }"
                                       "QListWidget::item:selected { background: #2e7d32; color: white; }")
                            .arg(background.name()));
    list->viewport()->installEventFilter(this);
    // A department chosen with the keyboard filters like a click; a mouse click is handled once, on
    // itemClicked, and filling the lists (signals blocked) filters nothing.
    connect(list, &QListWidget::currentRowChanged, this, [this, list](int row) {
        if (row >= 0 && QApplication::mouseButtons() == Qt::NoButton && list->hasFocus())
            Guarded([this, list] {
                if (list == Department)
                    DepartmentClick();
                else if (list == Department2)
                    Department2Click();
                else
                    Department3Click();
            });
    });
    return list;
}

QWidget *TForm1::buildShoppingPage() {
    TabSheet1 = new QWidget(this);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto *v = new QVBoxLayout(TabSheet1);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    Department = makeDepartmentList(QStringLiteral("Department"), QColor(0xe8, 0xf5, 0xe9));
    connect(Department, &QListWidget::itemClicked, this, guard([this] { DepartmentClick(); }));
    body->addWidget(Department);

    DBCtrlGrid1 = new TDBCtrlGrid(TabSheet1);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    DBCtrlGrid1->SetColCount(3);
    DBCtrlGrid1->SetRowCount(21);
    DBCtrlGrid1->SetPanelSize(150, 19);
    DBCtrlGrid1->SetEditField(QStringLiteral("Count_New"));
    DBCtrlGrid1->SetLabelField(QStringLiteral("item_name"));
    DBCtrlGrid1->SetDataSource(ShopView_Data);
    DBEdit1 = DBCtrlGrid1->Edit();
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBText1 = DBCtrlGrid1->Label();
    DBText1->setObjectName(QStringLiteral("DBText1"));
    connect(DBEdit1, &TDBEdit::clicked, this, guard([this] { DBEdit1Click(); }));
    connect(DBEdit1, &TDBEdit::exited, this, guard([this] { DBEdit1Exit(); }));
    connect(DBText1, &TDBText::clicked, this, guard([this] { DBText1Click(); }));
    body->addWidget(DBCtrlGrid1, 1);

    ShopList = new QPlainTextEdit(TabSheet1);
    ShopList->setObjectName(QStringLiteral("ShopList"));
    ShopList->setFrameShape(QFrame::NoFrame);
    ShopList->setFixedWidth(167);
    ShopList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ShopList->setLineWrapMode(QPlainTextEdit::NoWrap);
    ShopList->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #fffdf5; border-left: 1px solid #e0dccb; }"));
    ShopList->viewport()->installEventFilter(this);
    body->addWidget(ShopList);
    v->addLayout(body, 1);

    auto *bar = new QFrame(TabSheet1);
    bar->setObjectName(QStringLiteral("ShoppingBar"));
    bar->setStyleSheet(QStringLiteral("#ShoppingBar { background: %1; border-top: 1px solid #d5e0d2; }").arg(kBarColour.name()));
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(8, 4, 8, 4);
    Button2 = makeButton(bar, QStringLiteral("Button2"), QStringLiteral("Add"));
    BitBtn2 = makeButton(bar, QStringLiteral("BitBtn2"), QStringLiteral("Auto Generate"));
    BitBtn3 = makeButton(bar, QStringLiteral("BitBtn3"), QStringLiteral("Clear"));
    StoreList = MakeFlatButton(bar, QStringLiteral("StoreList"), QStringLiteral("List"), QStringLiteral("Store Shopping List"));
    AllList = MakeFlatButton(bar, QStringLiteral("AllList"), QStringLiteral("All"), QStringLiteral("Combined Shopping List"));
    SpeedButton3 = MakeFlatButton(bar, QStringLiteral("SpeedButton3"), QStringLiteral("Print"), QStringLiteral("Print the shopping list"));
    btnEmail = MakeFlatButton(bar, QStringLiteral("btnEmail"), QStringLiteral("Mail"), QStringLiteral("Mail the shopping list"));
    btnShopREport = makeButton(bar, QStringLiteral("btnShopREport"), QStringLiteral("Report"));
    btnShopREport->setVisible(false);
    h->addWidget(Button2);
    h->addSpacing(12);
    h->addWidget(BitBtn2);
    h->addWidget(BitBtn3);
    h->addStretch(1);
    h->addWidget(StoreList);
    h->addWidget(AllList);
    h->addSpacing(12);
    h->addWidget(SpeedButton3);
    h->addWidget(btnEmail);
    connect(Button2, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, guard([this] { BitBtn2Click(); }));
    connect(BitBtn3, &QPushButton::clicked, this, guard([this] { BitBtn3Click(); }));
    connect(StoreList, &QToolButton::clicked, this, guard([this] { StoreListClick(); }));
    connect(AllList, &QToolButton::clicked, this, guard([this] { AllListClick(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, guard([this] { SpeedButton3Click(); }));
    connect(btnEmail, &QToolButton::clicked, this, guard([this] { btnEmailClick(); }));
    connect(btnShopREport, &QPushButton::clicked, this, guard([this] { btnShopREportClick(); }));
    v->addWidget(bar);
    return TabSheet1;
}

QWidget *TForm1::buildManagerPage() {
    TabSheet2 = new QWidget(this);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto *v = new QVBoxLayout(TabSheet2);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    Department2 = makeDepartmentList(QStringLiteral("Department2"), QColor(0xff, 0xf3, 0xe0));
    connect(Department2, &QListWidget::itemClicked, this, guard([this] { Department2Click(); }));
    body->addWidget(Department2);

    DBCtrlGrid2 = new TDBCtrlGrid(TabSheet2);
    DBCtrlGrid2->setObjectName(QStringLiteral("DBCtrlGrid2"));
    DBCtrlGrid2->SetColCount(3);
    DBCtrlGrid2->SetRowCount(21);
    DBCtrlGrid2->SetPanelSize(144, 19);
    DBCtrlGrid2->SetEditField(QStringLiteral("Count_InStore"));
    DBCtrlGrid2->SetLabelField(QStringLiteral("item_name"));
    DBCtrlGrid2->SetDataSource(ShopView_Data);
    DBEdit2 = DBCtrlGrid2->Edit();
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBText2 = DBCtrlGrid2->Label();
    DBText2->setObjectName(QStringLiteral("DBText2"));
    connect(DBEdit2, &TDBEdit::changed, this, guard([this] { DBEdit2Change(); }));
    connect(DBEdit2, &TDBEdit::clicked, this, guard([this] { DBEdit2Click(); }));
    connect(DBText2, &TDBText::clicked, this, guard([this] { DBEdit2Click(); }));
    body->addWidget(DBCtrlGrid2, 1);
    body->addWidget(buildItemPanel());
    v->addLayout(body, 1);

    auto *bar = new QFrame(TabSheet2);
    bar->setObjectName(QStringLiteral("ManagerBar"));
    bar->setStyleSheet(QStringLiteral("#ManagerBar { background: %1; border-top: 1px solid #d5e0d2; }").arg(kBarColour.name()));
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(8, 4, 8, 4);
    Button1 = makeButton(bar, QStringLiteral("Button1"), QStringLiteral("Add"));
    Button4 = makeButton(bar, QStringLiteral("Button4"), QStringLiteral("Delete"));
    Button3 = makeButton(bar, QStringLiteral("Button3"), QStringLiteral("Reconcile"));
    btnInventoryReport = makeButton(bar, QStringLiteral("btnInventoryReport"), QStringLiteral("Report"));
    btnInventoryReport->setVisible(false);
    h->addWidget(Button1);
    h->addWidget(Button4);
    h->addStretch(1);
    h->addWidget(Button3);
    connect(Button1, &QPushButton::clicked, this, guard([this] { Button2Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard([this] { Button4Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard([this] { btnItemClick(); }));
    connect(btnInventoryReport, &QPushButton::clicked, this, guard([this] { btnInventoryReportClick(); }));
    v->addWidget(bar);
    return TabSheet2;
}

QWidget *TForm1::buildItemPanel() {
    Panel3 = new QFrame(TabSheet2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(185);
    Panel3->setStyleSheet(QStringLiteral("#Panel3 { background: #fafcf9; border-left: 1px solid #dde6da; }"));
    auto *v = new QVBoxLayout(Panel3);
    v->setContentsMargins(10, 10, 10, 10);
    v->setSpacing(4);

    DBText4 = new TDBText(Panel3);
    DBText4->setObjectName(QStringLiteral("DBText4"));
    QFont dept = font();
    dept.setBold(true);
    dept.setUnderline(true);
    DBText4->setFont(dept);
    DBText4->setAlignment(Qt::AlignCenter);
    DBText4->SetDataSource(ShopView_Data);
    DBText4->SetDataField(QStringLiteral("Department"));
    v->addWidget(DBText4);

    DBText3 = new TDBText(Panel3);
    DBText3->setObjectName(QStringLiteral("DBText3"));
    QFont name(QStringLiteral("Arial"));
    name.setPixelSize(16);
    name.setBold(true);
    DBText3->setFont(name);
    DBText3->setAlignment(Qt::AlignCenter);
    DBText3->setWordWrap(true);
    DBText3->SetDataSource(ShopView_Data);
    DBText3->SetDataField(QStringLiteral("item_name"));
    v->addWidget(DBText3);
    v->addSpacing(6);

    auto spin = [this, v](TSpinEdit *&edit, const char *editName, const QString &caption) {
        v->addWidget(new QLabel(caption, Panel3));
        edit = new TSpinEdit(Panel3);
        edit->setObjectName(QLatin1String(editName));
        v->addWidget(edit);
    };
    spin(Count_inStore, "Count_inStore", QStringLiteral("Units in Store"));
    spin(Count_New, "Count_New", QStringLiteral("Units to Buy"));
    spin(Count_Default, "Count_Default", QStringLiteral("Always Stock"));
    v->addWidget(new QLabel(QStringLiteral("Price $"), Panel3));
    Price = new TPBNumEdit(Panel3);
    Price->setObjectName(QStringLiteral("Price"));
    Price->SetDecimals(2);
    v->addWidget(Price);
    connect(Count_inStore, &TSpinEdit::exited, this, guard([this] { Count_inStoreExit(); }));
    connect(Count_New, &TSpinEdit::exited, this, guard([this] { Count_NewExit(); }));
    connect(Count_Default, &TSpinEdit::exited, this, guard([this] { Count_DefaultExit(); }));
    connect(Price, &TPBNumEdit::exited, this, guard([this] { PriceExit(); }));

    auto *noteLabel = new QLabel(QStringLiteral("Note"), Panel3);
    QFont nf = font();
    nf.setUnderline(true);
    noteLabel->setFont(nf);
    v->addSpacing(4);
    v->addWidget(noteLabel);
    DBMemo1 = new TDBMemo(Panel3);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setFrameShape(QFrame::NoFrame);
    DBMemo1->setStyleSheet(QStringLiteral("background: white;"));
    DBMemo1->SetDataSource(ShopView_Data);
    DBMemo1->SetDataField(QStringLiteral("Note"));
    v->addWidget(DBMemo1, 1);

    SpeedButton4 = MakeFlatButton(Panel3, QStringLiteral("SpeedButton4"), QStringLiteral("Save"), QString());
    connect(SpeedButton4, &QToolButton::clicked, this, guard([this] { SpeedButton4Click(); }));
    v->addWidget(SpeedButton4, 0, Qt::AlignRight);
    return Panel3;
}

QWidget *TForm1::buildInventoryPage() {
    TabSheet3 = new QWidget(this);
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    auto *h = new QHBoxLayout(TabSheet3);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    Department3 = makeDepartmentList(QStringLiteral("Department3"), QColor(0xe3, 0xf2, 0xfd));
    connect(Department3, &QListWidget::itemClicked, this, guard([this] { Department3Click(); }));
    h->addWidget(Department3);
    ShopGrid = new TDBGrid(TabSheet3);
    ShopGrid->setObjectName(QStringLiteral("ShopGrid"));
    ShopGrid->SetDataSource(ShopView_Data);
    ShopGrid->AddColumn(QStringLiteral("item_name"), QStringLiteral("Name"), 145);
    ShopGrid->AddColumn(QStringLiteral("Count_InStore"), QStringLiteral("Total"), 44);
    ShopGrid->AddColumn(QStringLiteral("Count_New"), QStringLiteral("Buy"), 45);
    ShopGrid->AddColumn(QStringLiteral("count_default"), QStringLiteral("Keep in Stock"), 90);
    ShopGrid->AddColumn(QStringLiteral("Note"), QStringLiteral("Note"), 280);
    h->addWidget(ShopGrid, 1);
    return TabSheet3;
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Search) {
        if (event->type() == QEvent::MouseButtonPress)
            Guarded([this] { SearchClick(); });
        else if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            Guarded([this] { SearchKeyUp(); });
    } else if (ShopList && watched == ShopList->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease)
            Guarded([this] { ShopListClick(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// =============================================================================================
// Start-up

void TForm1::Timer1Timer() {
    Timer1->stop();
    pgMain->setCurrentIndex(0);
    ShowPageLabel(0);
    try {
        StartUp();
    } catch (...) {
        // The window still comes up, so the user sees the message and can reach the menu.
        showMaximized();
        throw;
    }
    showMaximized();
}

void TForm1::StartUp() {
    if (AppDirs == nullptr)
        AppDirs = new TDir(ProgramFolder());
    AppConfig = new TConfig();
    DB1 = new TDB1(this);
    DB1->SetSessionDirs();

    User = new TUser(this);
    Item = new TItem(this);
    Stock = new TStock(this);
    ItemReport = new TItemReport(this);
    // A first start has no item table yet: make it before the view opens it (the owner's own timer
    // then finds it present).
    Item->EnsureTable();

    FillLists();
    Shop->SetDatabaseName(AppDirs->DBPath);
    ShopView->SetDatabaseName(AppDirs->DBPath);
    ShopView->SQLClear();
    ShopView->SQLAdd(QStringLiteral("select * from item"));
    ShopView->Open();
    startedUp_ = true;
    StoreListClick();
}

void TForm1::FillLists() {
    for (QListWidget *list : {Department, Department2, Department3}) {
        list->clear();
        list->addItems(AppConfig->Departments);
    }
    {
        QSignalBlocker block(Store);
        Store->clear();
        Store->addItems(AppConfig->Stores);
        const int id = ReadWholeNumber(AppConfig->StoreID, 0);
        Store->setCurrentIndex(id >= 0 && id < Store->count() ? id : -1);
    }
    if (Department->count() > 0) {
        QSignalBlocker block(Department);
        Department->setCurrentRow(0);
    }
}

// =============================================================================================
// Menu commands

void TForm1::E1Click() {
    close();
    QCoreApplication::quit();
}

void TForm1::Documentation1Click() {
    AppDirs->OpenDocument(AppDirs->HelpPath + QStringLiteral("index.html"));
}

void TForm1::Website1Click() {
    AppDirs->OpenDocument(ProductWebSite);
}

void TForm1::About1Click() {
    if (frmAbout)
        frmAbout->exec();
}

void TForm1::LoginIn1Click() {
    TUser *previous = User;
    User = new TUser(this);
    if (previous)
        previous->deleteLater();
    User->exec();
}

void TForm1::Reset1Click() {
    const QString answer = InputBox(QStringLiteral("Please Enter reset Phrase"), QStringLiteral("Reset Phrase"),
                                    QStringLiteral("Secret"));
    if (answer.toLower().trimmed() == AppConfig->ResetPhrase.toLower().trimmed()) {
        AppConfig->ForceLogin = false;
        ShowMessage(QStringLiteral("Succes!! Users will no longer be required to login"));
    }
}

void TForm1::Prefferences1Click() {
    if (!CheckAccess({2}, QStringLiteral("You need manager lever Access. Login First")))
        return;
    // The settings dialog comes with its own work.
}

void TForm1::Backup1Click() {}
void TForm1::RestoreBackup1Click() {}
void TForm1::ClearDatabase1Click() {}

void TForm1::ShoppingList1Click() {
    btnShopREportClick();
}

void TForm1::Inventory1Click() {
    btnInventoryReportClick();
}

void TForm1::btnShopREportClick() {}

void TForm1::btnInventoryReportClick() {
    if (!CheckAccess({2}, QStringLiteral("Only a manager can see this report. Login  First")))
        return;
    // The inventory report comes with its own work.
}

void TForm1::SpeedButton3Click() {}
void TForm1::btnEmailClick() {}

// =============================================================================================
// Pages and the view

QString TForm1::SelectedStoreID() const {
    return QString::number(Store->currentIndex());
}

namespace {
QString selectedText(const QListWidget *list) {
    const QListWidgetItem *item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}
} // namespace

QString TForm1::SelectedDepartment() const {
    return selectedText(Department);
}
QString TForm1::SelectedDepartment2() const {
    return selectedText(Department2);
}
QString TForm1::SelectedDepartment3() const {
    return selectedText(Department3);
}

void TForm1::PostPendingEdit() {
    if (ShopView->State() == TDataSetState::dsEdit)
        ShopView->Post();
}

void TForm1::ShowPageLabel(int Page) {
    SHoppingList_Label->setVisible(Page == 0);
    InventoryList_Label->setVisible(Page == 1);
    Manager_Label->setVisible(Page == 2);
}

void TForm1::setView(const QString &sql) {
    ShopView->SQLClear();
    ShopView->SQLAdd(sql);
    DB1->OpenQuery(*ShopView);
}

void TForm1::departmentFilter(const QString &department) {
    PostPendingEdit();
    setView(QStringLiteral("select * from item where store=") + QuotedStr(SelectedStoreID()) +
            QStringLiteral(" and Department = ") + QuotedStr(department));
}

void TForm1::DepartmentClick() {
    departmentFilter(SelectedDepartment());
}

void TForm1::Department2Click() {
    departmentFilter(SelectedDepartment2());
    ShopGrid->Invalidate();
}

void TForm1::Department3Click() {
    departmentFilter(SelectedDepartment3());
    ShopGrid->Invalidate();
}

void TForm1::StoreChange() {
    DepartmentClick();
    StoreListClick();
}

void TForm1::SearchClick() {
    PostPendingEdit();
    static const QStringList placeholders = {QStringLiteral("Search"), QStringLiteral("Shopping List"),
                                             QStringLiteral("Search Inventory"), QStringLiteral("Search Shopping List")};
    if (placeholders.contains(Search->text()))
        Search->clear();
}

void TForm1::runSearch() {
    PostPendingEdit();
    setView(QStringLiteral("select * from item where store=") + QuotedStr(SelectedStoreID()) +
            QStringLiteral(" and LOWER(Item_Name) Like ") + QuotedStr(Search->text().toLower() + QLatin1Char('%')));
}

void TForm1::SearchKeyUp() {
    runSearch();
}

void TForm1::btnSearchClick() {
    runSearch();
}

bool TForm1::mayOpenStaffPage() {
    return CheckAccess({1, 2}, QStringLiteral("This Screen can only be accessed by Supervisor, or Manager. Login First."));
}

void TForm1::Image2Click() {
    PostPendingEdit();
    pgMain->setCurrentIndex(0);
    Search->setText(QStringLiteral("Shopping List"));
    ShowPageLabel(0);
    StoreListClick();
}

void TForm1::Image4Click() {
    if (!mayOpenStaffPage())
        return;
    pgMain->setCurrentIndex(1);
    Search->setText(QStringLiteral("Search Inventory"));
    ShowPageLabel(2);
}

void TForm1::Image3Click() {
    if (!mayOpenStaffPage())
        return;
    pgMain->setCurrentIndex(2);
    Search->setText(QStringLiteral("Search Inventory"));
    ShowPageLabel(1);
}

void TForm1::DBEdit1Click() {
    DBEdit1->selectAll();
}

void TForm1::DBEdit1Exit() {
    StoreListClick();
}

void TForm1::btnItemClick() {
    Item->exec();
}

// =============================================================================================
// Shopping list

void TForm1::buildListText(bool allStores) {
    PostPendingEdit();
    const QString storeText = allStores ? QStringLiteral("All Stores") : Store->currentText();
    QStringList departments;
    for (int i = 0; i < Department->count(); ++i)
        departments << Department->item(i)->text();
    QStringList lines = ShoppingListHeading(storeText);
    ShopList->setPlainText(lines.join(QLatin1Char('\n')));
    WaitCursor wait;
    const QString store = SelectedStoreID();
    try {
        for (const QString &dept : departments) {
            Shop->SQLClear();
            Shop->SQLAdd(ShoppingListSql(dept, allStores ? nullptr : &store));
            Shop->SQLAdd(QStringLiteral("Order By item_name asc"));
            DB1->OpenQuery(*Shop);
            AppendDepartmentLines(lines, dept, *Shop);
        }
    } catch (...) {
        ShopList->setPlainText(lines.join(QLatin1Char('\n')));
        throw;
    }
    if (Shop->Active())
        Shop->First();
    ShopList->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm1::StoreListClick() {
    buildListText(false);
}

void TForm1::AllListClick() {
    buildListText(true);
}

void TForm1::setCountsToBuy(bool generate) {
    PostPendingEdit();
    const QString store = QuotedStr(AppConfig->StoreID);
    {
        WaitCursor wait;
        // The whole pass as one statement in one transaction: what posting row by row writes, at the speed
        // of the engine. Should it fail, the pass is run again row by row, so that the rows before the
        // failing one keep their new counts as they would have.
        try {
            TQuery all;
            if (generate) {
                // ROUNDEVEN reads a count as the row-by-row pass does: whole, halves to the even number.
                const QString have = QStringLiteral("ROUNDEVEN(count_inStore)");
                const QString want = QStringLiteral("ROUNDEVEN(Count_default)");
                all.SQLAdd(QStringLiteral("update item set count_new = ") + want + QStringLiteral(" - ") + have +
                           QStringLiteral(" where store=") + store + QStringLiteral(" and ") + want + QStringLiteral(" > ") +
                           have);
            } else {
                all.SQLAdd(QStringLiteral("update item set count_new = 0 where store=") + store);
            }
            all.SetDatabaseName(AppDirs->DBPath);
            Session.RunBulk(AppDirs->DBPath, [&all] { all.ExecSQL(); });
        } catch (const Exception &) {
            setCountsRowByRow(generate);
        }
    }
    if (ShopView->Active())
        ShopView->Refresh();
    StoreListClick();
}

void TForm1::setCountsRowByRow(bool generate) {
    TQuery q;
    q.SQLAdd(QStringLiteral("select * from item where store=") + QuotedStr(AppConfig->StoreID));
    DB1->OpenQuery(q);
    Session.RunBulk(AppDirs->DBPath, [&q, generate] {
        TField &inStore = q.FieldByName(QStringLiteral("count_inStore"));
        TField &keep = q.FieldByName(QStringLiteral("Count_default"));
        TField &toBuy = q.FieldByName(QStringLiteral("count_new"));
        for (q.First(); !q.Eof(); q.Next()) {
            if (generate) {
                // Whole numbers, halves to the even number, as the counts are kept.
                const double have = std::nearbyint(inStore.AsFloat());
                const double want = std::nearbyint(keep.AsFloat());
                if (want > have) {
                    q.Edit();
                    toBuy.SetAsFloat(want - have);
                    q.Post();
                }
            } else {
                q.Edit();
                toBuy.SetAsFloat(0);
                q.Post();
            }
        }
    });
}

void TForm1::BitBtn2Click() {
    setCountsToBuy(true);
}

void TForm1::BitBtn3Click() {
    if (MessageDlg(QStringLiteral("Clear the Shopping List"), TMsgDlgType::mtWarning, TMsgDlgButtons::YesNo) ==
        TModalResult::mrNo)
        return;
    setCountsToBuy(false);
}

void TForm1::ShopListClick() {
    PostPendingEdit();
    setView(QStringLiteral("select * from item where store=") + QuotedStr(AppConfig->StoreID) +
            QStringLiteral(" and count_new <>") + QuotedStr(QStringLiteral("0")));
    Search->setText(QStringLiteral("Shopping List"));
}

// =============================================================================================
// Item detail panel, add and delete

void TForm1::LoadItemPanel() {
    if (!ShopView->Active())
        return;
    Count_inStore->SetValue(ReadWholeNumber(ShopView->FieldByName(QStringLiteral("Count_InStore")).AsString()));
    Count_New->SetValue(ReadWholeNumber(ShopView->FieldByName(QStringLiteral("Count_New")).AsString()));
    Count_Default->SetValue(ReadWholeNumber(ShopView->FieldByName(QStringLiteral("Count_Default")).AsString()));
    Price->SetValue(ShopView->FieldByName(QStringLiteral("Price")).AsFloat());
}

void TForm1::SaveItemPanel() {
    // With no current row (an empty department or search) there is nothing to write the values into.
    if (!ShopView->Active() || (ShopView->IsEmpty() && ShopView->State() != TDataSetState::dsInsert))
        return;
    // Take the four values first: writing a count changes the bound count edit of the Manager View grid,
    // whose change handler reloads the panel, and must not do so while the panel is being saved.
    const int inStore = Count_inStore->Value();
    const int toBuy = Count_New->Value();
    const int keep = Count_Default->Value();
    const double price = Price->Value();
    QScopedValueRollback<bool> saving(savingPanel_, true);
    ShopView->Edit();
    ShopView->FieldByName(QStringLiteral("Count_InStore")).SetAsInteger(inStore);
    ShopView->FieldByName(QStringLiteral("Count_New")).SetAsInteger(toBuy);
    ShopView->FieldByName(QStringLiteral("Count_Default")).SetAsInteger(keep);
    ShopView->FieldByName(QStringLiteral("Price")).SetAsFloat(price);
    ShopView->Post();
}

void TForm1::DBText1Click() {
    LoadItemPanel();
    PostPendingEdit();
}

void TForm1::DBEdit2Change() {
    if (savingPanel_)
        return;
    LoadItemPanel();
    PostPendingEdit();
}

void TForm1::DBEdit2Click() {
    DBEdit2->selectAll();
    LoadItemPanel();
}

void TForm1::Count_inStoreExit() {
    SaveItemPanel();
}
void TForm1::Count_NewExit() {
    SaveItemPanel();
}
void TForm1::Count_DefaultExit() {
    SaveItemPanel();
}
void TForm1::PriceExit() {
    SaveItemPanel();
}

void TForm1::SpeedButton4Click() {
    SaveItemPanel();
    if (ShopView->Active())
        ShopView->Refresh();
}

void TForm1::Button2Click() {
    PostPendingEdit();
    TItemAdd dialog(this);
    dialog.Prepare(SelectedDepartment());
    dialog.exec();
    if (ShopView->Active())
        ShopView->Refresh();
}

void TForm1::Button4Click() {
    // An empty view has nothing to delete: say so instead of asking, or of failing in the engine.
    if (!ShopView->Active() || ShopView->IsEmpty()) {
        ShowMessage(QStringLiteral("There is no item to delete: the list shown is empty."));
        return;
    }
    if (MessageDlg(QStringLiteral("Are you sure you want to delete this item"), TMsgDlgType::mtConfirmation,
                   TMsgDlgButtons::YesNo) == TModalResult::mrNo)
        return;
    ShopView->Delete();
}
