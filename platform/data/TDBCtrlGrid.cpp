#include "data/TDBCtrlGrid.h"
#include "data/TDBEdit.h"
#include "data/TDBText.h"
#include "data/TDataLink.h"
#include "dialogs/Dialogs.h"
#include "engine/TQuery.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

// The look of the panels: white panels with hairline separators, the counts in a light box, the
// current panel in the selection colour and a faint tint under the mouse.
const QColor PanelColor(0xff, 0xff, 0xff);
const QColor HoverColor(0xf1, 0xf6, 0xfc);
const QColor LineColor(0xe4, 0xe8, 0xee);
const QColor CountBoxColor(0xee, 0xf1, 0xf5);
const QColor TextColor(0x1d, 0x26, 0x30);
constexpr int EditWidth = 17;
constexpr int EditLeft = 3;
constexpr int LabelGap = 6;
constexpr int RightMargin = 4;

} // namespace

TDBCtrlGrid::TDBCtrlGrid(QWidget *parent)
    : QAbstractScrollArea(parent), link_(new TDataLink(this)), edit_(new TDBEdit(viewport())),
      label_(new TDBText(viewport())) {
    connect(link_, &TDataLink::DataSetChanged, this, &TDBCtrlGrid::relayout);
    connect(link_, &TDataLink::DataSetReset, this, &TDBCtrlGrid::relayout);
    connect(link_, &TDataLink::Scrolled, this, &TDBCtrlGrid::onScrolled);
    connect(link_, &TDataLink::RecordChanged, viewport(), qOverload<>(&QWidget::update));
    connect(link_, &TDataLink::StateChanged, this, [this]() {
        placeControls();
        viewport()->update();
    });
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);

    QPalette editPalette = edit_->palette();
    editPalette.setColor(QPalette::Base, Qt::white);
    editPalette.setColor(QPalette::Text, TextColor);
    edit_->setPalette(editPalette);
    edit_->setFrame(false);
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setTextMargins(0, 0, 0, 0);
    edit_->setContentsMargins(0, 0, 0, 0);
    edit_->hide();

    QPalette labelPalette = label_->palette();
    labelPalette.setColor(QPalette::WindowText, TextColor);
    label_->setPalette(labelPalette);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label_->setContentsMargins(0, 0, 0, 0);
    label_->hide();
}

TDataSource *TDBCtrlGrid::DataSource() const {
    return link_->DataSource();
}

TQuery *TDBCtrlGrid::DataSet() const {
    return link_->DataSet();
}

void TDBCtrlGrid::SetDataSource(TDataSource *source) {
    if (!link_->SetDataSource(source))
        return;
    edit_->SetDataSource(source);
    label_->SetDataSource(source);
    relayout();
}

void TDBCtrlGrid::SetEditField(const QString &fieldName) {
    edit_->SetDataField(fieldName);
    viewport()->update();
}

void TDBCtrlGrid::SetLabelField(const QString &fieldName) {
    label_->SetDataField(fieldName);
    viewport()->update();
}

void TDBCtrlGrid::SetColCount(int count) {
    colCount_ = std::max(1, count);
    updateGeometry();
    relayout();
}

void TDBCtrlGrid::SetRowCount(int count) {
    rowCount_ = std::max(1, count);
    updateGeometry();
    relayout();
}

void TDBCtrlGrid::SetPanelSize(int width, int height) {
    panelWidth_ = std::max(EditLeft + EditWidth + LabelGap + RightMargin, width);
    panelHeight_ = std::max(8, height);
    updateGeometry();
    relayout();
}

void TDBCtrlGrid::SetSelectedColor(const QColor &color) {
    selectedColor_ = color;
    viewport()->update();
}

QSize TDBCtrlGrid::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {colCount_ * panelWidth_ + frame + verticalScrollBar()->sizeHint().width(),
            rowCount_ * panelHeight_ + frame};
}

QSize TDBCtrlGrid::minimumSizeHint() const {
    // Panels have a fixed size: a layout may make the grid shorter (it scrolls), never narrower.
    const int frame = 2 * frameWidth();
    return {colCount_ * panelWidth_ + frame + verticalScrollBar()->sizeHint().width(), panelHeight_ + frame};
}

int TDBCtrlGrid::rowCountOfQuery() const {
    TQuery *query = DataSet();
    return query && query->Active() ? query->RecordCount() : 0;
}

