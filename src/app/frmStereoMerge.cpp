#include "app/frmStereoMerge.h"

#include "app/MemoryCommand.h"
#include "editors/Session.h"
#include "app/frmProgress.h"
#include "objects/Retrieval.h"
#include "app/frmProgress.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "midi/Notifier.h"
#include "objects/StereoMerge.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int ProgressPanel = 7;
}

frmStereoMerge::frmStereoMerge(Session &session, const WindowServices &main)
    : QDialog(&main.window), session(session), main(main)
{
    setObjectName(QStringLiteral("frmStereoMerge"));
    setWindowTitle(QStringLiteral("Stereo Merge"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    auto *sides = new QHBoxLayout;
    for (int side : {Left, Right}) {
        auto *panel = new QGroupBox(side == Left ? QStringLiteral("Left") : QStringLiteral("Right"), this);
        panel->setObjectName(QStringLiteral("pnlMerge(%1)").arg(side + 2));
        auto *form = new QFormLayout(panel);
        for (int row = 0; row < 4; ++row) {
            auto *box = new QLineEdit(panel);
            box->setObjectName(QStringLiteral("txtMerge(%1)").arg(side + 2 * row));
            KeyInput::TypedOnly(box);
            box->setReadOnly(row > 0); // only the number is typed; the rest comes from the SP
            if (row > 0)
                box->setFocusPolicy(Qt::NoFocus);
            txtMerge[static_cast<size_t>(side + 2 * row)] = box;
        }
        auto *spin = new SpinButton(panel);
        spin->setObjectName(QStringLiteral("spnMerge(%1)").arg(side));
        spnMerge[static_cast<size_t>(side)] = spin;
        auto *numberRow = new QHBoxLayout;
        NumberBox(side)->setMaxLength(3);
        NumberBox(side)->setFixedWidth(NumberBox(side)->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        numberRow->addWidget(NumberBox(side));
        numberRow->addWidget(spin);
        numberRow->addStretch(1);
        form->addRow(QStringLiteral(" Wave"), numberRow);
        form->addRow(QString(), NameBox(side));
        form->addRow(QStringLiteral(" Length"), LengthBox(side));
        form->addRow(QStringLiteral(" Mode"), ModeBox(side));
        NameBox(side)->setMinimumWidth(NameBox(side)->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));
        sides->addWidget(panel);

        NumberBox(side)->installEventFilter(this);
        connect(spin, &SpinButton::SpinUp, this, [this, side] { Spin(side, 1); });
        connect(spin, &SpinButton::SpinDown, this, [this, side] { Spin(side, -1); });
    }
    layout->addLayout(sides);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const char *captions[] = {"&Merge", "&Close"};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton(QLatin1String(captions[i]), this);
        button->setObjectName(QStringLiteral("cmdMerge(%1)").arg(i));
        button->setAutoDefault(false);
        cmdMerge[static_cast<size_t>(i)] = button;
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdMerge_Click(i); });
    }
    layout->addLayout(buttons);

    // Both sides start on the current Wave, as the main window shows it.
    const KindState &waves = session.objects.of(KindWave);
    const ObjDirEntry current = waves.Dir.Entries.value(waves.DirPos);
    const auto details = StereoMerge::Details(waves.Image);
    for (int side : {Left, Right}) {
        NumberBox(side)->setText(QString::number(current.Number));
        NameBox(side)->setText(current.Name.trimmed());
        LengthBox(side)->setText(details ? details->lengthText() : QString());
        ModeBox(side)->setText(details ? details->modeText() : QString());
    }
}

void frmStereoMerge::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdMerge[0]->setFocus();
}

