#include "EditorDialog.h"

#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowPlacement.h"

EditorDialog::EditorDialog(NotesPages::Kind kind, QSize& savedSize, SVGTree& tree,
                           const SVGApplications* applications, QWidget* parent)
    : QDialog(parent), tree_(tree), applications_(applications), savedSize_(savedSize) {
    pages_ = new NotesPages(kind, this);
    fields_ = new QVBoxLayout;

    cmdExit_ = new QPushButton(QStringLiteral("OK"));
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    cmdExit_->setToolTip(QStringLiteral("Save changes and close form"));
    cmdQuit_ = new QPushButton(QStringLiteral("Cancel"));
    cmdQuit_->setObjectName(QStringLiteral("cmdQuit"));
    cmdQuit_->setToolTip(QStringLiteral("Close form without saving"));
    cmdExit_->setAutoDefault(false);
    cmdQuit_->setAutoDefault(false);
    connect(cmdExit_, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdQuit_, &QPushButton::clicked, this, &QDialog::reject);

    auto* menuBar = new QMenuBar(this);
    QMenu* mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    QAction* mnuExit = mnuFile->addAction(QStringLiteral("&Close and Save"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, [this] { cmdExit_Click(); });
    QMenu* mnuEdit = menuBar->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit->addMenu(pages_->mnuEditAppData());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExit_);
    buttons->addWidget(cmdQuit_);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(fields_);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    resize(640, 560);
    if (savedSize_.isValid()) resize(savedSize_);
}

void EditorDialog::done(int result) {
    savedSize_ = size();
    QDialog::done(result);
}

void EditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (savedSize_.isValid()) resize(savedSize_);
}

void EditorDialog::showModal(bool& positioned) {
    PositionForm(this, positioned);
    exec();
}

void EditorDialog::pageTexts(QString& notes, QString& tooltips, QString& progData, QString& locSettings) const {
    notes = pages_->pageText(1);
    tooltips = pages_->pageText(2);
    progData = pages_->pageText(3);
    locSettings = pages_->pageText(4);
}
