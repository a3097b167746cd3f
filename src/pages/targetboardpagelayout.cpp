#include "targetboardpage.h"

#include "pagewidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

// The target board page's tabs of fault codes and program idents, and the
// page around its four tabs.

namespace {

QPlainTextEdit* makeDescription(const QString& name, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

void TargetBoardPage::buildLayout() {
    m_tabTargetBoard = new QTabWidget(this);
    m_tabTargetBoard->setObjectName(QStringLiteral("tabTargetBoard"));
    m_tabTargetBoard->addTab(buildFaultTab(), QStringLiteral("&Fault Codes / Status"));
    m_tabTargetBoard->addTab(buildIdentTab(), QStringLiteral("&Program Ident/Revision"));
    m_tabTargetBoard->addTab(buildNetworkTab(), QStringLiteral("&Set Network Address"));
    m_tabTargetBoard->addTab(buildClockTab(), QStringLiteral("S&et Time && Date"));

    m_cmdGoOnline = makeButton(QStringLiteral("cmdGoOnline"), QStringLiteral("&Go Online"), this);
    m_cmdOk = makeButton(QStringLiteral("cmdOk"), QStringLiteral("&Ok"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdGoOnline);
    buttons->addWidget(m_cmdOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabTargetBoard, 1);
    layout->addLayout(buttons);
    layout->addWidget(defaultButton());
}

QWidget* TargetBoardPage::buildFaultTab() {
    m_fraTargetBoard[0] = makeTabFrame(QStringLiteral("fraTargetBoard0"), nullptr);
    QGroupBox* internal = makeFrame(QStringLiteral("fraInternalFault"),
                                    QStringLiteral("Internal Fault Code:"), m_fraTargetBoard[0]);
    QGroupBox* network =
        makeFrame(QStringLiteral("fraCommError"),
                  QStringLiteral("Communications Network Error Codes:"), m_fraTargetBoard[0]);
    auto* internalLayout = new QVBoxLayout(internal);
    auto* networkLayout = new QVBoxLayout(network);
    for (int i = 0; i < 6; ++i) {
        QWidget* frame = i < 4 ? internal : network;
        QVBoxLayout* frameLayout = i < 4 ? internalLayout : networkLayout;
        m_lblTargetBoard[i] =
            makeLabel(QStringLiteral("lblTargetBoard%1").arg(i), QString(), frame);
        frameLayout->addWidget(m_lblTargetBoard[i]);
        if (i != kSlotEntry) {
            m_txtTargetBoard[i] = makeDescription(QStringLiteral("txtTargetBoard%1").arg(i), frame);
            frameLayout->addWidget(m_txtTargetBoard[i]);
        }
    }
    m_lblTargetBoard[kActionEntry]->setText(targetCodeCaption(kActionEntry, std::nullopt));
    m_cmdResetFaults = makeButton(QStringLiteral("cmdResetFaults"), QStringLiteral("&Reset Faults"),
                                  m_fraTargetBoard[0]);
    auto* layout = new QGridLayout(m_fraTargetBoard[0]);
    layout->addWidget(internal, 0, 0);
    layout->addWidget(network, 0, 1);
    layout->addWidget(m_cmdResetFaults, 1, 1, Qt::AlignRight);
    return m_fraTargetBoard[0];
}

QWidget* TargetBoardPage::buildIdentTab() {
    m_fraTargetBoard[1] = makeTabFrame(QStringLiteral("fraTargetBoard1"), nullptr);
    QGroupBox* disk =
        makeFrame(QStringLiteral("fraOnDisk"), QStringLiteral("On Disk:"), m_fraTargetBoard[1]);
    QGroupBox* board = makeFrame(QStringLiteral("fraInTargetBoard"),
                                 QStringLiteral("In Target Board:"), m_fraTargetBoard[1]);
    static const std::array<const char*, 5> captions = {
        "Name:", "Revision:", "Checksum:", "Target Board:", "Rev Date:"};
    const std::array<QString, 5> onDisk = {m_program.ident, QString::number(m_program.revision),
                                           QString::number(m_program.checksum), m_program.boardName,
                                           m_program.revDate};
    auto* diskLayout = new QGridLayout(disk);
    auto* boardLayout = new QGridLayout(board);
    for (int i = 0; i < 5; ++i) {
        diskLayout->addWidget(makeLabel(QString(), QString::fromLatin1(captions[i]), disk), i, 0);
        m_lblRevIdentOnDisk[i] =
            makeLabel(QStringLiteral("lblRevIdentOnDisk%1").arg(i), onDisk[i], disk);
        diskLayout->addWidget(m_lblRevIdentOnDisk[i], i, 1);
        if (i < 3) {
            boardLayout->addWidget(makeLabel(QString(), QString::fromLatin1(captions[i]), board), i,
                                   0);
            m_lblRevIdentInPLC[i] =
                makeLabel(QStringLiteral("lblRevIdentInPLC%1").arg(i), kNoValue, board);
            boardLayout->addWidget(m_lblRevIdentInPLC[i], i, 1);
        }
    }
    boardLayout->setRowStretch(3, 1);
    auto* layout = new QHBoxLayout(m_fraTargetBoard[1]);
    layout->addWidget(disk);
    layout->addWidget(board);
    return m_fraTargetBoard[1];
}
