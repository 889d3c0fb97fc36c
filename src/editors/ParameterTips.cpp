#include "editors/ParameterTips.h"

#include <QWidget>

namespace ParameterTips {

QString Text(const QString &name, int low, int high, const QString &unit)
{
    return Text(name, QString::number(low), QString::number(high), unit);
}

QString Text(const QString &name, const QString &low, const QString &high, const QString &unit)
{
    QString tip = QStringLiteral("%1: %2 to %3").arg(name, low, high);
    if (!unit.isEmpty())
        tip += QLatin1Char(' ') + unit;
    return tip;
}

QString Note(const QString &name, const QString &what)
{
    return QStringLiteral("%1: %2").arg(name, what);
}

void Set(std::initializer_list<QWidget *> controls, const QString &tip)
{
    for (QWidget *control : controls) {
        if (control)
            control->setToolTip(tip);
    }
}

void Set(QWidget *box, QWidget *partner, const QString &name, int low, int high, const QString &unit)
{
    Set({box, partner}, Text(name, low, high, unit));
}

} // namespace ParameterTips
