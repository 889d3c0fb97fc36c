// The smallest program of Korvane's kind: a main window holding a tab control with as many tabs,
// shown, then a line printed and the program ended exactly as `korvane --quit-when-shown` does.
// The start-up benchmark times the two side by side, so Qt's own start-up cost is told apart from
// the program's.
#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *tabs = new QTabWidget;
    for (const char *caption : {"Preset1", "Preset2", "Map", "Tone1", "Tone2", "Tone3", "Wave", "Global"})
        tabs->addTab(new QWidget, QLatin1String(caption));
    window.setCentralWidget(tabs);
    window.show();
    QTimer::singleShot(0, &app, [] {
        QTextStream(stdout) << "Main window shown" << Qt::endl;
        QApplication::exit(0);
    });
    return app.exec();
}
