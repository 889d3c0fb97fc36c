// The commit rules on bare boxes, without a window or an SP: which keys each kind of box takes,
// when a box commits, and the rules that only some boxes add (words, the infinity sign,
// stepping spin buttons, sliders that do not show their drag).
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "midi/ExchangeState.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

using Keys = EditRules::Keys;
const QString Infinity = QStringLiteral("\u221E");

// One box, its slider and its spin button under the rules, counting the commits.
struct Bench {
    explicit Bench(Keys keys, const QString &letters = QString())
    {
        window.resize(200, 200);
        box = new QLineEdit(&window);
        slider = new QSlider(Qt::Vertical, &window);
        slider->setRange(0, 99);
        spin = new SpinButton(&window);
        other = new QLineEdit(&window);
        other->move(0, 100);
        EditRules::Box b;
        b.box = box;
        b.slider = slider;
        b.spin = spin;
        b.keys = keys;
        b.letters = letters;
        b.spinLow = 0;
        b.spinHigh = 99;
        b.commit = [this, keys] {
            ++commits;
            committed = rules.CommitValue(box, keys == Keys::Signed, 99);
            return committed.has_value();
        };
        b.storedText = [] { return QStringLiteral("42"); };
        rules.Add(b);
        window.show();
    }
    void type(const QString &text, bool enter = false)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
        if (enter)
            QTest::keyClick(box, Qt::Key_Return);
    }
    void show(const QString &text) { rules.Display([&] { box->setText(text); }); }

    EditState edit;
    ExchangeState exchange;
    EditRules rules{edit, exchange};
    QWidget window;
    QLineEdit *box = nullptr;
    QLineEdit *other = nullptr;
    QSlider *slider = nullptr;
    SpinButton *spin = nullptr;
    int commits = 0;
    std::optional<int> committed;
};

} // namespace

class EditRulesTest : public QObject {
    Q_OBJECT

private slots:
    void eachKindOfBoxTakesItsKeys()
    {
        const struct { Keys keys; const char *letters; QString shown; const char *typed; QString result; } cases[] = {
            {Keys::Unsigned, "", "", "-1x2.", "12"},
            {Keys::Signed, "", "", "-12", "-12"},
            {Keys::Signed, "", "", "1-2", "12"},
            {Keys::Decimal, "", "", "1.5-", "1.5"},
            {Keys::Sustain, "", "", "gG7tq", "gG7"},
            {Keys::TimeWithInfinity, "", Infinity, "7", "7"},
            {Keys::TimeWithInfinity, "", Infinity, "x", Infinity},
            {Keys::Unsigned, "qnt", "", "qxnQt", "qnt"},
        };
        for (const auto &c : cases) {
            Bench bench(c.keys, QLatin1String(c.letters));
            bench.show(c.shown);
            bench.box->end(false);
            bench.type(QLatin1String(c.typed));
            QCOMPARE(bench.box->text(), c.result);
            QCOMPARE(bench.commits, 0);
        }
    }

    void typingTurnsTheBoxRedAndEnterCommits()
    {
        Bench bench(Keys::Signed);
        bench.type(QStringLiteral("-7"));
        QVERIFY(KeyInput::IsPending(bench.box));
        QVERIFY(bench.edit.EditPending);
        QCOMPARE(bench.commits, 0);
        QTest::keyClick(bench.box, Qt::Key_Return);
        QCOMPARE(bench.commits, 1);
        QCOMPARE(bench.committed, std::optional<int>(-7));
    }

    // An emptied box, a lone minus or letters mixed with digits are no value: the stored one
    // comes back, black, and nothing is committed; so does leaving an emptied box.
    void whatIsNoValueShowsTheStoredValueAgain()
    {
        const struct { const char *letters; const char *typed; bool enter; } cases[] = {
            {"", "", true}, {"", "-", true}, {"qnt", "5q", true}, {"", "", false}};
        for (const auto &c : cases) {
            Bench bench(Keys::Signed, QLatin1String(c.letters));
            bench.show(QStringLiteral("7"));
            bench.box->setFocus();
            QTest::keyClick(bench.box, Qt::Key_Backspace);
            bench.type(QLatin1String(c.typed), c.enter);
            if (!c.enter) {
                QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(bench.box, &leave);
            }
            QVERIFY2(bench.box->text() == QStringLiteral("42"), c.typed);
            QVERIFY(!bench.committed);
            QVERIFY(!KeyInput::IsPending(bench.box));
        }
    }

