#include "gui/kit/WidgetKit.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace roadtally::kit {

namespace {

const char *const WindowStyle = R"(
QFrame#FrameS, QFrame#tabPage { background: #f4f6f8; }
QFrame[box="true"] { background: white; border: 1px solid #b4bec9; border-radius: 4px; }
QFrame[box="true"] QLabel { background: transparent; border: none; }
QLabel[role="boxTitle"] { color: #1f3a5f; font-weight: bold; }
QLabel[role="caption"] { color: #44505c; }
QLabel[role="value"] { color: #101820; font-weight: bold; }
QFrame[grid="true"] { background: #9aa6b2; border: none; }
QFrame[grid="true"] QLabel { background: white; padding: 2px 4px; }
QFrame[grid="true"] QLabel[role="head"] { background: #e3e9ef; color: #1f3a5f; font-weight: bold; }
QFrame[grid="true"] QLabel[role="rowHead"] { background: #eef2f6; color: #1f3a5f; font-weight: bold; }
QFrame#splashframe { background: white; border: 1px solid #8c99a6; border-radius: 8px; }
QFrame#splashframe QLabel { background: transparent; border: none; }
QFrame#framePrintOption { background: white; border: 2px solid #1f3a5f; border-radius: 6px; }
QFrame#framePrintOption QLabel { border: none; background: transparent; }
QLabel#Agency { color: #1f3a5f; font-size: 15pt; font-weight: bold; }
)";

// Opens a list's entries on a click into its read-only text, as on its arrow.
class OpenListOnClick : public QObject
{
public:
    explicit OpenListOnClick(QComboBox *combo) : QObject(combo), m_combo(combo) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && m_combo->isEnabled()) {
            m_combo->showPopup();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox *m_combo;
};

} // namespace

const char *windowStyleSheet()
{
    return WindowStyle;
}

QString controlName(const char *name, int index)
{
    QString n = QString::fromLatin1(name);
    if (index >= 0)
        n += QLatin1Char('_') + QString::number(index);
    return n;
}

QLabel *makeLabel(const QString &text, const char *role, const char *name, int index)
{
    auto *l = named(new QLabel(text), name, index);
    if (role)
        l->setProperty("role", QString::fromLatin1(role));
    return l;
}

QFrame *makeBox(const char *name)
{
    auto *f = named(new QFrame, name);
    f->setProperty("box", true);
    return f;
}

QPushButton *makeButton(const QString &caption, const char *name)
{
    auto *b = named(new QPushButton(caption), name);
    b->setMinimumHeight(30);
    b->setMinimumWidth(120);
    return b;
}

QComboBox *makeListCombo(const char *name, const QString &prompt)
{
    auto *c = named(new QComboBox, name);
    // An editable list shows its prompt as text; the user only chooses entries.
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setReadOnly(true);
    c->lineEdit()->installEventFilter(new OpenListOnClick(c));
    c->setEditText(prompt);
    return c;
}

void resetCombo(QComboBox *combo, const QString &prompt)
{
    combo->clear();
    combo->setEditText(prompt);
}

std::optional<SurveyDirection> checkedDirection(const QRadioButton *approaching,
                                                const QRadioButton *receding,
                                                const QRadioButton *both)
{
    if (approaching->isChecked())
        return SurveyDirection::Approaching;
    if (receding->isChecked())
        return SurveyDirection::Receding;
    if (both->isChecked())
        return SurveyDirection::Both;
    return std::nullopt;
}

QFrame *makeTabContainer(QWidget *page, const char *name)
{
    page->setObjectName(QStringLiteral("tabPage"));
    auto *l = new QVBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    auto *container = named(new QFrame, name);
    l->addWidget(container);
    return container;
}

QGroupBox *directionFrame(const char *name, const QString &title,
                          ControlArray<QRadioButton> &options, const char *optionName, int first,
                          const QStringList &captions)
{
    auto *box = named(new QGroupBox(title), name);
    auto *l = new QVBoxLayout(box);
    options.resize(first + int(captions.size()));
    for (int i = 0; i < captions.size(); ++i) {
        options[first + i] = named(new QRadioButton(captions[i]), optionName, first + i);
        l->addWidget(options[first + i]);
    }
    return box;
}

QWidget *sideColumn(QVBoxLayout *layout, int width)
{
    auto *w = new QWidget;
    layout->setContentsMargins(0, 0, 0, 0);
    w->setLayout(layout);
    w->setFixedWidth(width);
    return w;
}

QFrame *chartArea(const char *name)
{
    auto *f = named(new QFrame, name);
    f->setProperty("box", true);
    f->setMinimumSize(600, 380);
    auto *l = new QVBoxLayout(f);
    l->setContentsMargins(1, 1, 1, 1);
    return f;
}

} // namespace roadtally::kit
