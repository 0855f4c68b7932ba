#pragma once
// The application object: whatever an event handler lets through is shown with its own text by the
// top-level error handler, and the program goes on.
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
