// The tab pages' controls, made when a page is first shown or, once the window is up, one
// editor's pages per turn of the event loop: a start makes only what it shows. A page made late
// shows what its kinds last showed (an object, or a cleared display), as if made at start.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class PageBuilder : public QObject {
    Q_OBJECT
public:
    struct Editor {
        std::vector<int> tabs;  // the tabs whose pages it fills
        std::vector<int> kinds; // the object kinds it shows
        std::function<void()> build;
    };
    using KindAction = std::function<void(int kind)>;

    // `busy` holds the idle building back while the SP is being waited for.
    PageBuilder(KindAction display, KindAction clear, std::function<bool()> busy, QObject *parent = nullptr);
    void add(Editor editor);

    // A kind's object shown, or its display cleared: now when its page exists, else when made.
    void Display(int kind);
    void Clear(int kind);

    void BuildTab(int tab);
    void BuildAll();
    // Makes the pages still missing, one editor per turn of the event loop.
    void BuildRestWhenIdle();
    // True once any page showing the kind is made.
    bool IsBuilt(int kind) const;
    int Unbuilt() const;

    // The window's first paint and the user's first input come before the pages not shown.
    static constexpr int StartDelayMs = 50;
    // How long the idle building waits while an answer from the SP is awaited.
    static constexpr int BusyRetryMs = 20;

private:
    enum class Shows { Nothing, Object, Cleared };
    void Build(Editor &editor);
    void BuildNextWhenIdle(int delay);

    KindAction display;
    KindAction clear;
    std::function<bool()> busy;
    std::vector<Editor> editors;
    std::vector<bool> built; // by editor
    std::map<int, Shows> shows;
    bool idleBuilding = false;
};
