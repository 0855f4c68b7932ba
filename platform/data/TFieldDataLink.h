#pragma once
// TFieldDataLink: the tie between one bound control and one field of a data source's query. It finds
// the field by name (again after every reopen), answers the questions every bound control asks (is
// there a row, may it be changed, what is its text) and sorts the query's notifications into the few
// things a control reacts to: RowReset here, and RecordChanged, StateChanged and UpdateRecord passed on
// as they come (see TDataLink).
#include "data/TDataLink.h"
#include <QString>

class TField;

class TFieldDataLink : public TDataLink {
    Q_OBJECT
  public:
    explicit TFieldDataLink(QObject *parent = nullptr);

    // Points the link at another data source, which is a RowReset for the control.
    void SetDataSource(TDataSource *source);
    void SetFieldName(const QString &name);
    const QString &FieldName() const { return fieldName_; }

    // The bound field of the open query; nullptr when the query is closed or has no such column.
    TField *Field() const;
    // True when the query is open, has the field and a current row.
    bool HasRow() const;
    // The current row's text of the field (its pending edit included); empty without a row.
    QString Text() const;
    // True when the current row's field may be changed through the control.
    bool CanModify() const;
    // True while the query is in edit or insert state.
    bool Editing() const;
    // Puts the query in edit state when it is browsing. Engine errors are thrown.
    void Edit();
    // Writes text into the field. Conversion and engine errors are thrown.
    void SetText(const QString &text);

  signals:
    // The row shown is another one (row moved, query reset, reopened, rebound): show it afresh and
    // drop any text typed for the row before.
    void RowReset();

  private:
    QString fieldName_;
};
