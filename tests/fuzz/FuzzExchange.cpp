// The whole program's exchange driven by fuzzed answers: the input's first byte chooses a
// retrieval (all objects, a tab's current object, the Global settings) and each request it sends
// is answered with the next answer of the rest (see FuzzBackend), through the real response wait
// with short time-outs. Every answer must end in a message or a clean display: never a
// crash, a sanitizer report or a wait that does not end.
#include "FuzzExchange.h"
#include "FuzzSeeds.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>

namespace {

FuzzExchange *harness = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Built once and never destroyed: tearing Qt's application down at exit is not what is
    // under test, and each input starts from where the last one left the program.
    new QApplication(*argc, *argv);
    harness = new FuzzExchange;
    // Painting is Qt's, not a reader of the device's bytes: the window's contents still follow
    // every answer, unseen, at many more inputs a second.
    harness->app.main()->hide();
    if (!FuzzSeeds::Folder().isEmpty()) {
        FuzzSeeds::Seeds seeds;
        for (int retrieval = 0; retrieval < harness->Retrievals(); ++retrieval) {
            const QByteArray answers = harness->recordVirtualSp(retrieval);
            seeds.emplace_back(QStringLiteral("vsp-retrieval-%1").arg(retrieval), answers);
            // The first few answers only, ending in a time-out.
            seeds.emplace_back(QStringLiteral("vsp-retrieval-%1-first").arg(retrieval), answers.left(200));
        }
        FuzzSeeds::WriteAndExit(seeds);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    harness->app.notifier.messages.clear();
    harness->driveOne(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
