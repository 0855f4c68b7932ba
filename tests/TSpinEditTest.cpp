// The spin edit of the item panel: whole numbers over the full int range, step 1, exit on focus loss.
#include "controls/TSpinEdit.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <limits>

namespace {

struct SpinWindow {
    QWidget window;
    TSpinEdit *spin;
    QLineEdit *other;
    SpinWindow() {
        auto *layout = new QVBoxLayout(&window);
        spin = new TSpinEdit;
        spin->setObjectName("Count_New");
        other = new QLineEdit;
        layout->addWidget(spin);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Type(const QString &text) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, text);
    }
};

TEST(TSpinEditTest, TypedWholeNumbersIncludingNegativeOnesAreTheValue) {
    SpinWindow w;
    EXPECT_EQ(w.spin->Value(), 0);
    struct Case {
        QString typed;
        int value;
    };
    const Case cases[] = {{"12", 12},
                          {"-5", -5},
                          {"0", 0},
                          {"2147483647", std::numeric_limits<int>::max()},
                          {"-2147483648", std::numeric_limits<int>::min()}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        w.Type(c.typed);
        QTest::keyClick(w.spin, Qt::Key_Tab);
        EXPECT_EQ(w.spin->Value(), c.value);
    }
}

TEST(TSpinEditTest, StepsByOneAndSetValueShowsTheNumber) {
    SpinWindow w;
    w.spin->SetValue(-1);
    EXPECT_EQ(w.spin->text(), "-1");
    w.spin->setFocus();
    QTest::keyClick(w.spin, Qt::Key_Up);
    EXPECT_EQ(w.spin->Value(), 0);
    QTest::keyClick(w.spin, Qt::Key_Down);
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->Value(), -2);
}

TEST(TSpinEditTest, LeavingTheEditSaysExitedWithTheTypedValue) {
    SpinWindow w;
    std::vector<int> valuesAtExit;
    QObject::connect(w.spin, &TSpinEdit::exited, [&]() { valuesAtExit.push_back(w.spin->Value()); });
    w.Type("7");
    QTest::mouseClick(w.other, Qt::LeftButton);
    w.Type("-3");
    QTest::keyClick(w.spin, Qt::Key_Tab);
    EXPECT_EQ(valuesAtExit, (std::vector<int>{7, -3}));
}

} // namespace
