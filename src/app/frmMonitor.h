// frmMonitor: the MIDI monitor, what a user opens when the SP does not answer. A live list of
// every message in and out with what it means, with Pause, Clear and Save as text. It listens
// to the wire only while it is open.
#pragma once

#include <QWidget>

class MidiMonitorModel;
class MidiTrace;
class Notifier;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

class frmMonitor : public QWidget {
    Q_OBJECT
public:
    frmMonitor(MidiTrace &trace, Notifier &notifier, QWidget *parent = nullptr);
    ~frmMonitor() override;

    MidiMonitorModel &model() { return *rows; }
    bool isListening() const { return listener != 0; }

    void Pause(bool on);
    void Clear();
    // Writes the list to a file; false (and the reason) when it cannot be written.
    bool SaveAsText(const QString &path, QString *error = nullptr) const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Listen(bool on);
    void ChooseFileAndSave();
    void ShowDetail();
    void UpdateCount();

    MidiTrace &trace;
    Notifier &notifier;
    MidiMonitorModel *rows = nullptr;
    QTableView *lstMonitor = nullptr;
    QPlainTextEdit *txtMonitorDetail = nullptr;
    QPushButton *cmdMonitorPause = nullptr;
    QLabel *lblMonitorCount = nullptr;
    int listener = 0;
    bool following = true;
};
