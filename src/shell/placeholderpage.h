#pragma once

#include "pageservices.h"

// Factory for a page that is not built yet: a plain widget that shows the
// page's caption, so the page table and the Window menu are complete.
std::function<QWidget*(PageServices& services, QWidget* parent)>
placeholderPage(const QString& caption);
