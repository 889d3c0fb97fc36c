// The whole program over a device that answers with a fixed set of pseudo-random answers:
// the Virtual SP's real answers, damaged, cut short, lengthened, replaced by noise, split into
// pieces, doubled or never sent. Every retrieval must end, in a message or a clean display,
// and the program must still read the device correctly once it answers properly again.
#include "FuzzExchange.h"
#include "device/SysExFrame.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int Scripts = 12;
constexpr int AnswersPerScript = 30; // 360 answers in all

enum class Damage { None, FlipByte, CutShort, Lengthen, Noise, Silent, Count };

QByteArray Damaged(const QByteArray &answer, Damage damage, std::mt19937 &random)
{
    auto below = [&random](qsizetype n) { return n <= 0 ? 0 : static_cast<qsizetype>(random() % static_cast<unsigned>(n)); };
    QByteArray out = answer;
    switch (damage) {
    case Damage::FlipByte:
        if (!out.isEmpty())
            out[below(out.size())] = static_cast<char>(random() & 0xFF);
        break;
    case Damage::CutShort:
        out.truncate(below(out.size()));
        break;
    case Damage::Lengthen:
        for (qsizetype n = 1 + below(40); n > 0; --n)
            out.append(static_cast<char>(random() & 0xFF));
        break;
    case Damage::Noise:
        out = random() % 2 ? answer.left(9) : QByteArray();
        for (qsizetype n = below(80); n > 0; --n)
            out.append(static_cast<char>(random() & 0xFF));
        break;
    default:
        break;
    }
    return out;
}

struct Outcome {
    int reported = 0;    // retrievals that ended in a message
    int timeOuts = 0;
    int silentFailures = 0;
};

TEST(FuzzedAnswers, EveryRetrievalEndsInAMessageOrACleanDisplayAndTheProgramRecovers)
{
    // Time-outs of a millisecond: on a loaded machine an answer may lose to one, which ends in
    // the time-out's message as well, so nothing below depends on the machine's speed.
    FuzzExchange fuzz;
    fuzz.recordVirtualSp();
    const QList<QByteArray> real = fuzz.backend->recordedAnswers();
    ASSERT_GT(real.size(), 20);

    std::mt19937 random(20261207);
    Outcome outcome;
    for (int script = 0; script < Scripts; ++script) {
        QByteArray bytes;
        for (int i = 0; i < AnswersPerScript; ++i) {
            const QByteArray &answer = real[(script * AnswersPerScript + i) % real.size()];
            // Half the answers are left whole, so that retrievals get far enough to meet the
            // damage deeper in.
            const auto damage = random() % 2 ? Damage::None
                                             : static_cast<Damage>(1 + random() % (static_cast<unsigned>(Damage::Count) - 1));
            const int pieces = static_cast<int>(random() % 8);
            bytes += FuzzBackend::Encode(Damaged(answer, damage, random), damage == Damage::Silent, pieces,
                                         random() % 16 == 0);
        }
        const qsizetype before = fuzz.app.notifier.messages.size();
        const bool whole = fuzz.drive(bytes);
        const qsizetype after = fuzz.app.notifier.messages.size();
        EXPECT_FALSE(fuzz.app.session().wait.isWaiting()) << "script " << script;
        for (qsizetype m = before; m < after; ++m) {
            if (fuzz.app.notifier.messages[m].text == QStringLiteral("The specified SP Device is not responding"))
                ++outcome.timeOuts;
        }
        if (!whole && after > before)
            ++outcome.reported;
        else if (!whole)
            ++outcome.silentFailures;
    }
    // A retrieval that failed told the user why.
    EXPECT_EQ(outcome.silentFailures, 0);
    EXPECT_GT(outcome.reported, 0);
    EXPECT_GT(outcome.timeOuts, 0);

    // The device answers properly again: everything is read as the Virtual SP holds it, with
    // the time-outs the program uses, since no answer may be missed now.
    fuzz.app.session().wait.setTimeoutCap(0);
    VirtualSp sp;
    sp.setMemory(Vsp::FactoryBank());
    fuzz.backend->recordFrom([&sp](const QByteArray &request) {
        const std::vector<QByteArray> answers = sp.Receive(request);
        return QList<QByteArray>(answers.begin(), answers.end());
    });
    const qsizetype before = fuzz.app.notifier.messages.size();
    EXPECT_TRUE(fuzz.drive({}));
    for (qsizetype m = before; m < fuzz.app.notifier.messages.size(); ++m)
        ADD_FAILURE() << fuzz.app.notifier.messages[m].heading.toStdString() << ": " << fuzz.app.notifier.messages[m].text.toStdString();
    for (int kind : {KindWave, KindTone, KindPreset, KindMulti}) {
        const KindState &state = fuzz.app.session().objects.of(kind);
        const std::vector<QByteArray> dump = sp.Receive(SysEx::Frame(
            VirtualSp::BroadcastId, SysEx::Bytes({0x01, kind, 0, 0, 0, 2, 0, 0, (state.Num / 16) & 0x7F, state.Num % 16})));
        ASSERT_EQ(dump.size(), 1u) << "kind " << kind;
        EXPECT_EQ(state.Image, dump.front()) << "kind " << kind;
    }
}

} // namespace
