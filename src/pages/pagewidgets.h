#pragma once

#include <QString>

class QGroupBox;
class QPushButton;
class QWidget;

// Controls of the pages, named for tests and tools: the object name is the
// control's name in the page's design ("fraSetup0", "cmdQCTest").
QGroupBox* makeFrame(const QString& name, const QString& caption, QWidget* parent);
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);
