#include "uControls.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

TImage::TImage(QWidget *parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void TImage::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

namespace {
// The magnifier, drawn here so the program needs no picture file for it.
QPixmap searchPicture() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x5f, 0x6b, 0x76), 1.8));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(0x5f, 0x6b, 0x76), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    return pm;
}
} // namespace

QFrame *MakeSearchBox(QWidget *parent, QObject *eventFilter, QLineEdit *&search, TImage *&button, QSize size) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("SearchFrame"));
    frame->setStyleSheet(QStringLiteral("#SearchFrame { background: white; border: 1px solid #b8c7b5; "
                                        "border-radius: %1px; }")
                             .arg(size.height() / 2 - 1));
    frame->setFixedSize(size);
    auto *h = new QHBoxLayout(frame);
    h->setContentsMargins(10, 1, 8, 1);
    h->setSpacing(4);
    search = new QLineEdit(QStringLiteral("Search"), frame);
    search->setObjectName(QStringLiteral("Search"));
    search->setFrame(false);
    search->setStyleSheet(QStringLiteral("background: transparent;"));
    search->installEventFilter(eventFilter);
    h->addWidget(search, 1);
    button = new TImage(frame);
    button->setObjectName(QStringLiteral("btnSearch"));
    button->setPixmap(searchPicture());
    button->setToolTip(QStringLiteral("Search"));
    h->addWidget(button);
    return frame;
}

QToolButton *MakeFlatButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint) {
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(26);
    return b;
}

QHBoxLayout *MakeOkCancelRow(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel) {
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
