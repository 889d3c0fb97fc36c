// The whole program, offscreen, on a device whose answers come from a script of bytes (see
// FuzzBackend): every retrieval the program makes, driven through the real response wait with
// short time-outs. Used by the exchange fuzz target and by the suite's run over fixed answers.
#pragma once

#include "FuzzBackend.h"
#include "TestApp.h"
#include "objects/ObjectKinds.h"
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
        LinkState &link = app.session().link;
        link.setStatus(LinkState::Online);
        const bool all = app.main()->retrieval().AllObjectsDump();
        auto *tabs = app.find<QTabWidget>(QStringLiteral("SPFEtab"));
        auto *download = app.find<QAction>(QStringLiteral("mnuDLobject"));
        for (int tab = 0; tab < tabs->count() && !backend->exhausted(); ++tab) {
            link.setStatus(LinkState::Online);
            tabs->setCurrentIndex(tab);
            if (download->isEnabled() && !backend->exhausted())
                download->trigger();
        }
        if (!backend->exhausted()) {
            link.setStatus(LinkState::Online);
            app.main()->retrieval().DownloadGlobal();
        }
        QCoreApplication::processEvents();
        return all;
    }

    // The answers the Virtual SP gives to the same retrievals, in the script's format: a seed.
    QByteArray recordVirtualSp()
    {
        VirtualSp sp;
        sp.setMemory(Vsp::FactoryBank());
        backend->recordFrom([&sp](const QByteArray &request) {
            const std::vector<QByteArray> answers = sp.Receive(request);
            return QList<QByteArray>(answers.begin(), answers.end());
        });
        drive({});
        backend->recordFrom({});
        return backend->recorded();
    }

    TestApp app;
    FuzzBackend *backend = nullptr;
};
