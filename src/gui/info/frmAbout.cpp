#include "gui/info/frmAbout.h"

#include "core/store/Installation.h"
#include "core/store/SharedState.h"
#include "gui/info/AboutArtwork.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace roadtally {

namespace {

QLabel *picture(const QImage &image, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(image.size());
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("About Roadtally"));
    setWindowFlag(Qt::Window);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    Image1 = picture(trailerPicture(QSize(260, 220)), this);
    Image2 = picture(speedometerPicture(QSize(180, 170)), this);
    Image1->installEventFilter(this);
    Image2->installEventFilter(this);

    Label8 = new QLabel(QStringLiteral("Version ") + programVersion(), this);
    QFont font = Label8->font();
    font.setPointSize(11);
    Label8->setFont(font);
    Label8->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *hint =
        new QLabel(QStringLiteral("Speed surveys with a radar speed-display trailer"), this);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    hint->setWordWrap(true);
    QPalette muted = hint->palette();
    muted.setColor(QPalette::WindowText, QColor(0x55, 0x5d, 0x68));
    hint->setPalette(muted);

    const QString folder = sharedState().surveyFolder();
    folderLabel = new QLabel(QStringLiteral("Surveys are kept in the %1\n%2")
                                 .arg(folderNoun(folder), QDir::toNativeSeparators(folder)),
                             this);
    folderLabel->setObjectName(QStringLiteral("folderLabel"));
    folderLabel->setWordWrap(true);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderLabel->setPalette(muted);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setHorizontalSpacing(18);
    layout->addWidget(Image1, 0, 0, 3, 1);
    layout->addWidget(Image2, 0, 1, Qt::AlignHCenter);
    layout->addWidget(Label8, 1, 1);
    layout->addWidget(hint, 2, 1);
    layout->addWidget(folderLabel, 3, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    placeOnScreen(this);
    kit::closeThrough(this, [this] { Form_Click(); });
}

void frmAbout::Form_Click()
{
    hide();
}

void frmAbout::Image1_Click()
{
    hide();
}

void frmAbout::Image2_Click()
{
    hide();
}

void frmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Form_Click();
    QWidget::mouseReleaseEvent(event);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Image1) {
            Image1_Click();
            return true;
        }
        if (watched == Image2) {
            Image2_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace roadtally
