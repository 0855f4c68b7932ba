#include "data/TDBEdit.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent),
      TFieldEditor(new TFieldEditLink(this, {[this] { return text(); },
                                             [this](const QString &value) { setText(value); },
                                             [this](bool on) { setReadOnly(on); }})) {
    connect(this, &QLineEdit::textChanged, this, &TDBEdit::onTextChanged);
}

// Every change of the text: shown for another row (while loading) or made by the user. A change by
// the user is the link's to hear of first (see TFieldEditLink::TextEdited).
void TDBEdit::onTextChanged() {
    if (!link_->Loading() && link_->CanModify() && !link_->TextEdited())
        return;
    emit changed();
}

void TDBEdit::keyPressEvent(QKeyEvent *event) {
    // Escape gives up the typed text and shows the field's value again; the row itself is left alone.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && link_->Modified()) {
        link_->Load();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (link_->Leave(event->reason()))
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
