#pragma once
// TDBEdit: a one-line edit bound to a field of a data source's current row. It shows the field's text
// and follows the row; typing puts the query in edit state, and the typed text is written into the field
// when the query posts (its UpdateRecord notice) or when the edit loses the focus. The value reaches the
// table when the row is posted. The binding itself is TFieldEditor's; this is the line edit's side of it.
#include "data/TFieldEditLink.h"
#include <QLineEdit>

class TDBEdit : public QLineEdit, public TFieldEditor {
    Q_OBJECT
  public:
    explicit TDBEdit(QWidget *parent = nullptr);

    // True while the edit holds typed text whose writing into the field failed (its error was shown);
    // the text waits there for the user to correct it or to press Escape.
    bool WriteFailed() const { return link_->WriteFailed(); }

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
    void onTextChanged();

    bool pressed_ = false;
};
