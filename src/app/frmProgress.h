// The progress window that long operations show: a caption, a line of text and a busy bar.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmProgress : public QDialog {
    Q_OBJECT
public:
    explicit frmProgress(QWidget *parent = nullptr);

    void Show(const QString &caption, const QString &text);
    void SetText(const QString &caption, const QString &text);
    QString text() const;
    // Offers cmdCancel, and lets closing the window cancel, for a wait that may never end.
    void SetCancellable(bool on);

signals:
    void cancelled();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void reject() override;

private:
    QLabel *lblProgress;
    QPushButton *cmdCancel;
    bool cancellable = false;
};
