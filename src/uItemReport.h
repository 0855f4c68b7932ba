#pragma once
// The shopping history report's window and owner of its work table ItemReport. The table is ensured
// each time the report is prepared, not on a timer.
#include "uDB.h"
#include <QDialog>

class TItemReport : public QDialog, public TTableOwner {
    Q_OBJECT
public:
    explicit TItemReport(QWidget *owner);
    QString GetSchema() const override;
};

extern TItemReport *ItemReport;
