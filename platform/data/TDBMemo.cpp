#include "data/TDBMemo.h"
#include <QFocusEvent>

TDBMemo::TDBMemo(QWidget *parent)
    : QPlainTextEdit(parent),
      TFieldEditor(new TFieldEditLink(this, {[this] { return toPlainText(); },
                                             [this](const QString &value) { setPlainText(value); },
                                             [this](bool on) { setReadOnly(on); }})) {
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::onTextChanged);
}

void TDBMemo::onTextChanged() {
    // The document also reports changes that leave the text as it was (formatting): not an edit.
    if (link_->Loading() || (!link_->Modified() && toPlainText() == link_->Text()))
        return;
    link_->TextEdited();
}

void TDBMemo::focusOutEvent(QFocusEvent *event) {
    QPlainTextEdit::focusOutEvent(event);
    if (link_->Leave(event->reason()))
        emit exited();
}
