#include "editors/Keyboard.h"

#include "editors/Session.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

using namespace ZoneStrip;

namespace {

constexpr uint8_t NoteOnStatus = 0x90;
constexpr uint8_t NoteOffStatus = 0x80;

// The keyboard's own design, in twips: the zone header left of the strip, the strip, the keys,
// the octave captions under them and the scroll bar at the bottom.
constexpr int HeaderWidth = 600;
constexpr int KeysTop = StripHeight + 30;
constexpr int CaptionTop = KeysTop + WhiteHeight + 30;
constexpr int CaptionHeight = 240;
constexpr int CaptionWidth = 480;
constexpr int ScrollTop = CaptionTop + CaptionHeight + 30;
constexpr int ScrollHeight = 260;
constexpr int DesignWidth = HeaderWidth + PanelWidth;
constexpr int DesignHeight = ScrollTop + ScrollHeight;
constexpr double SmallestScale = 1.0 / 15; // one pixel a twip at the design's 96 dpi
constexpr double LargestScale = 1.0 / 8;

const QColor BlackKeyColour(0, 0, 0);
const QColor StripColour(0, 0, 0);

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

// picMap: the strip's brackets on black, scaled from the design.
class ZoneStripPicture : public QWidget {
public:
    explicit ZoneStripPicture(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picMap"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, StripColour);
        setPalette(p);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Show(Drawing d)
    {
        drawing = std::move(d);
        update();
    }
    const Drawing &Shown() const { return drawing; }
    void SetScale(double s) { scale = s; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), StripColour);
        painter.setPen(QPen(Qt::white, std::max(1.0, std::round(scale * 15)), Qt::SolidLine, Qt::FlatCap));
        for (const QLine &line : drawing.lines) {
            // Ticks run to the strip's bottom edge, onto the keys below.
            painter.drawLine(QPointF(line.x1() * scale, line.y1() * scale),
                             QPointF(line.x2() * scale, line.y2() == StripHeight ? height() : line.y2() * scale));
        }
    }

private:
    Drawing drawing;
    double scale = SmallestScale;
};

Keyboard::Keyboard(Session &session, QWidget *parent) : QWidget(parent), session(session)
{
    setObjectName(QStringLiteral("Keyboard"));

    lblZoneHdr = new QLabel(QStringLiteral("z#"), this);
    lblZoneHdr->setObjectName(QStringLiteral("lblZoneHdr"));
    lblZoneHdr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    picMap = new ZoneStripPicture(this);
    lblZone.push_back(ZoneLabel(0));
    lblZone[0]->hide();

    pnlKeyboard = new QWidget(this);
    pnlKeyboard->setObjectName(Indexed("pnlKey", 128));
    pnlKeyboard->installEventFilter(this);
    // White keys first, so the black ones lie on top of them.
    for (bool black : {false, true}) {
        for (int k = 0; k < Keys; ++k) {
            if (IsBlack(k) != black)
                continue;
            auto *key = new QFrame(pnlKeyboard);
            key->setObjectName(Indexed("pnlKey", k));
            key->setFrameStyle(QFrame::Panel | QFrame::Raised);
            key->setLineWidth(1);
            key->setAutoFillBackground(true);
            // The keyboard finds the key under the pointer itself, so a drag is never caught by
            // the key it started on.
            key->setAttribute(Qt::WA_TransparentForMouseEvents);
            pnlKey[static_cast<size_t>(k)] = key;
            SetKeyColour(k, black ? BlackKeyColour : CurrentZoneColour);
        }
    }

    for (int i = 0; i < Octaves; ++i) {
        auto *caption = new QLabel(this);
        caption->setObjectName(Indexed("lblKey", i));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblKey[static_cast<size_t>(i)] = caption;
    }

    hsbKey = new QScrollBar(Qt::Horizontal, this);
    hsbKey->setObjectName(QStringLiteral("hsbKey"));
    hsbKey->setRange(0, HighestOctave);
    hsbKey->setPageStep(1);
    hsbKey->setSingleStep(1);
    hsbKey->setValue(DefaultOctave);
    connect(hsbKey, &QScrollBar::valueChanged, this, [this] { hsbKey_Change(); });

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    hsbKey_Change();
}

