#pragma once

class QWidget;
struct PageServices;

// Page table entries for the main window: each builds its page when shown.
QWidget* createMainDisplayPage(PageServices& services, QWidget* parent);
QWidget* createSetupPage(PageServices& services, QWidget* parent);
QWidget* createTimingPage(PageServices& services, QWidget* parent);
QWidget* createDataPage(PageServices& services, QWidget* parent);
QWidget* createIODisplayPage(PageServices& services, QWidget* parent);
QWidget* createDF1BridgePage(PageServices& services, QWidget* parent);
