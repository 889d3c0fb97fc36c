#include "app/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString Compose(const QString &heading, const QString &text)
{
    return heading.isEmpty() ? text : heading + QLatin1Char('\n') + text;
}

} // namespace

void MessageBoxNotifier::message(Icon icon, const QString &heading, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(icon == Icon::Critical      ? QMessageBox::Critical
                : icon == Icon::Information ? QMessageBox::Information
                                            : QMessageBox::NoIcon);
    box.setText(Compose(heading, text));
    box.exec();
}

bool MessageBoxNotifier::question(const QString &heading, const QString &text)
{
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), Compose(heading, text))
           == QMessageBox::Yes;
}
