// The tooltips of the parameter controls: the parameter's name, its range and its unit, in one
// wording for every tab. Editors hand over what their tables know; nothing else writes
// tooltips on parameter boxes and sliders.
#pragma once

#include <QString>

#include <initializer_list>

class QWidget;

namespace ParameterTips {

// "Volume: 0 to 127", "Fine tune: -99 to 99 cents".
QString Text(const QString &name, int low, int high, const QString &unit = {});
// For ends that read better as words or decimals: "Pan: -99 (left) to 99 (right)".
QString Text(const QString &name, const QString &low, const QString &high, const QString &unit = {});
// A value with no range to type in (a name, or a value only shown): "Name: up to 14 characters".
QString Note(const QString &name, const QString &what);

// Puts the tip on every control that edits or shows the same value: the box, its slider or
// spin button. Missing controls (nullptr) are skipped.
void Set(std::initializer_list<QWidget *> controls, const QString &tip);

// The shortcut most editors need: the box, its partner, name, range and unit.
void Set(QWidget *box, QWidget *partner, const QString &name, int low, int high, const QString &unit = {});

} // namespace ParameterTips
