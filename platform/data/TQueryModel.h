#pragma once
// TQueryModel: a table model over a TQuery and a list of columns, for the table grid. It reads the
// query's rows in place (nothing is copied) and follows the query's notifications: a reset re-reads
// everything, a change of the current row's values repaints that row, a move repaints the row marker.
#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <vector>

class TQuery;

// One column of a grid: the field it shows, its title and how it looks.
struct TDBColumn {
    QString fieldName;
    QString title;
    int width = 64;
    bool readOnly = false;
    bool titleCentered = false;
};

// What the row marker of a row shows.
enum class TRowIndicator { None, Current, Editing, Inserting };

class TQueryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The vertical header's marker kind as an int (TRowIndicator), for tests and painting.
    static constexpr int IndicatorRole = Qt::UserRole + 1;

    explicit TQueryModel(QObject *parent = nullptr);

    void SetQuery(TQuery *query);
    TQuery *Query() const { return query_.data(); }

    void AddColumn(const TDBColumn &column);
    const std::vector<TDBColumn> &Columns() const { return columns_; }
    TDBColumn &Column(int index) { return columns_.at(index); }

    // The query's column index of a grid column; -1 when the field is not in the result.
    int FieldIndex(int column) const;
    TRowIndicator Indicator(int row) const;

    // Re-reads everything (the owner's "repaint").
    void Refresh();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Writes a cell: moves the query to that row, puts it in edit state and sets the field's text.
    // The value reaches the table when the row is posted. Errors go to the top-level handler.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

  signals:
    // Sent after the model has caught up with a notice of the query (views follow the current row now).
    void Synced();

  private:
    void onReset();
    void onScrolled();
    void onRecordChanged();
    void onStateChanged();
    void resolveFields();
    void repaintRow(int row);
    void repaintMarker(int row);
    int queryRows() const;

    QPointer<TQuery> query_;
    QList<QMetaObject::Connection> links_;
    std::vector<TDBColumn> columns_;
    std::vector<int> fieldIndex_;
    int rows_ = 0;         // the row count the views know of
    int lastCurrent_ = -1; // the current row the views know of
};
