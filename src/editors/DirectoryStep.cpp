#include "editors/DirectoryStep.h"

#include "objects/ObjectDirectory.h"

std::optional<int> NextInDirectory(const ObjDir &directory, int current, int step, int lowest, int highest)
{
    std::optional<int> next;
    for (const ObjDirEntry &entry : directory.Entries) {
        const int number = entry.Number;
        if (number < lowest || number > highest)
            continue;
        if (step > 0 && number > current && (!next || number < *next))
            next = number;
        if (step < 0 && number < current && (!next || number > *next))
            next = number;
    }
    return next;
}
