// The Map tab's keyboard: keys coloured by zone as the key widgets show them, the strip's zone
// numbers, the scroll bar moving the keys by octaves, and a drag across the keys sounding each
// key once and silencing every note on release.
#include "MapApp.h"
#include "widgets/LedWidget.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

using namespace MapTest;

namespace {

QColor Fill(QWidget *key)
{
    return key->palette().color(QPalette::Window);
}

const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);
const QColor Black(0, 0, 0);
const QColor ZoneColours[] = {{217, 255, 217}, {255, 217, 217}, {213, 213, 255}, {255, 255, 217}};

struct KeyboardApp : MapApp {
    using MapApp::MapApp;

    QFrame *key(int index) { return find<QFrame>(QStringLiteral("pnlKey(%1)").arg(index)); }
    QWidget *panel() { return find<QWidget>(QStringLiteral("pnlKey(128)")); }
    QLabel *zoneLabel(int zone) { return find<QLabel>(QStringLiteral("lblZone(%1)").arg(zone)); }

    // A point on a key's lower half, where no black key lies over a white one.
    QPoint onKey(int index)
    {
        const QRect r = key(index)->geometry();
        return QPoint(r.center().x(), r.top() + r.height() * 9 / 10);
    }
    void mouse(QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, panel()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(panel(), &event);
    }
    void press(int index) { mouse(QEvent::MouseButtonPress, onKey(index), Qt::LeftButton, Qt::LeftButton); }
    void moveTo(int index) { mouse(QEvent::MouseMove, onKey(index), Qt::NoButton, Qt::LeftButton); }
    void release(int index) { mouse(QEvent::MouseButtonRelease, onKey(index), Qt::LeftButton, Qt::NoButton); }

