#include "app/frmSplash.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSysInfo>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);

    auto *title = new QLabel(QStringLiteral("Korvane"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.4);
    titleFont.setBold(true);
    title->setFont(titleFont);

    auto *subtitle = new QLabel(QStringLiteral("Editor and librarian for the SP sample player"), this);
    lblVersion = new QLabel(VersionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblPlatform = new QLabel(PlatformText(), this);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));

    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addSpacing(16);
    layout->addWidget(lblVersion);
    layout->addWidget(lblPlatform);
    setFrameStyle();
}

void frmSplash::setFrameStyle()
{
    setAutoFillBackground(true);
}

void frmSplash::paintEvent(QPaintEvent *)
{
    // A thin frame, drawn rather than styled: a style sheet costs the start-up several
    // milliseconds.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QString frmSplash::VersionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(KORVANE_VERSION_MAJOR)
        .arg(KORVANE_VERSION_MINOR)
        .arg(KORVANE_VERSION_PATCH);
}

QString frmSplash::PlatformText()
{
    // Only the Windows family has ever been named here; elsewhere the label stays empty.
    if (QSysInfo::productType() == QLatin1String("windows"))
        return QStringLiteral("Windows NT ver ") + QSysInfo::productVersion();
    return {};
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    hide();
}
