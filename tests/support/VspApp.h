// The whole program started on a Virtual SP whose memory the test chose, with the traffic on
// the wire at hand.
#pragma once

#include "Bytes.h"
#include "SpRecords.h"
#include "TestApp.h"
#include "app/MainTabs.h"
#include "vsp/VirtualSpBackend.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <utility>

struct VspApp : TestApp {
    VirtualSpBackend *vsp = nullptr;

    // Waves 2, 5, 9; Tones 3, 7, 12; Map 4 of two zones; Presets 0 and 1; Multi 0.
    static Vsp::SpMemory StandardMemory()
    {
        using namespace SpRecords;
        Vsp::SpMemory m;
        m.of(Vsp::Wave)[2] = Wave("Kick", 9000);
        m.of(Vsp::Wave)[5] = Wave("Snare", 12000);
        m.of(Vsp::Wave)[9] = Wave("Hat", 3000);
        m.of(Vsp::Tone)[3] = Tone("Kick Tone");
        m.of(Vsp::Tone)[7] = Tone("Snare Tone");
        m.of(Vsp::Tone)[12] = Tone("Hat Tone");
        m.of(Vsp::Map)[4] = Map("Drum Map", {{0, 47}, {48, 127}});
        m.of(Vsp::Preset)[0] = Preset("Drum Kit");
        m.of(Vsp::Preset)[1] = Preset("Second Kit");
        m.of(Vsp::Multi)[0] = Multi("Band");
        m.global.bankName = "Test Bank     ";
        m.global.omniPolyChannel = 4;
        m.global.omniPolyVolume = 100;
        m.global.receiveMode = 1;
        m.global.masterTune = -250;
        return m;
    }

    VirtualSpBackend::Options vspOptions; // before the start

    // `plan` spoils the SP's answers from the very first request on.
    LinkStartup::Outcome start(Vsp::SpMemory memory = StandardMemory(), VirtualSpBackend::FaultPlan plan = {})
    {
        auto backend = std::make_unique<VirtualSpBackend>(vspOptions);
        backend->device().setMemory(std::move(memory));
        backend->setFaultPlan(std::move(plan));
        vsp = backend.get();
        return TestApp::start(std::move(backend));
    }
    LinkStartup::Outcome startWithFaults(VirtualSpBackend::FaultPlan plan) { return start(StandardMemory(), std::move(plan)); }
    // The first request, the probe, goes unanswered: the program starts offline.
    LinkStartup::Outcome startOffline()
    {
        return startWithFaults([probe = true](const QByteArray &) mutable {
            return std::exchange(probe, false) ? VirtualSpBackend::Fault{VirtualSpBackend::Fault::NoAnswer} : VirtualSpBackend::Fault{};
        });
    }

    QList<QByteArray> requests() const
    {
        QList<QByteArray> in;
        for (const auto &t : vsp->traffic()) {
            if (t.direction == VirtualSpBackend::Traffic::In)
                in << t.message;
        }
        return in;
    }
    QByteArray lastRequest() const { return requests().value(requests().size() - 1); }

    void showTab(int index) { find<QTabWidget>("SPFEtab")->setCurrentIndex(index); }
    void showTab(const char *caption) { showTab(MainTabs::IndexOf(caption)); }
    QLineEdit *box(const char *name) { return find<QLineEdit>(name); }
    void type(QLineEdit *line, const QString &text, bool enter = true)
    {
        QTest::keyClicks(line, text);
        if (enter)
            QTest::keyClick(line, Qt::Key_Return);
    }
    void clear(QLineEdit *line)
    {
        line->setFocus();
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Backspace);
    }
    void clearAndType(QLineEdit *line, const QString &text, bool enter = true)
    {
        clear(line);
        type(line, text, enter);
    }
};

// Bytes written out in full, as the wire carries them.
inline QByteArray Wire(std::initializer_list<int> values)
{
    return Bytes(values);
}

inline QByteArray DumpRequest(int kind, int number)
{
    return Wire({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, kind, 0, 0, 0, 2, 0, 0, number / 16, number % 16, 0xF7});
}

// Fault plans for the Virtual SP: a fault on the requests a test picks, none on the others.
using RequestPick = std::function<bool(const QByteArray &request)>;

inline VirtualSpBackend::FaultPlan FaultOn(RequestPick pick, VirtualSpBackend::Fault fault)
{
    return [pick = std::move(pick), fault](const QByteArray &request) {
        return pick(request) ? fault : VirtualSpBackend::Fault{};
    };
}
inline VirtualSpBackend::FaultPlan FaultOnAll(VirtualSpBackend::Fault fault)
{
    return [fault](const QByteArray &) { return fault; };
}

// A request for any object of `kind`.
inline RequestPick DumpRequestsOf(int kind)
{
    return [kind](const QByteArray &r) { return r.size() > 9 && r.at(7) == 0x01 && r.at(8) == kind; };
}
inline RequestPick DumpRequestFor(int kind, int number)
{
    return [request = DumpRequest(kind, number)](const QByteArray &r) { return r == request; };
}
// The directory status (`list` false) or the directory (`list` true) of `kind`.
inline RequestPick DirectoryRequestOf(int kind, bool list)
{
    return [kind, list](const QByteArray &r) {
        return r.size() == 12 && r.at(7) == 0x12 && r.at(8) == (list ? 0x02 : 0x01) && r.at(10) == kind;
    };
}
