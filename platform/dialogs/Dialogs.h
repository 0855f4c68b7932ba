#pragma once
// The one seam for every box the user answers: messages, confirmations, the text prompt, file dialogs
// and the folder picker. The program calls the free functions below; the default answerer shows Qt
// dialogs, tests install a ScriptedDialogs that records every text and returns queued answers.
#include <QString>
#include <functional>

class QWidget;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
// Button sets of a confirmation.
enum class TMsgDlgButtons { YesNo, OKCancel, YesNoCancel, OK };
enum class TModalResult { mrNone, mrOK, mrCancel, mrYes, mrNo };

class DialogAnswerer {
public:
    virtual ~DialogAnswerer() = default;
    // A plain message box with an OK button.
    virtual void ShowMessage(const QString &text) = 0;
    // The top-level error handler's box: the error's own text.
    virtual void ShowError(const QString &text) = 0;
    // A confirmation; returns the button pressed.
    virtual TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // The text prompt with a preset: returns false when cancelled (value then unchanged).
    virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value) = 0;
    // File dialogs and the folder picker; an empty text when cancelled.
    virtual QString OpenFileName(const QString &caption, const QString &folder, const QString &filter) = 0;
    virtual QString SaveFileName(const QString &caption, const QString &folder, const QString &filter) = 0;
    virtual QString BrowseFolder(QWidget *owner, const QString &title) = 0;
};

// Installs an answerer (tests); nullptr restores the Qt dialogs. The caller keeps ownership.
void SetDialogAnswerer(DialogAnswerer *answerer);
DialogAnswerer &Dialogs();

// Short forms used by the program.
void ShowMessage(const QString &text);
TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons);
// InputBox: the answer, or the preset when cancelled.
QString InputBox(const QString &caption, const QString &prompt, const QString &preset);

// The top-level error handler: shows the current exception's own text. Call from a catch block.
void HandleException();
// Runs an event handler; whatever it throws is shown by the top-level handler and the program goes on.
void Guarded(const std::function<void()> &handler);