bool frmStereoMerge::eventFilter(QObject *watched, QEvent *event)
{
    const int side = watched == NumberBox(Left) ? Left : watched == NumberBox(Right) ? Right : -1;
    if (side < 0)
        return QDialog::eventFilter(watched, event);
    QLineEdit *box = NumberBox(side);
    if (event->type() == QEvent::FocusOut && box->text().isEmpty()) {
        // A box left empty takes the lowest Wave, as if Enter had been pressed.
        CommitSide(side);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const KeyInput::Key key = KeyInput::Classify(*static_cast<QKeyEvent *>(event));
    if (key.kind == KeyInput::Kind::Navigation)
        return false;
    if (session.exchange.busy())
        return true;
    switch (key.kind) {
    case KeyInput::Kind::Enter:
        CommitSide(side);
        return true;
    case KeyInput::Kind::Backspace:
        KeyInput::SetPending(box, true);
        return false;
    case KeyInput::Kind::Character:
        if (!key.character.isDigit() || key.character.unicode() >= 128)
            return true;
        KeyInput::SetPending(box, true);
        return false;
    default:
        return true;
    }
}

void frmStereoMerge::CommitSide(int side)
{
    if (session.exchange.busy())
        return;
    const KindState &waves = session.objects.of(KindWave);
    QLineEdit *box = NumberBox(side);
    const int number = StereoMerge::SettleNumber(box->text(), waves.Status, waves.Dir);
    box->setText(QString::number(number));
    const int entry = waves.Dir.IndexOf(number);
    NameBox(side)->setText(entry >= 0 ? waves.Dir.Entries[entry].Name.trimmed() : QString());
    // The dialog's own request: the main window's working image stays as it is.
    const QByteArray dump = session.io.RequestObject(KindWave, number);
    if (dump.size() >= ObjDir::MinimumLength) {
        if (const auto details = StereoMerge::Details(dump)) {
            LengthBox(side)->setText(details->lengthText());
            ModeBox(side)->setText(details->modeText());
        }
    }
    KeyInput::SetPending(box, false);
    session.edit.LastEditKey = 0;
}

void frmStereoMerge::Spin(int side, int step)
{
    if (session.exchange.busy())
        return;
    const KindState &waves = session.objects.of(KindWave);
    const QString text = NumberBox(side)->text();
    const int current = text.isEmpty() ? (step > 0 ? waves.Status.Lowest - 1 : waves.Status.Highest + 1) : text.toInt();
    const auto next = StereoMerge::SpinTarget(current, step, waves.Status, waves.Dir);
    if (!next)
        return;
    NumberBox(side)->setText(QString::number(*next));
    CommitSide(side);
}

void frmStereoMerge::cmdMerge_Click(int index)
{
    if (index == 1) {
        close();
        return;
    }
    if (session.exchange.busy())
        return;
    const StereoMerge::Side left{NumberBox(Left)->text(), ModeBox(Left)->text(), LengthBox(Left)->text()};
    const StereoMerge::Side right{NumberBox(Right)->text(), ModeBox(Right)->text(), LengthBox(Right)->text()};
    if (const auto problem = StereoMerge::Check(left, right)) {
        session.notifier.titledMessage(Notifier::Icon::Critical, QStringLiteral("Stereo Merge Error"), *problem);
        return;
    }
    Merge();
}

void frmStereoMerge::Merge()
{
    const int left = NumberBox(Left)->text().toInt();
    const int right = NumberBox(Right)->text().toInt();
    const auto body = StereoMerge::Command(left, right);
    if (!body)
        return;
    QPointer<frmStereoMerge> self(this);
    const WindowServices window = main;
    Session &link = session;
    hide();
    const auto rereadMerged = [&window, &link, left] {
        // The merged Wave keeps the left number: show it on the Wave tab.
        window.progress.SetText(QStringLiteral("Download Updated Wave"), QStringLiteral("Downloading merged stereo wave..."));
        window.view.SetStatusPanel(ProgressPanel, QStringLiteral("Downloading Wave w#%1...").arg(left));
        const Retrieval::Routines &wave = window.retrieval.routines(KindWave);
        KindState &waves = link.objects.of(KindWave);
        if (wave.dump(left)) {
            if (const int position = waves.Dir.IndexOf(left); position >= 0)
                waves.DirPos = position;
            window.view.SetStatusPanel(Kind(KindWave).statusPanel, QStringLiteral("w# %1").arg(left));
            if (wave.display)
                wave.display();
        }
        window.view.SetStatusPanel(ProgressPanel, window.retrieval.CurrentBankText());
    };
    const auto outcome = MemoryCommand::Run(
        window, link,
        {QStringLiteral("Merge to Stereo"), StereoMerge::ProgressText(left, right), *body, StereoMerge::TimeoutMs},
        rereadMerged);
    if (!self || outcome == MemoryCommand::Outcome::Closed)
        return;
    show();
    if (NumberBox(Left)->text().toInt() == left)
        CommitSide(Left);
    else
        NumberBox(Left)->setText(QString::number(left));
}
