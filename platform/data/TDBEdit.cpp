#include "data/TDBEdit.h"
#include "data/TFieldDataLink.h"
#include "dialogs/Dialogs.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent), link_(new TFieldDataLink(this)) {
    connect(link_, &TFieldDataLink::RowReset, this, &TDBEdit::onRowReset);
    connect(link_, &TFieldDataLink::RecordChanged, this, &TDBEdit::onRecordChanged);
    connect(link_, &TFieldDataLink::StateChanged, this, &TDBEdit::onStateChanged);
    connect(link_, &TFieldDataLink::UpdateData, this, &TDBEdit::onUpdateData);
    connect(this, &QLineEdit::textChanged, this, &TDBEdit::onTextChanged);
    refreshReadOnly();
}

void TDBEdit::SetDataSource(TDataSource *source) {
    link_->SetDataSource(source);
}

TDataSource *TDBEdit::DataSource() const {
    return link_->DataSource();
}

void TDBEdit::SetDataField(const QString &fieldName) {
    link_->SetFieldName(fieldName);
}

QString TDBEdit::DataField() const {
    return link_->FieldName();
}

TField *TDBEdit::Field() const {
    return link_->Field();
}

void TDBEdit::refreshReadOnly() {
    setReadOnly(!link_->CanModify());
}

// Shows the field's text of the current row; the typed text, if any, is dropped.
void TDBEdit::load() {
    modified_ = false;
    keepText_ = false;
    const QString value = link_->Text();
    if (value != text()) {
        loading_ = true;
        setText(value);
        loading_ = false;
    }
    refreshReadOnly();
}

void TDBEdit::onRowReset() {
    load();
}

void TDBEdit::onRecordChanged() {
    // Not while the user is typing: the typed text is written when the row is posted.
    if (!modified_)
        load();
}

void TDBEdit::onStateChanged() {
    // Back to browsing with typed text still here: the edit was cancelled, show the stored value. After
    // a failed write the typed text stays so the user can correct it.
    if (!link_->Editing() && !keepText_)
        load();
    else
        refreshReadOnly();
}

void TDBEdit::onUpdateData() {
    if (!modified_)
        return;
    try {
        UpdateRecord();
    } catch (...) {
        HandleException();
    }
}

void TDBEdit::UpdateRecord() {
    if (!modified_ || !link_->HasRow())
        return;
    keepText_ = true;
    link_->SetText(text());
    // Written: show the field's own form of the value (2.50 becomes 2.5).
    load();
}

// Every change of the text: shown for another row (while loading) or made by the user. A change by
// the user marks the edit modified and puts the query in edit state before anyone hears of it, so an
// owner reacting to changed() by posting the row posts the typed value.
void TDBEdit::onTextChanged() {
    if (!loading_ && link_->CanModify()) {
        modified_ = true;
        keepText_ = false;
        if (!link_->Editing()) {
            try {
                link_->Edit();
            } catch (...) {
                load();
                HandleException();
                return;
            }
        }
    }
    emit changed();
}

void TDBEdit::keyPressEvent(QKeyEvent *event) {
    // Escape gives up the typed text and shows the field's value again; the row itself is left alone.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && (modified_ || keepText_)) {
        load();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    // A menu popping up or another window coming to the front is not leaving the control.
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

void TDBEdit::mousePressEvent(QMouseEvent *event) {
    QLineEdit::mousePressEvent(event);
    pressed_ = event->button() == Qt::LeftButton;
}

void TDBEdit::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}
