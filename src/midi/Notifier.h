// The one way the program tells the user something: an error, a notice or a yes/no question.
// The windows show message boxes; tests install a recorder so nothing ever blocks on a box.
#pragma once

#include <QString>

#include <optional>

class Notifier {
public:
    enum class Icon { None, Critical, Information, Exclamation };

    virtual ~Notifier() = default;
    // heading may be empty; the box then shows the text alone under an empty first line.
    virtual void message(Icon icon, const QString &heading, const QString &text) = 0;
    virtual bool question(const QString &heading, const QString &text) = 0;
    // The boxes a dialog titles itself ("Delete Object", "Stereo Merge Error"): the title is the
    // box's own, and the text stands alone. Where there are no windows, they read as the others.
    virtual void titledMessage(Icon icon, const QString &title, const QString &text) { message(icon, title, text); }
    virtual bool titledQuestion(Icon, const QString &title, const QString &text) { return question(title, text); }
    // A line of text the user may give (a snapshot's note); nothing when cancelled. Where there
    // are no windows, the text is left empty.
    virtual std::optional<QString> askText(const QString &title, const QString &label)
    {
        Q_UNUSED(title);
        Q_UNUSED(label);
        return QString();
    }
};
