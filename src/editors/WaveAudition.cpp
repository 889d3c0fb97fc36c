#include "editors/WaveAudition.h"

#include "editors/Session.h"

#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr uint8_t NoteOnStatus = 0x90;
constexpr uint8_t NoteOffStatus = 0x80;
} // namespace

WaveAudition::WaveAudition(Session &session, QObject *parent) : QObject(parent), session(session) {}

void WaveAudition::Attach(QPushButton *button)
{
    if (cmdPlaySample || !button)
        return;
    cmdPlaySample = button;
    // The note is held by the mouse alone; a key cannot release it.
    button->setFocusPolicy(Qt::NoFocus);
    button->installEventFilter(this);
}

bool WaveAudition::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != cmdPlaySample || !cmdPlaySample->isEnabled())
        return QObject::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if ((!press && type != QEvent::MouseButtonRelease) || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return QObject::eventFilter(watched, event);
    // The press and release are the button's whole action: it is never "clicked".
    cmdPlaySample->setDown(press);
    if (press)
        NoteOn();
    else
        NoteOff();
    return true;
}

void WaveAudition::NoteOn()
{
    const SpConfig &sp = session.settings.sp;
    session.comms.MidiOutShortMsg(static_cast<uint8_t>(NoteOnStatus + sp.PlayBackMidiChannel),
                                  static_cast<uint8_t>(sp.PlayBackNote), static_cast<uint8_t>(sp.PlayBackVelocityOn));
}

void WaveAudition::NoteOff()
{
    const SpConfig &sp = session.settings.sp;
    session.comms.MidiOutShortMsg(static_cast<uint8_t>(NoteOffStatus + sp.PlayBackMidiChannel),
                                  static_cast<uint8_t>(sp.PlayBackNote), static_cast<uint8_t>(sp.PlayBackVelocityOff));
}
