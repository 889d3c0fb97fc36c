// The main window's object header: the current object's number and name for the kind of the
// current tab, with the spin button. Stepping, typing a number and renaming happen here.
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class Retrieval;
class Session;
class SpinButton;

class ObjectHeader : public QWidget {
    Q_OBJECT
public:
    ObjectHeader(Session &session, QWidget *parent = nullptr);
    void setRetrieval(Retrieval *retrieval) { this->retrieval = retrieval; }

    // Captions of the tab's kind: "Preset Num", "Preset Name", "p#".
    void SetCaptions(const QString &numCaption, const QString &nameCaption, const QString &prefix);
    // The kind whose prefix the header shows, or -1.
    int CurrentKind() const;
    QString Prefix() const;

    QString NumberText() const;
    // Program writes: they never count as the user's edits.
    void SetContents(const QString &number, const QString &name);
    void Lock(bool locked);
    void LockNumberOnly(bool locked);

    bool Change_ObjectNum(int kind);
    bool Change_ObjectName(int kind, int uploadKind);
    void Spin(bool up);

    QLineEdit *numberBox() const { return txtObjectNum; }
    QLineEdit *nameBox() const { return txtObjectName; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool NumberKeyPress(const QKeyEvent &key);
    bool NameKeyPress(const QKeyEvent &key);
    void NumberChanged();
    void NameChanged();
    void WriteNumber(int number);

    Session &session;
    Retrieval *retrieval = nullptr;
    QGroupBox *pnlObjNum;
    QGroupBox *pnlObjName;
    QLabel *lblObjNumHash;
    QLineEdit *txtObjectNum;
    QLineEdit *txtObjectName;
    SpinButton *spnObjectNum;
    bool spinActive = false;
};
