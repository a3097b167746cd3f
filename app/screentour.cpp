#include "screentour.h"

#include "boardprocess.h"
#include "frmmdimain.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "vralapplication.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTabBar>
#include <QTextStream>

#include <algorithm>
#include <utility>

namespace {

constexpr int kTickMs = 50;
// Where the port looks while no simulated board is up: a path that cannot
// exist, so the link fails at once instead of opening a real serial port.
const QString kNoDevice = QStringLiteral("/dev/null/no-board");
// The longest a step may wait for what it needs: a program download of the
// tour's small image, and a board's first answer on a paced line.
constexpr int kStepTimeoutMs = 30000;

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

// The messages name the program that takes the tour.
QString program() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// "S&et Time && Date" as a person reads it: "Set Time & Date".
QString withoutMnemonics(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

template <class T> T* childCaptioned(QWidget* window, const QString& caption) {
    const QList<T*> children = window->findChildren<T*>();
    for (T* child : children)
        if (child->isVisible() && withoutMnemonics(child->text()) == withoutMnemonics(caption))
            return child;
    return nullptr;
}

// Off screen no window manager draws a title bar, yet a window's title is
// part of what a picture shows ("VRAL - [unnamed]", the title of a box): a
// plain one is drawn over the window's own picture, with a one-pixel border.
constexpr int kTitleHeight = 22;

QImage framed(QWidget* window) {
    const QPixmap content = window->grab();
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return content.toImage();
    const qreal ratio = content.devicePixelRatio();
    const QSize size = content.deviceIndependentSize().toSize();
    const QRect whole(0, 0, size.width() + 2, size.height() + kTitleHeight + 1);
    QImage image(whole.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    const QPalette palette = window->palette();
    painter.fillRect(whole, palette.color(QPalette::Dark));
    const QRect title(1, 1, size.width(), kTitleHeight - 1);
    painter.fillRect(title, palette.color(QPalette::Highlight));
    QFont font = window->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.drawText(title, Qt::AlignCenter, window->windowTitle());
    painter.drawPixmap(1, kTitleHeight, content);
    return image;
}

} // namespace

ScreenTour::ScreenTour(VralApplication& app, QtSerialPort& port, const QString& outputDir)
    : m_app(app), m_port(port), m_outputDir(outputDir) {
    m_port.setDeviceOverride(kNoDevice);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

ScreenTour::~ScreenTour() = default;

void ScreenTour::add(const QString& what, std::function<bool()> ready, std::function<void()> act,
                     bool timesOut) {
    m_steps.append(Step{what, std::move(ready), std::move(act), timesOut});
}

QWidget* ScreenTour::topWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (m_dialog && m_dialog->isVisible())
        return m_dialog;
    return &m_app.window();
}

void ScreenTour::board(const QStringList& arguments) {
    offline();
    add(QStringLiteral("simulated board %1").arg(arguments.join(QLatin1Char(' '))), nullptr,
        [this, arguments] {
            if (m_board && !m_board->device().isEmpty() && m_boardArguments == arguments)
                return;
            m_board.reset();
            m_board = std::make_unique<BoardProcess>(arguments);
            m_boardArguments = arguments;
            m_port.setDeviceOverride(m_board->device());
        });
    waitFor(QStringLiteral("the simulated board's device"),
            [this] { return m_board && !m_board->device().isEmpty(); });
}

void ScreenTour::boardAt(const QString& device) {
    offline();
    add(QStringLiteral("the board on %1").arg(device), nullptr, [this, device] {
        m_board.reset();
        m_boardArguments.clear();
        m_port.setDeviceOverride(device);
    });
}

void ScreenTour::noBoard() {
    offline();
    add(QStringLiteral("no board on the line"), nullptr, [this] {
        m_board.reset();
        m_boardArguments.clear();
        m_port.setDeviceOverride(kNoDevice);
    });
}

void ScreenTour::loseBoard() {
    add(QStringLiteral("pull the board's cable"), nullptr, [this] {
        if (m_board)
            m_board->kill();
        m_boardArguments.clear();
    });
}

void ScreenTour::freezeBoard() {
    add(QStringLiteral("freeze the board"), nullptr, [this] {
        if (m_board)
            m_board->freeze();
        m_boardArguments.clear();
    });
}

void ScreenTour::online() {
    add(QStringLiteral("go online"), nullptr, [this] {
        if (!m_app.link().OnlineMode)
            post(QStringLiteral("mnuViewOnline"));
    });
    waitFor(QStringLiteral("online"),
            [this] { return m_app.link().linkUp() && !QApplication::activeModalWidget(); });
}

void ScreenTour::offline() {
    add(QStringLiteral("go offline"), nullptr, [this] {
        if (m_app.link().OnlineMode)
            post(QStringLiteral("mnuViewOffline"));
    });
    waitFor(QStringLiteral("offline"), [this] { return !m_app.link().OnlineMode; });
}

void ScreenTour::page(int index) {
    add(QStringLiteral("page %1").arg(index), nullptr, [this, index] {
        if (m_app.window().currentPageIndex() != index || !m_app.window().currentPage())
            m_app.window().ShowPage(index);
    });
}

void ScreenTour::trigger(const QString& actionName) {
    add(actionName, nullptr, [this, actionName] { post(actionName); });
}

void ScreenTour::post(const QString& actionName) {
    auto* action = m_app.window().findChild<QAction*>(actionName);
    if (!action) {
        err() << program() << ": no menu command " << actionName << Qt::endl;
        finish(1);
        return;
    }
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
}

void ScreenTour::tab(const QString& caption) {
    add(QStringLiteral("tab %1").arg(caption), nullptr, [this, caption] {
        const QList<QTabBar*> bars = topWindow()->findChildren<QTabBar*>();
        for (QTabBar* bar : bars)
            for (int index = 0; index < bar->count(); ++index)
                if (bar->isVisible() &&
                    withoutMnemonics(bar->tabText(index)) == withoutMnemonics(caption)) {
                    bar->setCurrentIndex(index);
                    return;
                }
        err() << program() << ": no tab " << caption << Qt::endl;
        finish(1);
    });
}

void ScreenTour::click(const QString& caption) {
    waitFor(QStringLiteral("button %1").arg(caption), [this, caption] {
        QAbstractButton* button = childCaptioned<QAbstractButton>(topWindow(), caption);
        return button && button->isEnabled();
    });
    add(QStringLiteral("click %1").arg(caption), nullptr, [this, caption] {
        QAbstractButton* button = childCaptioned<QAbstractButton>(topWindow(), caption);
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    });
}

void ScreenTour::answer(QMessageBox::StandardButton which) {
    waitForDialog("QMessageBox");
    add(QStringLiteral("answer the box"), nullptr, [this, which] {
        auto* box = qobject_cast<QMessageBox*>(m_dialog.data());
        QAbstractButton* button = box->button(which);
        if (!button) {
            err() << program() << ": the box " << box->windowTitle() << ": "
                  << box->text().simplified() << " has no such button" << Qt::endl;
            finish(1);
            return;
        }
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    });
    // The next box may follow at once: this one must have gone.
    waitFor(QStringLiteral("the box answered"),
            [this] { return !m_dialog || !m_dialog->isVisible(); });
}

void ScreenTour::chooseFile(const QString& path) {
    waitForDialog("QFileDialog");
    add(QStringLiteral("choose %1").arg(path), nullptr, [this, path] {
        auto* dialog = qobject_cast<QFileDialog*>(m_dialog.data());
        // Typed into the name field, as a person does: selectFile() leaves
        // a proposed name there when the chosen file does not exist yet.
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(file.fileName());
        else
            dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
    });
    waitFor(QStringLiteral("the file chosen"),
            [this] { return !m_dialog || !m_dialog->isVisible(); });
}

void ScreenTour::waitForDialog(const char* className) {
    const QString name = QString::fromLatin1(className);
    waitFor(QStringLiteral("a %1").arg(name), [this, name] {
        const auto matches = [&name](QWidget* window) {
            return window && window->isVisible() &&
                   (window->inherits(qPrintable(name)) || window->objectName() == name);
        };
        QWidget* found = nullptr;
        if (matches(QApplication::activeModalWidget()))
            found = QApplication::activeModalWidget();
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows)
            if (!found && matches(window))
                found = window;
        m_dialog = found;
        return found != nullptr;
    });
}

void ScreenTour::closeDialog() {
    add(QStringLiteral("close the dialog"), nullptr, [this] {
        if (auto* dialog = qobject_cast<QDialog*>(topWindow()))
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    });
    settle(200);
}

// Presses Cancel (or Ok) in the box on top, saying what it was; false when
// no box is on top.
bool ScreenTour::dismissBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("dismissed").toBool())
        return false;
    err() << program() << ": answered " << box->windowTitle() << ": " << box->text().simplified()
          << Qt::endl;
    box->setProperty("dismissed", true);
    QAbstractButton* button = box->button(QMessageBox::Cancel);
    if (!button)
        button = box->button(QMessageBox::Ok);
    if (!button)
        button = box->escapeButton();
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    return true;
}

