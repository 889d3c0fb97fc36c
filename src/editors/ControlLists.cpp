#include "editors/ControlLists.h"

#include <QHash>
#include <QWidget>

namespace {

using ControlLists::Element;

void AddRange(QStringList &list, const char *name, int first, int last)
{
    for (int i = first; i <= last; ++i)
        list << Element(name, i);
}

void AddNames(QStringList &list, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        list << QLatin1String(name);
}

} // namespace

namespace ControlLists {

QString Element(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

const QStringList &WaveControls()
{
    static const QStringList list = [] {
        QStringList l;
        AddNames(l, {"txtPlayStart", "txtPlayEnd", "txtLoopStart", "txtLoopEnd", "txtLoopFract", "txtWavePitch",
                     "txtWaveNote", "txtFineTune", "txtWaveMode", "txtWaveAddr", "txtWaveSize", "txtChecksum",
                     "txtWaveLen", "txtSampPeriod", "txtWaveNorm", "optLoopEnb", "optLoopDis", "optLoopFwdOnly",
                     "optLoopFwdRev"});
        AddRange(l, "hscWave", 0, 4);
        return l;
    }();
    return list;
}

const QStringList &ToneEnvControls()
{
    static const QStringList list = [] {
        QStringList l;
        for (const char *env : {"Env1", "Env2"}) {
            for (const char *type : {"txt", "sld"}) {
                for (const char *stage : {"Att", "Sus", "Dec", "Rel"})
                    l << QLatin1String(type) + QLatin1String(env) + QLatin1String(stage);
            }
        }
        AddRange(l, "optToneEnvSel", 0, 11);
        AddRange(l, "cboTone", 0, 7);
        AddRange(l, "optToneModMode", 0, 31);
        return l;
    }();
    return list;
}

const QStringList &ToneControls()
{
    static const QStringList list = [] {
        QStringList l;
        const struct { const char *name; int last; } families[] = {
            {"DCA", 2}, {"DCF", 4}, {"DCO", 3}, {"Pan", 3}, {"LFO", 5}};
        for (const auto &family : families) {
            AddRange(l, (QByteArray("txt") + family.name).constData(), 0, family.last);
            AddRange(l, (QByteArray("sld") + family.name).constData(), 0, family.last);
        }
        l << Element("spnTone", 0) << Element("txtTone", 0) << Element("txtTone", 1);
        return l;
    }();
    return list;
}

const QStringList &MapControls()
{
    static const QStringList list = [] {
        QStringList l;
        AddRange(l, "txtMap", 0, 10);
        l << Element("sldMap", 7) << Element("sldMapH", 9) << QStringLiteral("hsbKey");
        AddRange(l, "optMap", 0, 5);
        return l;
    }();
    return list;
}

const QStringList &PresetControls()
{
    static const QStringList list = [] {
        QStringList l;
        AddRange(l, "cboPreset", 0, 6);
        AddRange(l, "txtPreset", 0, 25);
        l << Element("hsldPreset", 16);
        for (int i : {0, 1, 4, 12})
            l << Element("sldPreset", i);
        AddRange(l, "sldPreset", 17, 24);
        AddRange(l, "optPreset", 0, 10);
        return l;
    }();
    return list;
}

const QStringList &MultiControls()
{
    static const QStringList list = [] {
        QStringList l;
        AddRange(l, "txtGlobal", 0, 5);
        l << Element("sldGlobal", 5);
        AddRange(l, "optGlobal", 0, 7);
        return l;
    }();
    return list;
}

const QStringList &GlobalControls()
{
    static const QStringList list = [] {
        QStringList l;
        AddRange(l, "txtGlobal", 6, 9);
        l << Element("sldGlobal", 7) << Element("sldGlobal", 9) << Element("spnGlobal", 6);
        AddRange(l, "optGlobal", 8, 12);
        return l;
    }();
    return list;
}

QStringList ForKind(int kind)
{
    switch (kind) {
    case Wave:
        return WaveControls();
    case Tone:
        return ToneEnvControls() + ToneControls();
    case Map:
        return MapControls();
    case Preset:
        return PresetControls();
    case Multi:
        return MultiControls();
    case Global:
        return GlobalControls();
    default:
        return {};
    }
}

QList<QWidget *> Find(const QWidget *root, const QStringList &names)
{
    QHash<QString, QWidget *> byName;
    for (QWidget *child : root->findChildren<QWidget *>()) {
        if (!byName.contains(child->objectName()))
            byName.insert(child->objectName(), child);
    }
    QList<QWidget *> found;
    for (const QString &name : names) {
        if (QWidget *control = byName.value(name))
            found.append(control);
    }
    return found;
}

bool BlackKey(int note)
{
    static constexpr bool BlackKeys[12] = {false, true, false, true, false, false,
                                           true, false, true, false, true, false};
    return BlackKeys[((note % 12) + 12) % 12];
}

} // namespace ControlLists
