// frmStats, "SP Statistics": what the kinds' last directory status records say about the SP's
// objects and memory, in words or in bytes. Modeless; it asks the SP nothing.
#pragma once

#include "objects/MemoryStats.h"

#include <QDialog>

#include <array>

class QLabel;
class QRadioButton;

class frmStats : public QDialog {
    Q_OBJECT
public:
    explicit frmStats(const ObjectStore &store, QWidget *parent = nullptr);

    // Fills every figure again from the status records, in the chosen unit.
    void optStats_Click(int index);

private:
    const ObjectStore &store;
    std::array<QLabel *, MemoryStats::KindRows> lblParm{};
    std::array<QLabel *, MemoryStats::KindRows> lblQnt{};
    std::array<QLabel *, MemoryStats::GlobalRows> lblMem{};
    std::array<QRadioButton *, 2> optStats{};
};
