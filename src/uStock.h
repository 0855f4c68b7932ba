#pragma once
// The stock history: owner of the stock table, one row per reconciled purchase.
#include "uDB.h"
#include <QDateTime>
#include <QWidget>

class TStock : public QWidget, public TTableOwner {
    Q_OBJECT
public:
    explicit TStock(QWidget *owner);

    // Appends one history row; every value is cut to its column, the date columns come from the
    // moment of writing.
    void AddStockRow(const QString &store, const QString &department, const QString &itemName,
                     const QString &itemId, const QString &count, const QString &price);
    // Opens Table on the history rows of the day of `moment`.
    void OpenDay(const QDateTime &moment);
    QString GetSchema() const override;

public slots:
    void Timer1Timer();
};

extern TStock *Stock;
