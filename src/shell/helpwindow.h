#pragma once

#include <QWidget>

class QTextBrowser;

// The user guide viewer: the HTML pages in the application's Help folder,
// shown in a window of their own with Contents and Back buttons. Links
// between the pages stay inside this window. Esc and Ctrl+W close it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // contentsPage: full path of the guide's contents page (index.html).
    explicit HelpWindow(const QString& contentsPage, QWidget* parent = nullptr);

    // Shows the contents page.
    void showContents();
    QTextBrowser* browser() const { return m_browser; }

private:
    QString m_contentsPage;
    QTextBrowser* m_browser = nullptr;
};
