#include "editors/WaveChange.h"

#include "editors/Session.h"
#include "editors/EditRules.h"
#include "widgets/KeyInput.h"
#include "midi/NoteNames.h"
#include "widgets/SpinButton.h"
#include "device/NibbleCodec.h"

#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include <cmath>
#include <limits>

namespace {

constexpr int64_t HighestSpunPitch = 12700; // 127 semitones: a step up from there would pass 127.99

using CommitRule = bool (WaveChange::*)(WaveParm);
using AcceptRule = std::optional<int64_t> (WaveChange::*)(int64_t);

struct SpinLimits {
    bool loopOnly;
    int64_t step; // in the stored value's units
    bool (*down)(int64_t current, const WaveValues &w);
    bool (*up)(int64_t current, const WaveValues &w);
};

// By WaveParm: the value a spin button steps from is the box's; the others are the stored ones.
const std::array<SpinLimits, WaveParmCount> &SpinTable()
{
    static const std::array<SpinLimits, WaveParmCount> table = {{
        {false, 1, [](int64_t c, const WaveValues &) { return c > 0; },
         [](int64_t c, const WaveValues &w) { return c < w.playEnd - 1 && (!w.loopOn() || c < w.loopStart); }},
        {false, 1, [](int64_t c, const WaveValues &w) { return c > w.playStart + 1 && (!w.loopOn() || c > w.loopEnd); },
         [](int64_t c, const WaveValues &w) { return c < int64_t(w.length) - 1; }},
        {true, 1, [](int64_t c, const WaveValues &w) { return c > w.playStart; },
         [](int64_t c, const WaveValues &w) { return c < w.loopEnd && c < w.playEnd; }},
        {true, 1, [](int64_t c, const WaveValues &w) { return c > w.loopStart && c > w.playStart; },
         [](int64_t c, const WaveValues &w) { return c >= w.loopStart && c < w.playEnd && c < w.length; }},
        {true, 1, [](int64_t c, const WaveValues &) { return c > 0; },
         [](int64_t c, const WaveValues &) { return c < WaveDump::LargestFraction; }},
        {false, 1, [](int64_t c, const WaveValues &) { return c > -WaveDump::FineTuneLimit; },
         [](int64_t c, const WaveValues &) { return c < WaveDump::FineTuneLimit; }},
        {false, 100, [](int64_t c, const WaveValues &) { return c > 0; },
         [](int64_t c, const WaveValues &) { return c < HighestSpunPitch; }},
    }};
    return table;
}

// The box's text as a stored value: hundredths for the pitch, hexadecimal for the fraction.
std::optional<int64_t> BoxValue(WaveParm parm, const QString &text)
{
    bool ok = false;
    int64_t value = 0;
    if (parm == WaveParm::Pitch)
        value = std::llround(QLocale::c().toDouble(text, &ok) * 100.0);
    else if (parm == WaveParm::LoopFract)
        value = text.chopped(text.endsWith(QLatin1Char('h')) ? 1 : 0).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool FitsInt32(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok && value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

} // namespace

WaveChange::WaveChange(Session &session, EditRules &rules, const WaveWidgets &widgets, WaveValues &wave,
                       std::function<void()> reload, QObject *parent)
    : QObject(parent), session(session), rules(rules), widgets(widgets), wave(wave), reload(std::move(reload))
{
}

int16_t WaveChange::number() const
{
    return session.objects.of(KindWave).Num;
}

void WaveChange::Restore(WaveParm parm)
{
    rules.Restore(widgets[parm], wave.storedText(parm));
}

bool WaveChange::Change_WaveParm(WaveParm parm)
{
    static constexpr std::array<CommitRule, WaveParmCount> Commits = {
        &WaveChange::CommitInteger,      &WaveChange::CommitInteger, &WaveChange::CommitInteger,
        &WaveChange::CommitInteger,      &WaveChange::CommitLoopFraction,
        &WaveChange::CommitInteger,      &WaveChange::CommitPitch};
    return (this->*Commits[Index(parm)])(parm);
}

bool WaveChange::CommitInteger(WaveParm parm)
{
    static constexpr std::array<AcceptRule, WaveParmCount> Accepts = {
        &WaveChange::AcceptPlayStart, &WaveChange::AcceptPlayEnd, &WaveChange::AcceptLoopStart,
        &WaveChange::AcceptLoopEnd,   nullptr,                    &WaveChange::AcceptFineTune, nullptr};
    QLineEdit *box = widgets[parm];
    const QString text = box->text();
    // Digits beyond what the SP's 32-bit fields hold are refused like any value out of range.
    if (!text.isEmpty() && text != QLatin1String("-") && !FitsInt32(text)) {
        Restore(parm);
        return false;
    }
    const auto typed = rules.CommitValue(box, parm == WaveParm::FineTune);
    if (!typed)
        return false;
    const auto value = (this->*Accepts[Index(parm)])(*typed);
    if (!value) {
        Restore(parm);
        return false;
    }
    return Upload(parm, *value);
}

std::optional<int64_t> WaveChange::AcceptPlayStart(int64_t v)
{
    if (v < 0 || v >= wave.playEnd - 1)
        return std::nullopt;
    if (wave.loopOn()) {
        // The play range may not start inside the loop.
        if (v > wave.loopStart) {
            rules.Rewrite(widgets[WaveParm::PlayStart], QString::number(wave.loopStart));
            v = wave.loopStart;
        }
        return v;
    }
    return Check_LoopPoints(v, wave.playEnd) ? std::optional(v) : std::nullopt;
}

std::optional<int64_t> WaveChange::AcceptPlayEnd(int64_t v)
{
    if (v <= wave.playStart || v >= wave.length)
        return std::nullopt;
    if (wave.loopOn()) {
        if (v < wave.loopEnd) {
            rules.Rewrite(widgets[WaveParm::PlayEnd], QString::number(wave.loopEnd));
            v = wave.loopEnd;
        }
        return v;
    }
    return Check_LoopPoints(wave.playStart, v) ? std::optional(v) : std::nullopt;
}

std::optional<int64_t> WaveChange::AcceptLoopStart(int64_t v)
{
    const bool inside = v >= wave.playStart && v < wave.playEnd - 1 && v <= wave.loopEnd;
    return wave.loopOn() && inside ? std::optional(v) : std::nullopt;
}

std::optional<int64_t> WaveChange::AcceptLoopEnd(int64_t v)
{
    const bool inside = v >= wave.loopStart && v <= wave.playEnd && v > wave.playStart && v <= wave.length;
    return wave.loopOn() && inside ? std::optional(v) : std::nullopt;
}

std::optional<int64_t> WaveChange::AcceptFineTune(int64_t v)
{
    // Typed values above the range are clamped by the common rules; those below it here.
    if (v < -WaveDump::FineTuneLimit) {
        rules.Rewrite(widgets[WaveParm::FineTune], QString::number(-WaveDump::FineTuneLimit));
        v = -WaveDump::FineTuneLimit;
    }
    return v;
}

bool WaveChange::CommitLoopFraction(WaveParm parm)
{
    QLineEdit *box = widgets[parm];
    const auto text = rules.CommitText(box);
    if (!wave.loopOn() || !text)
        return false;
    const auto value = BoxValue(parm, *text);
    if (!value || *value < 0) {
        Restore(parm);
        return false;
    }
    return Upload(parm, *value);
}

bool WaveChange::CommitPitch(WaveParm parm)
{
    QLineEdit *box = widgets[parm];
    const auto committed = rules.CommitText(box);
    if (!committed || committed->isEmpty())
        return false;
    QString text = *committed;
    // A point typed at either end is completed to a number.
    if (text.startsWith(QLatin1Char('.'))) {
        text.prepend(QLatin1Char('0'));
        rules.Rewrite(box, text);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.append(QStringLiteral("00"));
        rules.Rewrite(box, text);
    }
    const auto hundredths = BoxValue(parm, text);
    if (!hundredths || *hundredths < 0 || *hundredths > WaveDump::HighestPitch) {
        Restore(parm);
        return false;
    }
    return Upload(parm, *hundredths);
}

bool WaveChange::Upload(WaveParm parm, int64_t value)
{
    QLineEdit *box = widgets[parm];
    const WaveParmInfo &info = ParmInfo(parm);
    wave.setValue(parm, value);
    // A negative fine tune travels as its two's complement byte.
    const int64_t sent = parm == WaveParm::FineTune ? NibbleCodec::ByteOfSigned(static_cast<int>(value)) : value;
    rules.state().LastEditKey = 0;
    const bool accepted = session.io.ObjectUpload(KindWave, number(), sent, info.position, info.width, true);
    rules.Committed(box, accepted);
    if (accepted && parm == WaveParm::Pitch)
        ShowNoteName();
    return true;
}

bool WaveChange::Check_LoopPoints(int64_t playStart, int64_t playEnd)
{
    const bool startInside =
        wave.loopStart >= playStart && wave.loopStart < playEnd && wave.loopStart < wave.length - 1;
    if (!startInside && !session.io.ObjectUpload(KindWave, number(), playStart, WaveDump::LoopStart, 8, false))
        return false;
    const bool endInside = wave.loopEnd <= playEnd && wave.loopEnd < wave.length && wave.loopEnd >= wave.loopStart
                           && wave.loopEnd >= wave.playStart;
    if (!endInside && !session.io.ObjectUpload(KindWave, number(), playEnd, WaveDump::LoopEnd, 8, false))
        return false;
    return true;
}

void WaveChange::Spin(WaveParm parm, int step)
{
    const SpinLimits &limits = SpinTable()[Index(parm)];
    QLineEdit *box = widgets[parm];
    if (!rules.MaySpin(box) || (limits.loopOnly && !widgets.optLoopEnb->isChecked()))
        return;
    const auto current = BoxValue(parm, box->text());
    if (!current || !(step > 0 ? limits.up : limits.down)(*current, wave))
        return;
    int64_t next = *current + step * limits.step;
    if (parm == WaveParm::Pitch)
        next = std::max<int64_t>(next, 0); // a pitch below one semitone steps down to 0, not below
    rules.WriteFrom(widgets.spin[Index(parm)], box, ParmText(parm, next));
}

void WaveChange::SwitchLoop(bool on)
{
    if (rules.busy() || rules.state().EditPending || wave.loopOn() == on) {
        RevertLoopOptions(); // the click changed nothing
        return;
    }
    if (!Check_LoopPoints(wave.playStart, wave.playEnd)) {
        RevertLoopOptions();
        return;
    }
    const int64_t mode = on ? wave.mode | WaveDump::LoopOn : wave.mode & ~WaveDump::LoopOn;
    session.io.ObjectUpload(KindWave, number(), mode, WaveDump::Mode, 2, true);
    reload();
}

void WaveChange::ShowLoopOptions()
{
    (wave.loopOn() ? widgets.optLoopEnb : widgets.optLoopDis)->setChecked(true);
    (wave.fwdRev() ? widgets.optLoopFwdRev : widgets.optLoopFwdOnly)->setChecked(true);
}

void WaveChange::RevertLoopOptions()
{
    rules.Display([this] { ShowLoopOptions(); });
}

void WaveChange::ShowNoteName()
{
    bool ok = false;
    const double pitch = QLocale::c().toDouble(widgets[WaveParm::Pitch]->text(), &ok);
    // A pitch half-way between two notes is named after the even one.
    if (ok)
        widgets.txtWaveNote->setText(FormatNoteName(static_cast<int>(std::nearbyint(pitch))));
}
