#include "app/EditorTable.h"

#include "device/ObjectKinds.h"
#include "editors/GlobalEditor.h"
#include "editors/MapEditor.h"
#include "editors/MultiEditor.h"
#include "editors/PresetEditor.h"
#include "editors/ToneEditor.h"
#include "editors/WaveEditor.h"

#include <QBoxLayout>

namespace EditorTable {

namespace {

KindEditor *MakePreset(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *window)
{
    return new PresetEditor(session, rules, pages[0], pages[1], window);
}

KindEditor *MakeMap(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *)
{
    auto *layout = new QVBoxLayout(pages[0]);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *editor = new MapEditor(session, rules, pages[0]);
    layout->addWidget(editor);
    return editor;
}

KindEditor *MakeTone(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *window)
{
    return new ToneEditor(session, rules, {pages[0], pages[1], pages[2]}, window);
}

KindEditor *MakeWave(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *)
{
    auto *layout = new QVBoxLayout(pages[0]);
    auto *editor = new WaveEditor(session, rules, pages[0]);
    layout->addWidget(editor);
    return editor;
}

KindEditor *MakeMulti(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *)
{
    auto *layout = new QHBoxLayout(pages[0]);
    auto *editor = new MultiEditor(session, rules, pages[0]);
    layout->addWidget(editor, 0, Qt::AlignTop);
    return editor;
}

// Beside the Multi, in the row its page already has.
KindEditor *MakeGlobal(Session &session, EditRules &rules, const std::vector<QWidget *> &pages, QWidget *)
{
    auto *layout = qobject_cast<QBoxLayout *>(pages[0]->layout());
    auto *editor = new GlobalEditor(session, rules, pages[0]);
    layout->addWidget(editor);
    layout->addStretch(1);
    return editor;
}

} // namespace

const std::vector<Entry> &Entries()
{
    static const std::vector<Entry> entries = {
        {KindPreset, {{"Preset1"}, {"Preset2"}}, MakePreset},
        {KindMap, {{"Map"}}, MakeMap},
        {KindTone, {{"Tone1", "Tone2", "Tone3"}}, MakeTone},
        {KindWave, {{"Wave"}}, MakeWave},
        {KindMulti, {{"Global"}}, MakeMulti},
        {KindGlobal, {{"Global"}}, MakeGlobal},
    };
    return entries;
}

} // namespace EditorTable
