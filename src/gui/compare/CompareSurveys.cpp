#include "gui/compare/CompareSurveys.h"

#include "core/analysis/SurveyComparisonText.h"
#include "core/export/ComparisonExport.h"
#include "core/store/DatabaseLocation.h"
#include "core/text/TextPatterns.h"
#include "gui/compare/ComparisonChartView.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WidgetKit.h"
#include "gui/kit/WindowClose.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

const QString CompareSurveys::Caption = QStringLiteral("Compare Surveys");

namespace {

// A database failure in the pane: the kit's words and advice; the engine's
// own text stays out of the pane.
QString failureWords(const QString &databasePath, const DatabaseError &e)
{
    return kit::databaseFailureMessage(
        kit::databaseFailureText(databasePath, kit::DatabaseAccess::Read, e.fault()), e.fault(),
        isServerDatabase(databasePath));
}

const QString ChooseBoth = QStringLiteral("Choose a before survey and an after survey to compare.");
const QString NoControl = QStringLiteral("(none)");

// The busy pointer while surveys are read.
QString datesText(const ComparableSurvey &s)
{
    if (s.startDate.isEmpty())
        return QString();
    return s.startDate == s.stopDate || s.stopDate.isEmpty()
               ? s.startDate
               : QStringLiteral("%1 to %2").arg(s.startDate, s.stopDate);
}

QTreeWidget *surveyList(const char *name)
{
    auto *list = named(new QTreeWidget, name);
    list->setColumnCount(4);
    list->setHeaderLabels({QStringLiteral("Batch"), QStringLiteral("Location"),
                           QStringLiteral("Dates"), QStringLiteral("Vehicles")});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    list->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    list->setMinimumHeight(150);
    return list;
}

QTreeWidgetItem *surveyItem(const ComparableSurvey &s)
{
    auto *item =
        new QTreeWidgetItem({s.batch, s.location, datesText(s), QString::number(s.vehicles)});
    item->setData(0, Qt::UserRole, s.batch);
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(1, s.location);
    return item;
}

QTreeWidgetItem *findItem(const QTreeWidget *list, const QString &batch)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->data(0, Qt::UserRole).toString() == batch.trimmed())
            return list->topLevelItem(i);
    return nullptr;
}

// A labelled list: the label's access key moves to the list.
QWidget *listWithLabel(const QString &caption, QTreeWidget *list)
{
    auto *w = new QWidget;
    auto *l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(4);
    auto *label = makeLabel(caption, "boxTitle", "");
    label->setBuddy(list);
    l->addWidget(label);
    l->addWidget(list, 1);
    return w;
}

} // namespace

