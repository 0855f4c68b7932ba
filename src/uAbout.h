#pragma once
// The About box: version, the product's web address and the picture credits. Made once at program
// entry and shown again each time.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *owner = nullptr);

    QLabel *lblVersion = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *mCredits = nullptr;
    QPushButton *OKButton = nullptr;

public slots:
    void FormCreate();
    void Label5Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern TfrmAbout *frmAbout;
