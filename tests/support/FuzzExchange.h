// The whole program, offscreen, on a device whose answers come from a script of bytes (see
// FuzzBackend): every retrieval the program makes, driven through the real response wait with
// short time-outs. Used by the exchange fuzz target and by the suite's run over fixed answers.
#pragma once

#include "FuzzBackend.h"
#include "TestApp.h"
#include "device/ObjectKinds.h"
#include "vsp/FactoryBank.h"
#include "vsp/VirtualSp.h"

#include <QAction>
#include <QCoreApplication>
#include <QTabWidget>

struct FuzzExchange {
    // Short, as this is about time-outs and garbage; a wait ends in an answer or this.
    static constexpr int TimeoutMs = 1;

    explicit FuzzExchange(int timeoutMs = TimeoutMs)
    {
        auto owned = std::make_unique<FuzzBackend>();
        backend = owned.get();
        app.responseTimeoutCap = timeoutMs;
        app.traceToFile = false;
        app.start(std::move(owned));
    }

    // Every retrieval the user can ask for, each from a link that answered last time: all
    // objects, then on each tab its current object; leftover answers are then taken as unasked
    // messages. True when the retrieval of everything came through.
    bool drive(const QByteArray &script)
    {
        backend->setScript(script);
        bool all = false;
        for (int retrieval = 0; retrieval < Retrievals() && (retrieval == AllObjects || !backend->exhausted()); ++retrieval) {
            const bool done = run(retrieval);
            if (retrieval == AllObjects)
                all = done;
        }
        QCoreApplication::processEvents();
        return all;
    }

    // One of those retrievals, chosen by the input's first byte, answered by the rest: many more
    // inputs a second for the fuzzer, each as deep as the whole sequence.
    void driveOne(const QByteArray &input)
    {
        if (input.isEmpty())
            return;
        backend->setScript(input.mid(1));
        run(static_cast<uint8_t>(input.at(0)) % Retrievals());
        QCoreApplication::processEvents();
    }

    // Retrieval 0 is all objects; 1 to the tab count download a tab's current object; the last
    // reads the Global settings. True when it came through.
    static constexpr int AllObjects = 0;
    int Retrievals() { return tabs()->count() + 2; }

    bool run(int retrieval)
    {
        app.session().link.setStatus(LinkState::Online);
        if (retrieval == AllObjects)
            return app.main()->retrieval().AllObjectsDump();
        if (retrieval <= tabs()->count()) {
            tabs()->setCurrentIndex(retrieval - 1);
            auto *download = app.find<QAction>(QStringLiteral("mnuDLobject"));
            if (download->isEnabled())
                download->trigger();
            return app.session().link.isOnline();
        }
        app.main()->retrieval().DownloadGlobal();
        return app.session().link.isOnline();
    }

    QTabWidget *tabs() { return app.find<QTabWidget>(QStringLiteral("SPFEtab")); }

    // The answers the Virtual SP gives to the same retrievals, in the script's format: a seed.
    // With a retrieval number, to that retrieval alone, led by its number as driveOne takes it.
    QByteArray recordVirtualSp(int retrieval = -1)
    {
        VirtualSp sp;
        sp.setMemory(Vsp::FactoryBank());
        backend->recordFrom([&sp](const QByteArray &request) {
            const std::vector<QByteArray> answers = sp.Receive(request);
            return QList<QByteArray>(answers.begin(), answers.end());
        });
        // Every answer is recorded, however slow the machine: no short time-out while recording.
        app.session().wait.setTimeoutCap(0);
        if (retrieval < 0) {
            drive({});
        } else {
            backend->setScript({});
            run(retrieval);
        }
        backend->recordFrom({});
        app.session().wait.setTimeoutCap(app.responseTimeoutCap);
        return retrieval < 0 ? backend->recorded() : QByteArray(1, static_cast<char>(retrieval)) + backend->recorded();
    }

    TestApp app;
    FuzzBackend *backend = nullptr;
};
