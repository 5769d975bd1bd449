#pragma once
// A label that acts on a mouse click, as the start panel's entries and the
// summary panel's explained captions do.

#include <QLabel>

namespace roadtally {

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(const QString &text = QString(), QWidget *parent = nullptr);

    // Shows the pointing hand and acts on clicks (off: an ordinary label).
    void setClickable(bool on);
    bool isClickable() const { return m_clickable; }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_clickable = true;
};

} // namespace roadtally
