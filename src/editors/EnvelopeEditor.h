// The Tone's two envelopes: each one's attack, sustain, decay and release boxes with their
// sliders, its picture and its mode label. The sustain chooses the mode: 0 is Gate Mode ("gt"),
// anything else Trigger Mode, in which the decay plays no part and is shown as "--".
#pragma once

#include <QObject>

#include <array>
#include <functional>

class EditRules;
class EnvelopePicture;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;
class Session;
class DumpRecord;

class EnvelopeEditor : public QObject {
    Q_OBJECT
public:
    static constexpr int Envelopes = 2;
    static constexpr int Stages = 4;
    // The message box's texts of Change_Envelope's error path.
    static constexpr const char *ErrorHeading = "Change_Envelope()";
    static constexpr const char *ErrorText = "Error updating Envelope status";

    // `afterCommit` reads the Tone back after an upload; `tone` is the Tone's stored values, or
    // nothing while no Tone is held.
    EnvelopeEditor(Session &session, EditRules &rules, QWidget *parent, std::function<void()> afterCommit,
                   std::function<DumpRecord *()> tone);

    // The frame of envelope 1 or 2, to be placed on a Tone tab.
    QGroupBox *Frame(int envelope) const { return frames[static_cast<size_t>(envelope)]; }

    // Fills both envelopes' boxes and sliders from the stored Tone and draws them; the caller
    // holds the edit rules' display state.
    void LoadEnvelopeDisplay();
    // Empties both pictures and mode labels.
    void ClearEnvelopes();
    void Plot_Envelope(int envelope);

private:
    bool Change_Envelope(int envelope, int stage);
    QString StoredText(int envelope, int stage) const;
    int Stored(int envelope, int stage) const;
    void ShowMode(int envelope);

    Session &session;
    EditRules &rules;
    std::function<DumpRecord *()> tone;
    std::array<QGroupBox *, Envelopes> frames{};
    std::array<std::array<QLineEdit *, Stages>, Envelopes> boxes{};
    std::array<std::array<QSlider *, Stages>, Envelopes> sliders{};
    std::array<EnvelopePicture *, Envelopes> pictures{};
    std::array<QLabel *, Envelopes> modeLabels{};
};
