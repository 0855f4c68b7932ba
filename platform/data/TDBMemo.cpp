#include "data/TDBMemo.h"
#include "data/TFieldDataLink.h"
#include "dialogs/Dialogs.h"
#include <QFocusEvent>

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent), link_(new TFieldDataLink(this)) {
    setTabChangesFocus(true);
    connect(link_, &TFieldDataLink::RowReset, this, &TDBMemo::load);
    connect(link_, &TFieldDataLink::RecordChanged, this, &TDBMemo::onRecordChanged);
    connect(link_, &TFieldDataLink::StateChanged, this, &TDBMemo::onStateChanged);
    connect(link_, &TFieldDataLink::UpdateData, this, &TDBMemo::onUpdateData);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::onTextChanged);
    refreshReadOnly();
}

void TDBMemo::SetDataSource(TDataSource *source) {
    link_->SetDataSource(source);
}

TDataSource *TDBMemo::DataSource() const {
    return link_->DataSource();
}

void TDBMemo::SetDataField(const QString &fieldName) {
    link_->SetFieldName(fieldName);
}

QString TDBMemo::DataField() const {
    return link_->FieldName();
}

TField *TDBMemo::Field() const {
    return link_->Field();
}

void TDBMemo::refreshReadOnly() {
    setReadOnly(!link_->CanModify());
}

void TDBMemo::load() {
    modified_ = false;
    keepText_ = false;
    const QString value = link_->Text();
    if (value != toPlainText()) {
        loading_ = true;
        setPlainText(value);
        loading_ = false;
    }
    refreshReadOnly();
}

void TDBMemo::onRecordChanged() {
    if (!modified_)
        load();
}

void TDBMemo::onStateChanged() {
    if (!link_->Editing() && !keepText_)
        load();
    else
        refreshReadOnly();
}

void TDBMemo::onUpdateData() {
    if (!modified_)
        return;
    try {
        UpdateRecord();
    } catch (...) {
        HandleException();
    }
}

void TDBMemo::UpdateRecord() {
    if (!modified_ || !link_->HasRow())
        return;
    keepText_ = true;
    link_->SetText(toPlainText());
    load();
}

void TDBMemo::onTextChanged() {
    // The document also reports changes that leave the text as it was (formatting): not an edit.
    if (loading_ || (!modified_ && toPlainText() == link_->Text()))
        return;
    modified_ = true;
    keepText_ = false;
    if (link_->Editing())
        return;
    try {
        link_->Edit();
    } catch (...) {
        load();
        HandleException();
    }
}

void TDBMemo::focusOutEvent(QFocusEvent *event) {
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    try {
        UpdateRecord();
    } catch (...) {
        HandleException();
        return;
    }
    emit exited();
}