    void enterIsDroppedOnTheSignAndOnTheGateWord()
    {
        const struct { Keys keys; QString shown; } cases[] = {
            {Keys::TimeWithInfinity, Infinity}, {Keys::Sustain, EditRules::GateWord()}};
        for (const auto &c : cases) {
            Bench bench(c.keys);
            bench.show(c.shown);
            bench.type(QString(), true);
            QCOMPARE(bench.commits, 0);
            QCOMPARE(bench.edit.LastEditKey, 0);
            QCOMPARE(bench.box->text(), c.shown);
        }
    }

    void aValueAboveTheLimitIsClampedAndTheSliderFollowsWithoutASecondCommit()
    {
        Bench bench(Keys::Unsigned);
        bench.show(QStringLiteral("5"));
        bench.box->clear();
        bench.type(QStringLiteral("150"), true);
        QCOMPARE(bench.commits, 1);
        QCOMPARE(bench.committed, std::optional<int>(99));
        QCOMPARE(bench.box->text(), QStringLiteral("99"));
        QCOMPARE(bench.slider->value(), 99);
    }

    void nothingIsTakenWhileTheSpIsBusy()
    {
        Bench bench(Keys::Unsigned);
        bench.show(QStringLiteral("5"));
        bench.exchange.setAwaitingResponse(true);
        bench.type(QStringLiteral("7"), true);
        bench.slider->setValue(30);
        QTest::mouseClick(bench.spin->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(bench.box->text(), QStringLiteral("5"));
        QCOMPARE(bench.commits, 0);
    }

    void aSpinButtonStepsAsTheBoxSays()
    {
        const struct { int shown; int up; bool commits; } cases[] = {{5, 9, true}, {9, 9, false}};
        for (const auto &c : cases) {
            Bench bench(Keys::Unsigned);
            bench.show(QString::number(c.shown));
            // The Wave box's rule: the next number that exists, or stay.
            EditRules::Box stepping;
            stepping.box = bench.other;
            stepping.spin = new SpinButton(&bench.window);
            stepping.spinStep = [](int value, int step) -> std::optional<int> { return step > 0 && value < 9 ? 9 : value; };
            stepping.commit = [&bench] { ++bench.commits; return true; };
            bench.rules.Add(stepping);
            bench.rules.Display([&] { bench.other->setText(QString::number(c.shown)); });
            QTest::mouseClick(stepping.spin->findChild<QToolButton *>("up"), Qt::LeftButton);
            QCOMPARE(bench.other->text(), QString::number(c.up));
            QCOMPARE(bench.commits, c.commits ? 1 : 0);
        }
    }

    void aSliderThatDoesNotShowItsDragCatchesUpWhenLeft()
    {
        EditState edit;
        ExchangeState exchange;
        EditRules rules(edit, exchange);
        QWidget window;
        auto *box = new QLineEdit(&window);
        auto *slider = new QSlider(Qt::Vertical, &window);
        slider->setRange(0, 99);
        int commits = 0;
        EditRules::Box b;
        b.box = box;
        b.slider = slider;
        b.showWhileDragging = false;
        b.commit = [&] { ++commits; return rules.CommitValue(box, false).has_value(); };
        rules.Add(b);
        window.show();
        rules.Display([&] { box->setText(QStringLiteral("none")); });
        slider->setSliderDown(true);
        slider->setSliderPosition(40);
        QCOMPARE(box->text(), QStringLiteral("none"));
        slider->setSliderDown(false);
        QCOMPARE(box->text(), QStringLiteral("40"));
        QCOMPARE(commits, 1);
        // Leaving the slider writes its value into the box without committing it.
        rules.Display([&] { box->setText(QStringLiteral("none")); });
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(slider, &leave);
        QCOMPARE(box->text(), QStringLiteral("40"));
        QCOMPARE(commits, 1);
    }
};

QTEST_MAIN(EditRulesTest)
#include "EditRulesTest.moc"
