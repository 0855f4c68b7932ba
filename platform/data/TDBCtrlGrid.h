#pragma once
// TDBCtrlGrid: a data source's rows as small panels, ColCount panels side by side, filled left to right
// and then line by line, RowCount lines of panels in view, a vertical scroll bar through the rest. Each
// panel shows a count edit bound to one field and a name label bound to another. The panel of the
// current row is drawn in the selection colour and carries the real edit and label (Edit(), Label()),
// which move with it; the other panels are drawn from the query's rows. Clicking a panel makes its row
// the current one (posting a pending edit of the row left behind).
#include <QAbstractScrollArea>
#include <QColor>

class TDataLink;
class TDataSource;
class TDBEdit;
class TDBText;
class TQuery;

class TDBCtrlGrid : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TDBCtrlGrid(QWidget *parent = nullptr);

    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    TQuery *DataSet() const;

    // The field of each panel's count edit and of its name label.
    void SetEditField(const QString &fieldName);
    void SetLabelField(const QString &fieldName);

    // Panels side by side (3 by default) and lines of panels in view (the size the grid asks for).
    void SetColCount(int count);
    int ColCount() const { return colCount_; }
    void SetRowCount(int count);
    int RowCount() const { return rowCount_; }
    void SetPanelSize(int width, int height);
    QSize PanelSize() const { return {panelWidth_, panelHeight_}; }
    // The colour of the current row's panel.
    void SetSelectedColor(const QColor &color);
    QColor SelectedColor() const { return selectedColor_; }

    // The real controls on the current row's panel; the owner names them and connects to them.
    TDBEdit *Edit() const { return edit_; }
    TDBText *Label() const { return label_; }

    // Where a row's panel, its count edit and its name label are, in viewport coordinates (they may lie
    // outside the visible area).
    QRect PanelRect(int row) const;
    QRect PanelEditRect(int row) const;
    QRect PanelLabelRect(int row) const;
    // The row whose panel is at a viewport point; -1 for none.
    int PanelAt(const QPoint &point) const;
    // The first line of panels in view.
    int TopLine() const;
    // Lines of panels that fit in the view.
    int VisibleLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

  private:
    enum class Part { None, Edit, Label };

    int rowCountOfQuery() const;
    int currentRow() const;
    Part partAt(int row, const QPoint &point) const;
    void relayout();
    void onScrolled();
    void updateScrollRange();
    void ensureCurrentVisible();
    void placeControls();
    void moveToRow(int row);

    TDataLink *link_;
    TDBEdit *edit_;
    TDBText *label_;
    int colCount_ = 3;
    int rowCount_ = 21;
    int panelWidth_ = 150;
    int panelHeight_ = 19;
    QColor selectedColor_{0xd4, 0xe5, 0xfa};
    int pressedRow_ = -1;
    Part pressedPart_ = Part::None;
    int hoverRow_ = -1;
};
