#pragma once
// "Compare Surveys": two surveys of a site, before and after a measure, side
// by side with the change of each figure and whether it is significant; an
// optional control pair takes out the change an untreated street saw. The
// user picks the surveys from two lists (the after list offers the before
// survey's location first), a direction, and reads the table, the two
// overlaid charts and the notes. It prints through the main window
// (printRequested) and exports the "Comparison" sheet itself.

#include "core/analysis/SurveyComparison.h"
#include "gui/kit/ControlArray.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace roadtally {

class ComparisonChartView;

class CompareSurveys : public QWidget
{
    Q_OBJECT
public:
    static const QString Caption; // "Compare Surveys"

    explicit CompareSurveys(QWidget *parent = nullptr);

    // Reads the survey lists of the database and shows the window; the shown
    // survey (else the survey chosen before, else the first) is the before
    // survey, and the next survey at its location the after survey.
    void open(const QString &databasePath, const QString &shownBatch = QString());
    // Reads the lists again and compares the chosen surveys again.
    void refresh();

    // Chooses surveys as the lists and the control boxes would ("" for none).
    void chooseBefore(const QString &batch);
    void chooseAfter(const QString &batch);
    void chooseControl(const QString &before, const QString &after);
    SurveyDirection direction() const;
    void setDirection(SurveyDirection direction);

    // The comparison shown; none while a message stands in its place.
    const std::optional<SurveyComparison> &comparison() const { return m_comparison; }
    // The message shown instead of the table ("" while a comparison is shown).
    QString message() const;
    // How long the last comparison took to read and show, in milliseconds.
    double lastMilliseconds() const { return m_lastMilliseconds; }

    // Writes the "Comparison" sheet: a workbook, or a CSV file into a folder.
    // Says what was written or why not; false when nothing was.
    bool exportWorkbook(const QString &file);
    bool exportCsv(const QString &folder);

    QTreeWidget *beforeList = nullptr;
    QTreeWidget *afterList = nullptr;
    QGroupBox *directionBox = nullptr;
    ControlArray<QRadioButton> directionOption; // 0 approaching, 1 receding, 2 both
    QCheckBox *useControl = nullptr;            // "Control site"
    QComboBox *controlBefore = nullptr;
    QComboBox *controlAfter = nullptr;
    QLabel *pairTitle = nullptr;
    QStackedWidget *pages = nullptr; // the results, or the message
    QLabel *messageText = nullptr;
    QTableWidget *table = nullptr; // Figure | Before | After | Change | Test | p | Significant
    ComparisonChartView *charts = nullptr;
    QLabel *notesText = nullptr;
    QPushButton *printComparison = nullptr; // "Print Comparison"
    QPushButton *exportComparison = nullptr;
    QPushButton *closeButton = nullptr;

signals:
    // "Print Comparison": the main window previews the comparison shown.
    void printRequested();
    // The window was closed (never asks for the start panel).
    void closed(bool showStartPanel);

private:
    // False (and the reason shown) when the lists cannot be read or offer no pair.
    bool fillLists();
    void fillAfterList();
    void fillControlLists();
    void compareChosen();
    void showMessageText(const QString &text);
    void showComparison(const SurveyComparison &comparison);
    void chooseExport();
    QString chosenBatch(const QTreeWidget *list) const;
    QString chosenControl(const QComboBox *box) const;

    QString m_databasePath;
    QVector<ComparableSurvey> m_surveys;
    std::optional<SurveyComparison> m_comparison;
    double m_lastMilliseconds = 0;
    bool m_filling = false; // lists being filled: no comparison per change
};

} // namespace roadtally
