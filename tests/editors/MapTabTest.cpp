// The Map tab: the held Map's zone shown in every box, zones chosen, each zone edit sent as a
// Map Zone upload found by a note of the zone and read back, the neighbour rules on the wire,
// the Tone chosen among those the SP holds, options sent inside the whole Map, and answers
// the SP refuses or garbles.
#include "MapApp.h"
#include "ObjectApp.h"

using namespace MapTest;
using Fault = VirtualSpBackend::Fault;

class MapTabTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheZoneChosenByTypingAndSpinningInEveryBox()
    {
        MapApp app;
        const struct { int zone; QStringList boxes; int volume, pan; QList<int> checked; } cases[] = {
            {0, {"0", "3", "Kick Tone", "10", "20", "A#-", "G#0", "80", "0", "0", "0"}, 80, 0, {0, 2, 5}},
            {1, {"1", "7", "Snare Tone", "21", "40", "A0", "E2", "70", "-5", "-40", "3"}, 70, -40, {1, 3, 4}},
        };
        for (const auto &c : cases) {
            app.selectZone(c.zone);
            for (int i = 0; i < 11; ++i) {
                QCOMPARE(app.txt(i)->text(), c.boxes[i]);
                QVERIFY2(!KeyInput::IsPending(app.txt(i)) && app.txt(i)->isEnabled(), qPrintable(QString::number(i)));
            }
            QCOMPARE(app.volume()->value(), c.volume);
            QCOMPARE(app.pan()->value(), c.pan);
            for (int option : c.checked)
                QVERIFY2(app.opt(option)->isChecked(), qPrintable(QString::number(option)));
        }
        QCOMPARE(app.panel(2), QStringLiteral("m# 4"));
        QCOMPARE(app.find<QLineEdit>("txtObjectName")->text(), QStringLiteral("Split Map"));
        const struct { const char *action; QString expected; } steps[] = {
            {"0", "0"}, {"up", "1"}, {"up", "2"}, {"up", "3"}, {"up", "3"}, {"4", "3"}, {"down", "2"}, {"0", "0"},
            {"down", "0"}, {"17", "0"},
        };
        for (const auto &s : steps) {
            const QString action = QLatin1String(s.action);
            if (action == QLatin1String("up") || action == QLatin1String("down"))
                app.spin(0, action == QLatin1String("up"));
            else
                app.clearAndType(app.txt(0), action);
            QCOMPARE(app.txt(0)->text(), s.expected);
            QCOMPARE(app.session().objects.CurrentZone, s.expected.toInt());
            QVERIFY(!KeyInput::IsPending(app.txt(0)));
            QCOMPARE(app.txt(3)->text(), QString::number(FourZones[static_cast<size_t>(s.expected.toInt())].low));
        }
        QVERIFY(app.requests().isEmpty()); // choosing a zone asks the SP nothing
    }

    void eachEditSendsTheZoneFoundByItsLowNoteThenReadsItBack()
    {
        const struct { const char *what; int zone, box; const char *typed; const char *shown; int position, byte, field, selector;
                       const char *toneName = nullptr; bool dragged = false; } cases[] = {
            {"volume", 1, 7, "55", "55", 30, 55, Vsp::ZoneField::Volume, 21},
            {"volume above 99", 1, 7, "150", "99", 30, 99, Vsp::ZoneField::Volume, 21},
            {"negative transpose", 1, 8, "-12", "-12", 28, 244, Vsp::ZoneField::Transpose, 21},
            {"transpose down to -127", 1, 8, "-127", "-127", 28, 129, Vsp::ZoneField::Transpose, 21},
            {"transpose above 127", 1, 8, "200", "127", 28, 127, Vsp::ZoneField::Transpose, 21},
            {"negative pan", 2, 9, "-99", "-99", 32, 157, Vsp::ZoneField::Pan, 50},
            {"pan above 99", 2, 9, "150", "99", 32, 99, Vsp::ZoneField::Pan, 50},
            {"group keeps the exclusive bit", 1, 10, "5", "5", 38, 0x15, Vsp::ZoneField::Allocation, 21},
            {"group above 7", 1, 10, "9", "7", 38, 0x17, Vsp::ZoneField::Allocation, 21},
            {"high note", 1, 4, "45", "45", 26, 45, Vsp::ZoneField::HighNote, 21},
            {"low note: found by the high note", 2, 3, "45", "45", 24, 45, Vsp::ZoneField::LowNote, 60},
            {"last zone's low note", 3, 3, "75", "75", 24, 75, Vsp::ZoneField::LowNote, 90},
            // A typed Tone moves up to one the SP holds: Tones 3, 7 and 12.
            {"tone 8", 2, 1, "8", "12", 22, 12, Vsp::ZoneField::Tone, 50, "Hat Tone"},
            {"tone 7", 2, 1, "7", "7", 22, 7, Vsp::ZoneField::Tone, 50, "Snare Tone"},
            {"tone 20", 2, 1, "20", "12", 22, 12, Vsp::ZoneField::Tone, 50, "Hat Tone"},
            {"tone 0", 2, 1, "0", "3", 22, 3, Vsp::ZoneField::Tone, 50, "Kick Tone"},
            {"tone 4", 2, 1, "4", "7", 22, 7, Vsp::ZoneField::Tone, 50, "Snare Tone"},
            // A slider sends once, when let go.
            {"pan dragged", 1, 9, "-20", "-20", 32, 236, Vsp::ZoneField::Pan, 21, nullptr, true},
        };
        for (const auto &c : cases) {
            MapApp app;
            app.selectZone(c.zone);
            const QByteArray image = app.zoneImage(c.zone);
            if (c.dragged) {
                app.pan()->setFocus();
                app.pan()->setSliderDown(true);
                app.pan()->setSliderPosition(QByteArray(c.typed).toInt());
                QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.typed));
                QVERIFY(app.requests().isEmpty());
                app.pan()->setSliderDown(false);
            } else {
                app.clearAndType(app.txt(c.box), QLatin1String(c.typed));
            }
            const int low = c.field == Vsp::ZoneField::LowNote ? c.byte : FourZones[static_cast<size_t>(c.zone)].low;
            QCOMPARE(app.requests(), (QList<QByteArray>{ZoneUpload(c.selector, image, c.position, c.byte), ZoneRequest(low)}));
            QCOMPARE(app.heldByte(c.zone, c.field), c.byte);
            QCOMPARE(app.txt(c.box)->text(), QLatin1String(c.shown));
            QVERIFY2(!KeyInput::IsPending(app.txt(c.box)), c.what);
            if (c.toneName)
                QCOMPARE(app.txt(2)->text(), QLatin1String(c.toneName));
            // The zone's image is the SP's own again.
            QCOMPARE(app.zoneImage(c.zone), app.vsp->traffic().last().message.mid(19, 32));
            QVERIFY(app.notifier.messages.isEmpty());
        }
    }

    void boundariesMoveByTheNeighbourRules()
    {
        struct Sent { int selector, position, byte; };
        const struct { const char *what; int zone, box; const char *typed; QList<Sent> sent; int low, high; } cases[] = {
            {"low onto the touching zone: refused", 1, 3, "20", {}, 21, 40},
            {"high into the next zone: one below it", 0, 4, "30", {{10, 26, 20}}, 10, 20},
            {"low above the high note pushes it first", 2, 3, "65", {{50, 26, 65}, {65, 24, 65}}, 65, 65},
            {"high into the gap below brings the low note along", 2, 4, "45", {{60, 24, 45}, {45, 26, 45}}, 45, 45},
            {"the last zone pushed up", 3, 3, "100", {{70, 26, 100}, {100, 24, 100}}, 100, 100},
            {"high spun up", 1, 4, "up", {{21, 26, 41}}, 21, 41},
            {"low spun down onto the touching zone: refused", 1, 3, "down", {}, 21, 40},
        };
        for (const auto &c : cases) {
            MapApp app;
            app.selectZone(c.zone);
            QByteArray image = app.zoneImage(c.zone);
            const QLatin1String typed(c.typed);
            if (typed == QLatin1String("up") || typed == QLatin1String("down"))
                app.spin(c.box, typed == QLatin1String("up"));
            else
                app.clearAndType(app.txt(c.box), typed);
            QList<QByteArray> expected;
            int low = FourZones[static_cast<size_t>(c.zone)].low;
            for (const Sent &s : c.sent) {
                expected << ZoneUpload(s.selector, image, s.position, s.byte);
                image = expected.last().mid(19, 32); // the zone as the next upload finds it
                if (s.position == 24)
                    low = s.byte;
                expected << ZoneRequest(low);
            }
            QCOMPARE(app.requests(), expected);
            QCOMPARE(app.heldByte(c.zone, Vsp::ZoneField::LowNote), c.low);
            QCOMPARE(app.heldByte(c.zone, Vsp::ZoneField::HighNote), c.high);
            QCOMPARE(app.txt(3)->text(), QString::number(c.low));
            QCOMPARE(app.txt(4)->text(), QString::number(c.high));
            QVERIFY2(!KeyInput::IsPending(app.txt(c.box)), c.what);
            QVERIFY2(app.notifier.messages.isEmpty(), c.what);
        }
    }

    // The spin button steps only onto the Tones the SP holds, and says so when it holds none.
    void theToneSpinStepsThroughTheTonesTheSpHolds()
    {
        MapApp app;
        const struct { bool up; int tone; } spins[] = {{true, 7}, {true, 12}, {true, 12}, {false, 7}, {false, 3}, {false, 3}};
        for (const auto &s : spins) {
            app.spin(1, s.up);
            QCOMPARE(app.txt(1)->text(), QString::number(s.tone));
            QCOMPARE(app.heldByte(0, Vsp::ZoneField::Tone), s.tone);
        }

        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Tone).clear();
        MapApp none(FourZones, memory);
        none.spin(1, true);
        QCOMPARE(none.notifier.shown(), QStringList{"[Load Tone Object] There are no Tone Objects loaded into the SP"});
        // The SP was asked once more for its Tones, and nothing was sent.
        QCOMPARE(none.requests().size(), 1);
        QCOMPARE(none.txt(1)->text(), QStringLiteral("3"));
    }

    void optionsFlipOneBitInsideTheWholeMap()
    {
        const struct { int option; int field; int before, after; } cases[] = {
            {0, Vsp::ZoneField::Output, 1, 0},
            {3, Vsp::ZoneField::Tuning, 0x80, 0x80}, // already fixed: nothing
            {2, Vsp::ZoneField::Tuning, 0x80, 0},
            {5, Vsp::ZoneField::Allocation, 0x13, 0x03},
        };
        for (const auto &c : cases) {
            MapApp app;
            app.selectZone(1);
            const QByteArray map = app.session().objects.of(KindMap).Image;
            app.opt(c.option)->click();
            QCOMPARE(app.heldByte(1, c.field), c.after);
            if (c.before == c.after) {
                QVERIFY(app.requests().isEmpty());
                QVERIFY(app.opt(c.option)->isChecked());
                continue;
            }
            // Zone 1's byte at 84 + 32 + 2 * field, the rest of the Map as it was read.
            QCOMPARE(app.requests().value(0), WithNibbles(map, 84 + 32 + 2 * c.field, {c.after / 16, c.after % 16}));
            QCOMPARE(app.requests().value(1), ZoneRequest(21));
            QCOMPARE(app.session().objects.CurrentZone, 1);
        }
        // A whole-Map upload after a zone edit carries that edit too.
        MapApp app;
        app.selectZone(1);
        app.clearAndType(app.txt(7), QStringLiteral("33"));
        app.vsp->clearTraffic();
        app.opt(0)->click();
        QCOMPARE(app.heldByte(1, Vsp::ZoneField::Volume), 33);
        QCOMPARE(app.heldByte(1, Vsp::ZoneField::Output), 0);
    }

    void aZoneEditTheSpRefusesStaysRedAndADamagedReadBackIsNotKept()
    {
        MapApp app;
        app.selectZone(1);
        app.vsp->injectFault({Fault::Status, 11});
        app.clearAndType(app.txt(7), QStringLiteral("42"));
        QCOMPARE(app.requests().size(), 2);
        QCOMPARE(app.requests().value(1), ZoneRequest(21));
        QCOMPARE(app.heldByte(1, Vsp::ZoneField::Volume), 70);
        QVERIFY(KeyInput::IsPending(app.txt(7)));
        QCOMPARE(app.txt(7)->text(), QStringLiteral("70")); // the SP's own value, in red
        QCOMPARE(app.notifier.messages.size(), 1);
        // The next accepted edit paints it black again.
        app.clearAndType(app.txt(7), QStringLiteral("43"));
        QVERIFY(!KeyInput::IsPending(app.txt(7)));
        QCOMPARE(app.heldByte(1, Vsp::ZoneField::Volume), 43);

        // A garbled zone read back is not kept: the image holds what the SP accepted.
        const QByteArray image = app.zoneImage(1);
        app.notifier.messages.clear();
        app.vsp->setFaultPlan(FaultOn(DumpRequestsOf(KindMapZone), {Fault::Corrupt, 30}));
        app.clearAndType(app.txt(7), QStringLiteral("12"));
        QCOMPARE(app.heldByte(1, Vsp::ZoneField::Volume), 12);
        QCOMPARE(app.notifier.shown(), QStringList{"MapZoneObjDump(): Error downloading Map Zone object from SP"});
        QCOMPARE(app.zoneImage(1), ZoneUpload(21, image, 30, 12).mid(19, 32));
    }

    void aDamagedMapIsRefusedAndTheMapShownKept()
    {
        const struct { const char *what; Fault fault; } faults[] = {
            {"damaged nibble", {Fault::Corrupt, 120}},
            {"cut short", {Fault::Truncate, 150}},
        };
        for (const auto &f : faults) {
            MapApp app;
            app.selectZone(2);
            const QVector<QByteArray> images = app.session().objects.ZoneImages;
            app.vsp->setFaultPlan(FaultOn([once = true](const QByteArray &request) mutable {
                return DumpRequestsOf(KindMap)(request) && std::exchange(once, false);
            }, f.fault));
            app.main()->retrieval().ObjectDownload(KindMap);
            QCOMPARE(app.notifier.shown(), QStringList{"MapObjDump(): Error downloading Map object from SP"});
            QCOMPARE(app.session().objects.ZoneImages, images);
            QCOMPARE(app.txt(3)->text(), QStringLiteral("50"));
        }
    }

    void aMapWithZonesOutOfOrderIsShown()
    {
        MapApp app({{50, 40, 3}, {30, 60, 7}, {30, 60, 12}, {100, 127, 3}});
        QCOMPARE(app.txt(3)->text(), QStringLiteral("50"));
        QCOMPARE(app.txt(4)->text(), QStringLiteral("40"));
        app.selectZone(2);
        QCOMPARE(app.txt(1)->text(), QStringLiteral("12"));
        // Editing still follows the rules as far as they go and never crashes.
        app.clearAndType(app.txt(3), QStringLiteral("70"));
        app.clearAndType(app.txt(4), QStringLiteral("20"));
        QVERIFY(app.main()->isVisible());
    }
};

QTEST_MAIN(MapTabTest)
#include "MapTabTest.moc"
