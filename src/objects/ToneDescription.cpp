#include "objects/ToneDescription.h"

#include <cstring>

namespace ToneDescription {

QString QuantizeText(int stored)
{
    return stored == 0 ? QLatin1String(NoQuantizeWord) : QString::number(stored + 1);
}

QString EnvelopeStageName(size_t envelope, size_t stage)
{
    return QStringLiteral("Envelope %1 %2").arg(envelope + 1).arg(QLatin1String(StageCaptions[stage]));
}

size_t RowOf(const char *family, int index)
{
    for (size_t row = 0; row < Boxes.size(); ++row) {
        if (Boxes[row].index == index && std::strcmp(Boxes[row].family, family) == 0)
            return row;
    }
    return Boxes.size();
}

const ModeBit &ModeBitOf(int option)
{
    return ModeBits[static_cast<size_t>(option / 2)];
}

} // namespace ToneDescription
