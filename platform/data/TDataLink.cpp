#include "data/TDataLink.h"
#include "data/TDataSource.h"
#include "engine/TQuery.h"

TDataLink::TDataLink(QObject *parent) : QObject(parent) {}

TDataSource *TDataLink::DataSource() const {
    return source_.data();
}

TQuery *TDataLink::DataSet() const {
    return source_ ? source_->DataSet() : nullptr;
}

void TDataLink::disconnectSource() {
    for (const auto &link : links_)
        disconnect(link);
    links_.clear();
}

bool TDataLink::SetDataSource(TDataSource *source) {
    if (source_ == source)
        return false;
    disconnectSource();
    source_ = source;
    if (source) {
        links_ << connect(source, &TDataSource::DataSetChanged, this, &TDataLink::DataSetChanged)
               << connect(source, &TDataSource::DataSetReset, this, &TDataLink::DataSetReset)
               << connect(source, &TDataSource::Scrolled, this, &TDataLink::Scrolled)
               << connect(source, &TDataSource::RecordChanged, this, &TDataLink::RecordChanged)
               << connect(source, &TDataSource::StateChanged, this, &TDataLink::StateChanged)
               << connect(source, &TDataSource::UpdateRecord, this, &TDataLink::UpdateRecord)
               << connect(source, &QObject::destroyed, this, [this]() {
                      disconnectSource();
                      emit DataSetChanged();
                  });
    }
    return true;
}
