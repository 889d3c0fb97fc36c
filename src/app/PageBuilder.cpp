#include "app/PageBuilder.h"

#include <QTimer>

#include <algorithm>

PageBuilder::PageBuilder(KindAction display, KindAction clear, std::function<bool()> busy, QObject *parent)
    : QObject(parent), display(std::move(display)), clear(std::move(clear)), busy(std::move(busy))
{
}

void PageBuilder::add(Editor editor)
{
    editors.push_back(std::move(editor));
    built.push_back(false);
}

bool PageBuilder::IsBuilt(int kind) const
{
    bool shown = false;
    for (size_t i = 0; i < editors.size(); ++i) {
        const auto &kinds = editors[i].kinds;
        if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
            continue;
        if (built[i])
            return true;
        shown = true;
    }
    return !shown; // a kind no editor here shows has its controls from the start
}

int PageBuilder::Unbuilt() const
{
    return static_cast<int>(std::count(built.begin(), built.end(), false));
}

void PageBuilder::Display(int kind)
{
    shows[kind] = Shows::Object;
    if (IsBuilt(kind))
        display(kind);
}

void PageBuilder::Clear(int kind)
{
    shows[kind] = Shows::Cleared;
    if (IsBuilt(kind))
        clear(kind);
}

void PageBuilder::BuildTab(int tab)
{
    for (Editor &editor : editors) {
        if (std::find(editor.tabs.begin(), editor.tabs.end(), tab) != editor.tabs.end())
            Build(editor);
    }
}

void PageBuilder::BuildAll()
{
    for (Editor &editor : editors)
        Build(editor);
}

void PageBuilder::Build(Editor &editor)
{
    const auto index = static_cast<size_t>(&editor - editors.data());
    if (built[index])
        return;
    built[index] = true;
    editor.build();
    for (int kind : editor.kinds) {
        const auto found = shows.find(kind);
        if (found == shows.end())
            continue;
        if (found->second == Shows::Object)
            display(kind);
        else if (found->second == Shows::Cleared)
            clear(kind);
    }
}

void PageBuilder::BuildRestWhenIdle()
{
    if (idleBuilding)
        return;
    idleBuilding = true;
    BuildNextWhenIdle(StartDelayMs);
}

void PageBuilder::BuildNextWhenIdle(int delay)
{
    if (Unbuilt() == 0)
        return;
    QTimer::singleShot(delay, this, [this] {
        // Building beside an exchange would only lengthen the wait the user sees.
        if (busy()) {
            BuildNextWhenIdle(BusyRetryMs);
            return;
        }
        const auto next = std::find(built.begin(), built.end(), false);
        if (next != built.end())
            Build(editors[static_cast<size_t>(next - built.begin())]);
        BuildNextWhenIdle(0);
    });
}
