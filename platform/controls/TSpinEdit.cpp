#include "controls/TSpinEdit.h"
#include <QFocusEvent>
#include <QLineEdit>
#include <limits>

TSpinEdit::TSpinEdit(QWidget *parent) : QSpinBox(parent) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setSingleStep(1);
    setValue(0);
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

int TSpinEdit::Value() const {
    // The typed text counts even before the edit has taken it over (keyboard tracking does this for
    // valid text; an unfinished entry such as "-" keeps the last value).
    return value();
}

void TSpinEdit::SetValue(int value) {
    setValue(value);
}

void TSpinEdit::focusOutEvent(QFocusEvent *event) {
    QSpinBox::focusOutEvent(event);
    // A menu popping up or another window coming to the front is not leaving the control.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    emit exited();
}