void ScreenTour::waitUntilIdle() {
    waitFor(QStringLiteral("every dialog closed"), [this] {
        dismissBox();
        return !QApplication::activeModalWidget();
    });
}

void ScreenTour::answerBoxesUntilQuiet(const QString& dialogName) {
    add(QStringLiteral("boxes answered"), nullptr, [this] { m_lastBoxMs = 0; });
    waitFor(QStringLiteral("%1 quiet").arg(dialogName), [this, dialogName] {
        constexpr int kQuietMs = 2000;
        if (dismissBox())
            m_lastBoxMs = m_waiting.elapsed();
        QWidget* modal = QApplication::activeModalWidget();
        return modal && modal->objectName() == dialogName &&
               m_waiting.elapsed() - m_lastBoxMs >= kQuietMs;
    });
}

void ScreenTour::expectFile(const QString& path) {
    waitFor(path, [path] { return QFileInfo(path).size() > 0; });
    add(path, nullptr, [this, path] { m_written.append(path); });
}

void ScreenTour::settle(int ms) {
    waitFor(QStringLiteral("%1 ms").arg(ms), [this, ms] { return m_waiting.elapsed() >= ms; });
}

void ScreenTour::act(const QString& what, std::function<void()> action) {
    add(what, nullptr, std::move(action));
}

