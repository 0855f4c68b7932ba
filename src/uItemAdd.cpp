#include "uItemAdd.h"
#include "uConfigIni.h"
#include "uItem.h"
#include "uMain.h"

#include "controls/TPBNumEdit.h"
#include "controls/TSpinEdit.h"
#include "dialogs/Dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TItemAdd::TItemAdd(QWidget *owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ItemAdd"));
    setWindowTitle(QStringLiteral("Add Item"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    auto caption = [this](const QString &text) {
        auto *l = new QLabel(text, this);
        QFont bold = font();
        bold.setBold(true);
        l->setFont(bold);
        return l;
    };
    ItemName = new QLineEdit(QStringLiteral("New Item"), this);
    ItemName->setObjectName(QStringLiteral("ItemName"));
    ItemName->setFixedWidth(265);
    ItemName->installEventFilter(this);
    Department = new QComboBox(this);
    Department->setObjectName(QStringLiteral("Department"));
    Department->setEditable(false);
    Count_inStore = new TSpinEdit(this);
    Count_inStore->setObjectName(QStringLiteral("Count_inStore"));
    Count_inStore->SetValue(0);
    Count_default = new TSpinEdit(this);
    Count_default->setObjectName(QStringLiteral("Count_default"));
    Count_default->SetValue(1);
    Price = new TPBNumEdit(this);
    Price->setObjectName(QStringLiteral("Price"));
    Price->SetDecimals(2);
    Price->SetValue(0);

    grid->addWidget(caption(QStringLiteral("Item name")), 0, 0, 1, 2);
    grid->addWidget(ItemName, 1, 0, 1, 2);
    grid->addWidget(caption(QStringLiteral("Department")), 2, 0, 1, 2);
    grid->addWidget(Department, 3, 0, 1, 2);
    grid->addWidget(caption(QStringLiteral("Items in Inventory")), 4, 0);
    grid->addWidget(caption(QStringLiteral("Replace if below")), 4, 1);
    grid->addWidget(Count_inStore, 5, 0);
    grid->addWidget(Count_default, 5, 1);
    grid->addWidget(caption(QStringLiteral("Package Price $")), 6, 0);
    grid->addWidget(Price, 7, 0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button2 = new QPushButton(QStringLiteral("Add"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    grid->addLayout(buttons, 8, 0, 1, 2);

    setTabOrder(ItemName, Price);
    setTabOrder(Price, Count_inStore);
    setTabOrder(Count_inStore, Count_default);
    setTabOrder(Count_default, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Department);

    connect(Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
    setFixedSize(sizeHint());
    if (owner)
        move(owner->geometry().center() - rect().center());
}

void TItemAdd::Prepare(const QString &department) {
    Department->clear();
    Department->addItems(AppConfig->Departments);
    int index = 0;
    for (int i = 0; i < Department->count(); ++i)
        if (Department->itemText(i).compare(department, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    Department->setCurrentIndex(Department->count() > 0 ? index : -1);
    ItemName->setText(QStringLiteral("New Item"));
}

bool TItemAdd::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ItemName && event->type() == QEvent::MouseButtonPress)
        ItemNameClick();
    return QDialog::eventFilter(watched, event);
}

void TItemAdd::ItemNameClick() {
    if (ItemName->text() == QLatin1String("New Item"))
        ItemName->clear();
}

void TItemAdd::Button2Click() {
    Item->AddItem(Form1->SelectedStoreID(), QString::number(Department->currentIndex()), Department->currentText(),
                  ItemName->text(), Count_inStore->Value(), Count_default->Value(), Price->Value());
    accept();
}
