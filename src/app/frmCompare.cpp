#include "app/frmCompare.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

frmCompare::frmCompare(const QString &firstTitle, const QString &secondTitle,
                       const QVector<Compare::Difference> &differences, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("Compare Backup"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    lblCompare = new QLabel(this);
    lblCompare->setObjectName(QStringLiteral("lblCompare"));
    lblCompare->setText(differences.isEmpty() ? QStringLiteral("%1 and %2 hold the same.").arg(firstTitle, secondTitle)
                                              : QStringLiteral("%1 differences between %2 and %3.")
                                                    .arg(differences.size())
                                                    .arg(firstTitle, secondTitle));
    layout->addWidget(lblCompare);
    trvCompare = new QTreeWidget(this);
    trvCompare->setObjectName(QStringLiteral("trvCompare"));
    trvCompare->setHeaderLabels({QStringLiteral("Object / Parameter"), firstTitle, secondTitle});
    QTreeWidgetItem *branch = nullptr;
    QString current;
    for (const Compare::Difference &d : differences) {
        if (d.parameter.isEmpty()) {
            new QTreeWidgetItem(trvCompare, {d.object, d.first, d.second});
            branch = nullptr;
            current.clear();
            continue;
        }
        if (!branch || current != d.object) {
            branch = new QTreeWidgetItem(trvCompare, {d.object});
            branch->setExpanded(true);
            current = d.object;
        }
        new QTreeWidgetItem(branch, {d.parameter, d.first, d.second});
    }
    trvCompare->expandAll();
    trvCompare->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(trvCompare, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(640, 480);
}
