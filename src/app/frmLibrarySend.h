// The question asked before an object from the library goes to the SP: at which number, and
// whether what it plays goes too (to the same numbers, or to free ones with the references
// changed to match). Shown without blocking; choosing Send hands the choice on.
#pragma once

#include "library/ObjectSend.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

class frmLibrarySend : public QDialog {
    Q_OBJECT

public:
    frmLibrarySend(ObjectSend::Offer offer, qint64 snapshot, QWidget *parent);

    const ObjectSend::Offer &offer() const { return offered; }

signals:
    void sendChosen(int target, ObjectSend::With with);

private:
    void ShowReplaced();

    ObjectSend::Offer offered;
    QLabel *lblSendObject;
    QSpinBox *spnSendNumber;
    QLabel *lblSendReplaces;
    QListWidget *lstSendNeeds;
    QLabel *lblSendWaves;
    QRadioButton *optSendSameNumbers;
    QRadioButton *optSendFreeNumbers;
    QRadioButton *optSendAlone;
    QPushButton *cmdSendGo;
    QPushButton *cmdSendCancel;
};
