#pragma once
// TDBMemo: a multi-line text edit bound to a text field of a data source's current row. Typing puts the
// query in edit state; the text is written into the field when the query posts and when the memo loses
// the focus, and reaches the table when the row is posted. The binding itself is TFieldEditor's; this is
// the plain text edit's side of it.
#include "data/TFieldEditLink.h"
#include <QPlainTextEdit>

class TDBMemo : public QPlainTextEdit, public TFieldEditor {
    Q_OBJECT
  public:
    explicit TDBMemo(QWidget *parent = nullptr);

  signals:
    // The memo lost the focus to another control, after writing its text into the field.
    void exited();

  protected:
    void focusOutEvent(QFocusEvent *event) override;

  private:
    void onTextChanged();
};
