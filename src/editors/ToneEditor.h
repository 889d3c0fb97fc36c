// The three Tone tabs: the Tone's Wave, DCA, DCF, DCO, pan, LFO and its two envelopes, edited
// with the common edit rules.
#pragma once

#include <QObject>

#include <array>

class EditRules;
class QWidget;
class Retrieval;
class Session;

class ToneEditor : public QObject {
    Q_OBJECT
public:
    // The pages of the tabs "Tone1", "Tone2" and "Tone3".
    ToneEditor(Session &session, EditRules &rules, std::array<QWidget *, 3> pages, QObject *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) { this->retrieval = retrieval; }

    bool ToneObjDump(int number);
    void LoadToneDisplay();

private:
    Session &session;
    EditRules &rules;
    std::array<QWidget *, 3> pages;
    Retrieval *retrieval = nullptr;
};
