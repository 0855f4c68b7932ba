#include "data/TFieldDataLink.h"
#include "engine/TQuery.h"

TFieldDataLink::TFieldDataLink(QObject *parent) : TDataLink(parent) {
    connect(this, &TDataLink::DataSetChanged, this, &TFieldDataLink::RowReset);
    connect(this, &TDataLink::DataSetReset, this, &TFieldDataLink::RowReset);
    connect(this, &TDataLink::Scrolled, this, &TFieldDataLink::RowReset);
}

void TFieldDataLink::SetDataSource(TDataSource *source) {
    if (TDataLink::SetDataSource(source))
        emit RowReset();
}

void TFieldDataLink::SetFieldName(const QString &name) {
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    emit RowReset();
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
