#include "app/frmDeleteObject.h"

#include "app/MemoryCommand.h"
#include "app/ObjectHeader.h"
#include "editors/Session.h"
#include "app/ObjectHeader.h"
#include "midi/Notifier.h"
#include "objects/ObjectDelete.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using ObjectDelete::Scope;

namespace {
const QString NoneLoaded = QStringLiteral("None Loaded");
}

frmDeleteObject::frmDeleteObject(Session &session, const WindowServices &main)
    : QDialog(&main.window), session(session), main(main), kind(main.header.CurrentKind())
{
    setObjectName(QStringLiteral("frmDeleteObject"));
    setWindowTitle(QStringLiteral("Delete Object"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *grid = new QGridLayout(this);
    const char *captions[] = {"Delete Current Object:", "Delete All Type Objects", "Clear All Of Memory"};
    for (int i = 0; i < 3; ++i) {
        auto *option = new QRadioButton(QLatin1String(captions[i]), this);
        option->setObjectName(QStringLiteral("optDelObj(%1)").arg(i));
        optDelObj[static_cast<size_t>(i)] = option;
        grid->addWidget(option, i, 0);
    }
    auto *boxes = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtDelObj(%1)").arg(i));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        txtDelObj[static_cast<size_t>(i)] = box;
        boxes->addWidget(box, i);
    }
    txtDelObj[0]->setFixedWidth(txtDelObj[0]->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    txtDelObj[1]->setMinimumWidth(txtDelObj[1]->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));
    grid->addLayout(boxes, 0, 1);
    cmdDelObj = new QPushButton(QStringLiteral("&Delete"), this);
    cmdDelObj->setObjectName(QStringLiteral("cmdDelObj"));
    cmdDelObj->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDelObj);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    if (kind >= 0) {
        const ObjectDelete::KindTexts texts = ObjectDelete::TextsFor(kind);
        optDelObj[0]->setText(texts.currentOption);
        optDelObj[1]->setText(texts.allOption);
        setWindowTitle(texts.caption);
    }
    const QLineEdit *name = main.header.nameBox();
    const bool haveCurrent = kind >= 0 && name->text() != NoneLoaded;
    optDelObj[0]->setEnabled(haveCurrent);
    optDelObj[haveCurrent ? 0 : 1]->setChecked(true);
    txtDelObj[0]->setText(haveCurrent ? main.header.NumberText() : QString());
    txtDelObj[1]->setText(haveCurrent ? name->text() : QString());

    connect(cmdDelObj, &QPushButton::clicked, this, &frmDeleteObject::cmdDelObj_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
}

void frmDeleteObject::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdDelObj->setFocus();
}

void frmDeleteObject::cmdDelObj_Click()
{
    if (session.exchange.busy())
        return; // one exchange with the SP at a time
    Scope scope = Scope::Current;
    if (optDelObj[2]->isChecked())
        scope = Scope::ClearMemory;
    else if (optDelObj[1]->isChecked())
        scope = Scope::AllOfKind;
    if (scope != Scope::ClearMemory && kind < 0)
        return;
    const QString number = txtDelObj[0]->text();
    const QString name = txtDelObj[1]->text();
    const auto body = ObjectDelete::Command(scope, kind, number.toInt());
    if (!body || (scope == Scope::Current && number.isEmpty()))
        return;
    // No leaves the dialog open, with nothing sent.
    if (!session.notifier.titledQuestion(Notifier::Icon::Exclamation, QStringLiteral("Delete Object"), ObjectDelete::Question(scope, kind, number, name)))
        return;
    const MemoryCommand::Request request{windowTitle(), ObjectDelete::ProgressText(scope, kind, number, name), *body,
                                         ObjectDelete::TimeoutMs, ObjectDelete::DownloadText(scope)};
    QPointer<frmDeleteObject> self(this);
    hide();
    MemoryCommand::Run(main, session, request);
    if (self)
        close();
}
