#include "data/TDBText.h"
#include "data/TFieldDataLink.h"
#include <QMouseEvent>

TDBText::TDBText(QWidget *parent) : QLabel(parent), link_(new TFieldDataLink(this)) {
    // Item names are data, never markup.
    setTextFormat(Qt::PlainText);
    connect(link_, &TFieldDataLink::RowReset, this, &TDBText::load);
    connect(link_, &TFieldDataLink::RecordChanged, this, &TDBText::load);
    connect(link_, &TFieldDataLink::StateChanged, this, &TDBText::load);
}

void TDBText::SetDataSource(TDataSource *source) {
    link_->SetDataSource(source);
}

TDataSource *TDBText::DataSource() const {
    return link_->DataSource();
}

void TDBText::SetDataField(const QString &fieldName) {
    link_->SetFieldName(fieldName);
}

QString TDBText::DataField() const {
    return link_->FieldName();
}

void TDBText::load() {
    const QString value = link_->Text();
    if (value != text())
        setText(value);
}

void TDBText::mousePressEvent(QMouseEvent *event) {
    QLabel::mousePressEvent(event);
    pressed_ = event->button() == Qt::LeftButton;
    // The click is the label's own: it does not go on to whatever lies beneath.
    if (pressed_)
        event->accept();
}

void TDBText::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        event->accept();
        emit clicked();
    }
}
