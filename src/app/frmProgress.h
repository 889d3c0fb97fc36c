// The progress window that long operations show: a caption, a line of text and a busy bar.
#pragma once

#include <QDialog>

class QLabel;

class frmProgress : public QDialog {
    Q_OBJECT
public:
    explicit frmProgress(QWidget *parent = nullptr);

    void Show(const QString &caption, const QString &text);
    void SetText(const QString &caption, const QString &text);
    QString text() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QLabel *lblProgress;
};
