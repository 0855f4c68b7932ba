// The numeric edit of prices: fixed decimals in the locale's number format, right-aligned, text that is
// no number counting as 0, reformatted when the focus leaves it.
#include "controls/TPBNumEdit.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

// Runs a test under a chosen locale and puts the previous one back.
struct ScopedLocale {
    QLocale previous;
    explicit ScopedLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(previous); }
};

struct NumWindow {
    QWidget window;
    TPBNumEdit *edit;
    QLineEdit *other;
    NumWindow() {
        auto *layout = new QVBoxLayout(&window);
        edit = new TPBNumEdit;
        edit->setObjectName("Price");
        other = new QLineEdit;
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Type(const QString &text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST(TPBNumEditTest, ShowsTwoDecimalsInTheLocalesFormatRightAligned) {
    ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    NumWindow w;
    EXPECT_EQ(w.edit->Decimals(), 2);
    EXPECT_TRUE(w.edit->alignment() & Qt::AlignRight);
    EXPECT_EQ(w.edit->text(), "0.00");
    struct Case {
        double value;
        QString shown;
    };
    const Case cases[] = {{2.5, "2.50"}, {1234.567, "1,234.57"}, {-3, "-3.00"}, {0.004, "0.00"}};
    for (const Case &c : cases) {
        w.edit->SetValue(c.value);
        EXPECT_EQ(w.edit->text(), c.shown);
    }
    w.edit->SetDecimals(0);
    EXPECT_EQ(w.edit->text(), "0");
}

TEST(TPBNumEditTest, ReadsTypedTextAndRefusesLetters) {
    ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    NumWindow w;
    struct Case {
        QString typed;
        double value;
        QString shownAfterLeaving;
    };
    const Case cases[] = {
        {"3.456", 3.456, "3.46"}, {"1,250.5", 1250.5, "1,250.50"},
        {"abc", 1250.5, "1,250.50"}, // letters are refused: the value stays
        {"", 1250.5, "1,250.50"},
        {"-2", -2, "-2.00"},      {"12x", 12, "12.00"}, // letters cannot be typed
    };
    std::vector<double> valuesAtExit;
    QObject::connect(w.edit, &TPBNumEdit::exited, [&]() { valuesAtExit.push_back(w.edit->Value()); });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        w.Type(c.typed);
        EXPECT_DOUBLE_EQ(w.edit->Value(), c.value);
        QTest::mouseClick(w.other, Qt::LeftButton);
        EXPECT_EQ(w.edit->text(), c.shownAfterLeaving);
    }
    EXPECT_EQ(valuesAtExit.size(), std::size(cases));
}

TEST(TPBNumEditTest, FollowsAnotherLocalesSeparators) {
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    NumWindow w;
    w.edit->SetValue(1234.5);
    EXPECT_EQ(w.edit->text(), "1.234,50");
    EXPECT_DOUBLE_EQ(w.edit->Value(), 1234.5);
    w.Type("7,25");
    EXPECT_DOUBLE_EQ(w.edit->Value(), 7.25);
}

} // namespace
