#include "controls/TPBNumEdit.h"
#include <QFocusEvent>
#include <QLocale>
#include <QRegularExpressionValidator>

TPBNumEdit::TPBNumEdit(QWidget *parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Only what a number is made of can be typed, so a slip of the keyboard never turns a price into 0.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^-?[0-9.,\\s\\x{00A0}']*$")), this));
    SetValue(0);
}

void TPBNumEdit::SetDecimals(int decimals) {
    const double value = Value();
    decimals_ = qBound(0, decimals, 15);
    SetValue(value);
}

QString TPBNumEdit::Format(double value) const {
    return QLocale().toString(value, 'f', decimals_);
}

double TPBNumEdit::Value() const {
    const QString typed = text().trimmed();
    if (typed.isEmpty())
        return 0;
    bool ok = false;
    double value = QLocale().toDouble(typed, &ok);
    if (!ok) // plain digits with a dot, as typed on any keyboard
        value = QLocale::c().toDouble(typed, &ok);
    return ok ? value : 0;
}

void TPBNumEdit::SetValue(double value) {
    setText(Format(value));
}

void TPBNumEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    SetValue(Value());
    emit exited();
}
