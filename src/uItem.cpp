#include "uItem.h"
#include "uConfigIni.h"
#include "uDir.h"
#include "uMain.h"
#include "uStock.h"

#include "data/TDBGrid.h"
#include "data/TDataSource.h"
#include "dialogs/Dialogs.h"
#include "engine/Session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TItem *Item = nullptr;

namespace {

// Keeps the hourglass up while a step works, and takes it down on any way out.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// The store box holds "All Stores" and then at most this many stores that can serve as a filter.
constexpr int kMaxStorePosition = 300;

// With no store value (nothing selected, or a store beyond the 300th) the lists are opened with a
// condition that no row meets, so both come out empty.
const QString kNoRows = QStringLiteral("select * from item where 1 = 0");

const QString kZero = QStringLiteral("0");

// A bar of the window: a frame of fixed height with its own style and a row layout.
QHBoxLayout *bar(QWidget *window, QFrame *&frame, const char *name, int height, const char *style, QMargins margins,
                 int spacing) {
    frame = new QFrame(window);
    frame->setObjectName(QLatin1String(name));
    frame->setFixedHeight(height);
    frame->setStyleSheet(QStringLiteral("#%1 { %2 }").arg(QLatin1String(name), QLatin1String(style)));
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(margins);
    row->setSpacing(spacing);
    return row;
}

QToolButton *flatButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint) {
    QToolButton *b = MakeFlatButton(parent, name, caption, hint);
    b->setFixedSize(64, 30);
    return b;
}

} // namespace

