#include "app/frmLibrarySend.h"

#include "device/ObjectKinds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

frmLibrarySend::frmLibrarySend(ObjectSend::Offer offer, qint64 snapshot, QWidget *parent)
    : QDialog(parent), offered(std::move(offer))
{
    setObjectName(QStringLiteral("frmLibrarySend"));
    setWindowTitle(QStringLiteral("Send to SP"));
    setAttribute(Qt::WA_DeleteOnClose);
    const Backup::Object &chosen = offered.chosen;
    const QString label = Backup::ObjectLabel(chosen.kind, chosen.number, chosen.name);

    lblSendObject = Named(new QLabel(QStringLiteral("Send %1 of snapshot %2 to the SP as %3 number:")
                                         .arg(label)
                                         .arg(snapshot)
                                         .arg(QLatin1String(Kind(chosen.kind).name)),
                                     this),
                          "lblSendObject");
    spnSendNumber = Named(new QSpinBox(this), "spnSendNumber");
    spnSendNumber->setRange(0, std::max(0, offered.highest[static_cast<size_t>(chosen.kind)]));
    spnSendNumber->setValue(chosen.number);
    lblSendReplaces = Named(new QLabel(this), "lblSendReplaces");
    lstSendNeeds = Named(new QListWidget(this), "lstSendNeeds");
    lstSendNeeds->addItems(offered.needLines());
    lblSendWaves = Named(new QLabel(offered.wavesText(), this), "lblSendWaves");
    lblSendWaves->setWordWrap(true);
    lblSendWaves->setVisible(!lblSendWaves->text().isEmpty());
    optSendSameNumbers = Named(new QRadioButton(QStringLiteral("Send what the SP lacks or holds differently too, at the same numbers"), this),
                               "optSendSameNumbers");
    optSendFreeNumbers = Named(new QRadioButton(QStringLiteral("Send them too, to free numbers, with the references changed to match"), this),
                               "optSendFreeNumbers");
    optSendAlone = Named(new QRadioButton(QStringLiteral("Send %1 alone").arg(label), this), "optSendAlone");
    const bool more = offered.offersMore();
    optSendSameNumbers->setEnabled(more);
    optSendFreeNumbers->setEnabled(more);
    (more ? optSendSameNumbers : optSendAlone)->setChecked(true);
    cmdSendGo = Named(new QPushButton(QStringLiteral("&Send"), this), "cmdSendGo");
    cmdSendGo->setDefault(true);
    cmdSendCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdSendCancel");

    auto *number = new QHBoxLayout;
    number->addWidget(lblSendObject, 1);
    number->addWidget(spnSendNumber);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSendGo);
    buttons->addWidget(cmdSendCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(number);
    layout->addWidget(lblSendReplaces);
    layout->addWidget(new QLabel(offered.needs.isEmpty() && offered.notInSnapshot.isEmpty()
                                     ? QStringLiteral("It plays no other object.")
                                     : QStringLiteral("It plays:"),
                                 this));
    layout->addWidget(lstSendNeeds, 1);
    layout->addWidget(lblSendWaves);
    layout->addWidget(optSendSameNumbers);
    layout->addWidget(optSendFreeNumbers);
    layout->addWidget(optSendAlone);
    layout->addLayout(buttons);

    connect(spnSendNumber, &QSpinBox::valueChanged, this, &frmLibrarySend::ShowReplaced);
    connect(cmdSendCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdSendGo, &QPushButton::clicked, this, [this] {
        const ObjectSend::With with = optSendAlone->isChecked()         ? ObjectSend::With::Nothing
                                      : optSendFreeNumbers->isChecked() ? ObjectSend::With::FreeNumbers
                                                                        : ObjectSend::With::SameNumbers;
        const int target = spnSendNumber->value();
        accept();
        emit sendChosen(target, with);
    });
    ShowReplaced();
    resize(560, 420);
}

void frmLibrarySend::ShowReplaced()
{
    const QString replaced = offered.replaced(spnSendNumber->value());
    lblSendReplaces->setText(replaced.isEmpty() ? QStringLiteral("The SP holds nothing at that number.")
                                                : QStringLiteral("It replaces %1 on the SP.").arg(replaced));
}