QSize Keyboard::sizeHint() const
{
    return QSize(static_cast<int>(DesignWidth * SmallestScale * 1.25), static_cast<int>(DesignHeight * SmallestScale * 1.25));
}

QSize Keyboard::minimumSizeHint() const
{
    return QSize(static_cast<int>(DesignWidth * SmallestScale), static_cast<int>(DesignHeight * SmallestScale));
}

int Keyboard::Octave() const
{
    return hsbKey->value();
}

const Drawing &Keyboard::StripDrawing() const
{
    return picMap->Shown();
}

void Keyboard::SetZones(std::vector<Zone> newZones, int current)
{
    zones = std::move(newZones);
    currentZone = current;
}

QRect Keyboard::Scaled(const QRect &r) const
{
    const auto px = [this](int twips) { return static_cast<int>(std::lround(twips * scale)); };
    const int left = px(r.left());
    const int top = px(r.top());
    return QRect(left, top, std::max(1, px(r.left() + r.width()) - left), std::max(1, px(r.top() + r.height()) - top));
}

void Keyboard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Place();
}

void Keyboard::Place()
{
    scale = std::clamp(std::min(static_cast<double>(width()) / DesignWidth, static_cast<double>(height()) / DesignHeight),
                       SmallestScale / 2, LargestScale);
    // The keyboard stands centred in the room it is given.
    const QPoint origin((width() - static_cast<int>(DesignWidth * scale)) / 2,
                        (height() - static_cast<int>(DesignHeight * scale)) / 2);
    const auto place = [&](QWidget *widget, const QRect &design) { widget->setGeometry(Scaled(design).translated(origin)); };
    place(lblZoneHdr, QRect(0, 0, HeaderWidth - 60, StripHeight));
    place(picMap, QRect(HeaderWidth, 0, StripWidth, StripHeight));
    picMap->SetScale(scale);
    place(pnlKeyboard, QRect(HeaderWidth, KeysTop, PanelWidth, WhiteHeight));
    for (int k = 0; k < Keys; ++k)
        pnlKey[static_cast<size_t>(k)]->setGeometry(Scaled(QRect(KeyLeft(k), 0, KeyWidth(k), KeyHeight(k))));
    for (int i = 0; i < Octaves; ++i)
        place(lblKey[static_cast<size_t>(i)], QRect(HeaderWidth + KeyLeft(12 * i), CaptionTop, CaptionWidth, CaptionHeight));
    place(hsbKey, QRect(HeaderWidth, ScrollTop, PanelWidth, ScrollHeight));
    QFont small = font();
    small.setPixelSize(std::max(8, static_cast<int>(LabelHeight * scale)));
    for (QLabel *label : lblZone)
        label->setFont(small);
    PlaceLabels();
}

void Keyboard::hsbKey_Change()
{
    const int octave = Octave();
    for (int i = 0; i < Octaves; ++i)
        lblKey[static_cast<size_t>(i)]->setText(OctaveCaption(i, octave));
    for (int k = 0; k < Keys; ++k) {
        QFrame *key = pnlKey[static_cast<size_t>(k)];
        key->setProperty("Tag", QString::number(12 * octave + k));
        key->setVisible(!Hidden(k, octave));
    }
    ShowSounding();
    DrawMapZones();
}

void Keyboard::SetKeyColour(int key, const QColor &colour)
{
    QFrame *frame = pnlKey[static_cast<size_t>(key)];
    if (frame->palette().color(QPalette::Window) == colour)
        return;
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, colour);
    frame->setPalette(p);
}

QLabel *Keyboard::ZoneLabel(int zone)
{
    auto *label = new QLabel(picMap);
    label->setObjectName(Indexed("lblZone", zone));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, StripColour);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    QFont small = font();
    small.setPixelSize(std::max(8, static_cast<int>(LabelHeight * scale)));
    label->setFont(small);
    return label;
}

