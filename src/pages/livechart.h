#pragma once

#include <QWidget>

class QPainter;

// What the pictures of live board data share: sized in lines of the page's
// font, and offline drawn in greys with "offline" across them, so that the
// document's copy never looks like live data.
class LiveChart : public QWidget {
    Q_OBJECT

public:
    void setOffline(bool offline);
    bool isOffline() const { return m_offline; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Sizes in lines of the font (a line is the font's height).
    LiveChart(QSize hintLines, QSize minimumLines, QWidget* parent);

    // Offline or disabled: the picture is drawn in greys.
    bool drawnGrey() const { return m_offline || !isEnabled(); }
    // Offline, "offline" across the picture's area; nothing when online.
    void markOffline(QPainter& painter, const QRectF& area) const;

private:
    QSize m_hintLines;
    QSize m_minimumLines;
    bool m_offline = false;
};
