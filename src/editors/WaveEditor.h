// The Wave tab: a Wave's play range, loop, pitch, fine tune and memory figures, edited with
// the common edit rules, and its audition button.
#pragma once

#include <QWidget>

class EditRules;
class Retrieval;
class Session;

class WaveEditor : public QWidget {
    Q_OBJECT
public:
    WaveEditor(Session &session, EditRules &rules, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) { this->retrieval = retrieval; }

    bool WaveObjDump(int number);
    void LoadWaveDisplay();

private:
    Session &session;
    EditRules &rules;
    Retrieval *retrieval = nullptr;
};
