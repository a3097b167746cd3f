#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

#include <optional>

// One stretch of a revolution during which a timing channel is ON: the
// positions start .. end - 1.
struct DwellSpan {
    int start = 0;
    int end = 0;
    bool operator==(const DwellSpan& other) const {
        return start == other.start && end == other.end;
    }
};

// Where a channel programmed with ON and OFF setpoints is ON within one
// revolution of scale positions (0 .. scale - 1). The channel switches on at
// ON and off again at OFF; an OFF below its ON wraps past the end of the
// revolution, giving two stretches (ON .. scale - 1 and 0 .. OFF - 1). Equal
// setpoints, or no revolution, give none. Setpoints beyond the revolution
// are taken at its end.
QVector<DwellSpan> dwellSpans(int on, int off, int scale);

// The timing channels drawn against one revolution of the resolver: a bar
// per channel across 0 .. scale - 1 with its ON dwell shaded and, while the
// machine position is known, a cursor at that position. It only shows what
// the page hands it; it never talks to the board.
class TimingChart : public QWidget {
    Q_OBJECT

public:
    explicit TimingChart(const QStringList& rowNames, QWidget* parent = nullptr);

    void setScale(int scale);
    // A row whose setpoints are not known (not programmed, not recalled)
    // is drawn empty and hatched.
    void setRow(int row, std::optional<int> on, std::optional<int> off);
    // No position: no cursor.
    void setPosition(std::optional<int> position);

    int scale() const { return m_scale; }
    std::optional<int> position() const { return m_position; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Row {
        QString name;
        std::optional<int> on;
        std::optional<int> off;
    };
    int rowHeight() const;

    QVector<Row> m_rows;
    int m_scale = 360;
    std::optional<int> m_position;
};
