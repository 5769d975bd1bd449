#pragma once
// "85th Percentile": explains the 85th percentile shown on the summary tab.

#include <QWidget>

class QLabel;
class QPushButton;

namespace roadtally {

class percent : public QWidget
{
    Q_OBJECT
public:
    explicit percent(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr; // "Hide"

    static const QString Text;

    void Command1_Click();
};

} // namespace roadtally
