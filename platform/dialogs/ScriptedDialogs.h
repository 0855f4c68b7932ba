#pragma once
// A dialog answerer for tests: records every box shown and answers from queues.
#include "dialogs/Dialogs.h"
#include <QStringList>
#include <deque>
#include <optional>

class ScriptedDialogs : public DialogAnswerer {
public:
    struct Shown {
        QString kind; // "message", "error", "confirm", "input", "open", "save", "folder"
        QString text; // the message, or caption + " | " + prompt for input
    };

    // Queued answers; an empty queue answers Yes/OK, keeps an input's preset, cancels file dialogs.
    std::deque<TModalResult> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers; // nullopt = Cancel
    std::deque<QString> fileAnswers;                 // open/save/folder; "" = Cancel

    std::vector<Shown> shown;

    // Texts of the boxes of one kind, in order.
    QStringList Texts(const QString &kind) const;
    QStringList Messages() const { return Texts("message"); }
    QStringList Errors() const { return Texts("error"); }
    void ClearShown() { shown.clear(); }

    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
    QString OpenFileName(const QString &caption, const QString &folder, const QString &filter) override;
    QString SaveFileName(const QString &caption, const QString &folder, const QString &filter) override;
    QString BrowseFolder(QWidget *owner, const QString &title) override;
};
