#include "gui/kit/BoundLabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <functional>

namespace roadtally {

namespace {

const char *const BindingName = "roadtally-binding";

// Lives as a child of the bound control: one binding per control, replaced when
// the control is pointed at another field, gone with the control or the source.
class FieldBinding : public QObject
{
public:
    FieldBinding(QWidget *control, BoundDataSource *source, const QString &field,
                 std::function<void(const QString &)> show)
        : QObject(control), m_source(source), m_field(field), m_show(std::move(show))
    {
        setObjectName(QLatin1String(BindingName));
        connect(source, &BoundDataSource::currentChanged, this, &FieldBinding::refresh);
        connect(source, &QObject::destroyed, this, &QObject::deleteLater);
        refresh();
    }

    void refresh()
    {
        if (m_source)
            m_show(m_source->text(m_field));
    }

    // Stops following the source; the control keeps what it shows.
    void detach()
    {
        if (m_source)
            QObject::disconnect(m_source, nullptr, this, nullptr);
        m_source.clear();
    }

    void write(const QString &text)
    {
        if (m_source)
            m_source->setField(m_field, text);
    }

private:
    QPointer<BoundDataSource> m_source;
    QString m_field;
    std::function<void(const QString &)> m_show;
};

void unbind(QWidget *control)
{
    const auto old = control->findChildren<FieldBinding *>(QLatin1String(BindingName),
                                                           Qt::FindDirectChildrenOnly);
    for (FieldBinding *b : old) {
        b->detach();
        b->setParent(nullptr);
        b->deleteLater();
    }
}

FieldBinding *rebind(QWidget *control, BoundDataSource *source, const QString &field,
                     std::function<void(const QString &)> show)
{
    unbind(control);
    if (!source || field.isEmpty())
        return nullptr;
    return new FieldBinding(control, source, field, std::move(show));
}

} // namespace

void bindLabel(QLabel *label, BoundDataSource *source, const QString &field)
{
    if (!label)
        return;
    rebind(label, source, field, [label](const QString &text) { label->setText(text); });
}

void bindLineEdit(QLineEdit *edit, BoundDataSource *source, const QString &field)
{
    if (!edit)
        return;
    FieldBinding *b = rebind(edit, source, field, [edit](const QString &text) {
        if (edit->text() != text)
            edit->setText(text);
    });
    if (b)
        QObject::connect(edit, &QLineEdit::textEdited, b, &FieldBinding::write);
}

void bindComboText(QComboBox *combo, BoundDataSource *source, const QString &field)
{
    if (!combo)
        return;
    FieldBinding *b = rebind(combo, source, field, [combo](const QString &text) {
        if (combo->currentText() != text)
            combo->setCurrentText(text);
    });
    if (!b)
        return;
    QObject::connect(combo, &QComboBox::textActivated, b, &FieldBinding::write);
    if (combo->lineEdit())
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, b, &FieldBinding::write);
}

} // namespace roadtally
