#pragma once
// TDBEdit: a one-line edit bound to a field of a data source's current row. It shows the field's text
// and follows the row; typing puts the query in edit state, and the typed text is written into the field
// when the query posts (its UpdateRecord notice) or when the edit loses the focus. The value reaches the
// table when the row is posted.
#include <QLineEdit>

class TDataSource;
class TField;
class TFieldDataLink;

class TDBEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TDBEdit(QWidget *parent = nullptr);

    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    void SetDataField(const QString &fieldName);
    QString DataField() const;
    // The bound field, or nullptr while the query is closed or lacks the column.
    TField *Field() const;

    // True while the edit holds typed text not yet written into the field.
    bool Modified() const { return modified_; }
    // True while the edit holds typed text whose writing into the field failed (its error was shown);
    // the text waits there for the user to correct it or to press Escape.
    bool WriteFailed() const { return modified_ && keepText_; }
    // Writes typed text into the field now. Errors are thrown (the caller reports them).
    void UpdateRecord();

  signals:
    // A mouse button was pressed and released inside the edit.
    void clicked();
    // The edit lost the focus to another control, after writing its text into the field.
    void exited();
    // The text changed: typed, or because the row changed to one with another value.
    void changed();

  protected:
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    void load();
    void onRowReset();
    void onRecordChanged();
    void onStateChanged();
    void onUpdateData();
    void onTextChanged();
    void refreshReadOnly();

    TFieldDataLink *link_;
    bool modified_ = false;
    // A write failed: keep the typed text on screen although the query went back to browsing.
    bool keepText_ = false;
    bool loading_ = false;
    bool pressed_ = false;
};
