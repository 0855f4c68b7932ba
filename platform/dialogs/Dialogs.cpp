#include "dialogs/Dialogs.h"
#include "core/Exception.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// The real boxes, parented to the active window so they stay in front of it.
class QtDialogs : public DialogAnswerer {
public:
    void ShowMessage(const QString &text) override {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    void ShowError(const QString &text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title = QApplication::applicationName();
        switch (type) {
        case TMsgDlgType::mtWarning:
            icon = QMessageBox::Warning;
            title = QStringLiteral("Warning");
            break;
        case TMsgDlgType::mtError:
            icon = QMessageBox::Critical;
            title = QStringLiteral("Error");
            break;
        case TMsgDlgType::mtInformation:
            icon = QMessageBox::Information;
            title = QStringLiteral("Information");
            break;
        case TMsgDlgType::mtConfirmation:
            icon = QMessageBox::Question;
            title = QStringLiteral("Confirm");
            break;
        case TMsgDlgType::mtCustom:
            break;
        }
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        switch (buttons) {
        case TMsgDlgButtons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            break;
        case TMsgDlgButtons::OKCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case TMsgDlgButtons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case TMsgDlgButtons::OK:
            break;
        }
        QMessageBox box(icon, title, text, set, QApplication::activeWindow());
        switch (box.exec()) {
        case QMessageBox::Yes:
            return TModalResult::mrYes;
        case QMessageBox::No:
            return TModalResult::mrNo;
        case QMessageBox::Ok:
            return TModalResult::mrOK;
        case QMessageBox::Cancel:
            return TModalResult::mrCancel;
        default:
            // Closing the box with Escape or the close button counts as the negative answer.
            return buttons == TMsgDlgButtons::YesNo ? TModalResult::mrNo : TModalResult::mrCancel;
        }
    }
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override {
        bool ok = false;
        QString answer =
            QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = answer;
        return ok;
    }
    QString OpenFileName(const QString &caption, const QString &folder, const QString &filter) override {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
    }
    QString SaveFileName(const QString &caption, const QString &folder, const QString &filter) override {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, folder, filter);
    }
    QString BrowseFolder(QWidget *owner, const QString &title) override {
        return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
    }
};

QtDialogs qtDialogs;
DialogAnswerer *current = nullptr;

} // namespace

void SetDialogAnswerer(DialogAnswerer *answerer) {
    current = answerer;
}

DialogAnswerer &Dialogs() {
    return current ? *current : qtDialogs;
}

void ShowMessage(const QString &text) {
    Dialogs().ShowMessage(text);
}

TModalResult MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return Dialogs().MessageDlg(text, type, buttons);
}

QString InputBox(const QString &caption, const QString &prompt, const QString &preset) {
    QString value = preset;
    if (!Dialogs().InputQuery(caption, prompt, value))
        return preset;
    return value;
}

void HandleException() {
    try {
        throw;
    } catch (const Exception &e) {
        Dialogs().ShowError(e.Message());
    } catch (const std::bad_alloc &) {
        Dialogs().ShowError(QStringLiteral("Out of memory."));
    } catch (const std::exception &e) {
        Dialogs().ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Dialogs().ShowError(QStringLiteral("An unexpected error occurred."));
    }
}

void Guarded(const std::function<void()> &handler) {
    try {
        handler();
    } catch (...) {
        HandleException();
    }
}
