#pragma once
// TDBText: a label showing a field of a data source's current row; it follows the row by itself.
#include <QLabel>

class TDataSource;
class TFieldDataLink;

class TDBText : public QLabel {
    Q_OBJECT
  public:
    explicit TDBText(QWidget *parent = nullptr);

    void SetDataSource(TDataSource *source);
    TDataSource *DataSource() const;
    void SetDataField(const QString &fieldName);
    QString DataField() const;

  signals:
    // A mouse button was pressed and released on the label.
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void load();

    TFieldDataLink *link_;
    bool pressed_ = false;
};
