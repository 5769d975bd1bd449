#pragma once
// "Roadtally Help": the user guide, pages of HTML with pictures of the windows,
// shown in a text browser. Help > Topics opens its contents, F1 the page of
// the window in front.

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace roadtally {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    QTextBrowser *browser = nullptr;
    QPushButton *contentsButton = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *forwardButton = nullptr;
    QPushButton *closeButton = nullptr;

    // Shows the page ("loading", "tabs", ...; an unknown page shows the contents).
    void showPage(const QString &page);
    // The page shown now, without its ".html".
    QString currentPage() const;

    // The pages of the guide, as showPage knows them.
    static QStringList pages();
};

} // namespace roadtally
