#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// A small modal dialog that shows three texts in single-line boxes for
// editing and hands them back, as typed, when the user presses OK. The image
// and link dialogs of the notes toolbar are made of it.
class ThreeTextDialog : public QDialog {
    Q_OBJECT
public:
    struct Field {
        const char* name;     // the box's object name
        const char* label;    // the caption beside it
        const char* toolTip;
    };

    ThreeTextDialog(const char* name, const char* caption, const Field (&fields)[3], QWidget* parent = nullptr);

    // Fills the boxes, shows the dialog modally and, after OK, sets the three
    // texts to the boxes' texts and returns true. positioned: the dialog's own
    // once-per-run placement flag.
    bool edit(QString& s0, QString& s1, QString& s2, bool& positioned);

    QLineEdit* box(int i) const { return boxes_[i]; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

private:
    QLineEdit* boxes_[3] = {};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool ok_ = false;
};
