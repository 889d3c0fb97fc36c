// The Map tab's six-octave keyboard: 72 keys coloured by the zone that holds them, the strip
// above them with a bracket and number per zone, the octave captions and the scroll bar that
// moves the keys by octaves. Pressing and dragging across the keys plays each key entered on
// the SP; letting go silences every note played on the way.
#pragma once

#include "editors/ZoneStrip.h"

#include <QWidget>

#include <array>
#include <vector>

class QFrame;
class QLabel;
class QScrollBar;
class Session;
class ZoneStripPicture;

class Keyboard : public QWidget {
    Q_OBJECT
public:
    static constexpr int SoundingLimit = 1025; // notes held during one drag
    static constexpr int DefaultOctave = 3;    // C2 to B7, middle C in view

    explicit Keyboard(Session &session, QWidget *parent = nullptr);

    // The zones drawn and the one shown in the boxes; the caller redraws with hsbKey_Change.
    void SetZones(std::vector<ZoneStrip::Zone> zones, int current);
    // Relabels the octaves, renumbers and hides keys, then redraws the zones.
    void hsbKey_Change();
    // Recolours the white keys and draws the strip.
    void DrawMapZones();
    // A cleared Map display: no brackets, no numbers, every white key white.
    void Clear();

    int Octave() const;
    QScrollBar *scrollBar() const { return hsbKey; }
    const ZoneStrip::Drawing &StripDrawing() const;
    const std::vector<int> &SoundingNotes() const { return sounding; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Place();
    QRect Scaled(const QRect &design) const;
    int KeyUnder(const QPoint &panelPoint) const;
    void KeyOver(int key);     // the drag enters a key
    void KeysReleased();       // the drag ends
    void ShowPressed(int key, bool pressed);
    void ShowSounding(); // every key in view pressed exactly when its note sounds
    void SetKeyColour(int key, const QColor &colour);
    QLabel *ZoneLabel(int zone);
    void PlaceLabels();

    Session &session;
    QWidget *pnlKeyboard = nullptr; // pnlKey(128)
    std::array<QFrame *, ZoneStrip::Keys> pnlKey{};
    std::array<QLabel *, ZoneStrip::Octaves> lblKey{};
    ZoneStripPicture *picMap = nullptr;
    QLabel *lblZoneHdr = nullptr;
    std::vector<QLabel *> lblZone; // element 0 is the design's; the others are made as needed
    QScrollBar *hsbKey = nullptr;

    std::vector<ZoneStrip::Zone> zones;
    int currentZone = 0;
    std::vector<int> sounding;
    bool dragging = false;
    double scale = 1.0 / 15;
};
