#pragma once
// "Pace Description": explains the pace shown on the summary tab.

#include <QWidget>

class QLabel;
class QPushButton;

namespace roadtally {

class pace_description : public QWidget
{
    Q_OBJECT
public:
    explicit pace_description(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr; // "Close"

    static const QString Text;

    void Command1_Click();
};

} // namespace roadtally
