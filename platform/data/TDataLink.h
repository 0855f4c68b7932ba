#pragma once
// TDataLink: the tie between one control and a data source. It holds the data source (forgetting it when
// the data source is destroyed), gives its query, and passes the data source's notifications on, so the
// control connects to its link once and keeps working when it is pointed at another data source.
#include <QObject>
#include <QPointer>

class TDataSource;
class TQuery;

class TDataLink : public QObject {
    Q_OBJECT
  public:
    explicit TDataLink(QObject *parent = nullptr);

    // Points the link at another data source (or none). False, and nothing done, when it already points
    // there; the control then shows the new data source's query itself.
    bool SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    // The query behind the data source; nullptr when none.
    TQuery *DataSet() const;

  signals:
    // The data source now points at another query, or the data source was destroyed (the link then has
    // none).
    void DataSetChanged();
    // The data source's other notifications, passed on (see TQuery).
    void DataSetReset();
    void Scrolled();
    void RecordChanged();
    void StateChanged();
    void UpdateRecord();

  private:
    void disconnectSource();

    QPointer<TDataSource> source_;
    QList<QMetaObject::Connection> links_;
};
