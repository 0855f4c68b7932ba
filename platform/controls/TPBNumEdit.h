#pragma once
// TPBNumEdit: a numeric edit for amounts. Right-aligned, shows its value in the standard number format
// of the user's locale with a fixed number of decimals (2 by default), e.g. 1,234.50. Typed text that is
// not a number counts as 0.
#include <QLineEdit>

class TPBNumEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TPBNumEdit(QWidget *parent = nullptr);

    void SetDecimals(int decimals);
    int Decimals() const { return decimals_; }

    // The value of the text as it stands (typed text included); non-numeric text gives 0.
    double Value() const;
    void SetValue(double value);

    // The text a value is shown as.
    QString Format(double value) const;

  signals:
    // The focus left the edit for another control; the text has been put back into number format.
    void exited();

  protected:
    void focusOutEvent(QFocusEvent *event) override;

  private:
    int decimals_ = 2;
};
