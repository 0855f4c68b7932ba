#include "data/TFieldDataLink.h"
#include "data/TDataSource.h"
#include "engine/TQuery.h"

TFieldDataLink::TFieldDataLink(QObject *parent) : QObject(parent) {}

TDataSource *TFieldDataLink::DataSource() const {
    return source_.data();
}

void TFieldDataLink::SetDataSource(TDataSource *source) {
    if (source_ == source)
        return;
    for (const auto &link : links_)
        disconnect(link);
    links_.clear();
    source_ = source;
    if (source) {
        links_ << connect(source, &TDataSource::DataSetChanged, this, &TFieldDataLink::RowReset)
               << connect(source, &TDataSource::DataSetReset, this, &TFieldDataLink::RowReset)
               << connect(source, &TDataSource::Scrolled, this, &TFieldDataLink::RowReset)
               << connect(source, &TDataSource::RecordChanged, this, &TFieldDataLink::RecordChanged)
               << connect(source, &TDataSource::StateChanged, this, &TFieldDataLink::StateChanged)
               << connect(source, &TDataSource::UpdateRecord, this, &TFieldDataLink::UpdateData)
               << connect(source, &QObject::destroyed, this, [this]() {
                      links_.clear();
                      emit RowReset();
                  });
    }
    emit RowReset();
}

void TFieldDataLink::SetFieldName(const QString &name) {
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    emit RowReset();
}

TQuery *TFieldDataLink::DataSet() const {
    return source_ ? source_->DataSet() : nullptr;
}

TField *TFieldDataLink::Field() const {
    TQuery *query = DataSet();
    if (!query || !query->Active() || fieldName_.isEmpty())
        return nullptr;
    return query->FindField(fieldName_);
}

bool TFieldDataLink::HasRow() const {
    TQuery *query = DataSet();
    return Field() != nullptr && query->CurrentIndex() >= 0;
}

QString TFieldDataLink::Text() const {
    return HasRow() ? Field()->AsString() : QString();
}

bool TFieldDataLink::CanModify() const {
    return HasRow() && DataSet()->CanModify();
}

bool TFieldDataLink::Editing() const {
    TQuery *query = DataSet();
    return query && (query->State() == TDataSetState::dsEdit || query->State() == TDataSetState::dsInsert);
}

void TFieldDataLink::Edit() {
    TQuery *query = DataSet();
    if (query && query->State() == TDataSetState::dsBrowse)
        query->Edit();
}

void TFieldDataLink::SetText(const QString &text) {
    if (TField *field = Field())
        field->SetAsString(text);
}
