#include "placeholderpage.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

std::function<QWidget*(PageServices& services, QWidget* parent)>
placeholderPage(const QString& caption) {
    return [caption](PageServices&, QWidget* parent) {
        auto* page = new QWidget(parent);
        page->setWindowTitle(caption);
        auto* layout = new QVBoxLayout(page);
        auto* label = new QLabel(caption, page);
        label->setObjectName(QStringLiteral("lblPlaceholder"));
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
        return page;
    };
}
