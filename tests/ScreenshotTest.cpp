// Renders the main window's pages and the About box to PNG files for a person to look at. Not part of
// the normal run: start it with --gtest_also_run_disabled_tests --gtest_filter='*Render*'; the files go to
// $LARDERLY_SHOTS (default /tmp).
#include "ProgramHarness.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTabWidget>

namespace {

class ScreenshotTest : public ProgramTest {};

TEST_F(ScreenshotTest, DISABLED_RenderWindows) {
    const QString out = qEnvironmentVariable("LARDERLY_SHOTS", "/tmp") + "/";
    WriteLists({"Dairy", "Fresh fruit", "Bakery", "Dry goods", "Frozen", "Cleaning"}, {"Corner Shop", "Market Stall"});
    WriteSettings("0");
    Start();
    const char *names[] = {"Milk", "Butter", "Cheddar", "Yoghurt", "Eggs", "Cream", "Feta", "Kefir", "Ricotta",
                           "Mozzarella", "Skyr", "Quark", "Goat cheese", "Sour cream"};
    int n = 0;
    for (const char *name : names) {
        AddItemRow("0", "Dairy", name, QString::number(n % 4), QString::number(n % 7), "4", QString::number(1.2 + n));
        ++n;
    }
    AddItemRow("0", "Fresh fruit", "Apples", "6", "2", "8", "0.45");
    AddItemRow("0", "Fresh fruit", "Pears", "3", "1", "4", "0.6");
    AddItemRow("0", "Bakery", "Sourdough", "2", "0", "2", "3.2");
    Form1->resize(1180, 720);
    Form1->showNormal();
    Form1->Department->setCurrentRow(0);
    Form1->DepartmentClick();
    Form1->StoreListClick();
    QCoreApplication::processEvents();
    Form1->grab().save(out + "larderly_shopping.png");
    Form1->Image4Click();
    Form1->Department2->setCurrentRow(0);
    Form1->Department2Click();
    Form1->ShopView->SetRecNo(2);
    Form1->LoadItemPanel();
    QCoreApplication::processEvents();
    Form1->grab().save(out + "larderly_manager.png");
    Form1->Image3Click();
    QCoreApplication::processEvents();
    Form1->grab().save(out + "larderly_inventory.png");
    frmAbout->grab().save(out + "larderly_about.png");
    Item->StoreChange();
    Item->show();
    QCoreApplication::processEvents();
    Item->grab().save(out + "larderly_reconcile.png");
    // Reconcile everything bought and leave the folder behind, so the history can be read with sqlite3.
    Item->All->setChecked(true);
    Item->Reconcile(ReconcileMode::Add);
    Item->grab().save(out + "larderly_reconciled.png");
    Item->hide();
    dir.setAutoRemove(false);
    std::printf("program folder kept: %s\n", qPrintable(folder));
    User->grab().save(out + "larderly_login.png");
}

} // namespace
