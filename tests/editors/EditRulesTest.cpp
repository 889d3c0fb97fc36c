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
    explicit Bench(Keys keys, const QString &letters = QString(), bool showWhileDragging = true)
    {
        window.resize(200, 200);
        box = new QLineEdit(&window);
        slider = new QSlider(Qt::Vertical, &window);
        slider->setRange(0, 99);
        spin = new SpinButton(&window);
        const auto commit = [this, keys] {
            ++commits;
            committed = rules.CommitValue(box, keys == Keys::Signed, 99);
            return committed.has_value();
        };
        rules.Add({.box = box, .slider = slider, .spin = spin, .keys = keys, .spinLow = 0, .spinHigh = 99,
                   .commit = commit, .storedText = [] { return QStringLiteral("42"); }, .letters = letters,
                   .showWhileDragging = showWhileDragging});
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
    QSlider *slider = nullptr;
    SpinButton *spin = nullptr;
    int commits = 0;
    std::optional<int> committed;
};

} // namespace

class EditRulesTest : public QObject {
    Q_OBJECT

private slots:
    // Enter is dropped on the infinity sign and the gate word: they are the stored value already.
    void eachKindOfBoxTakesItsKeys()
    {
        const struct { Keys keys; const char *letters; QString shown; const char *typed; QString result;
                       bool enter = false; } cases[] = {
            {Keys::Unsigned, "", "", "-1x2.", "12"},
            {Keys::Signed, "", "", "-12", "-12"},
            {Keys::Signed, "", "", "1-2", "12"},
            {Keys::Decimal, "", "", "1.5-", "1.5"},
            {Keys::Sustain, "", "", "gG7tq", "gG7"},
            {Keys::TimeWithInfinity, "", Infinity, "7", "7"},
            {Keys::TimeWithInfinity, "", Infinity, "x", Infinity},
            {Keys::Unsigned, "qnt", "", "qxnQt", "qnt"},
            {Keys::TimeWithInfinity, "", Infinity, "", Infinity, true},
            {Keys::Sustain, "", EditRules::GateWord(), "", EditRules::GateWord(), true},
        };
        for (const auto &c : cases) {
            Bench bench(c.keys, QLatin1String(c.letters));
            bench.show(c.shown);
            bench.box->end(false);
            bench.type(QLatin1String(c.typed), c.enter);
            QCOMPARE(bench.box->text(), c.result);
            QCOMPARE(bench.commits, 0);
            if (c.enter)
                QCOMPARE(bench.edit.LastEditKey, 0);
        }
    }

    // Typing turns the box red and Enter commits, a value above the limit clamped and the slider
    // following without a second commit. An emptied box, a lone minus or letters mixed with
    // digits are no value: the stored one comes back, black, and nothing is committed; so does
    // leaving an emptied box.
    void enterCommitsAValueOrShowsTheStoredOneAgain()
    {
        const struct { Keys keys; const char *letters; const char *typed; bool enter; std::optional<int> committed; } cases[] = {
            {Keys::Signed, "", "-7", true, -7},   {Keys::Unsigned, "", "150", true, 99},
            {Keys::Signed, "", "", true, {}},     {Keys::Signed, "", "-", true, {}},
            {Keys::Signed, "qnt", "5q", true, {}}, {Keys::Signed, "", "", false, {}},
        };
        for (const auto &c : cases) {
            Bench bench(c.keys, QLatin1String(c.letters));
            bench.show(QStringLiteral("7"));
            bench.box->setFocus();
            QTest::keyClick(bench.box, Qt::Key_Backspace);
            bench.type(QLatin1String(c.typed));
            QVERIFY(KeyInput::IsPending(bench.box));
            QVERIFY(bench.edit.EditPending);
            QCOMPARE(bench.commits, 0);
            if (c.enter) {
                QTest::keyClick(bench.box, Qt::Key_Return);
            } else {
                QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(bench.box, &leave);
            }
            QCOMPARE(bench.committed, c.committed);
            QCOMPARE(bench.commits, c.enter ? 1 : 0);
            QVERIFY2(bench.box->text() == (c.committed ? QString::number(*c.committed) : QStringLiteral("42")), c.typed);
            if (c.committed)
                QCOMPARE(bench.slider->value(), std::max(*c.committed, 0));
            else
                QVERIFY(!KeyInput::IsPending(bench.box));
        }
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

    void aSliderThatDoesNotShowItsDragCatchesUpWhenLeft()
    {
        Bench bench(Keys::Unsigned, QString(), false);
        bench.show(QStringLiteral("none"));
        bench.slider->setSliderDown(true);
        bench.slider->setSliderPosition(40);
        QCOMPARE(bench.box->text(), QStringLiteral("none"));
        bench.slider->setSliderDown(false);
        QCOMPARE(bench.box->text(), QStringLiteral("40"));
        QCOMPARE(bench.commits, 1);
        // Leaving the slider writes its value into the box without committing it.
        bench.show(QStringLiteral("none"));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(bench.slider, &leave);
        QCOMPARE(bench.box->text(), QStringLiteral("40"));
        QCOMPARE(bench.commits, 1);
    }
};

QTEST_MAIN(EditRulesTest)
#include "EditRulesTest.moc"
