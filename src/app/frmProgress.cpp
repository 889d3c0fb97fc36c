#include "app/frmProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmProgress::frmProgress(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setMinimumWidth(lblProgress->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    auto *busy = new QProgressBar(this);
    busy->setObjectName(QStringLiteral("aniProgress"));
    busy->setRange(0, 0); // no end known: an animated busy bar
    busy->setTextVisible(false);
    layout->addWidget(lblProgress);
    layout->addWidget(busy);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setVisible(false);
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProgress::cancelled);
}

void frmProgress::SetCancellable(bool on)
{
    cancellable = on;
    cmdCancel->setVisible(on);
    adjustSize();
}

void frmProgress::reject()
{
    // Closing the window during a wait that may be cancelled cancels it; the operation then
    // closes the window itself.
    if (cancellable) {
        emit cancelled();
        return;
    }
    QDialog::reject();
}

void frmProgress::SetText(const QString &caption, const QString &text)
{
    setWindowTitle(caption);
    lblProgress->setText(text);
}

void frmProgress::Show(const QString &caption, const QString &text)
{
    SetText(caption, text);
    show();
    raise();
}

QString frmProgress::text() const
{
    return lblProgress->text();
}

void frmProgress::showEvent(QShowEvent *event)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QDialog::showEvent(event);
}

void frmProgress::hideEvent(QHideEvent *event)
{
    QApplication::restoreOverrideCursor();
    QDialog::hideEvent(event);
}
