#include "gui/shell/SpeedStudyTab.h"

#include "core/analysis/SpeedStudyText.h"
#include "core/analysis/SurveyCaptions.h"
#include "core/store/DatabaseLocation.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/SpeedStudyChartView.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

namespace {

const QString NoSurvey =
    QStringLiteral("No survey is shown. Open a survey to see its speed zone study.");

QString directionWords(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Approaching vehicles");
    case SurveyDirection::Receding:
        return QStringLiteral("Receding vehicles");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Both directions");
}

} // namespace

SpeedStudyTab::SpeedStudyTab(QWidget *parent) : QFrame(parent)
{
    studyFrame = makeTabContainer(this, "studyFrame");
    auto *h = new QHBoxLayout(studyFrame);
    h->setContentsMargins(14, 10, 14, 10);
    h->setSpacing(14);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    studyTitle = makeLabel(QString(), "boxTitle", "studyTitle");
    left->addWidget(studyTitle);
    studyPages = named(new QStackedWidget, "studyPages");

    auto *content = new QWidget;
    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto *tableColumn = new QVBoxLayout;
    tableColumn->setSpacing(6);
    figures = named(new QTableWidget(0, 3), "figures");
    figures->setHorizontalHeaderLabels(
        {QStringLiteral("Figure"), QStringLiteral("Study"), QStringLiteral("Program")});
    figures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures->setSelectionMode(QAbstractItemView::NoSelection);
    figures->setFocusPolicy(Qt::NoFocus);
    figures->verticalHeader()->hide();
    figures->verticalHeader()->setDefaultSectionSize(21);
    figures->setShowGrid(false);
    figures->setWordWrap(false);
    figures->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    figures->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    figures->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Fixed);
    figures->setColumnWidth(1, 124);
    figures->setColumnWidth(2, 100);
    figures->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figures->horizontalHeaderItem(2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figures->horizontalHeaderItem(2)->setToolTip(
        QStringLiteral("The program's own estimates, as the Survey Summary tab shows them"));
    figures->setMinimumWidth(440);
    figures->setMaximumWidth(480);
    tableColumn->addWidget(figures, 1);
    row->addLayout(tableColumn);

    auto *chartBox = kit::chartArea("studyChartArea");
    chartBox->setMinimumSize(440, 380);
    studyCharts = new SpeedStudyChartView;
    chartBox->layout()->addWidget(studyCharts);
    row->addWidget(chartBox, 1);
    studyPages->addWidget(content);

    studyMessage = makeLabel(QString(), "caption", "studyMessage");
    studyMessage->setWordWrap(true);
    studyMessage->setAlignment(Qt::AlignCenter);
    studyMessage->setMargin(24);
    auto *messageBox = makeBox("studyMessageBox");
    auto *messageLayout = new QVBoxLayout(messageBox);
    messageLayout->addWidget(studyMessage);
    studyPages->addWidget(messageBox);
    left->addWidget(studyPages, 1);
    h->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    directionBox = kit::directionFrame(
        "directionBox", QStringLiteral("Direction"), directionOption, "directionOption", 0,
        {QStringLiteral("&Approaching Only"), QStringLiteral("&Receding Only"),
         QStringLiteral("&Both Directions")});
    directionOption[0]->setChecked(true);
    right->addWidget(directionBox);
    printStudy = makeButton(QStringLiteral("Print &Study"), "printStudy");
    right->addWidget(printStudy);
    auto *about =
        makeLabel(QStringLiteral("Percentiles and pace from the ranked speeds of the survey. The "
                                 "Program column repeats the estimates of the Survey Summary tab "
                                 "(85th percentile = 1.175 \u00d7 the average speed)."),
                  "caption", "studyAbout");
    about->setWordWrap(true);
    right->addSpacing(8);
    right->addWidget(about);
    right->addSpacing(8);
    // The study's notes (catch-all rows, sample size, complete days) can be
    // long: they scroll rather than stretch the window.
    studyNotes = makeLabel(QString(), "caption", "studyNotes");
    studyNotes->setWordWrap(true);
    studyNotes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    studyNotes->setTextFormat(Qt::RichText);
    auto *notesScroll = named(new QScrollArea, "studyNotesArea");
    notesScroll->setWidget(studyNotes);
    notesScroll->setWidgetResizable(true);
    notesScroll->setFrameShape(QFrame::NoFrame);
    notesScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notesScroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget "
                                              "{ background: transparent; }"));
    right->addWidget(notesScroll, 1);
    h->addWidget(sideColumn(right));

    for (int i = 0; i < 3; ++i)
        connect(directionOption[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            refresh();
            emit directionChanged(SurveyDirection(i));
        });
    connect(printStudy, &QPushButton::clicked, this,
            [this] { emit printRequested(ReportKind::SpeedZoneStudy); });
    clearSurvey();
}

