// The program started on a Virtual SP holding the standard memory, with Tone 3 shown on the
// Tone tabs and its record set up by the test; the Tone uploads on the wire at hand.
#pragma once

#include "ObjectApp.h"
#include "widgets/KeyInput.h"
#include "device/ObjectKinds.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace ToneTest {

constexpr int ShownTone = 3;
constexpr int DumpLength = 180;

struct ToneApp : ObjectApp {
    explicit ToneApp(std::initializer_list<Field> fields = {}, Vsp::SpMemory memory = StandardMemory())
        : ObjectApp(KindTone, ShownTone, DumpLength, fields, std::move(memory))
    {
        settleOn("Tone1");
    }

    // Changes what the SP holds and has the Tone read back and shown, as after an edit.
    void Reload(std::initializer_list<Field> fields)
    {
        for (const Field &f : fields)
            SpRecords::SetAt(held(), f.position, f.value);
        main()->retrieval().ObjectDownload(KindTone);
        vsp->clearTraffic();
    }

    QLineEdit *txt(const QString &name) { return find<QLineEdit>(name); }
    QSlider *sld(const QString &name) { return find<QSlider>(name); }
    QRadioButton *opt(const char *name, int index) { return find<QRadioButton>(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index)); }
    QComboBox *cbo(int index) { return find<QComboBox>(QStringLiteral("cboTone(%1)").arg(index)); }
};

} // namespace ToneTest