CompareSurveys::CompareSurveys(QWidget *parent) : QWidget(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(Caption);
    setObjectName(QStringLiteral("CompareSurveys"));
    setStyleSheet(QString::fromLatin1(windowStyleSheet()));

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(12, 10, 12, 10);
    root->setSpacing(8);

    // The surveys and the choices.
    auto *top = new QHBoxLayout;
    top->setSpacing(12);
    beforeList = surveyList("beforeList");
    afterList = surveyList("afterList");
    top->addWidget(listWithLabel(QStringLiteral("&Before survey"), beforeList), 1);
    top->addWidget(
        listWithLabel(QStringLiteral("A&fter survey (the same location first)"), afterList), 1);

    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    directionBox = directionFrame(
        "directionBox", QStringLiteral("Direction"), directionOption, "directionOption", 0,
        {QStringLiteral("A&pproaching Only"), QStringLiteral("&Receeding Only"),
         QStringLiteral("B&oth Directions")});
    directionOption[0]->setChecked(true);
    side->addWidget(directionBox);
    auto *controlBox = named(new QGroupBox, "controlBox");
    auto *grid = new QGridLayout(controlBox);
    useControl =
        named(new QCheckBox(QStringLiteral("Con&trol site (an untreated street)")), "useControl");
    controlBefore = named(new QComboBox, "controlBefore");
    controlAfter = named(new QComboBox, "controlAfter");
    auto *beforeLabel = new QLabel(QStringLiteral("Control b&efore:"));
    auto *afterLabel = new QLabel(QStringLiteral("Control &after:"));
    beforeLabel->setBuddy(controlBefore);
    afterLabel->setBuddy(controlAfter);
    grid->addWidget(useControl, 0, 0, 1, 2);
    grid->addWidget(beforeLabel, 1, 0);
    grid->addWidget(controlBefore, 1, 1);
    grid->addWidget(afterLabel, 2, 0);
    grid->addWidget(controlAfter, 2, 1);
    grid->setColumnStretch(1, 1);
    for (QWidget *w : {static_cast<QWidget *>(controlBefore), static_cast<QWidget *>(controlAfter),
                       static_cast<QWidget *>(beforeLabel), static_cast<QWidget *>(afterLabel)})
        w->setEnabled(false);
    side->addWidget(controlBox);
    side->addStretch(1);
    top->addWidget(sideColumn(side, 300));
    root->addLayout(top, 0);

    pairTitle = makeLabel(QString(), "boxTitle", "pairTitle");
    pairTitle->setWordWrap(true);
    root->addWidget(pairTitle);

    // The results, or a message in their place.
    pages = named(new QStackedWidget, "pages");
    auto *results = new QWidget;
    auto *row = new QHBoxLayout(results);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    table = named(new QTableWidget(0, 7), "table");
    table->setHorizontalHeaderLabels({QStringLiteral("Figure"), QStringLiteral("Before"),
                                      QStringLiteral("After"), QStringLiteral("Change"),
                                      QStringLiteral("Test"), QStringLiteral("p"),
                                      QStringLiteral("Significant")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    for (int col = 1; col < 7; ++col)
        table->horizontalHeaderItem(col)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setMinimumWidth(700);
    left->addWidget(table, 3);
    notesText = makeLabel(QString(), "caption", "notesText");
    notesText->setWordWrap(true);
    notesText->setTextFormat(Qt::RichText);
    notesText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notesText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *notesScroll = named(new QScrollArea, "notesArea");
    notesScroll->setWidget(notesText);
    notesScroll->setWidgetResizable(true);
    notesScroll->setFrameShape(QFrame::NoFrame);
    notesScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notesScroll->setMinimumHeight(110);
    left->addWidget(notesScroll, 2);
    row->addLayout(left, 3);
    auto *chartBox = chartArea("comparisonChartArea");
    chartBox->setMinimumSize(400, 440);
    charts = new ComparisonChartView;
    chartBox->layout()->addWidget(charts);
    row->addWidget(chartBox, 2);
    pages->addWidget(results);

    messageText = makeLabel(QString(), "caption", "messageText");
    messageText->setWordWrap(true);
    messageText->setAlignment(Qt::AlignCenter);
    messageText->setMargin(24);
    auto *messageBox = makeBox("messageBox");
    auto *messageLayout = new QVBoxLayout(messageBox);
    messageLayout->addWidget(messageText);
    pages->addWidget(messageBox);
    root->addWidget(pages, 1);

    auto *buttons = new QHBoxLayout;
    auto *about = makeLabel(QStringLiteral("Change = after \u2212 before. A change is significant "
                                           "when p < 0.05."),
                            "caption", "aboutText");
    buttons->addWidget(about, 1);
    printComparison = makeButton(QStringLiteral("Print &Comparison"), "printComparison");
    exportComparison = makeButton(QStringLiteral("E&xport"), "exportComparison");
    closeButton = makeButton(QStringLiteral("C&lose"), "closeButton");
    for (QPushButton *b : {printComparison, exportComparison, closeButton}) {
        b->setMinimumWidth(130);
        buttons->addWidget(b);
    }
    root->addLayout(buttons);

    auto *exportMenu = new QMenu(exportComparison);
    exportMenu->setObjectName(QStringLiteral("exportMenu"));
    QAction *toWorkbook = exportMenu->addAction(QStringLiteral("Excel &Workbook..."));
    toWorkbook->setObjectName(QStringLiteral("exportWorkbook"));
    QAction *toCsv = exportMenu->addAction(QStringLiteral("&CSV File..."));
    toCsv->setObjectName(QStringLiteral("exportCsv"));
    exportComparison->setMenu(exportMenu);
    connect(toWorkbook, &QAction::triggered, this, [this] {
        const QString folder = QFileInfo(m_databasePath).absolutePath();
        const QString file = QFileDialog::getSaveFileName(
            this, QStringLiteral("Export Comparison"),
            QDir(folder).filePath(defaultComparisonName(*m_comparison)),
            QStringLiteral("Excel Workbook (*.xlsx)"));
        if (!file.isEmpty())
            exportWorkbook(file);
    });
    connect(toCsv, &QAction::triggered, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Export Comparison as CSV"),
                                              QFileInfo(m_databasePath).absolutePath());
        if (!folder.isEmpty())
            exportCsv(folder);
    });

    connect(beforeList, &QTreeWidget::currentItemChanged, this, [this] {
        if (m_filling)
            return;
        fillAfterList();
        compareChosen();
    });
    connect(afterList, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_filling)
            compareChosen();
    });
    for (int i = 0; i < 3; ++i)
        connect(directionOption[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                compareChosen();
        });
    connect(useControl, &QCheckBox::toggled, this, [this, beforeLabel, afterLabel](bool on) {
        for (QWidget *w :
             {static_cast<QWidget *>(controlBefore), static_cast<QWidget *>(controlAfter),
              static_cast<QWidget *>(beforeLabel), static_cast<QWidget *>(afterLabel)})
            w->setEnabled(on);
        compareChosen();
    });
    for (QComboBox *box : {controlBefore, controlAfter})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling && useControl->isChecked())
                compareChosen();
        });
    connect(printComparison, &QPushButton::clicked, this, [this] {
        if (m_comparison)
            emit printRequested();
    });
    connect(closeButton, &QPushButton::clicked, this, [this] {
        hide(); // hidden before the main window hears of it
        emit closed(false);
    });
    kit::closeThrough(this, closeButton);

    const QList<QWidget *> order = {beforeList,         afterList,          directionOption[0],
                                    directionOption[1], directionOption[2], useControl,
                                    controlBefore,      controlAfter,       table,
                                    printComparison,    exportComparison,   closeButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    resize(1220, 860);
    showMessageText(ChooseBoth);
}

