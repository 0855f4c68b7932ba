#pragma once
// TSpinEdit: a whole-number edit with up/down buttons, step 1, without bounds (the full int range, so
// negative counts are accepted). Tells its owner when the focus leaves it.
#include <QSpinBox>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
  public:
    explicit TSpinEdit(QWidget *parent = nullptr);

    int Value() const;
    void SetValue(int value);

  signals:
    // The focus left the edit for another control (the typed value is in Value()).
    void exited();

  protected:
    void focusOutEvent(QFocusEvent *event) override;
};
