#pragma once
// TQuery: an SQL query over a database folder, with live (editable) results for a one-table select.
// The result of a select is read into memory when the query opens; edits, inserts and deletes are
// written to the table file by the row's ID, one atomic commit per post (or one transaction for a bulk
// pass, see TSession::RunBulk).
#include "engine/EDatabaseError.h"
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Connection;
class TQuery;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
enum class TFieldType { ftString, ftFloat, ftInteger };

// One stored value: null, a number or a text.
// A text read from the table stays as UTF-8 bytes in the result's own memory (kind Utf8) and is made a
// QString only when it is read (CellText); a text written through a field is a QString (kind Text).
// Large results open faster that way.
struct TCell {
    enum Kind : unsigned char { Null, Number, Text, Utf8 };
    Kind kind = Null;
    int len = 0; // Utf8: the number of bytes
    union {
        double num = 0;
        const char *utf8;
    };
    QString str;
};

// A column of the query's current row, reached by name (without regard to case) or by position.
class TField {
public:
    TField(TQuery *query, int index, QString name, TFieldType type, int size)
        : query_(query), index_(index), name_(std::move(name)), type_(type), size_(size) {}

    const QString &FieldName() const { return name_; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; } // char(n): n, else 0
    int Index() const { return index_; }

    bool IsNull() const;
    // Text of the value: numbers in their shortest general form (3, 2.5), null as empty text.
    QString AsString() const;
    // The value as a number; null, empty and non-numeric text give 0.
    double AsFloat() const;
    // The value as a whole number (rounded); null, empty and non-numeric text give 0.
    qint64 AsInteger() const;

    // Setters put the query in edit state when it is browsing. Text is cut to the column's width.
    void SetAsString(const QString &value);
    void SetAsFloat(double value);
    void SetAsInteger(qint64 value);
    void Clear();

private:
    TQuery *query_;
    int index_;
    QString name_;
    TFieldType type_;
    int size_;
};

class TQuery : public QObject {
    Q_OBJECT
public:
    explicit TQuery(QObject *owner = nullptr);
    ~TQuery() override;

    // The database folder ("database name"). Changing it closes the query.
    const QString &DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const QString &folder);

    // The SQL text as lines. Every change closes the query so the next Open runs the new text.
    const QStringList &SQL() const { return sql_; }
    void SQLClear();
    void SQLAdd(const QString &line);
    void SetSQL(const QString &text);
    QString SQLText() const { return sql_.join('\n'); }

    // Runs the select and reads its rows. Opening an open query does nothing.
    void Open();
    // Cancels a pending edit and drops the result.
    void Close();
    // Runs a statement that returns no rows.
    void ExecSQL();
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    // Runs the select again, staying on the same row (by ID) when it is still there.
    void Refresh();

    // Cursor. RecNo counts from 1; 0 when there is no row.
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int RecNo() const;
    void SetRecNo(int recNo);
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }
    // Moves to the row with this ID; false (and no move) when it is not in the result.
    bool LocateID(qint64 id);

    // Editing. Leaving a row (any move) posts it if modified, or cancels an untouched edit or insert.
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    TDataSetState State() const { return state_; }
    bool Modified() const { return modified_; }
    // Posts a modified edit or insert, cancels an untouched one; nothing in browse state.
    void CheckBrowseMode();

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField &Fields(int index) { return *fields_.at(index); }
    TField &FieldByName(const QString &name);
    TField *FindField(const QString &name);
    bool CanModify() const { return idColumn_ >= 0; }
    const QString &TableName() const { return table_; }

    // For bound controls: the values of any row of the result without moving the cursor. The current
    // row shows its pending edit.
    const TCell &CellAt(int row, int column) const;
    QString TextAt(int row, int column) const;
    int CurrentIndex() const { return cur_; } // -1 when empty

    // Used by TField.
    const TCell &CurrentCell(int column) const;
    void SetCurrentCell(int column, TCell value);

signals:
    // Open, close, refresh, insert, delete, re-sorting: bound controls re-read everything.
    void DataSetReset();
    // The current row moved.
    void Scrolled();
    // A value of the current row changed (pending edit, post, cancel).
    void RecordChanged();
    // State changed (browse/edit/insert/inactive).
    void StateChanged();
    // Sent before a post: bound editors write their pending text into the fields now.
    void UpdateRecord();

private:
    using Row = std::vector<TCell>;
    void requireActive(const char *what) const;
    void requireRow(const char *what) const;
    void requireLive(const char *what) const;
    void setState(TDataSetState s);
    void moveTo(int index);
    void readResult();
    void insertRow(int at);
    std::shared_ptr<Connection> connection();
    qint64 currentId() const;
    QString describe() const;

    QString databaseName_;
    QStringList sql_;
    TDataSetState state_ = TDataSetState::dsInactive;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<Row> rows_;
    Row editRow_;
    std::vector<bool> changed_;
    bool modified_ = false;
    int cur_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    QString table_;
    int idColumn_ = -1;
    std::shared_ptr<Connection> conn_;
    unsigned connGeneration_ = 0;
    std::vector<std::unique_ptr<TField>> retiredFields_;
    // The UTF-8 bytes of the texts of the current result, in large blocks.
    std::vector<std::unique_ptr<char[]>> text_;
};

// The shortest general decimal form with up to 15 significant digits (3, 2.5, 0.25).
QString FormatNumberText(double value);
// The text of a stored value: numbers in their shortest general form, null as empty text.
QString CellText(const TCell &cell);
// Reads decimal text; empty or non-numeric text gives 0 (ok set false).
double ParseNumberText(const QString &text, bool *ok = nullptr);
