#include "app/MessageBoxNotifier.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString Compose(const QString &heading, const QString &text)
{
    return heading.isEmpty() ? text : heading + QLatin1Char('\n') + text;
}

QMessageBox::Icon BoxIcon(Notifier::Icon icon)
{
    switch (icon) {
    case Notifier::Icon::Critical:
        return QMessageBox::Critical;
    case Notifier::Icon::Information:
        return QMessageBox::Information;
    case Notifier::Icon::Exclamation:
        return QMessageBox::Warning;
    case Notifier::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int Show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
         QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return box.exec();
}

} // namespace

void MessageBoxNotifier::message(Icon icon, const QString &heading, const QString &text)
{
    Show(parent, BoxIcon(icon), QApplication::applicationDisplayName(), Compose(heading, text), QMessageBox::Ok);
}

bool MessageBoxNotifier::question(const QString &heading, const QString &text)
{
    return Show(parent, QMessageBox::Question, QApplication::applicationDisplayName(), Compose(heading, text),
                QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void MessageBoxNotifier::titledMessage(Icon icon, const QString &title, const QString &text)
{
    Show(parent, BoxIcon(icon), title, text, QMessageBox::Ok);
}

bool MessageBoxNotifier::titledQuestion(Icon icon, const QString &title, const QString &text)
{
    return Show(parent, BoxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> MessageBoxNotifier::askText(const QString &title, const QString &label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional<QString>(text.trimmed()) : std::nullopt;
}
