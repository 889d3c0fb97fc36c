// Every reader of a file from outside, chosen by the input's first byte; the rest is the
// file: the Virtual SP's memory file, a bank file on one of its disks, and the settings file
// (an INI file holding anything). A file may be refused, never crash the reader.
#include "FuzzSeeds.h"
#include "editors/Session.h"
#include "device/SysExFrame.h"
#include "settings/Registry.h"
#include "vsp/DiskDrives.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpMemoryFile.h"
#include "vsp/VirtualSp.h"

#include "RecordingNotifier.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace {

struct Files {
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("session.ini")), QSettings::IniFormat};
    RecordingNotifier notifier;
    Session session{store, notifier, {}};
    Vsp::DiskDrives drives{dir.filePath(QStringLiteral("disks"))};
    int settingsFiles = 0;
};

Files *files = nullptr;

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void ReadMemoryFile(const QByteArray &bytes)
{
    const QString path = files->dir.filePath(QStringLiteral("memory.json"));
    if (!Write(path, bytes))
        return;
    Vsp::SpMemory memory;
    QString error;
    if (Vsp::LoadMemory(path, memory, &error) == Vsp::LoadResult::Loaded) {
        // What was accepted must serve the requests the device answers.
        VirtualSp sp;
        sp.setMemory(memory);
        for (int kind = 0; kind < 5; ++kind) {
            for (const QByteArray &answer : sp.Receive(SysEx::Frame(VirtualSp::BroadcastId, SysEx::Bytes({0x12, 0x02, 0x01, kind}))))
                (void)answer;
        }
    }
}

void ReadBankFile(const QByteArray &bytes)
{
    const QString path = files->drives.bankPath(Vsp::DiskDrives::FloppyDiskCode, 1);
    if (!Write(path, bytes))
        return;
    Vsp::SpMemory memory = Vsp::SpMemory();
    QString error;
    (void)files->drives.LoadBank(Vsp::DiskDrives::FloppyDiskCode, 1, memory, &error);
}

void ReadSettings(const QByteArray &bytes)
{
    // A new name each time: QSettings keeps files it has read and may not see a rewrite.
    const QString path = files->dir.filePath(QStringLiteral("settings-%1.ini").arg(files->settingsFiles++));
    if (Write(path, bytes)) {
        QSettings store(path, QSettings::IniFormat);
        Settings settings;
        Session &session = files->session;
        (void)Registry::GetRegistry(store, settings, session.comms.input(), session.comms.output(), session.log);
        (void)Registry::HasStoredPorts(store);
        (void)Registry::ReadHomeDirectory(store, files->dir.path());
        (void)Registry::ReadVirtualSpEnabled(store);
    }
    QFile::remove(path);
}

const std::array<std::function<void(const QByteArray &)>, 3> Readers{ReadMemoryFile, ReadBankFile, ReadSettings};

FuzzSeeds::Seeds Seeds()
{
    FuzzSeeds::Seeds seeds;
    const QString memoryPath = files->dir.filePath(QStringLiteral("seed.json"));
    QString error;
    if (Vsp::SaveMemory(Vsp::FactoryBank(), memoryPath, &error)) {
        QFile saved(memoryPath);
        if (saved.open(QIODevice::ReadOnly)) {
            const QByteArray memory = saved.readAll();
            seeds.emplace_back(QStringLiteral("memory-file"), QByteArray(1, 0) + memory);
            seeds.emplace_back(QStringLiteral("bank-file"), QByteArray(1, 1) + memory);
        }
    }
    const QString settingsPath = files->dir.filePath(QStringLiteral("seed.ini"));
    {
        QSettings store(settingsPath, QSettings::IniFormat);
        Registry::SetRegistry(store, Settings());
    }
    QFile saved(settingsPath);
    if (saved.open(QIODevice::ReadOnly))
        seeds.emplace_back(QStringLiteral("settings"), QByteArray(1, 2) + saved.readAll());
    return seeds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Built once and never destroyed, as Qt's application object does not survive exit's
    // teardown order.
    new QApplication(*argc, *argv);
    files = new Files;
    QDir().mkpath(files->drives.folder(Vsp::DiskDrives::FloppyDiskCode));
    if (!FuzzSeeds::Folder().isEmpty())
        FuzzSeeds::WriteAndExit(Seeds());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    Readers[data[0] % Readers.size()](bytes);
    return 0;
}
