// The Wave tab: a Wave shown as the SP holds it, each edit sent as one upload of the whole Wave
// with the field at its place, and the loop kept inside the play range.
#include "ObjectApp.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace {
constexpr int WaveNumber = 2;

using namespace Vsp;

// The Wave record the SP holds, field by field.
struct WaveShape {
    int length = 9000;
    int playStart = 100;
    int playEnd = 8000;
    int loopStart = 2000;
    int loopEnd = 6000;
    uint8_t mode = WaveField::LoopOn | WaveField::LoopBidirectional | WaveField::Stereo;
    int fineTune = -5;
    int pitch = 6050;
    uint32_t fraction = 0x800000;
    uint32_t address = 0x142A;
    uint32_t checksum = 0xBEEF;
    uint32_t period = 1234;
    int normalisation = -250;
};

// The loop off, its points left where an earlier loop had them, and the whole Wave played.
WaveShape LoopOffAt(int loopStart, int loopEnd)
{
    return {.playStart = 0, .playEnd = 8999, .loopStart = loopStart, .loopEnd = loopEnd, .mode = 0, .fraction = 0};
}

QByteArray WaveRecord(const WaveShape &s)
{
    QByteArray w = SpRecords::Wave("Kick", s.length);
    w[WaveField::Mode] = static_cast<char>(s.mode);
    w[WaveField::FineTune] = static_cast<char>(s.fineTune & 0xFF);
    Write(w, WaveField::Address, 4, s.address);
    Write(w, WaveField::Checksum, 2, s.checksum);
    Write(w, WaveField::PlayStart, 4, static_cast<uint32_t>(s.playStart));
    Write(w, WaveField::PlayEnd, 4, static_cast<uint32_t>(s.playEnd));
    Write(w, WaveField::LoopStart, 4, static_cast<uint32_t>(s.loopStart));
    Write(w, WaveField::LoopEnd, 4, static_cast<uint32_t>(s.loopEnd));
    Write(w, WaveField::LoopFraction, 4, s.fraction);
    Write(w, WaveField::SamplePeriod, 4, s.period);
    Write(w, WaveField::Normalisation, 2, static_cast<uint32_t>(s.normalisation & 0xFFFF));
    Write(w, WaveField::Pitch, 2, static_cast<uint32_t>(s.pitch));
    return w;
}

Vsp::SpMemory Holding(const WaveShape &shape)
{
    Vsp::SpMemory memory = VspApp::StandardMemory();
    memory.of(Vsp::Wave)[WaveNumber] = WaveRecord(shape);
    return memory;
}

struct WaveApp : ObjectApp {
    explicit WaveApp(const WaveShape &shape = WaveShape()) : ObjectApp(KindWave, WaveNumber, 148, {}, Holding(shape))
    {
        settleOn("Wave");
        main()->activateWindow();
        dump = image();
    }

    // The upload the SP should get: the Wave as read, with these fields changed.
    QByteArray expected(std::initializer_list<std::tuple<int, int, int64_t>> fields) const
    {
        QByteArray m = dump;
        for (const auto &[position, width, value] : fields)
            m.replace(position - 1, width, Nibbles(value, width));
        return m;
    }
    using ObjectApp::held;
    uint32_t held(int offset, int bytes) { return Read(held(), offset, bytes); }

    QScrollBar *bar(int index) { return find<QScrollBar>(QStringLiteral("hscWave(%1)").arg(index)); }
    QToolButton *arrow(const char *spin, bool up)
    {
        return find<SpinButton>(QLatin1String(spin))->findChild<QToolButton *>(up ? "up" : "down");
    }
    QRadioButton *option(const char *name) { return find<QRadioButton>(QLatin1String(name)); }

    QByteArray dump;
};

const WaveShape AtTheLimits = {.playStart = 0, .playEnd = 8999, .loopStart = 0, .loopEnd = 8999, .fineTune = 99,
                                .pitch = 12700, .fraction = 0};

// An edit made in a box, with its spin button or with its bar, and what it must send (a width of
// 0: nothing), hold and show.
struct FieldCase {
    const char *control;
    const char *input; // the text typed, "up" or "down", or the bar's position
    const char *box;
    int position;
    int width;
    int64_t sent;
    const char *shown; // the box after the Wave is read back
    WaveShape shape = WaveShape();
};

} // namespace

class WaveTabTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryFieldInItsForm()
    {
        WaveApp app;
        const struct { const char *box; const char *text; } shown[] = {
            {"txtPlayStart", "100"},      {"txtPlayEnd", "8000"},    {"txtLoopStart", "2000"},
            {"txtLoopEnd", "6000"},       {"txtLoopFract", "800000h"}, {"txtFineTune", "-5"},
            {"txtWavePitch", "60.5"},     {"txtWaveNote", "C4"},     {"txtWaveMode", "Stereo"},
            {"txtWaveAddr", "A800h"},     {"txtWaveSize", "9"},     {"txtChecksum", "BEEFh"},
            {"txtWaveLen", "9000"},       {"txtSampPeriod", "1234"}, {"txtWaveNorm", "-2.5"},
        };
        for (const auto &s : shown) {
            QCOMPARE(app.box(s.box)->text(), QLatin1String(s.text));
            QVERIFY2(app.box(s.box)->isEnabled(), s.box);
            QVERIFY2(!KeyInput::IsPending(app.box(s.box)), s.box);
        }
        QVERIFY(app.option("optLoopEnb")->isChecked());
        QVERIFY(app.option("optLoopFwdRev")->isChecked());
        QVERIFY(app.option("optLoopFwdOnly")->isEnabled());
        // Each bar stands where its value lies between its neighbours.
        const int positions[] = {5, 66, 32, 66, 50};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(app.bar(i)->value(), positions[i]);
            QVERIFY(app.bar(i)->isEnabled());
        }
        QVERIFY(app.uploads().isEmpty());

        // The direction options change nothing; switching the loop off clears only its bit.
        QTest::mouseClick(app.option("optLoopFwdOnly"), Qt::LeftButton);
        QVERIFY(app.option("optLoopFwdRev")->isChecked());
        QVERIFY(app.requests().isEmpty());
        QTest::mouseClick(app.option("optLoopDis"), Qt::LeftButton);
        const int mode = WaveField::LoopBidirectional | WaveField::Stereo;
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{48, 2, mode}})});
        QCOMPARE(app.held(WaveField::Mode, 1), uint32_t(mode));
        QCOMPARE(app.box("txtLoopStart")->text(), QString());
    }

    // Switched on, the loop's start is pulled into the play range in the same upload.
    void aWaveWithTheLoopOffShowsNoLoopUntilSwitchedOn()
    {
        WaveApp app({.playStart = 3000, .playEnd = 6000, .loopStart = 2000, .loopEnd = 5000, .mode = 0, .fraction = 0});
        for (const auto &[bar, box] : {std::pair{2, "txtLoopStart"}, {3, "txtLoopEnd"}, {4, "txtLoopFract"}})
            QVERIFY2(app.box(box)->text().isEmpty() && !app.bar(bar)->isEnabled(), box);
        QCOMPARE(app.box("txtWaveMode")->text(), QStringLiteral("Mono"));
        QVERIFY(app.option("optLoopDis")->isChecked());
        QVERIFY(!app.option("optLoopFwdOnly")->isEnabled() && !app.option("optLoopFwdRev")->isEnabled());
        // Against the whole Wave: 3000 of 6000, and 6000 of 8999.
        QCOMPARE(app.bar(0)->value(), 50);
        QCOMPARE(app.bar(1)->value(), 66);
        // The loop's spin buttons have nothing to step in their empty boxes.
        QTest::mouseClick(app.arrow("spnLoopStart", true), Qt::LeftButton);
        QCOMPARE(app.box("txtLoopStart")->text(), QString());
        QVERIFY(app.requests().isEmpty());

        QTest::mouseClick(app.option("optLoopEnb"), Qt::LeftButton);
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{92, 8, 3000}, {48, 2, WaveField::LoopOn}})});
        QCOMPARE(app.held(WaveField::Mode, 1), uint32_t(WaveField::LoopOn));
        QCOMPARE(app.held(WaveField::LoopStart, 4), 3000u);
        QVERIFY(app.option("optLoopEnb")->isChecked());
        QCOMPARE(app.box("txtLoopStart")->text(), QStringLiteral("3000"));
        QVERIFY(app.bar(2)->isEnabled());
    }

    // Keys a box does not take are dropped, and it stays red until Enter; a position outside
    // its neighbours is put back on Enter and nothing is sent.
    void eachBoxTakesOnlyItsKeysAndOutOfRangePositionsAreRestored()
    {
        // Play 100..8000, loop 2000..6000, length 9000.
        const struct { const char *box; const char *typed; bool enter; const char *shown; } cases[] = {
            {"txtPlayStart", "7999", true, "100"}, // at play end - 1
            {"txtPlayStart", "8500", true, "100"},
            {"txtPlayEnd", "100", true, "8000"},   // at play start
            {"txtPlayEnd", "9000", true, "8000"},  // at the length
            {"txtLoopStart", "99", true, "2000"},  // before the play range
            {"txtLoopStart", "6001", true, "2000"}, // after the loop end
            {"txtLoopEnd", "1999", true, "6000"},  // before the loop start
            {"txtLoopEnd", "8001", true, "6000"},  // after the play range
            {"txtPlayStart", "99999999999", true, "100"},
            {"txtLoopFract", "12", true, "800000h"}, // no keys at all
            {"txtPlayStart", "12a-.3", false, "123"},
            {"txtLoopEnd", "-9", false, "9"},
            {"txtWavePitch", "-6x", false, "6"},
        };
        WaveApp app;
        for (const auto &c : cases) {
            app.clearAndType(app.box(c.box), QLatin1String(c.typed), c.enter);
            QVERIFY2(app.box(c.box)->text() == QLatin1String(c.shown), c.typed);
            QVERIFY2(KeyInput::IsPending(app.box(c.box)) == !c.enter, c.typed);
        }
        QVERIFY(app.requests().isEmpty());
    }

    // One upload of the Wave as read with the field in place, held by the SP and shown.
    void eachEditSendsOneUploadWithTheFieldInPlaceOrNothingAtALimit()
    {
        const FieldCase cases[] = {
            {"txtPlayStart", "500", "txtPlayStart", 68, 8, 500, "500"},
            {"txtPlayEnd", "8500", "txtPlayEnd", 76, 8, 8500, "8500"},
            {"txtLoopStart", "2500", "txtLoopStart", 92, 8, 2500, "2500"},
            {"txtLoopEnd", "7000", "txtLoopEnd", 100, 8, 7000, "7000"},
            {"txtFineTune", "-7", "txtFineTune", 50, 2, 249, "-7"},
            {"txtFineTune", "150", "txtFineTune", 50, 2, 99, "99"},    // clamped
            {"txtFineTune", "-150", "txtFineTune", 50, 2, 157, "-99"}, // clamped, two's complement
            {"txtWavePitch", "61.25", "txtWavePitch", 128, 4, 6125, "61.25"},
            {"txtWavePitch", "127.99", "txtWavePitch", 128, 4, 12799, "127.99"},
            // With the loop on the play range cannot cut into the loop.
            {"txtPlayEnd", "5000", "txtPlayEnd", 76, 8, 6000, "6000"},
            {"txtPlayStart", "3000", "txtPlayStart", 68, 8, 2000, "2000"},
            {"spnPlayStart", "up", "txtPlayStart", 68, 8, 101, "101"},
            {"spnPlayEnd", "down", "txtPlayEnd", 76, 8, 7999, "7999"},
            {"spnLoopStart", "up", "txtLoopStart", 92, 8, 2001, "2001"},
            {"spnLoopEnd", "down", "txtLoopEnd", 100, 8, 5999, "5999"},
            {"spnLoopFract", "up", "txtLoopFract", 108, 8, 0x800001, "800001h"},
            {"spnFineTune", "down", "txtFineTune", 50, 2, 250, "-6"},
            {"spnWavePitch", "up", "txtWavePitch", 128, 4, 6150, "61.5"},
            // A bar at either end commits that end exactly.
            {"hscWave(1)", "1", "txtPlayEnd", 76, 8, 1, "1", LoopOffAt(0, 0)},
            {"hscWave(1)", "100", "txtPlayEnd", 76, 8, 8999, "8999"},
            {"hscWave(2)", "1", "txtLoopStart", 92, 8, 100, "100"},
            {"hscWave(2)", "100", "txtLoopStart", 92, 8, 6000, "6000"},
            {"hscWave(3)", "100", "txtLoopEnd", 100, 8, 8000, "8000"},
            {"hscWave(4)", "100", "txtLoopFract", 108, 8, 0xFFFFFF, "FFFFFFh"},
            // With the loop off play start's range is 0 to play end: 8999 * 25 / 100.
            {"hscWave(0)", "25", "txtPlayStart", 68, 8, 2249, "2249", LoopOffAt(4000, 8000)},
            // Spin buttons stop at their limits and send nothing.
            {"spnPlayStart", "down", "txtPlayStart", 0, 0, 0, "0", AtTheLimits},   // at 0
            {"spnPlayStart", "up", "txtPlayStart", 0, 0, 0, "0", AtTheLimits},     // the loop starts there
            {"spnPlayEnd", "up", "txtPlayEnd", 0, 0, 0, "8999", AtTheLimits},      // the Wave's last sample
            {"spnPlayEnd", "down", "txtPlayEnd", 0, 0, 0, "8999", AtTheLimits},    // the loop ends there
            {"spnLoopEnd", "up", "txtLoopEnd", 0, 0, 0, "8999", AtTheLimits},      // the play range ends there
            {"spnLoopStart", "down", "txtLoopStart", 0, 0, 0, "0", AtTheLimits},   // the play range starts there
            {"spnLoopFract", "down", "txtLoopFract", 0, 0, 0, "0h", AtTheLimits},
            {"spnFineTune", "up", "txtFineTune", 0, 0, 0, "99", AtTheLimits},
            {"spnWavePitch", "up", "txtWavePitch", 0, 0, 0, "127", AtTheLimits},
        };
        for (const FieldCase &c : cases) {
            WaveApp app(c.shape);
            const QLatin1String control(c.control);
            if (control.startsWith(QLatin1String("spn")))
                QTest::mouseClick(app.arrow(c.control, QLatin1String(c.input) == QLatin1String("up")), Qt::LeftButton);
            else if (control.startsWith(QLatin1String("hsc")))
                app.find<QScrollBar>(control)->setValue(QByteArray(c.input).toInt());
            else
                app.clearAndType(app.box(c.control), QLatin1String(c.input));
            if (c.width == 0) {
                QVERIFY2(app.requests().isEmpty(), c.control);
            } else {
                QVERIFY2(app.uploads() == QList<QByteArray>{app.expected({{c.position, c.width, c.sent}})}, c.control);
                QCOMPARE(app.held(SpRecords::RecordByteAt(c.position), c.width / 2), static_cast<uint32_t>(c.sent));
            }
            QCOMPARE(app.held(WaveField::Address, 4), WaveShape().address); // the samples stay put
            QCOMPARE(app.box(c.box)->text(), QLatin1String(c.shown));
            QVERIFY2(!KeyInput::IsPending(app.box(c.box)), c.control);
        }
    }

    void draggingAScrollBarShowsValuesAndSendsOnce()
    {
        WaveApp app(LoopOffAt(0, 0));
        QScrollBar *bar = app.bar(1);
        bar->setSliderDown(true);
        for (const auto &[position, text] : {std::pair{1, "1"}, {50, "4500"}, {75, "6749"}}) {
            bar->setSliderPosition(position);
            QCOMPARE(app.box("txtPlayEnd")->text(), QLatin1String(text));
            QVERIFY(KeyInput::IsPending(app.box("txtPlayEnd")));
        }
        QVERIFY(app.requests().isEmpty());
        bar->setSliderDown(false);
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{76, 8, 6749}})});
        QCOMPARE(app.held(WaveField::PlayEnd, 4), 6749u);
        QVERIFY(!KeyInput::IsPending(app.box("txtPlayEnd")));
    }

    void theSpRefusesAPlayEndAtTheLengthAndTakesLengthLessOne()
    {
        // The SP's Wave is shorter than the one the program read: only the SP can refuse.
        WaveApp app;
        Write(app.held(), WaveField::Length, 4, 8500);
        app.clearAndType(app.box("txtPlayEnd"), QStringLiteral("8500"));
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{76, 8, 8500}})});
        QCOMPARE(app.notifier.texts(), QStringList{"SP illegal data value encountered"});
        QCOMPARE(app.held(WaveField::PlayEnd, 4), 8000u);
        QCOMPARE(app.box("txtWaveLen")->text(), QStringLiteral("8500")); // read back all the same
        QVERIFY(KeyInput::IsPending(app.box("txtPlayEnd"))); // the refused box stays red
        QVERIFY(!KeyInput::IsPending(app.box("txtPlayStart")));

        app.vsp->clearTraffic();
        app.notifier.messages.clear();
        app.clearAndType(app.box("txtPlayEnd"), QStringLiteral("8499"));
        QCOMPARE(app.uploads().size(), 1);
        QVERIFY(app.notifier.messages.isEmpty());
        QCOMPARE(app.held(WaveField::PlayEnd, 4), 8499u);
        QCOMPARE(app.box("txtPlayEnd")->text(), QStringLiteral("8499"));
    }

    // Undo puts back every field one edit changed, in one upload, as the edit sent them.
    void withTheLoopOffAMovedPlayRangeTakesTheLoopAlongAndUndoPutsBothBack()
    {
        WaveApp app(LoopOffAt(1000, 8000));
        app.clearAndType(app.box("txtPlayEnd"), QStringLiteral("5000"));
        // The loop end follows the play end into the same upload; the loop start stays.
        const QByteArray moved = app.expected({{100, 8, 5000}, {76, 8, 5000}});
        QCOMPARE(app.uploads(), QList<QByteArray>{moved});
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 5000u);
        QCOMPARE(app.held(WaveField::LoopStart, 4), 1000u);
        auto *undo = app.find<QAction>("mnuUndo");
        QCOMPARE(undo->text(), QStringLiteral("&Undo Wave w#2 Play end"));
        app.vsp->clearTraffic();
        undo->trigger();
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{100, 8, 8000}, {76, 8, 8999}})});
        QCOMPARE(app.held(WaveField::PlayEnd, 4), 8999u);
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 8000u);
        QCOMPARE(app.box("txtPlayEnd")->text(), QStringLiteral("8999"));
        app.vsp->clearTraffic();
        app.find<QAction>("mnuRedo")->trigger();
        QCOMPARE(app.uploads(), QList<QByteArray>{moved});
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 5000u);
        app.vsp->clearTraffic();
        app.clearAndType(app.box("txtPlayStart"), QStringLiteral("1500"));
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{100, 8, 5000}, {76, 8, 5000}, {92, 8, 1500}, {68, 8, 1500}})});
        QCOMPARE(app.held(WaveField::LoopStart, 4), 1500u);
    }

    // The note is named after the even semitone nearest the pitch, once the pitch is committed.
    void aPitchIsCompletedOrRefusedAndTheNoteNameFollowsIt()
    {
        const struct { const char *typed; const char *shown; int64_t sent; const char *note; } cases[] = {
            {".5", "0.5", 50, "C-"},
            {"60.", "60", 6000, "C4"},
            {"61.5", "61.5", 6150, "D4"},
            {"72", "72", 7200, "C5"},
            {"128", "60.5", -1, "C4"},
            {"1.2.3", "60.5", -1, "C4"},
        };
        for (const auto &c : cases) {
            WaveApp app;
            QLineEdit *pitch = app.box("txtWavePitch");
            app.clearAndType(pitch, QLatin1String(c.typed), false);
            QCOMPARE(app.box("txtWaveNote")->text(), QStringLiteral("C4"));
            QTest::keyClick(pitch, Qt::Key_Return);
            QVERIFY2(pitch->text() == QLatin1String(c.shown), c.typed);
            QVERIFY2(!KeyInput::IsPending(pitch), c.typed);
            QCOMPARE(app.box("txtWaveNote")->text(), QLatin1String(c.note));
            if (c.sent < 0)
                QVERIFY2(app.uploads().isEmpty(), c.typed);
            else
                QVERIFY2(app.uploads() == QList<QByteArray>{app.expected({{128, 4, c.sent}})}, c.typed);
        }
    }

    void playSoundsTheConfiguredNoteWhileHeld()
    {
        WaveApp app;
        SpConfig &sp = app.session().settings.sp;
        sp.PlayBackNote = 48;
        sp.PlayBackVelocityOn = 100;
        sp.PlayBackVelocityOff = 30;
        sp.PlayBackMidiChannel = 2;
        auto *play = app.find<QPushButton>("cmdPlaySample");
        QTest::mousePress(play, Qt::LeftButton);
        QCOMPARE(app.requests(), QList<QByteArray>{Wire({0x92, 48, 100})});
        QTest::mouseRelease(play, Qt::LeftButton);
        QCOMPARE(app.requests(), (QList<QByteArray>{Wire({0x92, 48, 100}), Wire({0x82, 48, 30})}));
        QTest::mouseClick(play, Qt::RightButton);
        QCOMPARE(app.requests().size(), 2);
        QVERIFY(app.notifier.messages.isEmpty());
    }
};

QTEST_MAIN(WaveTabTest)
#include "WaveTabTest.moc"
