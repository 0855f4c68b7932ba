#include "data/TFieldEditLink.h"
#include "dialogs/Dialogs.h"

TFieldEditLink::TFieldEditLink(QObject *parent, Control control)
    : TFieldDataLink(parent), control_(std::move(control)) {
    connect(this, &TFieldDataLink::RowReset, this, &TFieldEditLink::Load);
    connect(this, &TDataLink::RecordChanged, this, &TFieldEditLink::onRecordChanged);
    connect(this, &TDataLink::StateChanged, this, &TFieldEditLink::onStateChanged);
    connect(this, &TDataLink::UpdateRecord, this, &TFieldEditLink::onUpdateRecord);
    refreshReadOnly();
}

void TFieldEditLink::refreshReadOnly() {
    control_.setReadOnly(!CanModify());
}

void TFieldEditLink::Load() {
    modified_ = false;
    keepText_ = false;
    const QString value = Text();
    if (value != control_.text()) {
        loading_ = true;
        control_.setText(value);
        loading_ = false;
    }
    refreshReadOnly();
}

void TFieldEditLink::onRecordChanged() {
    // Not while the user is typing: the typed text is written when the row is posted.
    if (!modified_)
        Load();
}

void TFieldEditLink::onStateChanged() {
    // Back to browsing with typed text still here: the edit was cancelled, show the stored value. After
    // a failed write the typed text stays so the user can correct it.
    if (!Editing() && !keepText_)
        Load();
    else
        refreshReadOnly();
}

void TFieldEditLink::onUpdateRecord() {
    if (!modified_)
        return;
    try {
        WriteTyped();
    } catch (...) {
        HandleException();
    }
}

void TFieldEditLink::WriteTyped() {
    if (!modified_ || !HasRow())
        return;
    keepText_ = true;
    SetText(control_.text());
    // Written: show the field's own form of the value (2.50 becomes 2.5).
    Load();
}

// Marks the text modified and puts the query in edit state before anyone hears of the change, so an owner
// reacting to it by posting the row posts the typed value.
bool TFieldEditLink::TextEdited() {
    modified_ = true;
    keepText_ = false;
    if (Editing())
        return true;
    try {
        Edit();
    } catch (...) {
        Load();
        HandleException();
        return false;
    }
    return true;
}

bool TFieldEditLink::Leave(Qt::FocusReason reason) {
    // A menu popping up or another window coming to the front is not leaving the control.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return false;
    try {
        WriteTyped();
    } catch (...) {
        HandleException();
        return false;
    }
    return true;
}

void TFieldEditor::SetDataSource(TDataSource *source) {
    link_->SetDataSource(source);
}

TDataSource *TFieldEditor::DataSource() const {
    return link_->DataSource();
}

void TFieldEditor::SetDataField(const QString &fieldName) {
    link_->SetFieldName(fieldName);
}

QString TFieldEditor::DataField() const {
    return link_->FieldName();
}

TField *TFieldEditor::Field() const {
    return link_->Field();
}

void TFieldEditor::UpdateRecord() {
    link_->WriteTyped();
}
