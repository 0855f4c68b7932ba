#include "data/TDataSource.h"
#include "engine/TQuery.h"

TDataSource::TDataSource(QObject *owner) : QObject(owner) {}

bool TDataSource::Active() const {
    return query_ && query_->Active();
}

void TDataSource::disconnectQuery() {
    for (const auto &link : links_)
        disconnect(link);
    links_.clear();
}

void TDataSource::SetDataSet(TQuery *query) {
    if (query_ == query)
        return;
    disconnectQuery();
    query_ = query;
    if (query) {
        links_ << connect(query, &TQuery::DataSetReset, this, &TDataSource::DataSetReset)
               << connect(query, &TQuery::Scrolled, this, &TDataSource::Scrolled)
               << connect(query, &TQuery::RecordChanged, this, &TDataSource::RecordChanged)
               << connect(query, &TQuery::StateChanged, this, &TDataSource::StateChanged)
               << connect(query, &TQuery::UpdateRecord, this, &TDataSource::UpdateRecord)
               // A query destroyed before its data source leaves the controls unbound, not dangling.
               << connect(query, &QObject::destroyed, this, [this]() {
                      disconnectQuery();
                      emit DataSetChanged();
                  });
    }
    emit DataSetChanged();
}
