#include "ThreeTextDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowPlacement.h"

ThreeTextDialog::ThreeTextDialog(const char* name, const char* caption, const Field (&fields)[3], QWidget* parent)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(caption));
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        boxes_[i] = new QLineEdit;
        boxes_[i]->setObjectName(QString::fromLatin1(fields[i].name));
        boxes_[i]->setToolTip(QString::fromLatin1(fields[i].toolTip));
        form->addRow(QString::fromLatin1(fields[i].label), boxes_[i]);
    }
    cmdOK_ = new QPushButton(QStringLiteral("OK"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setToolTip(QStringLiteral("Accept changes"));
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"));
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setToolTip(QStringLiteral("Discard changes"));
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        ok_ = true;
        accept();
    });
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(boxes_[0], boxes_[1]);
    setTabOrder(boxes_[1], boxes_[2]);
    setTabOrder(boxes_[2], cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);
    resize(480, sizeHint().height());
}

bool ThreeTextDialog::edit(QString& s0, QString& s1, QString& s2, bool& positioned) {
    ok_ = false;
    boxes_[0]->setText(s0);
    boxes_[1]->setText(s1);
    boxes_[2]->setText(s2);
    boxes_[0]->setFocus();
    PositionForm(this, positioned);
    exec();
    if (!ok_) return false;
    s0 = boxes_[0]->text();
    s1 = boxes_[1]->text();
    s2 = boxes_[2]->text();
    return true;
}