void CompareSurveys::open(const QString &databasePath, const QString &shownBatch)
{
    m_databasePath = databasePath;
    if (fillLists()) {
        if (QTreeWidgetItem *item = findItem(beforeList, shownBatch)) {
            m_filling = true;
            beforeList->setCurrentItem(item);
            m_filling = false;
            fillAfterList();
        }
        compareChosen();
    }
    show();
    raise();
    activateWindow();
    beforeList->setFocus();
}

void CompareSurveys::refresh()
{
    if (fillLists())
        compareChosen();
}

bool CompareSurveys::fillLists()
{
    const QString before = chosenBatch(beforeList);
    QString problem;
    try {
        kit::BusyPointer busy;
        DatabaseSession session(m_databasePath);
        session.requireOpen();
        m_surveys = readComparableSurveys(session);
    } catch (const DatabaseError &e) {
        m_surveys.clear();
        problem = failureWords(m_databasePath, e);
    } catch (const std::exception &e) {
        m_surveys.clear();
        problem = QStringLiteral("The surveys of %1 cannot be read: %2")
                      .arg(QDir::toNativeSeparators(m_databasePath), QString::fromUtf8(e.what()));
    }
    m_filling = true;
    beforeList->clear();
    for (const ComparableSurvey &s : std::as_const(m_surveys))
        beforeList->addTopLevelItem(surveyItem(s));
    // The survey chosen before, else the first: a list always has its choice.
    if (QTreeWidgetItem *item = findItem(beforeList, before))
        beforeList->setCurrentItem(item);
    else if (beforeList->topLevelItemCount() > 0)
        beforeList->setCurrentItem(beforeList->topLevelItem(0));
    fillControlLists();
    m_filling = false;
    fillAfterList();
    if (problem.isEmpty() && m_surveys.size() < 2)
        problem = QStringLiteral("A comparison needs two stored surveys; the database holds %1.")
                      .arg(m_surveys.size());
    if (!problem.isEmpty())
        showMessageText(problem);
    return problem.isEmpty();
}

