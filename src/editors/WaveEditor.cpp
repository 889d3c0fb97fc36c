#include "editors/WaveEditor.h"

#include "app/Session.h"
#include "objects/ObjectDumps.h"

WaveEditor::WaveEditor(Session &session, EditRules &rules, QWidget *parent)
    : QWidget(parent), session(session), rules(rules)
{
    setObjectName(QStringLiteral("WaveEditor"));
}

bool WaveEditor::WaveObjDump(int number)
{
    return ObjectDumps::FixedDump(session.io, KindWave, number);
}

void WaveEditor::LoadWaveDisplay() {}
