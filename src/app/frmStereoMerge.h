// frmStereoMerge, "Stereo Merge": a left and a right mono Wave side by side with their number,
// name, length and mode; the pair is checked, merged by the SP into one stereo Wave that keeps
// the left number, and everything, then the merged Wave, is read again.
#pragma once

#include "app/WindowServices.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class Session;
class SpinButton;

class frmStereoMerge : public QDialog {
    Q_OBJECT
public:
    enum SideIndex { Left = 0, Right = 1 };

    frmStereoMerge(Session &session, const WindowServices &main);

    // Settles a side's number box on a Wave in use and shows that Wave, read from the SP.
    void CommitSide(int side);
    void cmdMerge_Click(int index);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Spin(int side, int step);
    void Merge();
    QLineEdit *NumberBox(int side) const { return txtMerge[static_cast<size_t>(side)]; }
    QLineEdit *NameBox(int side) const { return txtMerge[static_cast<size_t>(side + 2)]; }
    QLineEdit *LengthBox(int side) const { return txtMerge[static_cast<size_t>(side + 4)]; }
    QLineEdit *ModeBox(int side) const { return txtMerge[static_cast<size_t>(side + 6)]; }

    Session &session;
    const WindowServices main;
    std::array<QLineEdit *, 8> txtMerge{};
    std::array<SpinButton *, 2> spnMerge{};
    std::array<QPushButton *, 2> cmdMerge{};
};
