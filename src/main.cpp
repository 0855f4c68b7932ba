// Program entry: the application, the hidden main window (its start timer runs the start-up), the
// About box, and the message loop.
#include "uAbout.h"
#include "uMain.h"

#include "dialogs/TApplication.h"

int main(int argc, char *argv[]) {
    TApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(true);
    TApplication::setApplicationName(QStringLiteral("Larderly"));
    TApplication::setApplicationDisplayName(QStringLiteral("Larderly"));

    Form1 = new TForm1();
    frmAbout = new TfrmAbout(Form1);
    const int rc = TApplication::exec();
    FreeProgram();
    return rc;
}