void Keyboard::DrawMapZones()
{
    const int octave = Octave();
    const auto colours = KeyColours(zones, currentZone, octave);
    for (int k = 0; k < Keys; ++k) {
        if (colours[static_cast<size_t>(k)])
            SetKeyColour(k, *colours[static_cast<size_t>(k)]);
    }
    picMap->Show(Draw(zones, octave));
    PlaceLabels();
}

void Keyboard::PlaceLabels()
{
    const Drawing &drawing = picMap->Shown();
    // Labels of an earlier drawing that this one does not show go; element 0 only hides.
    int highest = 0;
    for (const Label &label : drawing.labels)
        highest = std::max(highest, label.zone);
    while (static_cast<int>(lblZone.size()) > highest + 1) {
        delete lblZone.back();
        lblZone.pop_back();
    }
    std::vector<bool> shown(lblZone.size(), false);
    for (const Label &label : drawing.labels) {
        while (static_cast<int>(lblZone.size()) <= label.zone) {
            lblZone.push_back(ZoneLabel(static_cast<int>(lblZone.size())));
            shown.push_back(false);
        }
        QLabel *l = lblZone[static_cast<size_t>(label.zone)];
        l->setText(QString::number(label.zone));
        l->setGeometry(Scaled(label.rect));
        l->show();
        shown[static_cast<size_t>(label.zone)] = true;
    }
    for (size_t z = 0; z < lblZone.size(); ++z) {
        if (!shown[z])
            lblZone[z]->hide();
    }
}

void Keyboard::Clear()
{
    zones.clear();
    currentZone = 0;
    picMap->Show({});
    PlaceLabels();
    for (int k = 0; k < Keys; ++k) {
        if (!IsBlack(k))
            SetKeyColour(k, CurrentZoneColour);
    }
}

int Keyboard::KeyUnder(const QPoint &point) const
{
    const int x = static_cast<int>(std::floor(point.x() / scale));
    const int y = static_cast<int>(std::floor(point.y() / scale));
    return KeyAt(x, y, Octave());
}

bool Keyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != pnlKeyboard)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        dragging = true;
        KeyOver(KeyUnder(mouse->position().toPoint()));
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging)
            break;
        KeyOver(KeyUnder(static_cast<QMouseEvent *>(event)->position().toPoint()));
        return true;
    case QEvent::MouseButtonRelease:
        if (!dragging || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        KeysReleased();
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Keyboard::ShowPressed(int key, bool pressed)
{
    if (key >= 0 && key < Keys)
        pnlKey[static_cast<size_t>(key)]->setFrameShadow(pressed ? QFrame::Sunken : QFrame::Raised);
}

void Keyboard::ShowSounding()
{
    // By note, not by key: the octave may have moved since a key was pressed.
    const int lowest = 12 * Octave();
    for (int key = 0; key < Keys; ++key)
        ShowPressed(key, std::find(sounding.begin(), sounding.end(), lowest + key) != sounding.end());
}

void Keyboard::KeyOver(int key)
{
    if (key < 0)
        return; // between keys: the panel itself
    const int note = 12 * Octave() + key;
    // Still over the key sounded last: nothing new.
    if (!sounding.empty() && sounding.back() == note)
        return;
    if (static_cast<int>(sounding.size()) >= SoundingLimit)
        return;
    ShowPressed(key, true);
    const SpConfig &sp = session.settings.sp;
    session.comms.MidiOutShortMsg(static_cast<uint8_t>(NoteOnStatus + (sp.PlayBackMidiChannel & 0x0F)),
                                  static_cast<uint8_t>(note), static_cast<uint8_t>(sp.PlayBackVelocityOn & 0x7F));
    sounding.push_back(note);
}

void Keyboard::KeysReleased()
{
    dragging = false;
    const SpConfig &sp = session.settings.sp;
    for (int note : sounding) {
        session.comms.MidiOutShortMsg(static_cast<uint8_t>(NoteOffStatus + (sp.PlayBackMidiChannel & 0x0F)),
                                      static_cast<uint8_t>(note), static_cast<uint8_t>(sp.PlayBackVelocityOff & 0x7F));
    }
    sounding.clear();
    ShowSounding();
}
