#pragma once
// TDBGrid: a table grid over a data source's query. A title row, a row marker column (current row, row
// being edited, new row), resizable columns and column lines. The selected row is the query's current
// row in both directions. Editable cells are edited in place; the value is set into the row's field and
// reaches the table when the row is posted (on leaving the row, or by the owner's Post). Ctrl+Delete
// deletes the current row after a confirmation; Down on the last row appends a new row, and a new row
// left untouched is dropped again when the cursor leaves it.
#include "data/TQueryModel.h"
#include <QPointer>
#include <QTableView>

class TDataLink;
class TDataSource;
class TQuery;

class TDBGrid : public QTableView {
    Q_OBJECT
  public:
    explicit TDBGrid(QWidget *parent = nullptr);

    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    TQuery *DataSet() const;

    // Adds a column showing a field; read-only columns cannot be edited in place.
    void AddColumn(const QString &fieldName, const QString &title, int width, bool readOnly = false,
                   bool titleCentered = false);
    int ColumnCount() const { return static_cast<int>(model_->Columns().size()); }
    // The current width of a column (follows the user's resizing).
    int ColumnWidth(int column) const;

    // Ctrl+Delete asks "Delete record?" before deleting (on by default).
    void SetConfirmDelete(bool on) { confirmDelete_ = on; }
    bool ConfirmDelete() const { return confirmDelete_; }
    // When set, Ctrl+Delete deletes nothing by itself and emits ctrlDeletePressed() for the owner.
    void SetCtrlDeleteHandledByOwner(bool on) { ctrlDeleteByOwner_ = on; }
    bool CtrlDeleteHandledByOwner() const { return ctrlDeleteByOwner_; }

    // What the row marker of a row shows.
    TRowIndicator RowIndicator(int row) const { return model_->Indicator(row); }
    TQueryModel *QueryModel() const { return model_; }

    // Re-reads and repaints every row.
    void Invalidate();

  signals:
    // A mouse button was released over the grid (after the click moved the current row).
    void mouseReleased();
    // Ctrl+Delete was pressed while the owner handles it (see SetCtrlDeleteHandledByOwner).
    void ctrlDeletePressed();

  protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void rebind();
    void followQuery();
    void applyColumnWidths();
    void moveQueryTo(int row);
    void deleteCurrentRow();
    void appendRow();
    void writeEditor();

    TDataLink *link_;
    TQueryModel *model_;
    bool confirmDelete_ = true;
    bool ctrlDeleteByOwner_ = false;
    // Set while the grid moves its own selection to follow the query (not a user's move).
    bool following_ = false;
    bool applyingWidths_ = false;
    // The column the cursor was last in, kept when the query is reopened.
    int lastColumn_ = 0;
    // The open in-place editor, if any.
    QPointer<QWidget> editor_;
};
