// The MIDI monitor: what a user opens when the SP does not answer. The whole program on the
// Virtual SP, the monitor opened from its menu, and the rows read back from its list.
#include "VspApp.h"
#include "app/MidiMonitorModel.h"
#include "app/frmMonitor.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

namespace {

struct MonitorApp : VspApp {
    MonitorApp()
    {
        start();
        QApplication::processEvents();
    }
    QAction *menu() { return find<QAction>(QStringLiteral("mnuMonitor")); }
    frmMonitor *open()
    {
        menu()->trigger();
        return find<frmMonitor>(QStringLiteral("frmMonitor"));
    }
    void press(int index) { find<QPushButton>(QStringLiteral("cmdPushButton(%1)").arg(index))->click(); }
};

struct Row {
    QString direction, length, meaning, bytes;
};

Row RowOf(const MidiMonitorModel &model, int row)
{
    return {model.text(row, MidiMonitorModel::DirectionColumn), model.text(row, MidiMonitorModel::LengthColumn),
            model.text(row, MidiMonitorModel::MeaningColumn), model.text(row, MidiMonitorModel::BytesColumn)};
}

MidiTrace::Event NoteEvent(int i)
{
    // Each message tells its number: note and velocity carry it.
    return {i * 1000LL, MidiTrace::Direction::In, Wire({0x90, (i / 128) % 128, i % 128})};
}

} // namespace

