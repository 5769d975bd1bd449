#pragma once
// What the main window and its tabs build their controls with: the window's
// style sheet, the program's prompts, named controls (objectName "Label2_26"
// for Label2(26)), boxes, lists, buttons and the tab layouts.

#include "core/survey/SurveyDirection.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/Forms.h"

#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace roadtally::kit {

// The edit text of a date list before a date is chosen.
inline const QString DatePrompt = QStringLiteral("**Select a Date**");

// Colours of the main window's frames and grids.
const char *windowStyleSheet();

// "name" or "name_index" for a control of a control array.
QString controlName(const char *name, int index = -1);

template <class W> W *named(W *widget, const char *name, int index = -1)
{
    widget->setObjectName(controlName(name, index));
    return widget;
}

// A label with a style role ("caption", "value", "boxTitle", "head", "rowHead").
QLabel *makeLabel(const QString &text, const char *role, const char *name, int index = -1);
// A white framed box.
QFrame *makeBox(const char *name);
QPushButton *makeButton(const QString &caption, const char *name);
// A list the user only chooses from; its edit text shows the prompt.
QComboBox *makeListCombo(const char *name, const QString &prompt);
// Empties a list and shows its prompt.
void resetCombo(QComboBox *combo, const QString &prompt);

// The first selected of a view's three direction options; none when none is.
std::optional<SurveyDirection> checkedDirection(const QRadioButton *approaching,
                                                const QRadioButton *receding,
                                                const QRadioButton *both);

// A tab page (objectName "tabPage") holding its view's container, which is returned.
QFrame *makeTabContainer(QWidget *page, const char *name);
// A group of direction options; options gets the items first .. first + n - 1.
QGroupBox *directionFrame(const char *name, const QString &title,
                          ControlArray<QRadioButton> &options, const char *optionName, int first,
                          const QStringList &captions);
// The column of direction choices and buttons beside a view, of one width on every tab.
QWidget *sideColumn(QVBoxLayout *layout, int width = 270);
// The place where a view draws its chart; a chart widget goes into its layout.
QFrame *chartArea(const char *name);

// Shows an information window (created on first use); the caller stays enabled.
template <class W> void showInformation()
{
    W &w = form<W>();
    w.show();
    w.raise();
    w.activateWindow();
}

} // namespace roadtally::kit
