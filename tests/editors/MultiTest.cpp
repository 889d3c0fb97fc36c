// The Global tab's "Multi" frame: the Multi shown for the chosen group and channel, each edit
// sent as one upload of the whole Multi with the field in place and read back, and the tab's
// download that fetches the Multi and then the Global settings.
#include "ObjectApp.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "device/ObjectKinds.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

constexpr int ShownMulti = 0;
constexpr int DumpLength = 212;

struct MultiApp : ObjectApp {
    explicit MultiApp(std::initializer_list<Field> fields = {}, Vsp::SpMemory memory = StandardMemory())
        : ObjectApp(KindMulti, ShownMulti, DumpLength, fields, std::move(memory))
    {
        settleOn("Global");
    }

    QLineEdit *txt(int index) { return box(qPrintable(QStringLiteral("txtGlobal(%1)").arg(index))); }
    SpinButton *spn(int index) { return find<SpinButton>(QStringLiteral("spnGlobal(%1)").arg(index)); }
    QRadioButton *opt(int index) { return find<QRadioButton>(QStringLiteral("optGlobal(%1)").arg(index)); }
    QSlider *volumeSlider() { return find<QSlider>(QStringLiteral("sldGlobal(5)")); }

    void spin(int index, int steps)
    {
        for (int i = 0; i < std::abs(steps); ++i)
            emit steps > 0 ? spn(index)->SpinUp() : spn(index)->SpinDown();
    }
};

} // namespace

class MultiTest : public QObject {
    Q_OBJECT

private slots:
    // Channels 0 and 9 off-line, the others active. A channel's Preset stays within what a typed
    // number is held to, spun as typed.
    void eachChannelShowsAndSetsItsOwnBitVolumeAndPreset()
    {
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Preset)[127] = SpRecords::Preset("Top Kit");
        memory.of(Vsp::Preset)[200] = SpRecords::Preset("Beyond");
        MultiApp app({{52, 0x02}, {54, 0x01}, {56, 8}, {72, 1}, {152, 0x01}, {88, 1}, {120, 90}, {120 + 18, 33}}, memory);
        const struct { int index; const char *text; } boxes[] = {
            {0, "0"}, {1, "8"}, {2, "0"}, {3, "1"}, {4, "Second Kit"}, {5, "90"}};
        for (const auto &b : boxes) {
            QCOMPARE(app.txt(b.index)->text(), QLatin1String(b.text));
            QVERIFY2(app.txt(b.index)->isEnabled() && !KeyInput::IsPending(app.txt(b.index)), b.text);
        }
        QCOMPARE(app.volumeSlider()->value(), 90);
        for (int option : {1, 5, 7}) // 7: channel 0 is off-line
            QVERIFY2(app.opt(option)->isChecked(), qPrintable(QString::number(option)));
        // The boxes' labels, as the user reads them.
        QStringList labels;
        for (const QLabel *label : app.find<QGroupBox>("fraGlobal(0)")->findChildren<QLabel *>())
            labels << label->text();
        for (const char *caption : {"Allocation Group", "Max Polyphony", "Channel Number", "Preset (p#)", "Volume"})
            QVERIFY2(labels.contains(QLatin1String(caption)), caption);
        QVERIFY(app.requests().isEmpty());

        app.spin(2, 9);
        QCOMPARE(app.txt(2)->text(), QStringLiteral("9"));
        QVERIFY(app.opt(7)->isChecked());
        QCOMPARE(app.txt(3)->text(), QStringLiteral("0"));
        QCOMPARE(app.txt(5)->text(), QStringLiteral("33"));
        QVERIFY(app.requests().isEmpty());

