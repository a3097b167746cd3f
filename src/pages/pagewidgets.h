#pragma once

#include <QPalette>
#include <QString>

class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

// Controls of the pages, named for tests and tools: the object name is the
// control's name in the page's design ("fraSetup0", "cmdQCTest").
QGroupBox* makeFrame(const QString& name, const QString& caption, QWidget* parent);
// The frame of one tab's page: no border and no caption, the tab strip
// above it already says what it holds.
QFrame* makeTabFrame(const QString& name, QWidget* parent);
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
// A label; an empty name leaves it unnamed (a caption nothing refers to).
QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent);

// Gives a control its own colour for a role while it is live (its window
// active or inactive). The disabled look stays the style's, so an offline or
// paused page greys the control like every other one and a stale value never
// looks current. An invalid colour gives the role back to the style.
void setLiveColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);