class MonitorTest : public QObject {
    Q_OBJECT

private slots:
    void opensFromTheToolsMenuOnceAndListensOnlyWhileOpen()
    {
        MonitorApp app;
        QVERIFY(app.menu());
        QCOMPARE(app.menu()->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QVERIFY(!app.session().trace.hasListeners());
        frmMonitor *monitor = app.open();
        QVERIFY(monitor);
        QVERIFY(monitor->isVisible());
        QVERIFY(monitor->isWindow());
        QVERIFY(app.session().trace.hasListeners());
        QCOMPARE(app.open(), monitor);
        QCOMPARE(app.main()->findChildren<frmMonitor *>().size(), 1);

        monitor->close();
        QVERIFY(!app.session().trace.hasListeners());
        app.press(0);
        QCOMPARE(app.open(), monitor);
        monitor->model().flush();
        QCOMPARE(monitor->model().rowCount(), 0); // nothing was listened to while closed

        app.main()->close();
        QVERIFY(!monitor->isVisible());
        QVERIFY(!app.session().trace.hasListeners());
    }

    void showsARealExchangeWithTheSp()
    {
        MonitorApp app;
        frmMonitor *monitor = app.open();
        MidiMonitorModel &model = monitor->model();
        app.press(0); // Wave
        app.showTab("Tone1"); // presses the Tone key
        model.flush();
        QCOMPARE(model.rowCount(), 4); // each key's press and the SP's status; the rows' text is saved below
        QCOMPARE(RowOf(model, 2).meaning, QStringLiteral("Front-panel key Tone"));
        // Times in milliseconds with three decimals, in order.
        const QString t0 = model.text(0, MidiMonitorModel::TimeColumn);
        const QString t1 = model.text(1, MidiMonitorModel::TimeColumn);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d{3}$")).match(t0).hasMatch());
        QVERIFY(t0.toDouble() <= t1.toDouble());
        QVERIFY(t0.toDouble() > 0);
        // The directions in the lights' colours.
        const QModelIndex out = model.index(0, MidiMonitorModel::DirectionColumn);
        QCOMPARE(out.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(180, 30, 20));

        // A long message, the Tone's dump, is shortened in its row and whole in its tooltip.
        app.main()->retrieval().ObjectDownload(KindTone);
        model.flush();
        int dump = -1;
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.message(row).size() == 180)
                dump = row;
        }
        QVERIFY(dump >= 0);
        const QString shortened = RowOf(model, dump).bytes;
        QVERIFY(shortened.endsWith(QStringLiteral("\u2026 F7")));
        QCOMPARE(shortened.split(' ').size(), MidiMonitorModel::RowBytes + 1);
        const QString tip = model.index(dump, MidiMonitorModel::BytesColumn).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.split(QRegularExpression(QStringLiteral("\\s+"))).size(), 180);

        // Selecting a row shows it whole below the list.
        auto *list = monitor->findChild<QTableView *>(QStringLiteral("lstMonitor"));
        list->setCurrentIndex(model.index(dump, 0));
        const QString detail = monitor->findChild<QPlainTextEdit *>(QStringLiteral("txtMonitorDetail"))->toPlainText();
        QVERIFY(detail.contains(QStringLiteral("180 bytes")));
        QVERIFY(detail.contains(QStringLiteral("Tone dump")));
        QVERIFY(detail.contains(QStringLiteral("176  ")));

        // The program's own notes, as the audition sends them, with their bytes as sent.
        app.session().comms.MidiOutShortMsg(0x90, 60, 0);
        model.flush();
        const int last = model.rowCount() - 1;
        QCOMPARE(RowOf(model, last).meaning, QStringLiteral("Note off ch 1 C4 (note on, velocity 0)"));
        QCOMPARE(RowOf(model, last).bytes, QStringLiteral("90 3C 00"));
    }

    void pauseStopsNewRowsAndResumeContinues()
    {
        MonitorApp app;
        frmMonitor *monitor = app.open();
        MidiMonitorModel &model = monitor->model();
        auto *pause = monitor->findChild<QPushButton *>(QStringLiteral("cmdMonitorPause"));
        auto *count = monitor->findChild<QLabel *>(QStringLiteral("lblMonitorCount"));
        app.press(8);
        pause->click();
        QCOMPARE(model.rowCount(), 2); // what came before the pause is shown
        QCOMPARE(pause->text(), QStringLiteral("&Resume"));
        QCOMPARE(count->text(), QStringLiteral("2 messages (paused)"));
        app.press(9);
        model.flush();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.skipped(), 2);
        pause->click();
        QCOMPARE(pause->text(), QStringLiteral("&Pause"));
        app.press(9);
        model.flush();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(RowOf(model, 2).meaning, QStringLiteral("Front-panel key -/Dec"));
        QCOMPARE(count->text(), QStringLiteral("4 messages"));

        monitor->findChild<QPushButton *>(QStringLiteral("cmdMonitorClear"))->click();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(count->text(), QStringLiteral("0 messages"));
        app.press(8);
        model.flush();
        QCOMPARE(model.rowCount(), 2);
    }

    void keepsTheLastTenThousandMessages()
    {
        MonitorApp app;
        frmMonitor *monitor = app.open();
        MidiMonitorModel &model = monitor->model();
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        for (int i = 0; i < 6000; ++i)
            model.push(NoteEvent(i));
        model.flush();
        QCOMPARE(model.rowCount(), 6000);
        for (int i = 6000; i < 10050; ++i)
            model.push(NoteEvent(i));
        QCOMPARE(model.rowCount(), 6000); // rows come in batches, not one by one
        model.flush();
        QCOMPARE(model.rowCount(), MidiMonitorModel::MaxRows);
        QCOMPARE(model.message(0), NoteEvent(50).message);
        QCOMPARE(model.message(MidiMonitorModel::MaxRows - 1), NoteEvent(10049).message);
        QCOMPARE(model.text(0, MidiMonitorModel::TimeColumn), QStringLiteral("0.050"));
        QCOMPARE(removed.size(), 1);

        // More than a whole list at once keeps only its newest.
        model.clear();
        for (int i = 0; i < 25000; ++i)
            model.push(NoteEvent(i));
        model.flush();
        QCOMPARE(model.rowCount(), MidiMonitorModel::MaxRows);
        QCOMPARE(model.message(0), NoteEvent(15000).message);
    }

    void rowsArriveWithoutBeingAskedFor()
    {
        MonitorApp app;
        frmMonitor *monitor = app.open();
        QSignalSpy inserted(&monitor->model(), &QAbstractItemModel::rowsInserted);
        app.press(8);
        QVERIFY(inserted.wait(5000));
        QCOMPARE(monitor->model().rowCount(), 2);
    }

    void savesTheListAsText()
    {
        MonitorApp app;
        frmMonitor *monitor = app.open();
        app.press(0);
        const QString path = app.file(QStringLiteral("monitor.txt"));
        QVERIFY(monitor->SaveAsText(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Time (ms)\tDir\tLength\tMeaning\tBytes"));
        const QStringList out = lines[1].split('\t');
        QCOMPARE(out.mid(1), (QStringList{"OUT", "12", "Front-panel key Wave", "F0 00 00 1B 02 05 7F 11 01 01 03 F7"}));
        QCOMPARE(out[0], monitor->model().text(0, MidiMonitorModel::TimeColumn));
        QCOMPARE(lines[2].section('\t', 1), QStringLiteral("IN\t10\tStatus 0: OK\tF0 00 00 1B 02 05 7F 00 00 F7"));

        QString error;
        QVERIFY(!monitor->SaveAsText(app.file(QStringLiteral("no/such/folder/monitor.txt")), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(MonitorTest)
#include "MonitorTest.moc"