int TDBCtrlGrid::currentRow() const {
    TQuery *query = DataSet();
    return query && query->Active() ? query->CurrentIndex() : -1;
}

int TDBCtrlGrid::TopLine() const {
    return verticalScrollBar()->value();
}

int TDBCtrlGrid::VisibleLines() const {
    return std::max(1, viewport()->height() / panelHeight_);
}

QRect TDBCtrlGrid::PanelRect(int row) const {
    if (row < 0)
        return {};
    const int line = row / colCount_;
    const int column = row % colCount_;
    return {column * panelWidth_, (line - TopLine()) * panelHeight_, panelWidth_, panelHeight_};
}

QRect TDBCtrlGrid::PanelEditRect(int row) const {
    const QRect panel = PanelRect(row);
    if (panel.isNull())
        return {};
    const int height = std::min(panel.height(), std::max(12, panel.height() - 4));
    return {panel.left() + EditLeft, panel.top() + (panel.height() - height) / 2, EditWidth, height};
}

QRect TDBCtrlGrid::PanelLabelRect(int row) const {
    const QRect panel = PanelRect(row);
    if (panel.isNull())
        return {};
    const int left = panel.left() + EditLeft + EditWidth + LabelGap;
    return {left, panel.top(), std::max(0, panel.right() - RightMargin - left + 1), panel.height()};
}

int TDBCtrlGrid::PanelAt(const QPoint &point) const {
    if (point.x() < 0 || point.y() < 0 || point.x() >= colCount_ * panelWidth_)
        return -1;
    const int row = (point.y() / panelHeight_ + TopLine()) * colCount_ + point.x() / panelWidth_;
    return row < rowCountOfQuery() ? row : -1;
}

TDBCtrlGrid::Part TDBCtrlGrid::partAt(int row, const QPoint &point) const {
    if (PanelEditRect(row).contains(point))
        return Part::Edit;
    if (PanelLabelRect(row).contains(point))
        return Part::Label;
    return Part::None;
}

void TDBCtrlGrid::updateScrollRange() {
    const int lines = (rowCountOfQuery() + colCount_ - 1) / colCount_;
    const int visible = VisibleLines();
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, lines - visible));
    bar->setSingleStep(1);
    bar->setPageStep(visible);
}

void TDBCtrlGrid::ensureCurrentVisible() {
    const int row = currentRow();
    if (row < 0)
        return;
    const int line = row / colCount_;
    QScrollBar *bar = verticalScrollBar();
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + VisibleLines())
        bar->setValue(line - VisibleLines() + 1);
}

// The real edit and label sit on the current row's panel while it is in view.
void TDBCtrlGrid::placeControls() {
    const int row = currentRow();
    const QRect panel = PanelRect(row);
    const bool shown = row >= 0 && panel.intersects(viewport()->rect());
    if (!shown) {
        // Hiding the focused edit would send the focus somewhere unexpected: keep it in the grid.
        if (edit_->hasFocus())
            setFocus(Qt::OtherFocusReason);
        edit_->hide();
        label_->hide();
        return;
    }
    edit_->setGeometry(PanelEditRect(row));
    label_->setGeometry(PanelLabelRect(row));
    edit_->show();
    label_->show();
}

void TDBCtrlGrid::relayout() {
    updateScrollRange();
    ensureCurrentVisible();
    placeControls();
    viewport()->update();
}

void TDBCtrlGrid::onScrolled() {
    ensureCurrentVisible();
    placeControls();
    viewport()->update();
}

void TDBCtrlGrid::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void TDBCtrlGrid::scrollContentsBy(int, int) {
    placeControls();
    viewport()->update();
}