void CompareSurveys::fillAfterList()
{
    const QString before = chosenBatch(beforeList);
    QString after = chosenBatch(afterList);
    const QVector<ComparableSurvey> candidates = afterCandidates(m_surveys, before);
    QString location;
    QDate start;
    for (const ComparableSurvey &s : std::as_const(m_surveys))
        if (s.batch == before) {
            location = s.location;
            start = parseDate(s.startDate);
        }
    m_filling = true;
    afterList->clear();
    QFont strong = afterList->font();
    strong.setBold(true);
    QString suggestion;
    for (const ComparableSurvey &s : candidates) {
        QTreeWidgetItem *item = surveyItem(s);
        if (!location.isEmpty() && s.location.compare(location, Qt::CaseInsensitive) == 0) {
            item->setFont(1, strong);
            item->setToolTip(1, QStringLiteral("At the before survey's location"));
            if (suggestion.isEmpty() && start.isValid() && parseDate(s.startDate) > start)
                suggestion = s.batch;
        }
        afterList->addTopLevelItem(item);
    }
    // The next survey at the same place, unless the after survey chosen is there too.
    const auto sameLocation = [&](const QString &batch) {
        for (const ComparableSurvey &s : std::as_const(m_surveys))
            if (s.batch == batch)
                return !location.isEmpty() &&
                       s.location.compare(location, Qt::CaseInsensitive) == 0;
        return false;
    };
    if (after.isEmpty() || after == before || (!suggestion.isEmpty() && !sameLocation(after)))
        after = suggestion;
    if (QTreeWidgetItem *item = findItem(afterList, after))
        afterList->setCurrentItem(item);
    m_filling = false;
}

void CompareSurveys::fillControlLists()
{
    for (QComboBox *box : {controlBefore, controlAfter}) {
        const QString chosen = chosenControl(box);
        box->clear();
        box->addItem(NoControl, QString());
        for (const ComparableSurvey &s : std::as_const(m_surveys))
            box->addItem(QStringLiteral("%1  %2  %3").arg(s.batch, s.location, datesText(s)),
                         s.batch);
        const int index = box->findData(chosen);
        box->setCurrentIndex(index < 0 ? 0 : index);
    }
}

void CompareSurveys::chooseBefore(const QString &batch)
{
    if (QTreeWidgetItem *item = findItem(beforeList, batch))
        beforeList->setCurrentItem(item);
}

void CompareSurveys::chooseAfter(const QString &batch)
{
    if (QTreeWidgetItem *item = findItem(afterList, batch))
        afterList->setCurrentItem(item);
}

void CompareSurveys::chooseControl(const QString &before, const QString &after)
{
    m_filling = true;
    controlBefore->setCurrentIndex(std::max(0, controlBefore->findData(before.trimmed())));
    controlAfter->setCurrentIndex(std::max(0, controlAfter->findData(after.trimmed())));
    useControl->setChecked(!before.trimmed().isEmpty() || !after.trimmed().isEmpty());
    m_filling = false;
    compareChosen();
}

SurveyDirection CompareSurveys::direction() const
{
    for (int i = 0; i < 3; ++i)
        if (directionOption[i]->isChecked())
            return SurveyDirection(i);
    return SurveyDirection::Approaching;
}

void CompareSurveys::setDirection(SurveyDirection direction)
{
    directionOption[int(direction)]->setChecked(true);
}

QString CompareSurveys::message() const
{
    return pages->currentIndex() == 1 ? messageText->text() : QString();
}

