#include "DialogFrame.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

DialogFrame::DialogFrame(QDialog* dialog, const QString& okTooltip, const QString& cancelTooltip,
                         std::function<void()> onOk) {
    cmdExit = new QPushButton(QStringLiteral("OK"), dialog);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setToolTip(okTooltip);
    cmdQuit = new QPushButton(QStringLiteral("Cancel"), dialog);
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    cmdQuit->setToolTip(cancelTooltip);
    cmdExit->setAutoDefault(false);
    cmdQuit->setAutoDefault(false);
    QObject::connect(cmdExit, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cmdQuit, &QPushButton::clicked, dialog, &QDialog::reject);

    menuBar = new QMenuBar(dialog);
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    QObject::connect(mnuFile->addAction(QStringLiteral("&Close and Save")), &QAction::triggered, dialog, onOk);

    buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    buttons->addWidget(cmdQuit);
    layout = new QVBoxLayout(dialog);
    layout->setMenuBar(menuBar);
}

void DialogFrame::finish() { layout->addLayout(buttons); }
