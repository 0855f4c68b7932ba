#pragma once
// TDBMemo: a multi-line text edit bound to a text field of a data source's current row. Typing puts the
// query in edit state; the text is written into the field when the query posts and when the memo loses
// the focus, and reaches the table when the row is posted.
#include <QPlainTextEdit>

class TDataSource;
class TField;
class TFieldDataLink;

class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TDBMemo(QWidget *parent = nullptr);

    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    void SetDataField(const QString &fieldName);
    QString DataField() const;
    TField *Field() const;

    bool Modified() const { return modified_; }
    // Writes typed text into the field now. Errors are thrown (the caller reports them).
    void UpdateRecord();

  signals:
    // The memo lost the focus to another control, after writing its text into the field.
    void exited();

  protected:
    void focusOutEvent(QFocusEvent *event) override;

  private:
    void load();
    void onRecordChanged();
    void onStateChanged();
    void onUpdateData();
    void onTextChanged();
    void refreshReadOnly();

    TFieldDataLink *link_;
    bool modified_ = false;
    bool keepText_ = false;
    bool loading_ = false;
};
