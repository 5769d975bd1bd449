#pragma once
// "Survey - Speeding Profile": the speeding vehicles of the main window's current
// survey for its chosen direction, with the posted limit and the over-limit count.
// The main window hands over what it shows with showFor() and hears back through
// closed() and printRequested(); this window never touches the main window.

#include "core/analysis/SpeedProfileList.h"

#include <QVector>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace roadtally {

class PagedQueryModel;

class frmSpeed_Profile : public QWidget
{
    Q_OBJECT
public:
    explicit frmSpeed_Profile(QWidget *parent = nullptr);

    // Shows the window for a selection; the list is filled again on every showing.
    void showFor(const SpeedProfileSelection &selection);
    const SpeedProfileSelection &selection() const { return m_selection; }

    QTableView *Flex1 = nullptr;
    PagedQueryModel *Data1 = nullptr; // the rows Flex1 shows, read as they come into view
    QLabel *Label1 = nullptr;         // "Posted Speed Limit"
    QLabel *Label2 = nullptr;         // the posted limit
    QLabel *Label3 = nullptr;         // "Number Exceeding Speed Limit"
    QLabel *Label4 = nullptr;         // the number over the limit
    QLabel *Label5 = nullptr;         // "Speed of Vehicles Exceeding Limit"
    QLabel *Label6 = nullptr;         // the direction description
    QPushButton *Command2 = nullptr;  // "Print This Profile"
    QPushButton *Command1 = nullptr;  // "Close"

    // Event handlers, public so that the program and its tests drive them alike.
    void Form_Activate();
    void Command2_Click();
    void Command1_Click();

Q_SIGNALS:
    // The window was closed ("Close", Escape or its frame): the main window takes
    // over again. showStartPanel is always false (the survey stays shown); it is
    // there so that every child window closes through the same slot.
    void closed(bool showStartPanel);
    // "Print This Profile": the window has hidden itself; the main window prints
    // the speeding profile (report 7) and stays disabled until the preview closes.
    void printRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void layOutGrid();
    QVector<int> columnWidths() const;
    void placeBandHeading();

    SpeedProfileSelection m_selection;
};

} // namespace roadtally