        QByteArray before = app.image();
        app.opt(6)->click();
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 52, {0, 0, 0, 1})});
        QCOMPARE(app.heldByte(52), 0x00);
        QCOMPARE(app.heldByte(54), 0x01);
        QVERIFY(app.opt(6)->isChecked());
        QCOMPARE(app.txt(2)->text(), QStringLiteral("9"));

        app.vsp->clearTraffic();
        before = app.image();
        app.clearAndType(app.txt(5), QStringLiteral("100"));
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 138, {6, 4})});
        QCOMPARE(app.heldByte(138), 100);
        QCOMPARE(app.volumeSlider()->value(), 100);
        app.clearAndType(app.txt(5), QStringLiteral("200"));
        QCOMPARE(app.heldByte(138), 127);
        QCOMPARE(app.txt(5)->text(), QStringLiteral("127"));
        // Channel 9's Preset at 106, typed or spun ("+1", "-1"): the SP holds no Preset 50; 300 is held to 127.
        const struct { const char *input; int preset; const char *name; bool sent; } presets[] = {
            {"1", 1, "Second Kit", true}, {"50", 1, "Second Kit", false}, {"-1", 0, "Drum Kit", true},
            {"300", 127, "Top Kit", true}, {"+1", 127, "Top Kit", false}};
        for (const auto &p : presets) {
            app.vsp->clearTraffic();
            const QString input = QLatin1String(p.input);
            if (input.startsWith(QLatin1Char('+')) || input.startsWith(QLatin1Char('-')))
                app.spin(3, input.toInt());
            else
                app.clearAndType(app.txt(3), input);
            QVERIFY2(app.uploads().size() == (p.sent ? 1 : 0), p.input);
            QCOMPARE(app.heldByte(106), p.preset);
            QCOMPARE(app.txt(3)->text(), QString::number(p.preset));
            QCOMPARE(app.txt(4)->text(), QLatin1String(p.name));
        }

        app.spin(2, 6); // channel 15
        app.opt(7)->click();
        QCOMPARE(app.heldByte(52), 0x80);
        QCOMPARE(app.heldByte(54), 0x01);
        app.spin(2, 5); // stays at 15
        QCOMPARE(app.txt(2)->text(), QStringLiteral("15"));
    }

    void theGroupChosenShowsAndChangesOnlyItsOwn()
    {
        MultiApp app({{56 + 6, 12}, {72 + 6, 3}, {152, 0b0100'0001}, {56, 4}});
        app.spin(0, 3);
        QCOMPARE(app.txt(0)->text(), QStringLiteral("3"));
        QCOMPARE(app.txt(1)->text(), QStringLiteral("12"));
        QVERIFY(app.opt(3)->isChecked() && app.opt(4)->isChecked());
        QVERIFY(app.requests().isEmpty());

        const QByteArray before = app.image();
        app.opt(5)->click();
        QCOMPARE(app.uploads(), QList<QByteArray>{WithNibbles(before, 152, {4, 9})});
        QCOMPARE(app.heldByte(152), 0b0100'1001);
        app.opt(4)->click();
        QCOMPARE(app.heldByte(152), 0b0100'0001);
        app.opt(0)->click();
        QCOMPARE(app.heldByte(78), 0);
        QCOMPARE(app.heldByte(72), 0);
        app.spin(1, 1);
        QCOMPARE(app.heldByte(62), 13);
        QCOMPARE(app.heldByte(56), 4);
        QCOMPARE(app.txt(1)->text(), QStringLiteral("13"));
    }

    void aRefusedEditWhoseReadBackNeverComesIsNotShownAsTheSps()
    {
        MultiApp app({{120, 90}});
        app.shortTimeouts();
        app.vsp->setFaultPlan([](const QByteArray &request) {
            if (request.size() == DumpLength)
                return VirtualSpBackend::Fault{VirtualSpBackend::Fault::Status, 5};
            return DumpRequestFor(KindMulti, ShownMulti)(request) ? VirtualSpBackend::Fault{VirtualSpBackend::Fault::NoAnswer}
                                                                  : VirtualSpBackend::Fault{};
        });
        app.clearAndType(app.txt(5), QStringLiteral("40"));
        QCOMPARE(app.heldByte(120), 90);
        app.clearAndType(app.box("txtObjectNum"), QString());
        QCOMPARE(app.txt(5)->text(), QStringLiteral("90"));
    }

    void theTabsDownloadAndAnEditsReadBackFetchTheMultiThenTheGlobal()
    {
        MultiApp app;
        app.vsp->device().memory().global.bankName = "Fresh Bank    ";
        SpRecords::SetAt(app.held(), 120, 77);
        QTest::mouseClick(app.find<QPushButton>("cmdDownLoad"), Qt::LeftButton);
        const QList<QByteArray> expected = {
            SpMessage({0x12, 0x01, 0x01, KindMulti}),
            SpMessage({0x12, 0x02, 0x01, KindMulti}),
            DumpRequest(KindMulti, ShownMulti),
            SpMessage({0x11, 0x02, 0x01, 0x00}),
            SpMessage({0x11, 0x03, 0x02, 0x01, 0x00}),
            SpMessage({0x11, 0x03, 0x02, 0x02, 0x00}),
            SpMessage({0x11, 0x03, 0x02, 0x03, 0x00}),
            SpMessage({0x11, 0x03, 0x02, 0x04, 0x00}),
            SpMessage({0x11, 0x03, 0x02, 0x05, 0x00}),
            SpMessage({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}),
        };
        QCOMPARE(app.requests(), expected);
        QCOMPARE(app.txt(5)->text(), QStringLiteral("77"));
        QCOMPARE(app.txt(8)->text(), QStringLiteral("Fresh Bank    "));

        // The read-back after an edit is the tab's own download.
        app.vsp->clearTraffic();
        app.vsp->device().memory().global.bankName = "Other Bank    ";
        app.clearAndType(app.txt(5), QStringLiteral("64"));
        QVERIFY(app.requests().contains(DumpRequest(KindMulti, ShownMulti)));
        QCOMPARE(app.txt(8)->text(), QStringLiteral("Other Bank    "));

        // Without Multis the frame is cleared, and the download still reads the Global.
        Vsp::SpMemory memory = VspApp::StandardMemory();
        memory.of(Vsp::Multi).clear();
        VspApp none;
        none.start(std::move(memory));
        none.showTab("Global");
        none.vsp->clearTraffic();
        for (int index : {0, 1, 2, 3, 4, 5}) {
            QLineEdit *box = none.box(qPrintable(QStringLiteral("txtGlobal(%1)").arg(index)));
            QVERIFY2(box->text().isEmpty() && !box->isEnabled(), qPrintable(box->objectName()));
        }
        QTest::mouseClick(none.find<QPushButton>("cmdDownLoad"), Qt::LeftButton);
        QCOMPARE(none.requests(), QList<QByteArray>{expected.first()} + expected.mid(3));
        QVERIFY(none.notifier.messages.isEmpty());
    }
};

QTEST_MAIN(MultiTest)
#include "MultiTest.moc"
