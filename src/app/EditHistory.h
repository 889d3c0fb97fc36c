// EditHistory: the one undo stack of the program. Every upload the SP accepts is recorded by
// address (kind, number, position, width, both values) and can be sent again either way with
// the same rules as an edit, after which the object is read back and shown.
#pragma once

#include "objects/ObjectIO.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

class Retrieval;
class Session;

class EditHistory : public QObject {
    Q_OBJECT
public:
    // `shown` is told which kind's object was just read back, so the window can show it.
    EditHistory(Session &session, Retrieval &retrieval, std::function<void(int kind)> shown,
                QObject *parent = nullptr);
    ~EditHistory() override;

    QUndoStack &stack() { return undoStack; }
    // Undo and Redo as the menu calls them; an edit the SP refuses stays where it was.
    void Undo();
    void Redo();
    // Forgets every edit: after the SP's memory was replaced, their addresses mean nothing.
    void Clear() { undoStack.clear(); }

    // Reads object `number` of a kind from the SP and shows it; false when it did not come.
    bool ReadBack(int kind, int16_t number);

    // "Tone t#3 DCF Cutoff": what an edit is called in the menu.
    static QString Describe(const ObjectIO::ParameterEdit &edit);

private:
    // Sends one side of the edits again and reads the object back; false when refused.
    bool Send(const QList<ObjectIO::ParameterEdit> &edits, bool before);
    bool SendObjectEdits(const QList<ObjectIO::ParameterEdit> &edits, bool before);
    bool SendZoneEdit(const ObjectIO::ParameterEdit &edit, const ObjectIO::Value &value);
    void Record(const QList<ObjectIO::ParameterEdit> &edits);
    void Step(bool undo);

    Session &session;
    Retrieval &retrieval;
    std::function<void(int kind)> shown;
    QUndoStack undoStack;
};
