#include "app/frmAbout.h"

#include "app/frmSplash.h"
#include "midi/Notifier.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// The platform's own system information viewer, if one is installed.
QString SystemInformationProgram()
{
    for (const char *name : {"msinfo32", "hardinfo", "gnome-system-monitor", "System Information"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace

frmAbout::frmAbout(Notifier &notifier, QWidget *parent, const QString &linkNote) : QDialog(parent), notifier(notifier)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Korvane"));
    auto *layout = new QVBoxLayout(this);

    auto *lblTitle = new QLabel(QStringLiteral("Korvane"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont font = lblTitle->font();
    font.setPointSizeF(font.pointSizeF() * 1.8);
    font.setBold(true);
    lblTitle->setFont(font);
    auto *lblVersion = new QLabel(frmSplash::VersionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *lblNotice = new QLabel(
        QStringLiteral("Editor and librarian for the SP rack sample player.\n"
                       "Copyright \u00A9 Talvern Systems. Free to use and to pass on."),
        this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    auto *lblAcknowledgements = new QLabel(
        QStringLiteral("Built with Qt and RtMidi. Thanks to every musician who keeps an SP alive."), this);
    lblAcknowledgements->setObjectName(QStringLiteral("lblAcknowledgements"));
    lblAcknowledgements->setWordWrap(true);
    auto *lblContact = new QLabel(
        QStringLiteral("<a href=\"https://www.example.org/korvane\">Korvane on the web</a>"), this);
    lblContact->setObjectName(QStringLiteral("lblContact"));
    lblContact->setOpenExternalLinks(true);

    auto *lblLinkNote = new QLabel(linkNote, this);
    lblLinkNote->setObjectName(QStringLiteral("lblLinkNote"));
    lblLinkNote->setWordWrap(true);
    lblLinkNote->setVisible(!linkNote.isEmpty());

    auto *buttons = new QDialogButtonBox(this);
    auto *cmdOK = buttons->addButton(QDialogButtonBox::Ok);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto *cmdSysInfo = buttons->addButton(QStringLiteral("&System Info..."), QDialogButtonBox::ActionRole);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    for (QWidget *w : {static_cast<QWidget *>(lblTitle), static_cast<QWidget *>(lblVersion),
                       static_cast<QWidget *>(lblNotice), static_cast<QWidget *>(lblAcknowledgements),
                       static_cast<QWidget *>(lblContact), static_cast<QWidget *>(lblLinkNote),
                       static_cast<QWidget *>(buttons)})
        layout->addWidget(w);
}

void frmAbout::cmdSysInfo_Click()
{
    const QString program = SystemInformationProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        notifier.message(Notifier::Icon::None, QString(), QStringLiteral("System Information Is Unavailable At This Time"));
}
