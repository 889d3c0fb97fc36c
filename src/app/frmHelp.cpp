#include "app/frmHelp.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <array>

// The help lives in the core library; a static library's resources must be registered by hand,
// and from outside any namespace.
static void RegisterHelp()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace {

const QString Root = QStringLiteral("qrc:/help/");
const QString Contents = QStringLiteral("index");

struct WindowPage {
    const char *window;
    const char *page;
};
constexpr std::array<WindowPage, 9> WindowPages = {{
    {"frmConfig", "Configuration"},
    {"frmLoadBank", "LoadBank"},
    {"frmDeleteObject", "Delete"},
    {"frmStereoMerge", "StereoMerge"},
    {"frmStats", "Statistics"},
    {"frmMonitor", "Monitor"},
    {"frmProgress", "Progress"},
    {"frmLibrary", "Library"},
    {"frmLibrarySend", "Library"},
}};

// Shows the pages with their shared parts put in (see frmHelp::PageHtml).
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QString file = name.toString();
        if (type == QTextDocument::HtmlResource && file.startsWith(Root) && file.endsWith(QStringLiteral(".html")))
            return frmHelp::PageHtml(file.mid(Root.size()).chopped(5));
        return QTextBrowser::loadResource(type, name);
    }
};

} // namespace

QString frmHelp::PageHtml(const QString &page)
{
    RegisterHelp();
    const auto read = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    // What every page shares is written once, in parts/, and named in the page by a comment.
    QString html = read(QStringLiteral(":/help/%1.html").arg(page));
    for (const char *part : {"style", "nav", "edits", "no-answer"})
        html.replace(QStringLiteral("<!--%1-->").arg(QLatin1String(part)),
                     read(QStringLiteral(":/help/parts/%1.html").arg(QLatin1String(part))));
    return html;
}

frmHelp::frmHelp(QWidget *parent) : QWidget(parent, Qt::Window)
{
    RegisterHelp();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Korvane Help"));
    txtHelp = new HelpBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenExternalLinks(true);
    auto *contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("cmdHelpContents"));
    auto *back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("cmdHelpBack"));
    back->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdHelpClose"));
    connect(contents, &QPushButton::clicked, this, [this] { ShowPage(Contents); });
    connect(back, &QPushButton::clicked, txtHelp, &QTextBrowser::backward);
    connect(txtHelp, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(txtHelp, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(QStringLiteral("Korvane Help - ") + txtHelp->documentTitle()); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtHelp, 1);
    resize(760, 640);
    ShowPage(Contents);
}

bool frmHelp::HasPage(const QString &page)
{
    RegisterHelp();
    return !page.isEmpty() && QFile::exists(QStringLiteral(":/help/") + page + QStringLiteral(".html"));
}

void frmHelp::ShowPage(const QString &page)
{
    const QString shown = HasPage(page) ? page : Contents;
    txtHelp->setSource(QUrl(Root + shown + QStringLiteral(".html")));
}

QString frmHelp::CurrentPage() const
{
    const QString file = txtHelp->source().fileName();
    return file.endsWith(QStringLiteral(".html")) ? file.chopped(5) : file;
}

QString frmHelp::PageForWindow(const QString &windowName)
{
    for (const WindowPage &entry : WindowPages) {
        if (windowName == QLatin1String(entry.window))
            return QLatin1String(entry.page);
    }
    return {};
}

HelpKey::HelpKey(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1
        && watched->isWidgetType()) {
        QWidget *focus = QApplication::focusWidget();
        emit pressed(focus ? focus : static_cast<QWidget *>(watched));
        return true;
    }
    return QObject::eventFilter(watched, event);
}
