// The Wave tab: a Wave shown as the SP holds it, each edit sent as one upload of the whole Wave
// with the field at its place, and the loop kept inside the play range.
#include "VspApp.h"
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

WaveShape Unlooped()
{
    WaveShape w;
    w.playStart = 0;
    w.playEnd = 8999;
    w.loopStart = 0;
    w.loopEnd = 0;
    w.mode = 0;
    w.fraction = 0;
    return w;
}

// The loop off, its points left where an earlier loop had them.
WaveShape LoopOffAt(int loopStart, int loopEnd)
{
    WaveShape w = Unlooped();
    w.loopStart = loopStart;
    w.loopEnd = loopEnd;
    return w;
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

struct WaveApp : VspApp {
    explicit WaveApp(const WaveShape &shape = WaveShape())
    {
        Vsp::SpMemory memory = StandardMemory();
        memory.of(Vsp::Wave)[WaveNumber] = WaveRecord(shape);
        start(std::move(memory));
        showTab("Wave");
        main()->activateWindow();
        dump = lastWaveDump();
        vsp->clearTraffic();
    }

    // The SP's latest answer to a request for the Wave.
    QByteArray lastWaveDump() const
    {
        QByteArray last;
        bool asked = false;
        for (const auto &t : vsp->traffic()) {
            if (t.direction == VirtualSpBackend::Traffic::In)
                asked = t.message == DumpRequest(0, WaveNumber);
            else if (asked)
                last = t.message;
        }
        return last;
    }
    // The Wave uploads, without the requests that read the Wave back.
    QList<QByteArray> uploads() const
    {
        QList<QByteArray> sent;
        for (const QByteArray &m : requests()) {
            if (m.size() == 148)
                sent << m;
        }
        return sent;
    }
    // The upload the SP should get: the Wave as read, with these fields changed.
    QByteArray expected(std::initializer_list<std::tuple<int, int, int64_t>> fields) const
    {
        QByteArray m = dump;
        for (const auto &[position, width, value] : fields)
            m.replace(position - 1, width, Nibbles(value, width));
        return m;
    }
    const QByteArray &held() { return vsp->device().memory().of(Vsp::Wave).at(WaveNumber); }
    uint32_t held(int offset, int bytes) { return Read(held(), offset, bytes); }

    QScrollBar *bar(int index) { return find<QScrollBar>(QStringLiteral("hscWave(%1)").arg(index)); }
    QToolButton *arrow(const char *spin, bool up)
    {
        return find<SpinButton>(QLatin1String(spin))->findChild<QToolButton *>(up ? "up" : "down");
    }
    QRadioButton *option(const char *name) { return find<QRadioButton>(QLatin1String(name)); }

    QByteArray dump;
};

struct FieldCase {
    const char *box;
    const char *typed;
    int position;
    int width;
    int64_t sent;
    int offset; // of the field in the SP's record
    int bytes;
    const char *shown; // the box after the Wave is read back
};

// One upload of the Wave as read with the field in place, held by the SP and shown.
void CheckSent(WaveApp &app, const FieldCase &f)
{
    QVERIFY2(app.uploads() == QList<QByteArray>{app.expected({{f.position, f.width, f.sent}})}, f.box);
    QCOMPARE(app.held(f.offset, f.bytes), static_cast<uint32_t>(f.sent));
    QCOMPARE(app.held(WaveField::Address, 4), WaveShape().address); // the samples stay put
    QCOMPARE(app.box(f.box)->text(), QLatin1String(f.shown));
}

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
    }

    void aWaveWithTheLoopOffShowsNoLoop()
    {
        WaveShape shape = Unlooped();
        shape.playStart = 3000;
        shape.playEnd = 6000;
        shape.loopStart = 4000;
        WaveApp app(shape);
        for (const char *box : {"txtLoopStart", "txtLoopEnd", "txtLoopFract"})
            QCOMPARE(app.box(box)->text(), QString());
        QCOMPARE(app.box("txtWaveMode")->text(), QStringLiteral("Mono"));
        QVERIFY(app.option("optLoopDis")->isChecked());
        for (const char *name : {"optLoopFwdOnly", "optLoopFwdRev"})
            QVERIFY(!app.option(name)->isEnabled());
        for (int i : {2, 3, 4})
            QVERIFY(!app.bar(i)->isEnabled());
        // Against the whole Wave: 3000 of 6000, and 6000 of 8999.
        QCOMPARE(app.bar(0)->value(), 50);
        QCOMPARE(app.bar(1)->value(), 66);
        // The loop's spin buttons have nothing to step in their empty boxes.
        QTest::mouseClick(app.arrow("spnLoopStart", true), Qt::LeftButton);
        QCOMPARE(app.box("txtLoopStart")->text(), QString());
        QVERIFY(app.requests().isEmpty());
    }

    void eachBoxTakesOnlyItsKeys()
    {
        WaveApp app;
        const struct { const char *box; const char *typed; const char *kept; } cases[] = {
            {"txtPlayStart", "12a-.3", "123"},
            {"txtLoopEnd", "-9", "9"},
            {"txtWavePitch", "-6x", "6"},
        };
        for (const auto &c : cases) {
            app.clearAndType(app.box(c.box), QLatin1String(c.typed), false);
            QVERIFY2(app.box(c.box)->text() == QLatin1String(c.kept), c.typed);
            QVERIFY2(KeyInput::IsPending(app.box(c.box)), c.box);
        }
        // The loop fraction takes no keys at all.
        app.type(app.box("txtLoopFract"), QStringLiteral("12"));
        QCOMPARE(app.box("txtLoopFract")->text(), QStringLiteral("800000h"));
        QVERIFY(app.requests().isEmpty());
    }

    void enterSendsOneUploadWithTheFieldInPlace()
    {
        const FieldCase cases[] = {
            {"txtPlayStart", "500", 68, 8, 500, WaveField::PlayStart, 4, "500"},
            {"txtPlayEnd", "8500", 76, 8, 8500, WaveField::PlayEnd, 4, "8500"},
            {"txtLoopStart", "2500", 92, 8, 2500, WaveField::LoopStart, 4, "2500"},
            {"txtLoopEnd", "7000", 100, 8, 7000, WaveField::LoopEnd, 4, "7000"},
            {"txtFineTune", "-7", 50, 2, 249, WaveField::FineTune, 1, "-7"},
            {"txtFineTune", "150", 50, 2, 99, WaveField::FineTune, 1, "99"},    // clamped
            {"txtFineTune", "-150", 50, 2, 157, WaveField::FineTune, 1, "-99"}, // clamped, two's complement
            {"txtWavePitch", "61.25", 128, 4, 6125, WaveField::Pitch, 2, "61.25"},
            {"txtWavePitch", "127.99", 128, 4, 12799, WaveField::Pitch, 2, "127.99"},
            // With the loop on the play range cannot cut into the loop.
            {"txtPlayEnd", "5000", 76, 8, 6000, WaveField::PlayEnd, 4, "6000"},
            {"txtPlayStart", "3000", 68, 8, 2000, WaveField::PlayStart, 4, "2000"},
        };
        for (const FieldCase &c : cases) {
            WaveApp app;
            app.clearAndType(app.box(c.box), QLatin1String(c.typed));
            CheckSent(app, c);
            QVERIFY2(!KeyInput::IsPending(app.box(c.box)), c.box);
        }
    }

    void spinButtonsStepAndSendOnce()
    {
        const struct { const char *spin; bool up; FieldCase field; } cases[] = {
            {"spnPlayStart", true, {"txtPlayStart", "", 68, 8, 101, WaveField::PlayStart, 4, "101"}},
            {"spnPlayEnd", false, {"txtPlayEnd", "", 76, 8, 7999, WaveField::PlayEnd, 4, "7999"}},
            {"spnLoopStart", true, {"txtLoopStart", "", 92, 8, 2001, WaveField::LoopStart, 4, "2001"}},
            {"spnLoopEnd", false, {"txtLoopEnd", "", 100, 8, 5999, WaveField::LoopEnd, 4, "5999"}},
            {"spnLoopFract", true, {"txtLoopFract", "", 108, 8, 0x800001, WaveField::LoopFraction, 4, "800001h"}},
            {"spnFineTune", false, {"txtFineTune", "", 50, 2, 250, WaveField::FineTune, 1, "-6"}},
            {"spnWavePitch", true, {"txtWavePitch", "", 128, 4, 6150, WaveField::Pitch, 2, "61.5"}},
        };
        for (const auto &c : cases) {
            WaveApp app;
            QTest::mouseClick(app.arrow(c.spin, c.up), Qt::LeftButton);
            CheckSent(app, c.field);
        }
    }

    void spinButtonsStopAtTheirLimits()
    {
        WaveShape shape;
        shape.playStart = 0;
        shape.playEnd = 8999;
        shape.loopStart = 0;
        shape.loopEnd = 8999;
        shape.fineTune = 99;
        shape.pitch = 12700;
        shape.fraction = 0;
        WaveApp app(shape);
        const struct { const char *spin; bool up; const char *box; const char *text; } cases[] = {
            {"spnPlayStart", false, "txtPlayStart", "0"},  // at 0
            {"spnPlayStart", true, "txtPlayStart", "0"},   // the loop starts there
            {"spnPlayEnd", true, "txtPlayEnd", "8999"},    // the Wave's last sample
            {"spnPlayEnd", false, "txtPlayEnd", "8999"},   // the loop ends there
            {"spnLoopEnd", true, "txtLoopEnd", "8999"},    // the play range ends there
            {"spnLoopStart", false, "txtLoopStart", "0"},  // the play range starts there
            {"spnLoopFract", false, "txtLoopFract", "0h"},
            {"spnFineTune", true, "txtFineTune", "99"},
            {"spnWavePitch", true, "txtWavePitch", "127"},
        };
        for (const auto &c : cases) {
            QTest::mouseClick(app.arrow(c.spin, c.up), Qt::LeftButton);
            QVERIFY2(app.box(c.box)->text() == QLatin1String(c.text), c.spin);
        }
        QVERIFY(app.requests().isEmpty());
    }

    void scrollBarsCommitTheirEndsExactly()
    {
        const struct { WaveShape shape; int bar; int position; FieldCase field; } cases[] = {
            {Unlooped(), 1, 1, {"txtPlayEnd", "", 76, 8, 1, WaveField::PlayEnd, 4, "1"}},
            {WaveShape(), 1, 100, {"txtPlayEnd", "", 76, 8, 8999, WaveField::PlayEnd, 4, "8999"}},
            {WaveShape(), 2, 1, {"txtLoopStart", "", 92, 8, 100, WaveField::LoopStart, 4, "100"}},
            {WaveShape(), 2, 100, {"txtLoopStart", "", 92, 8, 6000, WaveField::LoopStart, 4, "6000"}},
            {WaveShape(), 3, 100, {"txtLoopEnd", "", 100, 8, 8000, WaveField::LoopEnd, 4, "8000"}},
            {WaveShape(), 4, 100, {"txtLoopFract", "", 108, 8, 0xFFFFFF, WaveField::LoopFraction, 4, "FFFFFFh"}},
            // With the loop off play start's range is 0 to play end: 8999 * 25 / 100.
            {LoopOffAt(4000, 8000), 0, 25, {"txtPlayStart", "", 68, 8, 2249, WaveField::PlayStart, 4, "2249"}},
        };
        for (const auto &c : cases) {
            WaveApp app(c.shape);
            app.bar(c.bar)->setValue(c.position);
            CheckSent(app, c.field);
        }
    }

    void draggingAScrollBarShowsValuesAndSendsOnce()
    {
        WaveApp app(Unlooped());
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

    void outOfRangePositionsAreRestoredAndNotSent()
    {
        // Play 100..8000, loop 2000..6000, length 9000.
        const struct { const char *box; const char *typed; const char *restored; } cases[] = {
            {"txtPlayStart", "7999", "100"}, // at play end - 1
            {"txtPlayStart", "8500", "100"},
            {"txtPlayEnd", "100", "8000"},   // at play start
            {"txtPlayEnd", "9000", "8000"},  // at the length
            {"txtLoopStart", "99", "2000"},  // before the play range
            {"txtLoopStart", "6001", "2000"}, // after the loop end
            {"txtLoopEnd", "1999", "6000"},  // before the loop start
            {"txtLoopEnd", "8001", "6000"},  // after the play range
            {"txtPlayStart", "99999999999", "100"},
        };
        WaveApp app;
        for (const auto &c : cases) {
            app.clearAndType(app.box(c.box), QLatin1String(c.typed));
            QVERIFY2(app.box(c.box)->text() == QLatin1String(c.restored), c.typed);
            QVERIFY2(!KeyInput::IsPending(app.box(c.box)), c.typed);
        }
        QVERIFY(app.uploads().isEmpty());
    }

    void theSpRefusesAPlayEndAtTheLengthAndTakesLengthLessOne()
    {
        // The SP's Wave is shorter than the one the program read: only the SP can refuse.
        WaveApp app;
        Write(app.vsp->device().memory().of(Vsp::Wave)[WaveNumber], WaveField::Length, 4, 8500);
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

    void withTheLoopOffAMovedPlayRangeTakesTheLoopAlong()
    {
        WaveApp app(LoopOffAt(1000, 8000));
        app.clearAndType(app.box("txtPlayEnd"), QStringLiteral("5000"));
        // The loop end follows the play end into the same upload; the loop start stays.
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{100, 8, 5000}, {76, 8, 5000}})});
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 5000u);
        QCOMPARE(app.held(WaveField::LoopStart, 4), 1000u);
        app.clearAndType(app.box("txtPlayStart"), QStringLiteral("1500"));
        QCOMPARE(app.uploads().size(), 2);
        QCOMPARE(app.uploads().at(1), app.expected({{100, 8, 5000}, {76, 8, 5000}, {92, 8, 1500}, {68, 8, 1500}}));
        QCOMPARE(app.held(WaveField::LoopStart, 4), 1500u);
    }

    // Undo puts back every field one edit changed, in one upload, as the edit sent them.
    void undoingAPlayEndThatTookTheLoopAlongPutsBothBack()
    {
        WaveApp app(LoopOffAt(1000, 8000));
        app.clearAndType(app.box("txtPlayEnd"), QStringLiteral("5000"));
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 5000u);
        auto *undo = app.find<QAction>("mnuUndo");
        QCOMPARE(undo->text(), QStringLiteral("&Undo Wave w#2 Play end"));
        app.vsp->clearTraffic();
        undo->trigger();
        // The Wave as it was: play end 8999, loop end 8000.
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{100, 8, 8000}, {76, 8, 8999}})});
        QCOMPARE(app.held(WaveField::PlayEnd, 4), 8999u);
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 8000u);
        QCOMPARE(app.box("txtPlayEnd")->text(), QStringLiteral("8999"));
        app.vsp->clearTraffic();
        app.find<QAction>("mnuRedo")->trigger();
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{100, 8, 5000}, {76, 8, 5000}})});
        QCOMPARE(app.held(WaveField::LoopEnd, 4), 5000u);
        QCOMPARE(app.held(WaveField::LoopStart, 4), 1000u);
    }

    void switchingTheLoopOnPullsAnOutsideLoopStartIn()
    {
        WaveShape shape = Unlooped();
        shape.playStart = 100;
        shape.playEnd = 8000;
        shape.loopStart = 50;
        shape.loopEnd = 5000;
        WaveApp app(shape);
        QTest::mouseClick(app.option("optLoopEnb"), Qt::LeftButton);
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{92, 8, 100}, {48, 2, WaveField::LoopOn}})});
        QCOMPARE(app.held(WaveField::Mode, 1), uint32_t(WaveField::LoopOn));
        QCOMPARE(app.held(WaveField::LoopStart, 4), 100u);
        QVERIFY(app.option("optLoopEnb")->isChecked());
        QCOMPARE(app.box("txtLoopStart")->text(), QStringLiteral("100"));
        QVERIFY(app.bar(2)->isEnabled());
    }

    void switchingTheLoopOffClearsOnlyTheLoopBit()
    {
        WaveApp app;
        QTest::mouseClick(app.option("optLoopDis"), Qt::LeftButton);
        const int mode = WaveField::LoopBidirectional | WaveField::Stereo;
        QCOMPARE(app.uploads(), QList<QByteArray>{app.expected({{48, 2, mode}})});
        QCOMPARE(app.held(WaveField::Mode, 1), uint32_t(mode));
        QCOMPARE(app.box("txtLoopStart")->text(), QString());
    }

    void theDirectionOptionsChangeNothing()
    {
        WaveApp app;
        QTest::mouseClick(app.option("optLoopFwdOnly"), Qt::LeftButton);
        QVERIFY(app.option("optLoopFwdRev")->isChecked());
        QVERIFY(!app.option("optLoopFwdOnly")->isChecked());
        QVERIFY(app.requests().isEmpty());
    }

    void aPitchIsCompletedOrRefused()
    {
        const struct { const char *typed; const char *shown; int64_t sent; } cases[] = {
            {".5", "0.5", 50},
            {"60.", "60", 6000},
            {"72", "72", 7200},
            {"128", "60.5", -1},
            {"1.2.3", "60.5", -1},
        };
        for (const auto &c : cases) {
            WaveApp app;
            app.clearAndType(app.box("txtWavePitch"), QLatin1String(c.typed));
            QVERIFY2(app.box("txtWavePitch")->text() == QLatin1String(c.shown), c.typed);
            QVERIFY2(!KeyInput::IsPending(app.box("txtWavePitch")), c.typed);
            if (c.sent < 0)
                QVERIFY2(app.uploads().isEmpty(), c.typed);
            else
                QVERIFY2(app.uploads() == QList<QByteArray>{app.expected({{128, 4, c.sent}})}, c.typed);
        }
    }

    void theNoteNameFollowsTheCommittedPitch()
    {
        WaveApp app;
        QLineEdit *note = app.box("txtWaveNote");
        QCOMPARE(note->text(), QStringLiteral("C4")); // 60.5 is named after the even 60
        app.clearAndType(app.box("txtWavePitch"), QStringLiteral("61.5"), false);
        QCOMPARE(note->text(), QStringLiteral("C4"));
        QTest::keyClick(app.box("txtWavePitch"), Qt::Key_Return);
        QCOMPARE(note->text(), QStringLiteral("D4")); // 61.5 goes to 62
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
        QVERIFY(play->isEnabled());
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
