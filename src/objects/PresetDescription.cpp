#include "objects/PresetDescription.h"

#include <QStringList>

namespace PresetDescription {

namespace {

struct ControllerName {
    int number;
    const char *name;
};

// The controllers a player reaches for, named in the list so they are found at a glance.
constexpr ControllerName Named[] = {
    {1, "mod wheel"},   {2, "breath ctl"},  {4, "foot ctl"},     {5, "porta time"},   {6, "data entry"},
    {7, "volume"},      {8, "balance"},     {10, "pan"},         {11, "expression"},  {64, "sustain ped"},
    {65, "porta sw"},   {66, "sostenuto"},  {67, "soft pedal"},  {96, "data inc"},    {97, "data dec"},
    {98, "nrg prm ls"}, {99, "nrg prm ms"}, {100, "reg prm ls"}, {101, "reg prm ms"},
};

QString ControllerEntry(int number)
{
    for (const ControllerName &named : Named) {
        if (named.number == number) {
            // The spaces keep the names in one column beside numbers of one to three digits.
            const QString digits = QString::number(number);
            const int spaces = 7 - 2 * static_cast<int>(digits.size());
            return digits + QString(spaces, QLatin1Char(' ')) + QLatin1Char('(') + QLatin1String(named.name)
                   + QLatin1Char(')');
        }
    }
    return QString::number(number);
}

} // namespace

size_t RowOf(int index)
{
    for (size_t row = 0; row < Boxes.size(); ++row) {
        if (Boxes[row].index == index)
            return row;
    }
    return Boxes.size();
}

const QStringList &AuxiliaryControllers()
{
    static const QStringList list = [] {
        QStringList l{QStringLiteral("Off")};
        for (int number = 0; number <= HighestController; ++number)
            l << ControllerEntry(number);
        return l;
    }();
    return list;
}

int AuxiliaryIndex(int value)
{
    if (value == AuxOff)
        return 0;
    return value >= 0 && value <= HighestController ? value + 1 : -1;
}

int AuxiliaryValue(int listIndex)
{
    return listIndex <= 0 ? AuxOff : listIndex - 1;
}

QStringList ComboEntries(const Combo &combo)
{
    if (combo.values == ComboValues::Controller)
        return AuxiliaryControllers();
    QStringList entries;
    const std::span<const char *const> list = combo.index == 0 ? std::span<const char *const>(PresetModes)
                                                               : std::span<const char *const>(Controllers);
    for (const char *entry : list)
        entries << QLatin1String(entry);
    return entries;
}

} // namespace PresetDescription
