#include "app/WindowServices.h"

#include "objects/Retrieval.h"

void WindowServices::ReadEverything() const
{
    retrieval.AllObjectsDump();
    view.SetStatusPanel(6, retrieval.FreeRamText());
}
