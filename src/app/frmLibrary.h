// The library window: the timeline of snapshots, search across everything stored (results as
// the user types), an object's tags and note, and the commands on snapshots. What needs the SP
// is handed in as actions, so the window itself only reads and writes the library.
#pragma once

#include <QWidget>

#include <QVector>

#include <functional>

class Library;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

struct ChosenObject {
    qint64 snapshot = 0;
    int kind = 0;
    int number = 0;
};

class frmLibrary : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> snapshot;                       // read the SP into a new snapshot
        std::function<void(qint64 first, qint64 second)> compare; // second 0: with the SP
        std::function<void(qint64 id)> restore;
        std::function<void(qint64 snapshot, int kind, int number)> send; // one object, with what it plays
        // Several chosen objects back at their own numbers, with what they play.
        std::function<void(const QVector<ChosenObject> &objects)> restoreObjects;
    };
    frmLibrary(Library &library, Actions actions, QWidget *parent = nullptr);

    // The timeline and the results again, after the library changed.
    void Refresh();
    // Backup files or folders of them, each a new snapshot; refusals are said in the status line.
    void ImportPaths(const QStringList &paths);
    QString status() const;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void ShowSnapshots();
    void Search();
    void ShowSelectedObject();
    void KeepTagsAndNote();
    QList<qint64> SelectedSnapshots() const;
    void UpdateButtons();

    Library &library;
    Actions actions;
    QTreeWidget *lstSnapshots;
    QLineEdit *txtLibrarySearch;
    QComboBox *cboLibraryKind;
    QComboBox *cboLibrarySnapshot;
    QTreeWidget *trvLibraryObjects;
    QLineEdit *txtLibraryTags;
    QLineEdit *txtLibraryNote;
    QPushButton *cmdLibraryKeep;
    QPushButton *cmdLibrarySend;
    QPushButton *cmdLibrarySnapshot;
    QPushButton *cmdLibraryImport;
    QPushButton *cmdLibraryCompare;
    QPushButton *cmdLibraryRestore;
    QLabel *lblLibraryStatus;
};
