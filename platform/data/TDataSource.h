#pragma once
// TDataSource: what bound controls point at. It names one TQuery and passes the query's notifications
// on, so a control connects once and keeps working when the data source is pointed at another query.
#include <QObject>
#include <QPointer>

class TQuery;

class TDataSource : public QObject {
    Q_OBJECT
  public:
    explicit TDataSource(QObject *owner = nullptr);

    // The query shown by the bound controls; nullptr unbinds them.
    void SetDataSet(TQuery *query);
    TQuery *DataSet() const { return query_.data(); }

    // True when a query is set and open.
    bool Active() const;

  signals:
    // The data source now points at another query (or none): bound controls re-read everything.
    void DataSetChanged();
    // The query's own notifications, passed on (see TQuery).
    void DataSetReset();
    void Scrolled();
    void RecordChanged();
    void StateChanged();
    void UpdateRecord();

  private:
    void disconnectQuery();

    QPointer<TQuery> query_;
    QList<QMetaObject::Connection> links_;
};
