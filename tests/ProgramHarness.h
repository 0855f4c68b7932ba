#pragma once
// Runs the real main window offscreen against a fresh temporary program folder: its start-up, its
// table owners' timers, and then gives tests the recorded message boxes and direct access to the tables.
#include "TestSupport.h"

#include "uAbout.h"
#include "uConfigIni.h"
#include "uDB.h"
#include "uDir.h"
#include "uItem.h"
#include "uItemReport.h"
#include "uMain.h"
#include "uStock.h"
#include "uUser.h"

#include "engine/Session.h"
#include "engine/TQuery.h"
#include "shell/Shell.h"

#include <QFile>
#include <QTextStream>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLabel>

class ProgramTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder; // the program folder, ending in '/'
    ScopedDialogs dialogs;
    QStringList opened; // documents handed to the shell

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = Slash(dir.path());
        SetProgramFolderForTests(folder);
        qputenv("XDG_CONFIG_HOME", (folder + "xdg").toUtf8());
        SetOpenDocumentHook([this](const QString &name) { opened << name; });
    }

    void TearDown() override {
        FreeProgram();
        SetClockForTests(nullptr);
        SetOpenDocumentHook(nullptr);
        SetProgramFolderForTests(QString());
    }

    // Settings and list files laid down before the first start.
    void WriteFile(const QString &relative, const QString &text) {
        const QString path = folder + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    void WriteLists(const QStringList &departments, const QStringList &stores) {
        WriteFile("DB/departments.txt", departments.join("\r\n") + (departments.isEmpty() ? "" : "\r\n"));
        WriteFile("DB/stores.txt", stores.join("\r\n") + (stores.isEmpty() ? "" : "\r\n"));
    }
    // Store ID and login requirement of application.ini.
    void WriteSettings(const QString &storeId, bool forceLogin = false) {
        WriteFile("Config/application.ini", QString("[Application]\r\nForceLogin=%1\r\n[Store]\r\nname=Corner Shop\r\nID=%2\r\n")
                                                .arg(forceLogin ? 1 : 0)
                                                .arg(storeId));
    }

    // The program entry's work: the hidden main window and the About box; then waits until the start
    // timer has run the start-up and the table owners' timers have fired.
    void Start() {
        Form1 = new TForm1();
        frmAbout = new TfrmAbout(Form1);
        ASSERT_TRUE(QTest::qWaitFor([] { return Form1->StartedUp(); }, 5000));
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                return User && Item && Stock && !User->Timer1->isActive() && !Item->Timer1->isActive() &&
                       !Stock->Timer1->isActive();
            },
            5000));
        QCoreApplication::processEvents();
    }

    // ---- direct table access (bypassing the window)
    QString DBPath() const { return folder + "DB/"; }
    void Exec(const QString &sql) {
        TQuery q;
        q.SetDatabaseName(AppDirs ? AppDirs->DBPath : DBPath());
        q.SetSQL(sql);
        q.ExecSQL();
    }
    // Every row of a select, each row's cells joined with '|'.
    QStringList Rows(const QString &sql) {
        TQuery q;
        q.SetDatabaseName(AppDirs ? AppDirs->DBPath : DBPath());
        q.SetSQL(sql);
        q.Open();
        QStringList out;
        for (q.First(); !q.Eof(); q.Next()) {
            QStringList cells;
            for (int i = 0; i < q.FieldCount(); ++i)
                cells << q.Fields(i).AsString();
            out << cells.join('|');
        }
        return out;
    }
    QString Value(const QString &sql) {
        QStringList r = Rows(sql);
        return r.isEmpty() ? QString() : r.first();
    }
    // Adds an item row straight into the table; returns its ID.
    int AddItemRow(const QString &store, const QString &department, const QString &name, const QString &countNew,
                   const QString &inStore = "0", const QString &keep = "0", const QString &price = "0") {
        Exec(QString("insert into item (Store, Department, item_name, Count_New, Count_InStore, count_default, Price) "
                     "values (%1, %2, %3, %4, %5, %6, %7)")
                 .arg(QuotedStr(store), QuotedStr(department), QuotedStr(name), countNew.isEmpty() ? "NULL" : countNew,
                      inStore.isEmpty() ? "NULL" : inStore, keep.isEmpty() ? "NULL" : keep, price));
        return Value("select max(ID) from item").toInt();
    }
    QStringList MemoLines() const;
};

inline QStringList ProgramTest::MemoLines() const {
    return Form1->ShopList->toPlainText().split('\n');
}
