#include "objects/MultiDescription.h"

#include <algorithm>

namespace MultiDescription {

const BoxRow *FindBox(int index)
{
    const auto row = std::find_if(BoxRows.begin(), BoxRows.end(), [index](const BoxRow &r) { return r.index == index; });
    return row == BoxRows.end() ? nullptr : &*row;
}

QString BoxCaption(int index)
{
    const BoxRow *row = FindBox(index);
    return row ? QLatin1String(row->caption) : QString();
}

QString OptionCaption(int index)
{
    return index >= 0 && index < static_cast<int>(OptionCaptions.size())
               ? QLatin1String(OptionCaptions[static_cast<size_t>(index)])
               : QString();
}

} // namespace MultiDescription
