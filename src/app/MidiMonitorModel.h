// The MIDI monitor's list: every message in and out with its time, direction, length, meaning
// and bytes, the last MaxRows of them. Messages are taken as they pass and appear as rows in
// batches, at most every BatchMs, so that watching the traffic costs the exchange nothing; a
// row's meaning and hexadecimal text are worked out only when someone looks at them.
#pragma once

#include "midi/MidiTrace.h"

#include <QAbstractTableModel>
#include <QTimer>

#include <deque>
#include <vector>

class QTextStream;

class MidiMonitorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MaxRows = 10000;
    static constexpr int BatchMs = 50;
    // Bytes shown in a row; the whole message is in the tooltip and the detail.
    static constexpr int RowBytes = 20;
    enum Column { TimeColumn, DirectionColumn, LengthColumn, MeaningColumn, BytesColumn, Columns };

    explicit MidiMonitorModel(QObject *parent = nullptr);

    // Takes one message; it becomes a row at the next flush. Dropped while paused.
    void push(const MidiTrace::Event &event);
    // Turns the waiting messages into rows at once, dropping the oldest beyond MaxRows.
    void flush();
    void clear();
    void setPaused(bool on);
    bool isPaused() const { return paused; }
    // Messages that passed while paused and are not shown.
    int skipped() const { return skippedWhilePaused; }
    int waiting() const { return static_cast<int>(pending.size()); }

    // The cell's text as shown, and the row's message in full.
    QString text(int row, int column) const;
    QByteArray message(int row) const;
    // The whole list as text, one line per message, the bytes in full.
    void Write(QTextStream &out) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        qint64 nanoseconds;
        MidiTrace::Direction direction;
        QByteArray message;
        QByteArray request; // the last SysEx sent before an incoming one, which it may answer
        mutable QString meaning;
        mutable QString bytes;
    };
    const QString &Meaning(const Row &row) const;
    const QString &Bytes(const Row &row) const;

    std::deque<Row> rows;
    std::vector<Row> pending;
    QByteArray lastRequest;
    QTimer batch;
    bool paused = false;
    int skippedWhilePaused = 0;
};
