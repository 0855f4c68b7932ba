#include "data/TDBGrid.h"
#include "data/TDataLink.h"
#include "dialogs/Dialogs.h"
#include "engine/TQuery.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <functional>

namespace {

// The in-place editor: a frameless line edit that tells the grid about the first keystroke, so the row
// goes into edit state as soon as the user starts changing a cell (and a post writes the cell).
class CellDelegate : public QStyledItemDelegate {
  public:
    CellDelegate(QObject *parent, std::function<void(QWidget *)> created, std::function<void()> edited)
        : QStyledItemDelegate(parent), created_(std::move(created)), edited_(std::move(edited)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setFrame(false);
            line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
            QObject::connect(line, &QLineEdit::textEdited, line, [edited = edited_]() { edited(); });
        }
        created_(editor);
        return editor;
    }

  private:
    std::function<void(QWidget *)> created_;
    std::function<void()> edited_;
};

} // namespace

TDBGrid::TDBGrid(QWidget *parent)
    : QTableView(parent), link_(new TDataLink(this)), model_(new TQueryModel(this)) {
    connect(link_, &TDataLink::DataSetChanged, this, &TDBGrid::rebind);
    connect(link_, &TDataLink::UpdateRecord, this, &TDBGrid::writeEditor);
    setModel(model_);
    setItemDelegate(new CellDelegate(
        this, [this](QWidget *editor) { editor_ = editor; },
        [this]() {
            TQuery *query = DataSet();
            if (!query || query->State() != TDataSetState::dsBrowse)
                return;
            try {
                query->Edit();
            } catch (...) {
                HandleException();
            }
        }));

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: #dfe4ea; alternate-background-color: #f8fafc;"
                                 " selection-background-color: #d3e5fa; selection-color: #17212b; }"));

    const int rowHeight = fontMetrics().height() + 8;
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(rowHeight);
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->setFixedWidth(18);
    rows->setHighlightSections(false);

    QHeaderView *titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setStretchLastSection(false);
    titles->setSectionsMovable(false);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setMinimumSectionSize(16);

    // The user's column widths survive the query being reopened.
    connect(titles, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!applyingWidths_ && column >= 0 && column < ColumnCount())
            model_->Column(column).width = width;
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &TDBGrid::applyColumnWidths);
    connect(model_, &TQueryModel::Synced, this, &TDBGrid::followQuery);
}

TDataSource *TDBGrid::DataSource() const {
    return link_->DataSource();
}

TQuery *TDBGrid::DataSet() const {
    return link_->DataSet();
}

void TDBGrid::SetDataSource(TDataSource *source) {
    if (link_->SetDataSource(source))
        rebind();
}

void TDBGrid::rebind() {
    model_->SetQuery(DataSet());
}

void TDBGrid::AddColumn(const QString &fieldName, const QString &title, int width, bool readOnly,
                        bool titleCentered) {
    TDBColumn column;
    column.fieldName = fieldName;
    column.title = title;
    column.width = width;
    column.readOnly = readOnly;
    column.titleCentered = titleCentered;
    model_->AddColumn(column);
}

int TDBGrid::ColumnWidth(int column) const {
    return horizontalHeader()->sectionSize(column);
}

void TDBGrid::applyColumnWidths() {
    applyingWidths_ = true;
    for (int i = 0; i < ColumnCount(); ++i)
        horizontalHeader()->resizeSection(i, model_->Columns()[static_cast<size_t>(i)].width);
    applyingWidths_ = false;
}

void TDBGrid::Invalidate() {
    model_->Refresh();
    viewport()->update();
}

// Puts the selection on the query's current row (the query moved, was reopened or changed state).
void TDBGrid::followQuery() {
    TQuery *query = DataSet();
    const int row = query && query->Active() ? query->CurrentIndex() : -1;
    const QModelIndex now = currentIndex();
    if (row < 0 || row >= model_->rowCount()) {
        if (now.isValid()) {
            following_ = true;
            selectionModel()->clear();
            following_ = false;
        }
        return;
    }
    if (now.isValid() && now.row() == row && selectionModel()->isRowSelected(row, QModelIndex()))
        return;
    int column = now.isValid() ? now.column() : lastColumn_;
    if (column < 0 || column >= ColumnCount())
        column = 0;
    following_ = true;
    // An editor still open belongs to the row left behind; its text was written when that row posted.
    if (editor_ && state() == QAbstractItemView::EditingState)
        closeEditor(editor_, QAbstractItemDelegate::NoHint);
    setCurrentIndex(model_->index(row, column));
    following_ = false;
}

void TDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        lastColumn_ = current.column();
    if (!following_ && current.isValid())
        moveQueryTo(current.row());
}

void TDBGrid::commitData(QWidget *editor) {
    // While following the query the editor's row is no longer the current one: nothing to write there.
    if (following_)
        return;
    QTableView::commitData(editor);
}

void TDBGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == editor_)
        editor_ = nullptr;
    QTableView::closeEditor(editor, hint);
}

// The query is about to post: the text of an open cell editor goes into its field first.
void TDBGrid::writeEditor() {
    if (editor_ && state() == QAbstractItemView::EditingState)
        QTableView::commitData(editor_);
}

void TDBGrid::moveQueryTo(int row) {
    TQuery *query = DataSet();
    if (!query || !query->Active() || row == query->CurrentIndex())
        return;
    int target = row;
    // An untouched new row disappears when it is left, so the rows after it move up by one.
    if (query->State() == TDataSetState::dsInsert && !query->Modified() && target > query->CurrentIndex())
        --target;
    try {
        query->SetRecNo(target + 1);
    } catch (...) {
        HandleException();
        // The row could not be left (its post failed): the selection goes back to it.
        QMetaObject::invokeMethod(this, &TDBGrid::followQuery, Qt::QueuedConnection);
    }
    followQuery();
}

void TDBGrid::deleteCurrentRow() {
    if (ctrlDeleteByOwner_) {
        emit ctrlDeletePressed();
        return;
    }
    TQuery *query = DataSet();
    if (!query || !query->Active() || query->IsEmpty() || !query->CanModify())
        return;
    if (confirmDelete_ && MessageDlg(QStringLiteral("Delete record?"), TMsgDlgType::mtConfirmation,
                                     TMsgDlgButtons::OKCancel) == TModalResult::mrCancel)
        return;
    try {
        query->Delete();
    } catch (...) {
        HandleException();
    }
}

void TDBGrid::appendRow() {
    TQuery *query = DataSet();
    if (!query || !query->Active() || !query->CanModify())
        return;
    // Already on an untouched new row at the end: stay there rather than add another.
    if (query->State() == TDataSetState::dsInsert && !query->Modified())
        return;
    try {
        query->Append();
    } catch (...) {
        HandleException();
    }
}

void TDBGrid::keyPressEvent(QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    TQuery *query = DataSet();
    if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        deleteCurrentRow();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down && mods == Qt::NoModifier && query && query->Active()) {
        const int count = query->RecordCount();
        if (count == 0 || query->CurrentIndex() == count - 1) {
            appendRow();
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier && query &&
        (query->State() == TDataSetState::dsEdit || query->State() == TDataSetState::dsInsert)) {
        try {
            query->Cancel();
        } catch (...) {
            HandleException();
        }
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent *event) {
    QTableView::mouseReleaseEvent(event);
    emit mouseReleased();
}
