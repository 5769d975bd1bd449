#pragma once
// A push button whose caption keeps the program's stored text (blanks included)
// but shows it centred on several lines: a run of blanks in the stored caption
// starts a new line, and long lines wrap.

#include <QPushButton>

namespace roadtally {

class WrappedButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrappedButton(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString shownText() const;
};

} // namespace roadtally