void TDBCtrlGrid::paintEvent(QPaintEvent *event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Base));
    TQuery *query = DataSet();
    const int count = rowCountOfQuery();
    if (!query || count == 0)
        return;
    const TField *editField = edit_->Field();
    TField *labelField = query->FindField(label_->DataField());
    const int current = currentRow();
    const int first = TopLine() * colCount_;
    const int lines = viewport()->height() / panelHeight_ + 1;
    const int last = std::min(count, first + lines * colCount_);
    const QFontMetrics labelMetrics(label_->font());
    for (int row = first; row < last; ++row) {
        const QRect panel = PanelRect(row);
        if (!panel.intersects(event->rect()))
            continue;
        const QColor back = row == current ? selectedColor_ : row == hoverRow_ ? HoverColor : PanelColor;
        p.fillRect(panel, back);
        p.setPen(LineColor);
        p.drawLine(panel.bottomLeft(), panel.bottomRight());
        if (panel.right() + 1 < colCount_ * panelWidth_)
            p.drawLine(panel.topRight(), panel.bottomRight());
        if (row == current)
            continue; // the real edit and label draw themselves here
        const QRect editRect = PanelEditRect(row);
        p.fillRect(editRect, CountBoxColor);
        p.setPen(TextColor);
        if (editField) {
            p.setFont(edit_->font());
            p.drawText(editRect, Qt::AlignCenter, query->TextAt(row, editField->Index()));
        }
        if (labelField) {
            const QRect labelRect = PanelLabelRect(row);
            p.setFont(label_->font());
            p.drawText(labelRect, Qt::AlignLeft | Qt::AlignVCenter,
                       labelMetrics.elidedText(query->TextAt(row, labelField->Index()), Qt::ElideRight,
                                               labelRect.width()));
        }
    }
}

void TDBCtrlGrid::moveToRow(int row) {
    TQuery *query = DataSet();
    if (!query || !query->Active() || row < 0 || row >= query->RecordCount() || row == query->CurrentIndex())
        return;
    // Typed text that cannot go into its field keeps the row (its error has been shown already).
    if (edit_->WriteFailed())
        return;
    // The typed count goes into its field first, so a bad number stops the move here with its message;
    // leaving the row then posts it.
    edit_->UpdateRecord();
    query->SetRecNo(row + 1);
}

void TDBCtrlGrid::mousePressEvent(QMouseEvent *event) {
    pressedRow_ = -1;
    pressedPart_ = Part::None;
    const QPoint pos = event->position().toPoint();
    const int row = PanelAt(pos);
    if (event->button() != Qt::LeftButton || row < 0) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    try {
        moveToRow(row);
    } catch (...) {
        HandleException();
        return;
    }
    if (currentRow() != row)
        return;
    pressedRow_ = row;
    pressedPart_ = partAt(row, pos);
    if (pressedPart_ == Part::Edit && edit_->isVisible()) {
        edit_->setFocus(Qt::MouseFocusReason);
        edit_->setCursorPosition(edit_->text().length());
    }
}

void TDBCtrlGrid::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint pos = event->position().toPoint();
    const int row = pressedRow_;
    const Part part = pressedPart_;
    pressedRow_ = -1;
    pressedPart_ = Part::None;
    if (event->button() != Qt::LeftButton || row < 0 || PanelAt(pos) != row || partAt(row, pos) != part) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // The click landed on a panel that was not current yet: it counts as a click on the control there.
    if (part == Part::Edit)
        emit edit_->clicked();
    else if (part == Part::Label)
        emit label_->clicked();
}

void TDBCtrlGrid::mouseMoveEvent(QMouseEvent *event) {
    const int row = PanelAt(event->position().toPoint());
    if (row != hoverRow_) {
        hoverRow_ = row;
        viewport()->update();
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

bool TDBCtrlGrid::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::Leave && hoverRow_ >= 0) {
        hoverRow_ = -1;
        viewport()->update();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TDBCtrlGrid::keyPressEvent(QKeyEvent *event) {
    TQuery *query = DataSet();
    const int count = rowCountOfQuery();
    const int row = currentRow();
    if (!query || count == 0 || row < 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int page = colCount_ * VisibleLines();
    const int lastLine = (count - 1) / colCount_;
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Up:
        target = row - colCount_ >= 0 ? row - colCount_ : row;
        break;
    case Qt::Key_Down:
        // From the line above the last, a panel below that is missing means the last panel.
        target = row / colCount_ < lastLine ? std::min(count - 1, row + colCount_) : row;
        break;
    case Qt::Key_Left:
        target = std::max(0, row - 1);
        break;
    case Qt::Key_Right:
        target = std::min(count - 1, row + 1);
        break;
    case Qt::Key_PageUp:
        target = row - page >= 0 ? row - page : row % colCount_;
        break;
    case Qt::Key_PageDown:
        target = std::min(count - 1, row + page);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    try {
        moveToRow(target);
    } catch (...) {
        HandleException();
    }
}
