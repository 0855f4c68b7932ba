#include "data/TQueryModel.h"
#include "dialogs/Dialogs.h"
#include "engine/TQuery.h"
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The row markers, drawn once: a triangle on the current row, an I-beam while it is edited, a star
// while it is a new row.
QIcon markerIcon(TRowIndicator kind) {
    static QIcon icons[4];
    QIcon &icon = icons[static_cast<int>(kind)];
    if (!icon.isNull() || kind == TRowIndicator::None)
        return icon;
    const int size = 10;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x3d, 0x4a, 0x57);
    // Lines one after the other, each drawn on its own.
    const auto strokes = [&p, &ink](qreal width, std::initializer_list<QLineF> lines) {
        p.setPen(QPen(ink, width));
        for (const QLineF &line : lines)
            p.drawLine(line);
    };
    switch (kind) {
    case TRowIndicator::Current: {
        QPainterPath path;
        path.moveTo(2.5, 1);
        path.lineTo(8.5, 5);
        path.lineTo(2.5, 9);
        path.closeSubpath();
        p.fillPath(path, ink);
        break;
    }
    case TRowIndicator::Editing:
        strokes(1.2, {{5, 1, 5, 9}, {3, 1, 7, 1}, {3, 9, 7, 9}});
        break;
    case TRowIndicator::Inserting:
        strokes(1.3, {{5, 1.5, 5, 8.5}, {2, 3.3, 8, 6.7}, {2, 6.7, 8, 3.3}});
        break;
    case TRowIndicator::None:
        break;
    }
    p.end();
    icon = QIcon(pixmap);
    return icon;
}

} // namespace

TQueryModel::TQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void TQueryModel::SetQuery(TQuery *query) {
    beginResetModel();
    for (const auto &link : links_)
        disconnect(link);
    links_.clear();
    query_ = query;
    if (query) {
        links_ << connect(query, &TQuery::DataSetReset, this, &TQueryModel::onReset)
               << connect(query, &TQuery::Scrolled, this, &TQueryModel::onScrolled)
               << connect(query, &TQuery::RecordChanged, this, &TQueryModel::onRecordChanged)
               << connect(query, &TQuery::StateChanged, this, &TQueryModel::onStateChanged)
               << connect(query, &QObject::destroyed, this, [this]() { SetQuery(nullptr); });
    }
    resolveFields();
    rows_ = queryRows();
    lastCurrent_ = query_ ? query_->CurrentIndex() : -1;
    endResetModel();
    emit Synced();
}

void TQueryModel::AddColumn(const TDBColumn &column) {
    beginResetModel();
    columns_.push_back(column);
    resolveFields();
    endResetModel();
}

void TQueryModel::resolveFields() {
    fieldIndex_.assign(columns_.size(), -1);
    if (!query_ || !query_->Active())
        return;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (TField *field = query_->FindField(columns_[i].fieldName))
            fieldIndex_[i] = field->Index();
}

int TQueryModel::FieldIndex(int column) const {
    if (column < 0 || column >= static_cast<int>(fieldIndex_.size()))
        return -1;
    return fieldIndex_[column];
}

int TQueryModel::queryRows() const {
    return query_ && query_->Active() ? query_->RecordCount() : 0;
}

TRowIndicator TQueryModel::Indicator(int row) const {
    if (!query_ || !query_->Active() || row != query_->CurrentIndex() || row < 0)
        return TRowIndicator::None;
    switch (query_->State()) {
    case TDataSetState::dsEdit:
        return TRowIndicator::Editing;
    case TDataSetState::dsInsert:
        return TRowIndicator::Inserting;
    default:
        return TRowIndicator::Current;
    }
}

void TQueryModel::Refresh() {
    beginResetModel();
    resolveFields();
    rows_ = queryRows();
    lastCurrent_ = query_ ? query_->CurrentIndex() : -1;
    endResetModel();
}

void TQueryModel::onReset() {
    Refresh();
    emit Synced();
}

void TQueryModel::repaintRow(int row) {
    if (row < 0 || row >= rows_ || columns_.empty())
        return;
    emit dataChanged(index(row, 0), index(row, static_cast<int>(columns_.size()) - 1));
}

void TQueryModel::repaintMarker(int row) {
    if (row >= 0 && row < rows_)
        emit headerDataChanged(Qt::Vertical, row, row);
}

void TQueryModel::onScrolled() {
    if (queryRows() != rows_) {
        Refresh();
        emit Synced();
        return;
    }
    const int previous = lastCurrent_;
    lastCurrent_ = query_ ? query_->CurrentIndex() : -1;
    // The row left behind may have been posted on the way out.
    repaintRow(previous);
    repaintMarker(previous);
    repaintRow(lastCurrent_);
    repaintMarker(lastCurrent_);
    emit Synced();
}

void TQueryModel::onRecordChanged() {
    if (queryRows() != rows_) {
        Refresh();
        emit Synced();
        return;
    }
    lastCurrent_ = query_ ? query_->CurrentIndex() : -1;
    repaintRow(lastCurrent_);
    emit Synced();
}

void TQueryModel::onStateChanged() {
    if (queryRows() != rows_ || (query_ && !query_->Active() && rows_ != 0)) {
        Refresh();
        emit Synced();
        return;
    }
    lastCurrent_ = query_ ? query_->CurrentIndex() : -1;
    repaintMarker(lastCurrent_);
    emit Synced();
}

int TQueryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TQueryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TQueryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !query_ || !query_->Active() || index.row() >= queryRows())
        return {};
    const int field = FieldIndex(index.column());
    if (field < 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return query_->TextAt(index.row(), field);
    case Qt::TextAlignmentRole: {
        // Numbers line up on the right, as in a ledger.
        const TFieldType type = query_->Fields(field).DataType();
        const bool numeric = type == TFieldType::ftFloat || type == TFieldType::ftInteger;
        return static_cast<int>(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

QVariant TQueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= static_cast<int>(columns_.size()))
            return {};
        const TDBColumn &column = columns_[section];
        switch (role) {
        case Qt::DisplayRole:
            return column.title;
        case Qt::TextAlignmentRole:
            return static_cast<int>(Qt::AlignVCenter |
                                    (column.titleCentered ? Qt::AlignHCenter : Qt::AlignLeft));
        default:
            return {};
        }
    }
    switch (role) {
    case IndicatorRole:
        return static_cast<int>(Indicator(section));
    case Qt::DecorationRole: {
        const TRowIndicator kind = Indicator(section);
        if (kind == TRowIndicator::None)
            return {};
        return markerIcon(kind);
    }
    case Qt::DisplayRole:
        return QString();
    default:
        return {};
    }
}

Qt::ItemFlags TQueryModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool editable = query_ && query_->Active() && query_->CanModify() &&
                          index.column() < static_cast<int>(columns_.size()) &&
                          !columns_[index.column()].readOnly && FieldIndex(index.column()) >= 0;
    if (editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TQueryModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int field = FieldIndex(index.column());
    const QString text = value.toString();
    try {
        // An editor closed without a change leaves the row as it was (no edit state for nothing).
        if (index.row() == query_->CurrentIndex() && query_->TextAt(index.row(), field) == text)
            return true;
        if (index.row() != query_->CurrentIndex())
            query_->SetRecNo(index.row() + 1);
        if (query_->State() == TDataSetState::dsBrowse)
            query_->Edit();
        query_->Fields(field).SetAsString(text);
        return true;
    } catch (...) {
        HandleException();
        return false;
    }
}
