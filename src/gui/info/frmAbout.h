#pragma once
// "About Roadtally": the version, the folder that holds the surveys and two
// pictures; a click anywhere hides it.

#include <QWidget>

class QLabel;

namespace roadtally {

class frmAbout : public QWidget
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *Label8 = nullptr;      // "Version 3.0.2"
    QLabel *folderLabel = nullptr; // where the surveys are kept
    QLabel *Image1 = nullptr;      // the trailer picture
    QLabel *Image2 = nullptr;      // the speedometer picture

    void Form_Click();
    void Image1_Click();
    void Image2_Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace roadtally
