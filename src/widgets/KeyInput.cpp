#include "widgets/KeyInput.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace KeyInput {

namespace {

// Swallows the middle button on its box: on X11 it pastes the selection.
class MiddlePasteBlocker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick)
            return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

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

void TypedOnly(QLineEdit *box)
{
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->installEventFilter(new MiddlePasteBlocker(box));
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
