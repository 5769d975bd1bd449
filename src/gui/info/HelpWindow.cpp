#include "gui/info/HelpWindow.h"

#include "gui/kit/HelpKey.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace roadtally {

namespace {

// The guide is compiled into the program: no file can go missing beside it.
const QString GuideFolder = QStringLiteral(":/help");

QUrl pageUrl(const QString &page)
{
    return QUrl(QStringLiteral("qrc%1/%2.html").arg(GuideFolder, page));
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Roadtally Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    kit::setHelpPage(this, kit::HelpContents);

    browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    browser->setSearchPaths({GuideFolder});
    contentsButton = new QPushButton(QStringLiteral("&Contents"), this);
    backButton = new QPushButton(QStringLiteral("&Back"), this);
    forwardButton = new QPushButton(QStringLiteral("&Forward"), this);
    closeButton = new QPushButton(QStringLiteral("Close"), this);
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(buttons);
    layout->addWidget(browser, 1);

    connect(contentsButton, &QPushButton::clicked, this, [this] { showPage(kit::HelpContents); });
    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
    kit::closeThrough(this, closeButton);

    resize(820, 640);
    placeOnScreen(this);
    showPage(kit::HelpContents);
}

QStringList HelpWindow::pages()
{
    QStringList names;
    const QStringList files =
        QDir(GuideFolder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        names << QFileInfo(file).completeBaseName();
    return names;
}

void HelpWindow::showPage(const QString &page)
{
    const QString shown = pages().contains(page) ? page : kit::HelpContents;
    if (currentPage() != shown || browser->source().isEmpty())
        browser->setSource(pageUrl(shown));
}

QString HelpWindow::currentPage() const
{
    return QFileInfo(browser->source().path()).completeBaseName();
}

} // namespace roadtally
