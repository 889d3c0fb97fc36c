// Retrieval: fetching everything the SP holds (AllObjectsDump), or one kind's current object
// again (ObjectDownload), with the progress shown in the main window.
#pragma once

#include <QString>

#include <array>
#include <functional>

class DebugLog;
class LinkState;
class Notifier;
class ObjectIO;

// What retrieval changes in the window, implemented by the main window.
class RetrievalView {
public:
    virtual ~RetrievalView() = default;
    virtual void SetStatusPanel(int panel, const QString &text) = 0;
    virtual void ClearObjDisplay(int kind) = 0;
    virtual void SetDeleteEnabled(bool enabled) = 0;
    virtual void SetMergeEnabled(bool enabled) = 0;
    virtual void LockHeader(bool locked) = 0;
    virtual QString HeaderNumber() const = 0;
    virtual QString HeaderPrefix() const = 0;
    virtual void SetHeader(const QString &number, const QString &name) = 0;
    virtual void SetBusy(bool busy) = 0;
};

class Retrieval {
public:
    // Each kind's dump routine (the object's number) and display routine. Editors install
    // their own; a kind without an editor is fetched into its working image and shown in the
    // header only.
    struct Routines {
        std::function<bool(int number)> dump;
        std::function<void()> display;
    };
    static constexpr int GlobalRoutines = 5; // index of the Global object's routines

    Retrieval(ObjectIO &io, LinkState &link, Notifier &notifier, DebugLog &log, RetrievalView &view);

    void setRoutines(int kind, Routines routines);
    const Routines &routines(int kind) const;

    // False when the SP was or went offline on the way.
    bool AllObjectsDump();
    void ObjectDownload(int kind);
    // Reads the Global object and shows it when every value came.
    bool DownloadGlobal();

    QString FreeRamText() const;
    QString CurrentBankText() const;

private:
    bool RetrieveKind(int kind);

    ObjectIO &io;
    LinkState &link;
    Notifier &notifier;
    DebugLog &log;
    RetrievalView &view;
    std::array<Routines, 6> table;
};
