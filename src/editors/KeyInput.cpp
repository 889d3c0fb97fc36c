#include "editors/KeyInput.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace KeyInput {

int Key::code() const
{
    switch (kind) {
    case Kind::Enter:
        return 13;
    case Kind::Backspace:
        return 8;
    default:
        return character.unicode();
    }
}

Key Classify(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {Kind::Enter, QChar()};
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return {Kind::Backspace, QChar()};
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
        return {Kind::Navigation, QChar()};
    default:
        break;
    }
    if (event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll))
        return {Kind::Navigation, QChar()};
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).isPrint() && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return {Kind::Character, text.at(0)};
    return {Kind::Other, QChar()};
}

void SetPending(QLineEdit *box, bool red)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    box->setPalette(palette);
}

bool IsPending(const QLineEdit *box)
{
    return box->palette().color(QPalette::Text) == QColor(255, 0, 0);
}

} // namespace KeyInput
