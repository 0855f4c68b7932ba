#pragma once
// Small pieces of the program's look shared by its windows: the clickable picture, the rounded search
// box with its magnifier, and the flat button.
#include <QLabel>
#include <QSize>

class QFrame;
class QHBoxLayout;
class QPushButton;
class QLineEdit;
class QToolButton;

// A picture that acts as a button: hand cursor, hint on hover, emits clicked().
class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The search box of a top bar: a borderless edit `Search` (initial text "Search") inside a rounded frame,
// the magnifier `btnSearch` at its right end. `eventFilter` receives the edit's events.
QFrame *MakeSearchBox(QWidget *parent, QObject *eventFilter, QLineEdit *&search, TImage *&button, QSize size);

// A flat button with a caption and a hint.
QToolButton *MakeFlatButton(QWidget *parent, const QString &name, const QString &caption, const QString &hint);

// The right-aligned "OK" (default) and "Cancel" buttons of a small dialog, named OKBtn and CancelBtn.
QHBoxLayout *MakeOkCancelRow(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel);
