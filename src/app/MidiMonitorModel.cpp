#include "app/MidiMonitorModel.h"

#include "objects/MessageDescription.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QTextStream>

#include <array>

namespace {

struct ColumnInfo {
    const char *title;
    Qt::Alignment alignment;
};

const std::array<ColumnInfo, MidiMonitorModel::Columns> ColumnTable = {{
    {"Time (ms)", Qt::AlignRight | Qt::AlignVCenter},
    {"Dir", Qt::AlignCenter},
    {"Length", Qt::AlignRight | Qt::AlignVCenter},
    {"Meaning", Qt::AlignLeft | Qt::AlignVCenter},
    {"Bytes", Qt::AlignLeft | Qt::AlignVCenter},
}};

// Sixteen bytes a line, for the tooltip.
QString HexLines(const QByteArray &message)
{
    QStringList lines;
    for (qsizetype at = 0; at < message.size(); at += 16)
        lines << MessageDescription::Hex(message.mid(at, 16));
    return lines.join(QLatin1Char('\n'));
}

bool IsSysEx(const QByteArray &message)
{
    return !message.isEmpty() && static_cast<uint8_t>(message.at(0)) == 0xF0;
}

} // namespace

MidiMonitorModel::MidiMonitorModel(QObject *parent) : QAbstractTableModel(parent)
{
    batch.setSingleShot(true);
    batch.setInterval(BatchMs);
    connect(&batch, &QTimer::timeout, this, &MidiMonitorModel::flush);
}

void MidiMonitorModel::push(const MidiTrace::Event &event)
{
    if (paused) {
        ++skippedWhilePaused;
        return;
    }
    const bool out = event.direction == MidiTrace::Direction::Out;
    pending.push_back({event.nanoseconds, event.direction, event.message, out ? QByteArray() : lastRequest, {}, {}});
    if (out && IsSysEx(event.message))
        lastRequest = event.message;
    // More than a whole list waiting: the oldest could never be shown.
    if (pending.size() > static_cast<size_t>(2 * MaxRows))
        pending.erase(pending.begin(), pending.begin() + MaxRows);
    if (!batch.isActive())
        batch.start();
}

void MidiMonitorModel::flush()
{
    batch.stop();
    if (pending.empty())
        return;
    if (pending.size() > static_cast<size_t>(MaxRows))
        pending.erase(pending.begin(), pending.end() - MaxRows);
    const int incoming = static_cast<int>(pending.size());
    const int overflow = static_cast<int>(rows.size()) + incoming - MaxRows;
    if (overflow > 0) {
        beginRemoveRows({}, 0, overflow - 1);
        rows.erase(rows.begin(), rows.begin() + overflow);
        endRemoveRows();
    }
    const int first = static_cast<int>(rows.size());
    beginInsertRows({}, first, first + incoming - 1);
    for (Row &row : pending)
        rows.push_back(std::move(row));
    pending.clear();
    endInsertRows();
}

void MidiMonitorModel::clear()
{
    batch.stop();
    beginResetModel();
    rows.clear();
    pending.clear();
    endResetModel();
    skippedWhilePaused = 0;
}

void MidiMonitorModel::setPaused(bool on)
{
    if (on == paused)
        return;
    paused = on;
    if (on)
        flush(); // what came before the pause is shown
    else
        skippedWhilePaused = 0;
}

const QString &MidiMonitorModel::Meaning(const Row &row) const
{
    if (row.meaning.isNull()) {
        const auto direction = row.direction == MidiTrace::Direction::Out ? MessageDescription::Direction::Out
                                                                          : MessageDescription::Direction::In;
        row.meaning = MessageDescription::Describe(row.message, direction, row.request);
    }
    return row.meaning;
}

const QString &MidiMonitorModel::Bytes(const Row &row) const
{
    if (row.bytes.isNull())
        row.bytes = MessageDescription::Hex(row.message, RowBytes);
    return row.bytes;
}

QString MidiMonitorModel::text(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const Row &r = rows[static_cast<size_t>(row)];
    switch (column) {
    case TimeColumn: return QString::number(static_cast<double>(r.nanoseconds) / 1e6, 'f', 3);
    case DirectionColumn: return r.direction == MidiTrace::Direction::Out ? QStringLiteral("OUT") : QStringLiteral("IN");
    case LengthColumn: return QString::number(r.message.size());
    case MeaningColumn: return Meaning(r);
    case BytesColumn: return Bytes(r);
    default: return {};
    }
}

QByteArray MidiMonitorModel::message(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows[static_cast<size_t>(row)].message;
}

void MidiMonitorModel::Write(QTextStream &out) const
{
    out << "Time (ms)\tDir\tLength\tMeaning\tBytes\n";
    for (int row = 0; row < rowCount(); ++row) {
        for (int column : {TimeColumn, DirectionColumn, LengthColumn, MeaningColumn})
            out << text(row, column) << '\t';
        out << MessageDescription::Hex(message(row)) << '\n';
    }
}

int MidiMonitorModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int MidiMonitorModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant MidiMonitorModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return text(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == BytesColumn)
            return HexLines(row.message);
        if (index.column() == MeaningColumn)
            return Meaning(row);
        return {};
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColumnTable[static_cast<size_t>(index.column())].alignment);
    case Qt::FontRole:
        if (index.column() == BytesColumn) {
            static const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            return fixed;
        }
        return {};
    case Qt::ForegroundRole:
        // The colours of the two activity lights: red out, green in.
        if (index.column() == DirectionColumn)
            return QBrush(row.direction == MidiTrace::Direction::Out ? QColor(180, 30, 20) : QColor(20, 130, 20));
        return {};
    default: return {};
    }
}

QVariant MidiMonitorModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Columns)
        return {};
    if (role == Qt::DisplayRole)
        return QLatin1String(ColumnTable[static_cast<size_t>(section)].title);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnTable[static_cast<size_t>(section)].alignment);
    return {};
}
