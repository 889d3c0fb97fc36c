#include "editors/ToneEditor.h"

#include "app/Session.h"
#include "objects/ObjectDumps.h"

ToneEditor::ToneEditor(Session &session, EditRules &rules, std::array<QWidget *, 3> pages, QObject *parent)
    : QObject(parent), session(session), rules(rules), pages(pages)
{
}

bool ToneEditor::ToneObjDump(int number)
{
    return ObjectDumps::FixedDump(session.io, KindTone, number);
}

void ToneEditor::LoadToneDisplay() {}