    QList<QByteArray> notes()
    {
        QList<QByteArray> sent = requests();
        sent.removeIf([](const QByteArray &m) { return m.size() != 3; });
        return sent;
    }
};

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void keysAreColouredByTheirZone()
    {
        KeyboardApp app;
        // Each of the four zones in its colour, the zone shown white.
        const auto expected = [](int note, int current) {
            for (int z = 0; z < 4; ++z) {
                if (FourZones[z].low <= note && note <= FourZones[z].high)
                    return z == current ? White : ZoneColours[z];
            }
            return Grey;
        };
        const struct { int octave, current; } views[] = {{0, 0}, {0, 2}, {2, 0}};
        for (const auto &v : views) {
            app.octaves()->setValue(v.octave);
            app.selectZone(v.current);
            for (int k = 0; k < 72; ++k) {
                const bool black = QList<int>{1, 3, 6, 8, 10}.contains(k % 12);
                QCOMPARE(Fill(app.key(k)), black ? Black : expected(12 * v.octave + k, v.current));
            }
        }
    }

    void theScrollBarMovesTheKeysByOctavesAndAClearedMapLeavesNone()
    {
        KeyboardApp app;
        QScrollBar *bar = app.octaves();
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 5);
        const struct { int octave; const char *first, *last; } cases[] = {
            {0, "C-", "C4"}, {3, "C2", "C7"}, {5, "C4", "C9"}, {4, "C3", "C8"}};
        for (const auto &c : cases) {
            bar->setValue(c.octave);
            QCOMPARE(app.find<QLabel>("lblKey(0)")->text(), QLatin1String(c.first));
            QCOMPARE(app.find<QLabel>("lblKey(5)")->text(), QLatin1String(c.last));
            for (int k = 0; k < 72; ++k) {
                QCOMPARE(app.key(k)->property("Tag").toString(), QString::number(12 * c.octave + k));
                // Notes above 127 have no key.
                QCOMPARE(app.key(k)->isHidden(), 12 * c.octave + k > 127);
            }
        }
        // A cleared Map leaves no zones on the keyboard.
        bar->setValue(0);
        app.main()->ClearObjDisplay(KindMap);
        for (int k : {12, 21, 50, 43, 71})
            QCOMPARE(Fill(app.key(k)), White);
        QCOMPARE(Fill(app.key(1)), Black);
        QVERIFY(!app.zoneLabel(0)->isVisible());
        QVERIFY(!app.zoneLabel(1));
        QVERIFY(app.main()->findChild<Keyboard *>()->StripDrawing().lines.isEmpty());
    }

    void theStripNumbersEachZoneOverItsBracket()
    {
        KeyboardApp app({{10, 20, 3}, {21, 21, 7}, {22, 40, 3}, {50, 60, 12}});
        app.octaves()->setValue(0);
        for (int z : {0, 2, 3}) {
            QLabel *label = app.zoneLabel(z);
            QVERIFY2(label && label->isVisible(), qPrintable(QString::number(z)));
            QCOMPARE(label->text(), QString::number(z));
            QCOMPARE(label->parentWidget(), app.find<QWidget>("picMap"));
        }
        // A single-note zone has its bracket but no number.
        QVERIFY(!app.zoneLabel(1) || !app.zoneLabel(1)->isVisible());
        // Zone 2's number sits over its own keys (22 to 40), between zone 0's and zone 3's.
        const int x2 = app.zoneLabel(2)->geometry().center().x();
        QVERIFY(x2 > app.key(22)->geometry().left() && x2 < app.key(40)->geometry().right());
        QVERIFY(app.zoneLabel(0)->geometry().center().x() < x2);
        QVERIFY(app.zoneLabel(3)->geometry().center().x() > x2);
        // Scrolled away from zones 0 to 2, only zone 3's number is left.
        app.octaves()->setValue(4);
        QVERIFY(!app.zoneLabel(0)->isVisible());
        QVERIFY(!app.zoneLabel(2) || !app.zoneLabel(2)->isVisible());
        QVERIFY(app.zoneLabel(3) && app.zoneLabel(3)->isVisible());
        // Lines: zone 3's bracket with its two ticks.
        QCOMPARE(app.main()->findChild<Keyboard *>()->StripDrawing().lines.size(), 3);
    }

    void draggingSoundsEachKeyOnceAndReleaseSilencesThemAllAsTheOctavesMove()
    {
        KeyboardApp app;
        SpConfig &sp = app.session().settings.sp;
        sp.PlayBackMidiChannel = 2;
        sp.PlayBackVelocityOn = 100;
        sp.PlayBackVelocityOff = 30;
        app.octaves()->setValue(3); // key k is note 36 + k
        app.press(0);
        for (int k : {0, 0, 1, 2, 2, 0})
            app.moveTo(k);
        QCOMPARE(app.notes(), (QList<QByteArray>{Wire({0x92, 36, 100}), Wire({0x92, 37, 100}), Wire({0x92, 38, 100}),
                                                 Wire({0x92, 36, 100})}));
        QCOMPARE(app.key(2)->frameShadow(), QFrame::Sunken);
        QVERIFY(app.find<LedWidget>("ledMIDIout")->property("lit").toBool());
        app.vsp->clearTraffic();
        app.release(0);
        QCOMPARE(app.notes(), (QList<QByteArray>{Wire({0x82, 36, 30}), Wire({0x82, 37, 30}), Wire({0x82, 38, 30}),
                                                 Wire({0x82, 36, 30})}));
        for (int k : {0, 1, 2})
            QCOMPARE(app.key(k)->frameShadow(), QFrame::Raised);
        // Moving without a button held plays nothing; nor does a key above 127.
        app.vsp->clearTraffic();
        app.moveTo(5);
        QVERIFY(app.notes().isEmpty());
        app.octaves()->setValue(5);
        app.press(70);
        app.release(70);
        QVERIFY(app.notes().isEmpty());
        app.press(67); // note 127
        app.release(67);
        QCOMPARE(app.notes(), (QList<QByteArray>{Wire({0x92, 127, 100}), Wire({0x82, 127, 30})}));

        // The scroll bar moved in the middle of a drag (its arrow keys, the wheel): the keys drawn
        // pressed are those whose notes sound, and letting go leaves none pressed.
        app.octaves()->setValue(3);
        app.press(12); // note 48
        app.octaves()->setValue(4);
        QCOMPARE(app.key(0)->frameShadow(), QFrame::Sunken); // note 48, now key 0
        QCOMPARE(app.key(12)->frameShadow(), QFrame::Raised);
        app.moveTo(5); // note 53
        app.vsp->clearTraffic();
        app.release(5);
        QCOMPARE(app.notes().size(), 2);
        for (int k = 0; k < 72; ++k)
            QVERIFY2(app.key(k)->frameShadow() == QFrame::Raised, qPrintable(QString::number(k)));
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
