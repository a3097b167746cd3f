#pragma once

#include <QString>

class QFrame;
class QGroupBox;
class QPushButton;
class QWidget;

// Controls of the pages, named for tests and tools: the object name is the
// control's name in the page's design ("fraSetup0", "cmdQCTest").
QGroupBox* makeFrame(const QString& name, const QString& caption, QWidget* parent);
// The frame of one tab's page: no border and no caption, the tab strip
// above it already says what it holds.
QFrame* makeTabFrame(const QString& name, QWidget* parent);
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