QString CompareSurveys::chosenBatch(const QTreeWidget *list) const
{
    const QTreeWidgetItem *item = list->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QString CompareSurveys::chosenControl(const QComboBox *box) const
{
    return box->currentData().toString();
}

void CompareSurveys::compareChosen()
{
    if (m_filling)
        return;
    QElapsedTimer timer;
    timer.start();
    ComparisonRequest request;
    request.before = chosenBatch(beforeList);
    request.after = chosenBatch(afterList);
    request.direction = direction();
    if (useControl->isChecked()) {
        request.controlBefore = chosenControl(controlBefore);
        request.controlAfter = chosenControl(controlAfter);
    }
    if (request.before.isEmpty() || request.after.isEmpty()) {
        showMessageText(ChooseBoth);
        return;
    }
    if (useControl->isChecked() && request.controlBefore.isEmpty() &&
        request.controlAfter.isEmpty()) {
        showMessageText(QStringLiteral("Choose the control site's before and after surveys, or "
                                       "clear \"Control site\"."));
        return;
    }
    QString problem;
    try {
        kit::BusyPointer busy;
        DatabaseSession session(m_databasePath);
        session.requireOpen();
        const ComparisonOutcome outcome = loadSurveyComparison(session, request);
        if (outcome.ok())
            showComparison(*outcome.comparison);
        else
            problem = outcome.refusal;
    } catch (const DatabaseError &e) {
        problem = failureWords(m_databasePath, e);
    } catch (const std::exception &e) {
        problem = QStringLiteral("The surveys cannot be read from %1: %2")
                      .arg(QDir::toNativeSeparators(m_databasePath), QString::fromUtf8(e.what()));
    }
    if (!problem.isEmpty())
        showMessageText(problem);
    m_lastMilliseconds = double(timer.nsecsElapsed()) / 1e6;
}

void CompareSurveys::showMessageText(const QString &text)
{
    m_comparison.reset();
    charts->setComparison(std::nullopt);
    table->setRowCount(0);
    notesText->clear();
    pairTitle->setText(QString());
    messageText->setText(text);
    pages->setCurrentIndex(1);
    printComparison->setEnabled(false);
    exportComparison->setEnabled(false);
}

void CompareSurveys::showComparison(const SurveyComparison &c)
{
    m_comparison = c;
    pairTitle->setText(
        comparisonPairText(c) + QStringLiteral(" \u2014 ") + comparisonDirectionText(c.direction) +
        (c.before.unitText.isEmpty() ? QString() : QStringLiteral(", ") + c.before.unitText));

    const QVector<ComparisonLine> lines = comparisonTable(c);
    table->clearSpans();
    table->setRowCount(int(lines.size()));
    const QColor headingBack(227, 233, 239);
    const QColor headingText(31, 58, 95);
    const QColor yes(27, 110, 45);
    QFont bold = table->font();
    bold.setBold(true);
    QFont italic = table->font();
    italic.setItalic(true);
    for (int r = 0; r < lines.size(); ++r) {
        const ComparisonLine &line = lines.at(r);
        if (line.heading) {
            auto *item = new QTableWidgetItem(line.label);
            item->setFont(bold);
            item->setBackground(headingBack);
            item->setForeground(headingText);
            table->setItem(r, 0, item);
            for (int col = 1; col < 7; ++col) {
                auto *blank = new QTableWidgetItem;
                blank->setBackground(headingBack);
                table->setItem(r, col, blank);
            }
            table->setSpan(r, 0, 1, 7);
            continue;
        }
        const QStringList cells = {(line.sub ? QStringLiteral("      ") : QStringLiteral("  ")) +
                                       line.label,
                                   line.before,
                                   line.after,
                                   line.change,
                                   line.test,
                                   line.p,
                                   line.significant};
        for (int col = 0; col < 7; ++col) {
            auto *item = new QTableWidgetItem(cells.at(col));
            if (col > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (line.sub)
                item->setFont(italic);
            if (col == 3 && !line.sub)
                item->setFont(bold);
            if (col == 6 && line.significant == QLatin1String("Yes")) {
                item->setFont(bold);
                item->setForeground(yes);
            }
            table->setItem(r, col, item);
        }
    }

    QString notes;
    if (!c.notes.isEmpty()) {
        notes = QStringLiteral("<b>Notes</b>");
        for (const QString &note : c.notes)
            notes += QStringLiteral("<p style=\"margin-top:3px\">") + note.toHtmlEscaped() +
                     QStringLiteral("</p>");
    }
    notesText->setText(notes);
    charts->setComparison(c);
    pages->setCurrentIndex(0);
    printComparison->setEnabled(true);
    exportComparison->setEnabled(true);
}

bool CompareSurveys::exportWorkbook(const QString &file)
{
    if (!m_comparison)
        return false;
    QString target = file;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".xlsx");
    ExportWriteResult result;
    {
        kit::BusyPointer busy;
        result = exportComparisonWorkbook(*m_comparison, target);
    }
    if (!result.ok()) {
        kit::notice(this, QStringLiteral("The comparison was not exported: %1").arg(result.error),
                    QMessageBox::Warning);
        return false;
    }
    kit::notice(
        this,
        QStringLiteral("The comparison was written to %1.").arg(QDir::toNativeSeparators(target)),
        QMessageBox::Information);
    return true;
}

bool CompareSurveys::exportCsv(const QString &folder)
{
    if (!m_comparison)
        return false;
    ExportWriteResult result;
    {
        kit::BusyPointer busy;
        result = exportComparisonCsv(*m_comparison, folder);
    }
    if (!result.ok()) {
        kit::notice(this, QStringLiteral("The comparison was not exported: %1").arg(result.error),
                    QMessageBox::Warning);
        return false;
    }
    kit::notice(this,
                QStringLiteral("The comparison was written to %1.")
                    .arg(QDir::toNativeSeparators(result.files.value(0))),
                QMessageBox::Information);
    return true;
}

} // namespace roadtally
