#include "engine/TQuery.h"
#include "engine/Connection.h"
#include "engine/Session.h"

#include <QDir>
#include <QRegularExpression>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

// ---------------------------------------------------------------------------------------------
// Number text

QString FormatNumberText(double value) {
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'g', 15);
}

double ParseNumberText(const QString &text, bool *ok) {
    const QString t = text.trimmed();
    bool good = false;
    double v = t.isEmpty() ? 0 : t.toDouble(&good);
    if (!good || std::isnan(v) || std::isinf(v))
        v = 0, good = false;
    if (ok)
        *ok = good;
    return v;
}

QString CellText(const TCell &c) {
    switch (c.kind) {
    case TCell::Null:
        return QString();
    case TCell::Number:
        return FormatNumberText(c.num);
    case TCell::Text:
        return c.str;
    case TCell::Utf8:
        return QString::fromUtf8(c.utf8, c.len);
    }
    return QString();
}

namespace {

const TCell &nullCell() {
    static const TCell c;
    return c;
}

// The single table of a plain select: "select ... from <table>" with no join or second table.
QString liveTableOf(const QString &sql) {
    static const QRegularExpression re(
        QString::fromLatin1(R"re(^\s*select\b.*?\bfrom\s+"?([A-Za-z_][A-Za-z0-9_]*)"?\s*(.*)$)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    auto m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    const QString rest = m.captured(2).trimmed();
    static const QRegularExpression more(QString::fromLatin1(R"re(^(,|join\b|inner\b|left\b|cross\b|natural\b))re"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (more.match(rest).hasMatch())
        return QString();
    return m.captured(1);
}

// Appends a quoted identifier, or a parameter number, straight into a statement being built: posting
// builds its statement text for every row of a bulk pass, so no temporaries are made.
void appendIdent(QString &sql, const QString &name) {
    sql += QLatin1Char('"');
    if (name.contains(QLatin1Char('"')))
        sql += QString(name).replace(QLatin1Char('"'), QLatin1String("\"\""));
    else
        sql += name;
    sql += QLatin1Char('"');
}

void appendParam(QString &sql, size_t number) {
    sql += QLatin1Char('?');
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (n > 0)
        sql += QLatin1Char(digits[--n]);
}

void bindCell(sqlite3_stmt *st, int index, const TCell &c) {
    switch (c.kind) {
    case TCell::Null:
        sqlite3_bind_null(st, index);
        break;
    case TCell::Number:
        if (c.num == std::floor(c.num) && std::fabs(c.num) < 9e15)
            sqlite3_bind_int64(st, index, static_cast<sqlite3_int64>(c.num));
        else
            sqlite3_bind_double(st, index, c.num);
        break;
    case TCell::Text: {
        QByteArray u = c.str.toUtf8();
        sqlite3_bind_text(st, index, u.constData(), u.size(), SQLITE_TRANSIENT);
        break;
    }
    case TCell::Utf8:
        sqlite3_bind_text(st, index, c.utf8, c.len, SQLITE_TRANSIENT);
        break;
    }
}

// Keeps the bytes of a result's texts in a few large blocks instead of one allocation per text.
class TextStore {
public:
    explicit TextStore(std::vector<std::unique_ptr<char[]>> &blocks) : blocks_(blocks) {}
    const char *Add(const char *bytes, int len) {
        if (len > kBlock / 4) { // a long text gets a block of its own
            blocks_.push_back(std::make_unique<char[]>(static_cast<size_t>(len)));
            std::memcpy(blocks_.back().get(), bytes, static_cast<size_t>(len));
            return blocks_.back().get();
        }
        if (free_ < len) {
            blocks_.push_back(std::make_unique<char[]>(kBlock));
            next_ = blocks_.back().get();
            free_ = kBlock;
        }
        char *at = next_;
        std::memcpy(at, bytes, static_cast<size_t>(len));
        next_ += len;
        free_ -= len;
        return at;
    }

private:
    static constexpr int kBlock = 64 * 1024 - 64;
    std::vector<std::unique_ptr<char[]>> &blocks_;
    char *next_ = nullptr;
    int free_ = 0;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TField

bool TField::IsNull() const {
    const TCell &c = query_->CurrentCell(index_);
    return c.kind == TCell::Null || (c.kind == TCell::Text && c.str.isEmpty()) || (c.kind == TCell::Utf8 && c.len == 0);
}

QString TField::AsString() const {
    return CellText(query_->CurrentCell(index_));
}

double TField::AsFloat() const {
    const TCell &c = query_->CurrentCell(index_);
    switch (c.kind) {
    case TCell::Null:
        return 0;
    case TCell::Number:
        return c.num;
    case TCell::Text:
    case TCell::Utf8:
        return ParseNumberText(CellText(c));
    }
    return 0;
}

qint64 TField::AsInteger() const {
    return static_cast<qint64>(std::llround(AsFloat()));
}

void TField::SetAsString(const QString &value) {
    TCell c;
    if (type_ == TFieldType::ftString) {
        c.kind = TCell::Text;
        // Empty text stays text, so a statement comparing with '' finds it (an empty password).
        c.str = size_ > 0 ? value.left(size_) : value;
    } else if (value.trimmed().isEmpty()) {
        c.kind = TCell::Null;
    } else {
        bool ok = false;
        double v = ParseNumberText(value, &ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid number for field '%2'.").arg(value, name_));
        c.kind = TCell::Number;
        c.num = type_ == TFieldType::ftInteger ? std::round(v) : v;
    }
    query_->SetCurrentCell(index_, std::move(c));
}

void TField::SetAsFloat(double value) {
    if (type_ == TFieldType::ftString) {
        SetAsString(FormatNumberText(value));
        return;
    }
    TCell c;
    c.kind = TCell::Number;
    c.num = type_ == TFieldType::ftInteger ? std::round(value) : value;
    query_->SetCurrentCell(index_, std::move(c));
}

void TField::SetAsInteger(qint64 value) {
    SetAsFloat(static_cast<double>(value));
}

void TField::Clear() {
    query_->SetCurrentCell(index_, TCell{});
}

// ---------------------------------------------------------------------------------------------
// TQuery

TQuery::TQuery(QObject *owner) : QObject(owner) {}

TQuery::~TQuery() = default;

QString TQuery::describe() const {
    if (!table_.isEmpty())
        return QStringLiteral("table %1 in %2").arg(table_, QDir::toNativeSeparators(databaseName_));
    return QStringLiteral("query on %1").arg(QDir::toNativeSeparators(databaseName_));
}

void TQuery::requireActive(const char *what) const {
    if (state_ == TDataSetState::dsInactive)
        throw EDatabaseError(QStringLiteral("Cannot %1: the query is closed (%2).")
                                 .arg(QLatin1String(what), describe()));
}

void TQuery::requireRow(const char *what) const {
    requireActive(what);
    if (cur_ < 0)
        throw EDatabaseError(QStringLiteral("Cannot %1 on an empty data set (%2).")
                                 .arg(QLatin1String(what), describe()));
}

void TQuery::requireLive(const char *what) const {
    requireActive(what);
    if (idColumn_ < 0)
        throw EDatabaseError(QStringLiteral("Cannot %1: the result is read-only (%2).")
                                 .arg(QLatin1String(what), describe()));
}

std::shared_ptr<Connection> TQuery::connection() {
    if (!conn_ || connGeneration_ != Session.Generation()) {
        conn_ = Session.ConnectionFor(databaseName_);
        connGeneration_ = Session.Generation();
    }
    return conn_;
}

void TQuery::setState(TDataSetState s) {
    if (state_ == s)
        return;
    state_ = s;
    emit StateChanged();
}

void TQuery::SetDatabaseName(const QString &folder) {
    if (folder == databaseName_)
        return;
    Close();
    databaseName_ = folder;
    conn_.reset();
}

void TQuery::SQLClear() {
    Close();
    sql_.clear();
}

void TQuery::SQLAdd(const QString &line) {
    Close();
    sql_.append(line);
}

void TQuery::SetSQL(const QString &text) {
    Close();
    sql_ = text.split(QLatin1Char('\n'));
}

void TQuery::readResult() {
    auto conn = connection();
    const QString sql = SQLText();
    sqlite3_stmt *st = conn->Prepare(sql);
    const int ncol = sqlite3_column_count(st);
    if (ncol == 0) {
        conn->Release(st);
        throw EDatabaseError(QStringLiteral("The statement returns no rows to open; run it with ExecSQL instead.\nStatement: %1").arg(sql.simplified()));
    }
    // Column types and widths come from the table as created.
    table_ = liveTableOf(sql);
    const std::vector<ColumnInfo> *tableCols = nullptr;
    if (!table_.isEmpty()) {
        try {
            tableCols = &conn->Columns(table_);
        } catch (const EDatabaseError &) {
            conn->Release(st);
            throw;
        }
    }
    std::vector<std::unique_ptr<TField>> fields;
    idColumn_ = -1;
    for (int i = 0; i < ncol; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(st, i));
        TFieldType type = TFieldType::ftString;
        int width = 0;
        const ColumnInfo *info = nullptr;
        if (tableCols)
            for (const ColumnInfo &c : *tableCols)
                if (c.name.compare(name, Qt::CaseInsensitive) == 0) {
                    info = &c;
                    break;
                }
        if (info) {
            width = info->width;
            type = info->isInteger ? TFieldType::ftInteger : info->isFloat ? TFieldType::ftFloat : TFieldType::ftString;
        } else {
            const char *decl = sqlite3_column_decltype(st, i);
            QString d = decl ? QString::fromUtf8(decl).toUpper() : QString();
            if (d.contains(QLatin1String("INT")))
                type = TFieldType::ftInteger;
            else if (d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("REAL")) ||
                     d.contains(QLatin1String("DOUB")))
                type = TFieldType::ftFloat;
        }
        if (info && idColumn_ < 0 && name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            idColumn_ = i;
        fields.push_back(std::make_unique<TField>(this, i, name, type, width));
    }
    std::vector<Row> rows;
    std::vector<std::unique_ptr<char[]>> textBlocks;
    TextStore texts(textBlocks);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        Row row(static_cast<size_t>(ncol));
        for (int i = 0; i < ncol; ++i) {
            TCell &c = row[static_cast<size_t>(i)];
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER:
                c.kind = TCell::Number;
                c.num = static_cast<double>(sqlite3_column_int64(st, i));
                break;
            case SQLITE_FLOAT:
                c.kind = TCell::Number;
                c.num = sqlite3_column_double(st, i);
                break;
            case SQLITE_NULL:
                break;
            default: {
                const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
                c.len = sqlite3_column_bytes(st, i);
                c.kind = TCell::Utf8;
                c.utf8 = texts.Add(t, c.len);
                break;
            }
            }
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(st);
        conn->Fail(QStringLiteral("Cannot read %1").arg(table_.isEmpty() ? QStringLiteral("the query") : table_), rc, sql);
    }
    conn->Release(st);

    // Keep field objects alive for anyone who still points at them.
    bool sameShape = fields.size() == fields_.size();
    for (size_t i = 0; sameShape && i < fields.size(); ++i)
        sameShape = fields[i]->FieldName() == fields_[i]->FieldName() && fields[i]->DataType() == fields_[i]->DataType() &&
                    fields[i]->Size() == fields_[i]->Size();
    if (!sameShape) {
        for (auto &f : fields_)
            retiredFields_.push_back(std::move(f));
        fields_ = std::move(fields);
    }
    rows_ = std::move(rows);
    text_ = std::move(textBlocks);
}

void TQuery::Open() {
    if (state_ != TDataSetState::dsInactive)
        return;
    readResult();
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    modified_ = false;
    setState(TDataSetState::dsBrowse);
    emit DataSetReset();
}

void TQuery::Close() {
    if (state_ == TDataSetState::dsInactive)
        return;
    rows_.clear();
    editRow_.clear();
    text_.clear();
    modified_ = false;
    cur_ = -1;
    eof_ = bof_ = true;
    setState(TDataSetState::dsInactive);
    emit DataSetReset();
}

void TQuery::ExecSQL() {
    auto conn = connection();
    conn->Exec(SQLText());
}

qint64 TQuery::currentId() const {
    if (cur_ < 0 || idColumn_ < 0)
        return -1;
    const TCell &c = rows_[static_cast<size_t>(cur_)][static_cast<size_t>(idColumn_)];
    return c.kind == TCell::Number ? static_cast<qint64>(c.num) : -1;
}

void TQuery::Refresh() {
    requireActive("refresh");
    CheckBrowseMode();
    const qint64 id = currentId();
    const int oldIndex = cur_;
    readResult();
    cur_ = -1;
    if (id >= 0 && idColumn_ >= 0) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            const TCell &c = rows_[i][static_cast<size_t>(idColumn_)];
            if (c.kind == TCell::Number && static_cast<qint64>(c.num) == id) {
                cur_ = static_cast<int>(i);
                break;
            }
        }
    }
    if (cur_ < 0 && !rows_.empty())
        cur_ = std::clamp(oldIndex, 0, static_cast<int>(rows_.size()) - 1);
    eof_ = rows_.empty();
    bof_ = rows_.empty() || cur_ == 0;
    emit DataSetReset();
}

// ----- cursor

void TQuery::moveTo(int index) {
    requireActive("move");
    CheckBrowseMode();
    const int n = static_cast<int>(rows_.size());
    if (n == 0) {
        cur_ = -1;
        eof_ = bof_ = true;
        emit Scrolled();
        return;
    }
    index = std::clamp(index, 0, n - 1);
    const bool moved = index != cur_;
    cur_ = index;
    if (moved)
        emit Scrolled();
}

void TQuery::First() {
    moveTo(0);
    bof_ = true;
    eof_ = rows_.empty();
}

void TQuery::Last() {
    moveTo(static_cast<int>(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void TQuery::Next() {
    requireActive("move");
    CheckBrowseMode();
    if (cur_ + 1 < static_cast<int>(rows_.size())) {
        ++cur_;
        eof_ = false;
        bof_ = false;
        emit Scrolled();
    } else {
        eof_ = true;
    }
}

void TQuery::Prior() {
    requireActive("move");
    CheckBrowseMode();
    if (cur_ > 0) {
        --cur_;
        bof_ = false;
        eof_ = false;
        emit Scrolled();
    } else {
        bof_ = true;
    }
}

void TQuery::MoveBy(int distance) {
    if (distance == 0)
        return;
    // Moving past either end stops on the last or first row and sets Eof or Bof, as Next and Prior do.
    const int target = cur_ + distance;
    moveTo(target);
    eof_ = rows_.empty() || target >= static_cast<int>(rows_.size());
    bof_ = rows_.empty() || target < 0;
}

int TQuery::RecNo() const {
    return cur_ + 1;
}

void TQuery::SetRecNo(int recNo) {
    moveTo(recNo - 1);
    eof_ = rows_.empty();
    bof_ = cur_ <= 0;
}

int TQuery::RecordCount() const {
    return state_ == TDataSetState::dsInactive ? 0 : static_cast<int>(rows_.size());
}

bool TQuery::LocateID(qint64 id) {
    requireActive("locate");
    if (idColumn_ < 0)
        return false;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const TCell &c = rows_[i][static_cast<size_t>(idColumn_)];
        if (c.kind == TCell::Number && static_cast<qint64>(c.num) == id) {
            moveTo(static_cast<int>(i));
            eof_ = false;
            return true;
        }
    }
    return false;
}

// ----- editing

void TQuery::Edit() {
    requireLive("edit");
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
        return;
    requireRow("edit");
    editRow_ = rows_[static_cast<size_t>(cur_)];
    changed_.assign(fields_.size(), false);
    modified_ = false;
    setState(TDataSetState::dsEdit);
}

void TQuery::insertRow(int at) {
    requireLive("insert");
    CheckBrowseMode();
    Row blank(fields_.size());
    at = std::clamp(at, 0, static_cast<int>(rows_.size()));
    rows_.insert(rows_.begin() + at, blank);
    cur_ = at;
    eof_ = bof_ = false;
    editRow_ = blank;
    changed_.assign(fields_.size(), false);
    modified_ = false;
    setState(TDataSetState::dsInsert);
    emit DataSetReset();
}

void TQuery::Insert() {
    insertRow(cur_ < 0 ? 0 : cur_);
}

void TQuery::Append() {
    insertRow(static_cast<int>(rows_.size()));
}

void TQuery::CheckBrowseMode() {
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) {
        emit UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void TQuery::Post() {
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) {
        requireActive("post");
        return; // nothing pending
    }
    emit UpdateRecord();
    auto conn = connection();
    if (state_ == TDataSetState::dsEdit) {
        if (modified_) {
            // The statement text is built by appending (no arg() passes): a bulk pass posts every row,
            // and the text is what finds the prepared statement in the connection's cache.
            QString sql;
            sql.reserve(128);
            sql += QLatin1String("UPDATE ");
            appendIdent(sql, table_);
            sql += QLatin1String(" SET ");
            std::vector<int> cols;
            for (size_t i = 0; i < changed_.size(); ++i)
                if (changed_[i] && static_cast<int>(i) != idColumn_) {
                    cols.push_back(static_cast<int>(i));
                    if (cols.size() > 1)
                        sql += QLatin1Char(',');
                    appendIdent(sql, fields_[i]->FieldName());
                    sql += QLatin1Char('=');
                    appendParam(sql, cols.size());
                }
            if (!cols.empty()) {
                sql += QLatin1String(" WHERE ");
                appendIdent(sql, fields_[static_cast<size_t>(idColumn_)]->FieldName());
                sql += QLatin1Char('=');
                appendParam(sql, cols.size() + 1);
                sqlite3_stmt *st = conn->Prepare(sql);
                for (size_t k = 0; k < cols.size(); ++k)
                    bindCell(st, static_cast<int>(k + 1), editRow_[static_cast<size_t>(cols[k])]);
                bindCell(st, static_cast<int>(cols.size() + 1), rows_[static_cast<size_t>(cur_)][static_cast<size_t>(idColumn_)]);
                int rc = sqlite3_step(st);
                if (rc != SQLITE_DONE) {
                    sqlite3_reset(st);
                    conn->Fail(QStringLiteral("Cannot save the row of %1").arg(describe()), rc);
                }
                const int changes = sqlite3_changes(conn->Handle());
                conn->Release(st);
                if (changes == 0)
                    throw EDatabaseError(QStringLiteral("The row was deleted by another user (%1, ID %2); refresh to see the current rows.")
                                             .arg(describe())
                                             .arg(currentId()));
            }
            // The edited row becomes the stored row; the old one is left in editRow_, which nothing
            // reads outside edit state and the next Edit overwrites (reusing its storage).
            rows_[static_cast<size_t>(cur_)].swap(editRow_);
        }
    } else {
        QString sql;
        sql.reserve(256);
        sql += QLatin1String("INSERT INTO ");
        appendIdent(sql, table_);
        std::vector<int> cols;
        for (size_t i = 0; i < changed_.size(); ++i)
            if (changed_[i]) {
                cols.push_back(static_cast<int>(i));
                sql += cols.size() == 1 ? QLatin1String(" (") : QLatin1String(",");
                appendIdent(sql, fields_[i]->FieldName());
            }
        if (cols.empty()) {
            sql += QLatin1String(" DEFAULT VALUES");
        } else {
            sql += QLatin1String(") VALUES (");
            for (size_t k = 1; k <= cols.size(); ++k) {
                if (k > 1)
                    sql += QLatin1Char(',');
                appendParam(sql, k);
            }
            sql += QLatin1Char(')');
        }
        sqlite3_stmt *st = conn->Prepare(sql);
        for (size_t k = 0; k < cols.size(); ++k)
            bindCell(st, static_cast<int>(k + 1), editRow_[static_cast<size_t>(cols[k])]);
        int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE) {
            sqlite3_reset(st);
            conn->Fail(QStringLiteral("Cannot add the row to %1").arg(describe()), rc);
        }
        conn->Release(st);
        TCell id;
        id.kind = TCell::Number;
        id.num = static_cast<double>(sqlite3_last_insert_rowid(conn->Handle()));
        editRow_[static_cast<size_t>(idColumn_)] = id;
        rows_[static_cast<size_t>(cur_)].swap(editRow_);
    }
    modified_ = false;
    setState(TDataSetState::dsBrowse);
    emit RecordChanged();
}

void TQuery::Cancel() {
    if (state_ == TDataSetState::dsInsert) {
        rows_.erase(rows_.begin() + cur_);
        if (cur_ >= static_cast<int>(rows_.size()))
            cur_ = static_cast<int>(rows_.size()) - 1;
        eof_ = rows_.empty();
        modified_ = false;
        setState(TDataSetState::dsBrowse);
        emit DataSetReset();
    } else if (state_ == TDataSetState::dsEdit) {
        modified_ = false;
        setState(TDataSetState::dsBrowse);
        emit RecordChanged();
    }
}

void TQuery::Delete() {
    requireLive("delete");
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (state_ == TDataSetState::dsEdit)
        Cancel();
    requireRow("delete");
    auto conn = connection();
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2=?1")
                            .arg(QuoteIdent(table_), QuoteIdent(fields_[static_cast<size_t>(idColumn_)]->FieldName()));
    sqlite3_stmt *st = conn->Prepare(sql);
    bindCell(st, 1, rows_[static_cast<size_t>(cur_)][static_cast<size_t>(idColumn_)]);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE) {
        sqlite3_reset(st);
        conn->Fail(QStringLiteral("Cannot delete the row of %1").arg(describe()), rc);
    }
    conn->Release(st);
    rows_.erase(rows_.begin() + cur_);
    if (cur_ >= static_cast<int>(rows_.size()))
        cur_ = static_cast<int>(rows_.size()) - 1;
    eof_ = rows_.empty();
    emit DataSetReset();
}

// ----- fields

TField *TQuery::FindField(const QString &name) {
    for (auto &f : fields_)
        if (f->FieldName() == name)
            return f.get();
    for (auto &f : fields_)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField &TQuery::FieldByName(const QString &name) {
    if (TField *f = FindField(name))
        return *f;
    throw EDatabaseError(QStringLiteral("Field '%1' not found (%2).").arg(name, describe()));
}

const TCell &TQuery::CellAt(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= static_cast<int>(fields_.size()))
        return nullCell();
    const TCell &cell = row == cur_ && (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
                            ? editRow_[static_cast<size_t>(column)]
                            : rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
    return cell;
}

QString TQuery::TextAt(int row, int column) const {
    return CellText(CellAt(row, column));
}

const TCell &TQuery::CurrentCell(int column) const {
    return CellAt(cur_, column);
}

void TQuery::SetCurrentCell(int column, TCell value) {
    requireLive("change a field");
    if (state_ == TDataSetState::dsBrowse)
        Edit();
    editRow_[static_cast<size_t>(column)] = std::move(value);
    changed_[static_cast<size_t>(column)] = true;
    modified_ = true;
    emit RecordChanged();
}
