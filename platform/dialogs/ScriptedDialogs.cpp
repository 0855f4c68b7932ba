#include "dialogs/ScriptedDialogs.h"

QStringList ScriptedDialogs::Texts(const QString &kind) const {
    QStringList out;
    for (const Shown &s : shown)
        if (s.kind == kind)
            out << s.text;
    return out;
}

void ScriptedDialogs::ShowMessage(const QString &text) {
    shown.push_back({QStringLiteral("message"), text});
}

void ScriptedDialogs::ShowError(const QString &text) {
    shown.push_back({QStringLiteral("error"), text});
}

TModalResult ScriptedDialogs::MessageDlg(const QString &text, TMsgDlgType, TMsgDlgButtons buttons) {
    shown.push_back({QStringLiteral("confirm"), text});
    if (!confirmAnswers.empty()) {
        TModalResult r = confirmAnswers.front();
        confirmAnswers.pop_front();
        return r;
    }
    return buttons == TMsgDlgButtons::OKCancel || buttons == TMsgDlgButtons::OK ? TModalResult::mrOK
                                                                                : TModalResult::mrYes;
}

bool ScriptedDialogs::InputQuery(const QString &caption, const QString &prompt, QString &value) {
    shown.push_back({QStringLiteral("input"), caption + QStringLiteral(" | ") + prompt});
    if (!inputAnswers.empty()) {
        std::optional<QString> a = inputAnswers.front();
        inputAnswers.pop_front();
        if (!a)
            return false;
        value = *a;
    }
    return true;
}

namespace {
QString nextFile(std::deque<QString> &answers) {
    if (answers.empty())
        return QString();
    QString a = answers.front();
    answers.pop_front();
    return a;
}
} // namespace

QString ScriptedDialogs::OpenFileName(const QString &caption, const QString &, const QString &) {
    shown.push_back({QStringLiteral("open"), caption});
    return nextFile(fileAnswers);
}

QString ScriptedDialogs::SaveFileName(const QString &caption, const QString &, const QString &) {
    shown.push_back({QStringLiteral("save"), caption});
    return nextFile(fileAnswers);
}

QString ScriptedDialogs::BrowseFolder(QWidget *, const QString &title) {
    shown.push_back({QStringLiteral("folder"), title});
    return nextFile(fileAnswers);
}
