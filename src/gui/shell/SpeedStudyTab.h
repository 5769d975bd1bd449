#pragma once
// The "Speed Study" tab: the speed zone study of the shown survey for one
// direction (ranked and interpolated percentiles, pace, spread, shares over
// the limit, sample size, average daily traffic, the program's own figures
// beside them) with its two charts, and the button that prints the study.

#include "core/analysis/SpeedStudy.h"
#include "core/reports/ReportKind.h"
#include "gui/kit/ControlArray.h"

#include <QFrame>

#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace roadtally {

class SpeedStudyChartView;

class SpeedStudyTab : public QFrame
{
    Q_OBJECT
public:
    explicit SpeedStudyTab(QWidget *parent = nullptr);

    // Reads and shows the study of the survey for the chosen direction. An
    // empty batch, a missing survey or a database failure shows a message in
    // the tab instead of figures; nothing is thrown.
    void showSurvey(const QString &databasePath, const QString &batch);
    // Back to the empty tab (no survey shown).
    void clearSurvey();
    // Reads the shown survey again (after its rows changed).
    void refresh();

    SurveyDirection direction() const;
    void setDirection(SurveyDirection direction); // reads the study again when one is shown
    QString batch() const { return m_batch; }
    // The study shown; none while the tab shows a message.
    const std::optional<SpeedStudy> &study() const { return m_study; }
    // The message shown instead of the figures ("" while figures are shown).
    QString message() const;

    QFrame *studyFrame = nullptr;         // the tab's container
    QLabel *studyTitle = nullptr;         // batch, location and direction
    QStackedWidget *studyPages = nullptr; // the figures, or the message
    QLabel *studyMessage = nullptr;
    QTableWidget *figures = nullptr; // Figure | Study | Program
    QLabel *studyNotes = nullptr;
    SpeedStudyChartView *studyCharts = nullptr;
    QGroupBox *directionBox = nullptr;          // "Direction"
    ControlArray<QRadioButton> directionOption; // 0 approaching, 1 receding, 2 both
    QPushButton *printStudy = nullptr;          // "Print Study"

signals:
    // "Print Study" (report selector 8).
    void printRequested(roadtally::ReportKind report);
    // The user chose another direction (the figures are already read again).
    void directionChanged(SurveyDirection direction);

private:
    void showMessageText(const QString &text);
    void showStudy(const SpeedStudy &study);

    QString m_databasePath;
    QString m_batch;
    std::optional<SpeedStudy> m_study;
};

} // namespace roadtally
