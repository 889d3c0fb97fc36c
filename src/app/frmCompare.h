// The window that shows what differs between a backup and the SP, or between two backups: one
// branch per object, one row per parameter.
#pragma once

#include "editors/Compare.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

class frmCompare : public QDialog {
    Q_OBJECT
public:
    frmCompare(const QString &firstTitle, const QString &secondTitle, const QVector<Compare::Difference> &differences,
               QWidget *parent = nullptr);

    QTreeWidget *tree() const { return trvCompare; }

private:
    QLabel *lblCompare;
    QTreeWidget *trvCompare;
};