SurveyDirection SpeedStudyTab::direction() const
{
    for (int i = 0; i < 3; ++i)
        if (directionOption[i]->isChecked())
            return SurveyDirection(i);
    return SurveyDirection::Approaching;
}

void SpeedStudyTab::setDirection(SurveyDirection direction)
{
    directionOption[int(direction)]->setChecked(true); // reads the study again through toggled
}

QString SpeedStudyTab::message() const
{
    return studyPages->currentIndex() == 1 ? studyMessage->text() : QString();
}

void SpeedStudyTab::showSurvey(const QString &databasePath, const QString &batch)
{
    m_databasePath = databasePath;
    m_batch = batch.trimmed();
    refresh();
}

void SpeedStudyTab::clearSurvey()
{
    m_databasePath.clear();
    m_batch.clear();
    showMessageText(NoSurvey);
}

void SpeedStudyTab::refresh()
{
    if (m_batch.isEmpty()) {
        showMessageText(NoSurvey);
        return;
    }
    BusyPointer busy;
    QString problem;
    try {
        if (!QFileInfo(m_databasePath).isFile()) {
            problem = QStringLiteral("There is no survey database %1.")
                          .arg(QDir::toNativeSeparators(m_databasePath));
        } else {
            DatabaseSession session(m_databasePath);
            if (!session.isOpen()) {
                problem = databaseFailureMessage(
                    databaseFailureText(m_databasePath, DatabaseAccess::Read, session.openFault()),
                    session.openFault(), isServerDatabase(m_databasePath));
            } else if (!readSurveyCaptions(session, m_batch)) {
                problem = QStringLiteral("There is no survey with batch number %1.").arg(m_batch);
            } else {
                showStudy(loadSpeedStudy(session, m_batch, direction()));
                return;
            }
        }
    } catch (const DatabaseError &e) {
        // The pane shows the words and the advice; the engine's text is no help there.
        problem = databaseFailureMessage(
            databaseFailureText(m_databasePath, DatabaseAccess::Read, e.fault()), e.fault(),
            isServerDatabase(m_databasePath));
    } catch (const std::exception &e) {
        problem = QStringLiteral("The speed study of survey %1 cannot be read: %2")
                      .arg(m_batch, QString::fromUtf8(e.what()));
    }
    showMessageText(problem);
}

void SpeedStudyTab::showMessageText(const QString &text)
{
    m_study.reset();
    studyCharts->setStudy(std::nullopt);
    figures->setRowCount(0);
    studyNotes->clear();
    studyTitle->setText(QStringLiteral("Speed Zone Study"));
    studyMessage->setText(text);
    studyPages->setCurrentIndex(1);
    printStudy->setEnabled(false);
}

void SpeedStudyTab::showStudy(const SpeedStudy &study)
{
    m_study = study;
    QString title = QStringLiteral("Speed Zone Study \u2014 Survey ") + study.batchNumber;
    if (!study.location.trimmed().isEmpty())
        title += QStringLiteral(", ") + study.location.trimmed();
    title += QStringLiteral(" \u2014 ") + directionWords(study.direction);
    if (study.limit)
        title += QStringLiteral(", posted limit %1 %2").arg(*study.limit).arg(study.unitText);
    studyTitle->setText(title);

    const QVector<StudyTableLine> lines = speedStudyTable(study);
    figures->clearSpans();
    figures->setRowCount(int(lines.size()));
    const QColor headingBack(227, 233, 239);
    const QColor headingText(31, 58, 95);
    for (int r = 0; r < lines.size(); ++r) {
        const StudyTableLine &line = lines.at(r);
        auto *label =
            new QTableWidgetItem(line.heading ? line.label : QStringLiteral("  ") + line.label);
        auto *value = new QTableWidgetItem(line.study);
        auto *program = new QTableWidgetItem(line.program);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        program->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        program->setForeground(QColor(90, 98, 108));
        if (line.heading) {
            QFont bold = figures->font();
            bold.setBold(true);
            label->setFont(bold);
            for (QTableWidgetItem *item : {label, value, program}) {
                item->setBackground(headingBack);
                item->setForeground(headingText);
            }
        } else {
            QFont strong = figures->font();
            strong.setBold(true);
            value->setFont(strong);
        }
        figures->setItem(r, 0, label);
        figures->setItem(r, 1, value);
        figures->setItem(r, 2, program);
    }
    QString notes;
    if (!study.notes.isEmpty()) {
        notes = QStringLiteral("<b>Notes</b>");
        for (const QString &note : study.notes)
            notes += QStringLiteral("<p style=\"margin-top:4px\">") + note.toHtmlEscaped() +
                     QStringLiteral("</p>");
    }
    studyNotes->setText(notes);
    studyCharts->setStudy(study);
    studyPages->setCurrentIndex(0);
    printStudy->setEnabled(true);
}

} // namespace roadtally
