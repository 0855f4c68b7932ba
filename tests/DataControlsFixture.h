#pragma once
// Shared by the tests of the data-aware controls: a database folder with a small item table, a live
// query over it behind a data source, a window to put the controls in, and a second query that reads
// what actually reached the table.
#include "TestSupport.h"
#include "data/TDataSource.h"
#include "engine/Session.h"
#include "engine/TQuery.h"

#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

struct ItemRow {
    QString name;
    QString countNew; // as written into the statement; empty leaves the column null
};

class DataControlsTest : public ::testing::Test {
  protected:
    QTemporaryDir tmp;
    QString db;
    ScopedDialogs dialogs;
    std::unique_ptr<TQuery> view;
    std::unique_ptr<TDataSource> source;
    std::unique_ptr<QWidget> window;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        db = Slash(tmp.path());
        Exec("CREATE TABLE item (ID autoinc, item_name char(128), Count_New Float, Note char(255))");
    }

    void TearDown() override {
        window.reset();
        source.reset();
        view.reset();
        Session.Close();
    }

    void Exec(const QString &sql) {
        TQuery q;
        q.SetDatabaseName(db);
        q.SetSQL(sql);
        q.ExecSQL();
    }

    void AddRows(const std::vector<ItemRow> &rows) {
        for (const ItemRow &row : rows) {
            if (row.countNew.isEmpty())
                Exec(QString("insert into item (item_name) values ('%1')").arg(row.name));
            else
                Exec(QString("insert into item (item_name, Count_New) values ('%1', %2)")
                         .arg(row.name, row.countNew));
        }
    }

    // Items named Item 1 .. Item n with Count_New 1 .. n.
    void AddNumberedRows(int n) {
        std::vector<ItemRow> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({QString("Item %1").arg(i), QString::number(i)});
        AddRows(rows);
    }

    // The live view the controls are bound to.
    void OpenView(const QString &sql = "select * from item") {
        view = std::make_unique<TQuery>();
        view->SetDatabaseName(db);
        view->SetSQL(sql);
        view->Open();
        source = std::make_unique<TDataSource>();
        source->SetDataSet(view.get());
    }

    // What the table file holds for one item, read by a query of its own.
    QString Stored(const QString &name, const QString &column = "Count_New") {
        TQuery q;
        q.SetDatabaseName(db);
        q.SetSQL(QString("select %1 from item where item_name='%2'").arg(column, name));
        q.Open();
        return q.IsEmpty() ? QString("<no row>") : q.Fields(0).AsString();
    }

    int StoredRowCount() {
        TQuery q;
        q.SetDatabaseName(db);
        q.SetSQL("select ID from item");
        q.Open();
        return q.RecordCount();
    }

    QString ViewText(const QString &field) { return view->FieldByName(field).AsString(); }

    // A top-level window holding the controls, shown and active so focus moves as it does for a user.
    QWidget *Window() {
        if (!window) {
            window = std::make_unique<QWidget>();
            new QVBoxLayout(window.get());
        }
        return window.get();
    }
    template <typename T> T *Add(T *control) {
        Window()->layout()->addWidget(control);
        return control;
    }
    void ShowActive() {
        Window()->show();
        QApplication::setActiveWindow(Window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    }
};
