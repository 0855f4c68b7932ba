#pragma once
// TFieldEditLink: the tie between a text control that edits a field and that field. It shows the field's
// text of the current row in the control and follows the row; it keeps track of text typed since, puts
// the query in edit state at the first change, writes the typed text into the field when the query posts
// (its UpdateRecord notice) or when the control is left, and keeps the control read-only while the row
// cannot be changed. The control says how its text is read and shown and how it is made read-only, and
// tells the link of changes to its text and of losing the focus.
#include "data/TFieldDataLink.h"
#include <functional>

class TFieldEditLink : public TFieldDataLink {
    Q_OBJECT
  public:
    // What the link needs of its control.
    struct Control {
        std::function<QString()> text;
        std::function<void(const QString &)> setText;
        std::function<void(bool)> setReadOnly;
    };

    TFieldEditLink(QObject *parent, Control control);

    // True while the control holds typed text not yet written into the field.
    bool Modified() const { return modified_; }
    // True while the control holds typed text whose writing into the field failed (its error was shown);
    // the text waits there for the user to correct it or to give it up.
    bool WriteFailed() const { return modified_ && keepText_; }
    // True while the link itself puts the field's text into the control (not a change by the user).
    bool Loading() const { return loading_; }

    // Shows the field's text of the current row; the typed text, if any, is dropped.
    void Load();
    // The user changed the control's text: it is marked modified and the query is put in edit state. When
    // that fails the field's text is shown again, the error is reported, and the answer is false.
    bool TextEdited();
    // Writes typed text into the field now. Errors are thrown (the caller reports them).
    void WriteTyped();
    // The control lost the focus for a reason: unless the reason is a popup or another window, the typed
    // text is written into the field. True when the control was left and the writing worked (errors are
    // reported here).
    bool Leave(Qt::FocusReason reason);

  private:
    void refreshReadOnly();
    void onRecordChanged();
    void onStateChanged();
    void onUpdateRecord();

    Control control_;
    bool modified_ = false;
    // A write failed: keep the typed text on screen although the query went back to browsing.
    bool keepText_ = false;
    bool loading_ = false;
};

// TFieldEditor: what every bound text editor offers its owner, answered by the editor's TFieldEditLink.
// An editor control derives from its widget class and from this, and creates its link for it.
class TFieldEditor {
  public:
    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    void SetDataField(const QString &fieldName);
    QString DataField() const;
    // The bound field, or nullptr while the query is closed or lacks the column.
    TField *Field() const;

    // True while the editor holds typed text not yet written into the field.
    bool Modified() const { return link_->Modified(); }
    // Writes typed text into the field now. Errors are thrown (the caller reports them).
    void UpdateRecord();

  protected:
    explicit TFieldEditor(TFieldEditLink *link) : link_(link) {}
    ~TFieldEditor() = default;

    TFieldEditLink *const link_;
};