TItem::TItem(QWidget *owner) : QDialog(owner), TTableOwner(this, QStringLiteral("item"), QStringLiteral("item"), true) {
    setObjectName(QStringLiteral("Item"));
    setWindowTitle(QStringLiteral("Reconcile New Items"));
    // A fixed single border with only the system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    setFont(f);

    ShopList = new TQuery(this);
    ShopList->setObjectName(QStringLiteral("ShopList"));
    ShopList->SetSQL(QStringLiteral("select * from item"));
    Manager = new TQuery(this);
    Manager->setObjectName(QStringLiteral("Manager"));
    Manager->SetSQL(QStringLiteral("select * from item"));
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->SetDataSet(ShopList);
    DataSource2 = new TDataSource(this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->SetDataSet(Manager);

    buildWindow();
    setFixedSize(767, 556);
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

// =============================================================================================
// The window

void TItem::buildWindow() {
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    // ---- top bar: store box, search box, "All Items"
    QHBoxLayout *top = bar(this, Panel1, "Panel1", 33, "background: #f7f9f7; border-bottom: 1px solid #d9e2d9;",
                           QMargins(8, 4, 10, 4), 10);
    Store = new QComboBox(Panel1);
    Store->setObjectName(QStringLiteral("Store"));
    Store->setEditable(false);
    Store->setFixedWidth(180);
    {
        // A drop-down list box is drawn as a button: its button colour is the box's background.
        QPalette pal = Store->palette();
        pal.setColor(QPalette::Button, QColor(244, 249, 253));
        pal.setColor(QPalette::Base, QColor(244, 249, 253));
        Store->setPalette(pal);
    }
    top->addWidget(Store);

    SearchFrame = MakeSearchBox(Panel1, this, Search, btnSearch, QSize(210, 24));
    top->addWidget(SearchFrame);

    ShowAll = new QCheckBox(QStringLiteral("All Items"), Panel1);
    ShowAll->setObjectName(QStringLiteral("ShowAll"));
    ShowAll->setChecked(false);
    top->addWidget(ShowAll);
    top->addStretch(1);
    v->addWidget(Panel1);

    // ---- header strip over the two lists
    QHBoxLayout *strip = bar(this, Panel2, "Panel2", 25, "background: rgb(192, 220, 192);", QMargins(), 0);
    auto heading = [this](const QString &name, const QString &text) {
        auto *l = new QLabel(text, Panel2);
        l->setObjectName(name);
        QFont hf(QStringLiteral("Arial"));
        hf.setPixelSize(19);
        hf.setBold(true);
        l->setFont(hf);
        l->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128); padding-left: 6px;"));
        return l;
    };
    Label1 = heading(QStringLiteral("Label1"), QStringLiteral("New Items"));
    Label1->setFixedWidth(249 + 72);
    Label2 = heading(QStringLiteral("Label2"), QStringLiteral("Inventory"));
    strip->addWidget(Label1);
    strip->addWidget(Label2, 1);
    v->addWidget(Panel2);

    // ---- three columns: new items, the commands, the inventory
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);

    GridNew = new TDBGrid(this);
    GridNew->setObjectName(QStringLiteral("GridNew"));
    GridNew->setFixedWidth(249);
    GridNew->SetDataSource(DataSource1);
    GridNew->AddColumn(QStringLiteral("Count_New"), QStringLiteral("New"), 36);
    GridNew->AddColumn(QStringLiteral("item_name"), QStringLiteral("Item"), 146, true, true);
    GridNew->SetCtrlDeleteHandledByOwner(true);
    body->addWidget(GridNew);

    auto *middle = new QFrame(this);
    middle->setObjectName(QStringLiteral("Panel4"));
    middle->setFixedWidth(72);
    middle->setStyleSheet(QStringLiteral("#Panel4 { background: #f3f6f3; }"));
    auto *mv = new QVBoxLayout(middle);
    mv->setContentsMargins(4, 12, 4, 8);
    mv->setSpacing(6);
    SpeedButton2 = flatButton(middle, QStringLiteral("SpeedButton2"), QStringLiteral("Add >"), QStringLiteral("Add to Total"));
    SpeedButton1 = flatButton(middle, QStringLiteral("SpeedButton1"), QStringLiteral("Set >"), QStringLiteral("Set as Total"));
    SpeedButton3 = flatButton(middle, QStringLiteral("SpeedButton3"), QStringLiteral("Reset >"), QStringLiteral("Default Total"));
    All = new QCheckBox(QStringLiteral("All"), middle);
    All->setObjectName(QStringLiteral("All"));
    All->setChecked(false);
    for (QWidget *w : {static_cast<QWidget *>(SpeedButton2), static_cast<QWidget *>(SpeedButton1),
                       static_cast<QWidget *>(SpeedButton3)})
        mv->addWidget(w, 0, Qt::AlignHCenter);
    mv->addSpacing(6);
    mv->addWidget(All, 0, Qt::AlignHCenter);
    mv->addStretch(1);
    body->addWidget(middle);

    StockGrid = new TDBGrid(this);
    StockGrid->setObjectName(QStringLiteral("StockGrid"));
    StockGrid->SetDataSource(DataSource2);
    StockGrid->AddColumn(QStringLiteral("Count_InStore"), QStringLiteral("Total"), 50);
    StockGrid->AddColumn(QStringLiteral("item_name"), QStringLiteral("Item"), 240, true, true);
    StockGrid->AddColumn(QStringLiteral("Department"), QStringLiteral("Department"), 90, true);
    StockGrid->SetCtrlDeleteHandledByOwner(true);
    body->addWidget(StockGrid, 1);
    v->addLayout(body, 1);

    // ---- bottom bar
    QHBoxLayout *bottom = bar(this, Panel3, "Panel3", 42, "background: #f7f9f7; border-top: 1px solid #d9e2d9;",
                              QMargins(10, 6, 10, 6), 8);
    bottom->addStretch(1);
    Button2 = new QPushButton(QStringLiteral("Save"), Panel3);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Cancel"), Panel3);
    Button1->setObjectName(QStringLiteral("Button1"));
    for (QPushButton *b : {Button2, Button1}) {
        // Enter in the search box or a grid must not close the window.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(80);
    }
    bottom->addWidget(Button2);
    bottom->addWidget(Button1);
    v->addWidget(Panel3);

    connect(Store, &QComboBox::currentIndexChanged, this, [this](int) { Guarded([this] { StoreChange(); }); });
    connect(ShowAll, &QCheckBox::clicked, this, [this] { Guarded([this] { ShowAllClick(); }); });
    connect(btnSearch, &TImage::clicked, this, [this] { Guarded([this] { btnSearchClick(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton2Click(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton3Click(); }); });
    connect(GridNew, &TDBGrid::mouseReleased, this, [this] { Guarded([this] { GridNewMouseUp(); }); });
    connect(GridNew, &TDBGrid::ctrlDeletePressed, this,
            [this] { Guarded([this] { deleteItemRow(*ShopList, *Manager); }); });
    connect(StockGrid, &TDBGrid::ctrlDeletePressed, this,
            [this] { Guarded([this] { deleteItemRow(*Manager, *ShopList); }); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

void TItem::showEvent(QShowEvent *event) {
    // Opens centred on the main window.
    if (QWidget *owner = parentWidget()) {
        const QRect ownerArea = owner->window()->geometry();
        move(ownerArea.center() - QPoint(width() / 2, height() / 2) - (geometry().topLeft() - pos()));
    }
    QDialog::showEvent(event);
}

bool TItem::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Search) {
        if (event->type() == QEvent::MouseButtonPress)
            Guarded([this] { SearchClick(); });
        else if (event->type() == QEvent::KeyPress)
            // Runs before the box takes the key, so the search uses the text as it was.
            Guarded([this] { SearchKeyDown(); });
    }
    return QDialog::eventFilter(watched, event);
}

// =============================================================================================
// Start-up

void TItem::Timer1Timer() {
    Timer1->stop();
    EnsureTable();
    DB1->OpenQuery(*Table);
    {
        QSignalBlocker block(Store);
        Store->clear();
        Store->addItem(QStringLiteral("All Stores"));
        Store->addItems(AppConfig->Stores);
        const int position = ReadWholeNumber(AppConfig->StoreID, 0) + 1;
        Store->setCurrentIndex(position >= 0 && position < Store->count() ? position : -1);
    }
    OpenNewItems();
    OpenInventory();
}

// =============================================================================================
// The lists

QString TItem::StoreFilterValue() const {
    const int p = Store->currentIndex();
    if (p == 0)
        return QStringLiteral("*");
    if (p >= 1 && p <= kMaxStorePosition)
        return QString::number(p - 1);
    return QString();
}

QString TItem::NewItemsSql() const {
    const QString s = StoreFilterValue();
    const bool all = ShowAll->isChecked();
    if (s.isEmpty())
        return kNoRows;
    if (s == QLatin1String("*"))
        return all ? QStringLiteral("select * from item")
                   : QStringLiteral("select * from item where Count_New <> ") + QuotedStr(kZero);
    const QString store = QStringLiteral("select * from item where store=") + QuotedStr(s);
    return all ? store : store + QStringLiteral(" and Count_New <> ") + QuotedStr(kZero);
}

QString TItem::InventorySql() const {
    const QString s = StoreFilterValue();
    const bool all = ShowAll->isChecked();
    if (s.isEmpty())
        return kNoRows;
    if (s == QLatin1String("*"))
        return all ? QStringLiteral("select * from item")
                   : QStringLiteral("select * from item where Count_New <> ") + QuotedStr(kZero) +
                         QStringLiteral(" or Reconciled <> ") + QuotedStr(kZero);
    const QString store = QStringLiteral("select * from item where store=") + QuotedStr(s);
    return all ? store
               : store + QStringLiteral(" and (Count_New <> ") + QuotedStr(kZero) + QStringLiteral(" or Reconciled <> ") +
                     QuotedStr(kZero) + QStringLiteral(")");
}

QString TItem::SearchSql(const QString &text) const {
    const QString s = StoreFilterValue();
    const QString pattern = QStringLiteral(" LOWER(Item_Name) Like ") + QuotedStr(text.toLower() + QLatin1Char('%'));
    if (s.isEmpty())
        return kNoRows;
    // "All Stores" searches every store: no store condition.
    if (s == QLatin1String("*"))
        return QStringLiteral("select * from item where") + pattern;
    return QStringLiteral("select * from item where store=") + QuotedStr(s) + QStringLiteral(" and") + pattern;
}

void TItem::openList(TQuery &list, const QString &sql) {
    // A count typed into the list's grid is written before the list is replaced, not dropped.
    if (list.State() == TDataSetState::dsEdit)
        list.Post();
    list.SetDatabaseName(AppDirs->DBPath);
    list.SQLClear();
    list.SQLAdd(sql);
    DB1->OpenQuery(list);
}

void TItem::OpenNewItems() {
    openList(*ShopList, NewItemsSql());
}

void TItem::OpenInventory() {
    openList(*Manager, InventorySql());
}

void TItem::StoreChange() {
    OpenNewItems();
    OpenInventory();
}

void TItem::ShowAllClick() {
    OpenNewItems();
    OpenInventory();
}

void TItem::runSearch() {
    openList(*ShopList, SearchSql(Search->text()));
}

void TItem::btnSearchClick() {
    runSearch();
}

void TItem::SearchKeyDown() {
    runSearch();
}

void TItem::SearchClick() {
    if (ShopList->State() == TDataSetState::dsEdit)
        ShopList->Post();
    if (Search->text() == QLatin1String("Search") || Search->text() == QLatin1String("Shopping List"))
        Search->clear();
}

void TItem::GridNewMouseUp() {
    if (!ShopList->Active() || !Manager->Active())
        return;
    Manager->SetRecNo(ShopList->RecNo());
}

void TItem::deleteItemRow(TQuery &list, TQuery &other) {
    if (!list.Active() || list.IsEmpty())
        return;
    if (MessageDlg(QStringLiteral("Delete record?"), TMsgDlgType::mtConfirmation, TMsgDlgButtons::OKCancel) ==
        TModalResult::mrCancel)
        return;
    list.Delete();
    // The other list may show the same item: read it again so it does not keep a row that is gone.
    if (other.Active())
        other.Refresh();
}

// =============================================================================================
// Reconciling

void TItem::SpeedButton2Click() {
    Reconcile(ReconcileMode::Add);
}

void TItem::SpeedButton1Click() {
    Reconcile(ReconcileMode::Set);
}

void TItem::SpeedButton3Click() {
    Reconcile(ReconcileMode::Reset);
}

void TItem::reconcileStep(ReconcileMode mode) {
    if (Stock == nullptr)
        throw Exception(QStringLiteral("The stock history is not available."));
    TQuery &row = *ShopList;
    row.Edit();
    const double d = row.FieldByName(QStringLiteral("count_default")).AsFloat();
    const double n = row.FieldByName(QStringLiteral("Count_New")).AsFloat();
    const double c = row.FieldByName(QStringLiteral("Count_InStore")).AsFloat();
    double total = n;
    switch (mode) {
    case ReconcileMode::Set:
        total = n;
        break;
    case ReconcileMode::Add:
        total = c + n;
        break;
    case ReconcileMode::Reset:
        total = d;
        break;
    }
    row.FieldByName(QStringLiteral("Count_InStore")).SetAsFloat(total);
    row.FieldByName(QStringLiteral("Reconciled")).SetAsFloat(n);
    try {
        // The history row is written before the item row is posted.
        Stock->AddStockRow(row.FieldByName(QStringLiteral("Store")).AsString(),
                           row.FieldByName(QStringLiteral("Department")).AsString(),
                           row.FieldByName(QStringLiteral("Item_Name")).AsString(),
                           row.FieldByName(QStringLiteral("ID")).AsString(),
                           row.FieldByName(QStringLiteral("Count_New")).AsString(),
                           row.FieldByName(QStringLiteral("Price")).AsString());
    } catch (...) {
        // A history row that could not be written ends the step: the item row's changes are dropped,
        // not posted.
        row.Cancel();
        throw;
    }
    row.FieldByName(QStringLiteral("Count_New")).SetAsFloat(0);
    StampDateColumns(row, Now());
    row.Post();
}

void TItem::rereadLists() {
    ShopList->First();
    if (Manager->Active())
        Manager->SetRecNo(ShopList->RecNo());
    if (Manager->Active()) {
        Manager->Refresh();
        Manager->First();
    }
    if (Table->Active())
        Table->Refresh();
    ShopList->Refresh();
    ShopList->First();
    StockGrid->Invalidate();
}

void TItem::ReconcileRow(ReconcileMode mode) {
    WaitCursor wait;
    reconcileStep(mode);
    rereadLists();
}

void TItem::Reconcile(ReconcileMode mode) {
    if (!ShopList->Active())
        return;
    // A count typed into the grid (its cell editor may still be open) is written first, so the step
    // works with the row as the user left it.
    ShopList->CheckBrowseMode();
    if (ShopList->IsEmpty())
        return;
    if (!All->isChecked()) {
        ReconcileRow(mode);
        return;
    }
    // "All" reconciles each listed row once, the current one first and then the others from the top,
    // and stops; a reconciled row that stays listed (its Count_New is 0 now) is not taken again. Rows
    // are known by their ID. With "All Items" unticked and no search this is the same as repeating the
    // step on the first row until the list is empty.
    WaitCursor wait;
    const int idColumn = ShopList->FieldByName(QStringLiteral("ID")).Index();
    const int count = ShopList->RecordCount();
    const int current = ShopList->CurrentIndex();
    std::vector<std::pair<qint64, int>> order; // ID and position in the list
    order.reserve(static_cast<size_t>(count));
    auto idAt = [this, idColumn](int position) {
        const TCell &cell = ShopList->CellAt(position, idColumn);
        return cell.kind == TCell::Number ? static_cast<qint64>(cell.num) : qint64(-1);
    };
    if (current >= 0)
        order.emplace_back(idAt(current), current);
    for (int i = 0; i < count; ++i)
        if (i != current)
            order.emplace_back(idAt(i), i);

    // The whole pass is one transaction (what was done is committed if a step fails), and the lists
    // are read again once at the end instead of after every row: the stored rows and the lists the
    // user sees at the end are the same as stepping row by row.
    try {
        Session.RunBulk(AppDirs->DBPath, [&] {
            for (const auto &[id, position] : order) {
                if (id < 0)
                    continue; // a row without an ID cannot be found again
                if (idAt(position) == id) {
                    if (ShopList->CurrentIndex() != position)
                        ShopList->SetRecNo(position + 1);
                } else if (!ShopList->LocateID(id)) {
                    continue;
                }
                reconcileStep(mode);
            }
        });
    } catch (...) {
        // The steps done so far are stored: show them, then report the failure. The failing row's
        // changes could not be stored and are dropped, so the lists can be read again.
        try {
            if (ShopList->State() != TDataSetState::dsBrowse)
                ShopList->Cancel();
            rereadLists();
        } catch (...) {
            // The failure of the step is the one to report.
        }
        throw;
    }
    rereadLists();
}

// =============================================================================================
// Adding an item

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
