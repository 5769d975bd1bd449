#pragma once
// The print options panel (framePrintOption): a frame over the tabs where the
// user picks the direction and, for some reports, the date of a report.

#include <QFrame>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace roadtally {

class PrintOptionsPanel : public QFrame
{
    Q_OBJECT
public:
    explicit PrintOptionsPanel(QWidget *parent = nullptr);

    QLabel *Label27 = nullptr;    // "Print Options"
    QLabel *PrintTitle = nullptr; // name of the report
    QRadioButton *PrintOptionA = nullptr;
    QRadioButton *PrintOptionR = nullptr;
    QRadioButton *PrintOptionB = nullptr;
    QComboBox *Combo2 = nullptr; // the report's date (or other choice)
    QLabel *DateChoice2 = nullptr;
    QPushButton *PrintSelection = nullptr; // "Print Selection"
    QPushButton *Command11 = nullptr;      // "Close"

signals:
    // "Close": the panel has hidden itself; the main window enables its tabs.
    void closed();
};

} // namespace roadtally