void ScreenTour::waitUntil(qint64 ms) {
    add(
        QStringLiteral("%1 s from the start").arg(ms / 1000.0),
        [this, ms] { return m_started.elapsed() >= ms; }, nullptr, false);
}

void ScreenTour::waitFor(const QString& what, std::function<bool()> ready) {
    add(what, std::move(ready), nullptr);
}

void ScreenTour::shoot(const QString& name) {
    add(QStringLiteral("picture %1").arg(name), nullptr, [this, name] {
        QWidget& main = m_app.window();
        QImage image = framed(&main);
        // The windows over the main window as they stand on the screen, the
        // modal one (the one a person is answering) last.
        QList<QWidget*> over;
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows)
            if (window != &main && window->isVisible() && window->isWindow() &&
                !(window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip))
                over.append(window);
        std::stable_sort(over.begin(), over.end(),
                         [](QWidget* a, QWidget* b) { return !a->isModal() && b->isModal(); });
        QPainter painter(&image);
        // Each window's picture starts at its title bar: its client area lands
        // where it stands over the main window's.
        for (QWidget* window : over)
            painter.drawImage(window->geometry().topLeft() - main.geometry().topLeft(),
                              framed(window));
        painter.end();
        save(name, image);
    });
}

void ScreenTour::shootDialog(const QString& name) {
    add(QStringLiteral("picture %1").arg(name), nullptr, [this, name] {
        QWidget* dialog = m_dialog && m_dialog->isVisible() ? m_dialog.data() : topWindow();
        save(name, framed(dialog));
    });
}

void ScreenTour::save(const QString& name, const QImage& image) {
    const QString path = QDir(m_outputDir).filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        err() << program() << ": cannot write " << path << Qt::endl;
        finish(1);
        return;
    }
    m_written.append(path);
}

void ScreenTour::start(std::function<void(int)> done) {
    m_done = std::move(done);
    m_next = 0;
    m_started.start();
    m_waiting.start();
    m_timer.start();
}

void ScreenTour::tick() {
    while (m_done && m_next < m_steps.size()) {
        const Step& step = m_steps.at(m_next);
        if (step.ready && !step.ready()) {
            if (!step.timesOut || m_waiting.elapsed() < kStepTimeoutMs)
                return;
            err() << program() << ": gave up waiting for " << step.what;
            if (QWidget* modal = QApplication::activeModalWidget()) {
                err() << " (on top: " << modal->windowTitle();
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    err() << ": " << box->text().simplified();
                err() << ')';
            }
            err() << Qt::endl;
            finish(1);
            return;
        }
        ++m_next;
        m_waiting.restart();
        if (step.act)
            step.act();
        // A wait right after an action gives the posted command its turn.
        if (m_next < m_steps.size() && m_steps.at(m_next).ready)
            return;
    }
    if (m_done && m_next >= m_steps.size())
        finish(0);
}

void ScreenTour::finish(int status) {
    m_timer.stop();
    if (std::function<void(int)> done = std::exchange(m_done, nullptr))
        done(status);
}
