// A private JACK server on the dummy driver, and korvane-vsp answering on it through
// "Korvane Virtual SP" ports: a real MIDI system on a machine without sound hardware. Every
// process it starts is stopped when it goes, and dies with this one if that crashes first.
// Used by the end-to-end tests and the JACK benchmark; Qt Core and RtMidi only.
#pragma once

#include <rtmidi/RtMidi.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#ifdef __linux__
#include <csignal>
#include <sys/prctl.h>
#endif

class JackRig {
public:
    static constexpr int StartLimitMs = 30000;
    static constexpr int StopLimitMs = 10000;
    // The names Korvane offers for korvane-vsp's ports on JACK.
    static constexpr const char *VspOutputPort = "JACK: Korvane Virtual SP Out:Korvane Virtual SP";
    static constexpr const char *VspInputPort = "JACK: Korvane Virtual SP In:Korvane Virtual SP";

    JackRig()
        : name(QStringLiteral("korvane-%1-%2")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QDateTime::currentMSecsSinceEpoch() % 1000000))
    {
#ifdef __linux__
        // A client of a server that is gone must fail its writes, not take the process down.
        std::signal(SIGPIPE, SIG_IGN);
#endif
    }
    JackRig(const JackRig &) = delete;
    JackRig &operator=(const JackRig &) = delete;
    ~JackRig() { stop(); }

    // Starts jackd and waits until it takes clients; this process's own clients (Korvane's
    // RtMidi backend among them) then reach it too. False, with the reason, when it cannot.
    bool startServer(QString *why)
    {
        const QString jackd = QStandardPaths::findExecutable(QStringLiteral("jackd"));
        if (jackd.isEmpty()) {
            *why = QStringLiteral("jackd is not installed (Debian package jackd1, see scripts/setup.sh)");
            return false;
        }
        // jackd1 keeps its metadata under the default server's name, so the server needs it too.
        qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
        qputenv("JACK_NO_AUDIO_RESERVATION", "1");
        Prepare(server);
        // -r before -d: no real-time scheduling, which these machines do not grant.
        server.start(jackd, {QStringLiteral("-r"), QStringLiteral("-n"), name, QStringLiteral("-d"), QStringLiteral("dummy"),
                             QStringLiteral("-r"), QStringLiteral("48000"), QStringLiteral("-p"), QStringLiteral("64")});
        if (!server.waitForStarted(StartLimitMs)) {
            *why = QStringLiteral("jackd did not start: ") + server.errorString();
            return false;
        }
        const QDeadlineTimer deadline(StartLimitMs);
        while (!TakesClients()) {
            if (server.state() != QProcess::Running || deadline.hasExpired()) {
                *why = QStringLiteral("jackd with the dummy driver did not come up: ") +
                       QString::fromLocal8Bit(server.readAll());
                return false;
            }
            server.waitForFinished(50); // a pause that also notices jackd ending
        }
        return true;
    }

    // Starts korvane-vsp --ports on the server and waits for its ports.
    bool startVsp(const QString &executable, const QStringList &arguments, QString *why)
    {
        Prepare(vsp);
        vsp.setProcessChannelMode(QProcess::SeparateChannels);
        vsp.start(executable, QStringList{QStringLiteral("--ports"), QStringLiteral("--midi-system"),
                                          QStringLiteral("jack")} + arguments);
        if (!vsp.waitForStarted(StartLimitMs)) {
            *why = QStringLiteral("korvane-vsp did not start: ") + vsp.errorString();
            return false;
        }
        const QDeadlineTimer deadline(StartLimitMs);
        while (!vspErrors.contains("answering on the JACK ports")) {
            if (vsp.state() != QProcess::Running || deadline.hasExpired()) {
                vspErrors += vsp.readAllStandardError();
                *why = QStringLiteral("korvane-vsp --ports did not open its ports: ") + QString::fromLocal8Bit(vspErrors);
                return false;
            }
            vsp.waitForReadyRead(100);
            vspErrors += vsp.readAllStandardError();
        }
        return true;
    }

    // What korvane-vsp has shown of its traffic so far (with --hex), and its messages.
    QByteArray vspTraffic()
    {
        vspOutput += vsp.readAllStandardOutput();
        return vspOutput;
    }
    QByteArray vspMessages()
    {
        vspErrors += vsp.readAllStandardError();
        return vspErrors;
    }

    // Interrupts korvane-vsp as a user would; its exit code, or -1 if it had to be killed.
    int stopVsp() { return Stop(vsp); }

    void stop()
    {
        Stop(vsp);
        Stop(server);
    }

    const QString name;
    QProcess server;
    QProcess vsp;

private:
    static void Prepare(QProcess &process)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
#ifdef __linux__
        // Whatever happens to the test, its servers do not outlive it.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    }

    static void Complained(RtMidiError::Type, const std::string &, void *complained)
    {
        *static_cast<bool *>(complained) = true;
    }

    static bool TakesClients()
    {
        bool complained = false;
        try {
            RtMidiIn probe(RtMidi::UNIX_JACK, "Korvane probe");
            probe.setErrorCallback(&Complained, &complained);
            probe.getPortCount();
        } catch (const RtMidiError &) {
            return false;
        }
        return !complained;
    }

    static int Stop(QProcess &process)
    {
        if (process.state() == QProcess::NotRunning)
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        process.terminate();
        if (process.waitForFinished(StopLimitMs) && process.exitStatus() == QProcess::NormalExit)
            return process.exitCode();
        process.kill();
        process.waitForFinished(StopLimitMs);
        return -1;
    }

    QByteArray vspOutput;
    QByteArray vspErrors;
};
