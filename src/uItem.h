#pragma once
// The reconcile window "Reconcile New Items" and owner of the item table.
#include "uDB.h"
#include <QDialog>

class TItem : public QDialog, public TTableOwner {
    Q_OBJECT
public:
    explicit TItem(QWidget *owner);
    QString GetSchema() const override;

    // Appends one item row: Count_New 0, Count_InStore and Count_Total the count in store, today's date.
    void AddItem(const QString &store, const QString &departmentId, const QString &department,
                 const QString &itemName, int countInStore, int countDefault, double price);

public slots:
    void Timer1Timer();
};

extern TItem *Item;
