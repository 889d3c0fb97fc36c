// frmHelp: the program's own help, a page per tab and per dialog with a contents page,
// shipped inside the program. One modeless window; asking for another page brings it forward.
#pragma once

#include <QString>
#include <QWidget>

class QEvent;
class QTextBrowser;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Page names without ".html": "index", a tab caption ("Preset1" ... "Global") or a
    // dialog's page ("Configuration", "LoadBank", ...). An unknown name shows the contents.
    void ShowPage(const QString &page);
    QString CurrentPage() const;

    // The page that explains a window: the dialogs by their objectName; anything else has none.
    static QString PageForWindow(const QString &windowName);
    // Whether the help has a page of this name.
    // A page as shown, its shared parts put in.
    static QString PageHtml(const QString &page);
    static bool HasPage(const QString &page);

private:
    QTextBrowser *txtHelp;
};

// F1 anywhere in the program, a modal dialog included: reports the widget that had the focus.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(QObject *parent);

signals:
    void pressed(QWidget *focus);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
