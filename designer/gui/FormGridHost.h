#pragma once

#include <functional>

#include <QObject>

#include "DesignerClipboardCommands.h"
#include "DesignerHost.h"
#include "GridGestures.h"
#include "tree_model/gui/QtClipboardText.h"

class FormGrid;
class QGraphicsRectItem;
class QMouseEvent;
class SVGApplications;

// The Tree Designer window as the host of its gestures and commands: it
// feeds the view's mouse events to the gesture state machine, shows the
// message boxes, popup menus and the person and family editors, reaches the
// desktop clipboard, and draws what the gestures and commands changed: the
// cells, circles and lines, the rubber bands, the red child line and the
// outline of a dragged person.
class FormGridHost : public QObject, public DesignerHost {
public:
    explicit FormGridHost(FormGrid& form);
    ~FormGridHost() override;

    GridGestures& gestures() { return gestures_; }
    DesignerCommands& commands() { return gestures_.commands(); }
    // The program's applications, handed to the person and family editors.
    void setApplications(const SVGApplications* applications) { applications_ = applications; }
    const SVGApplications* applications() const { return applications_; }

    // The person and family editors: the program's dialogs unless replaced.
    std::function<QString(SVGTree&)> createBox;
    std::function<bool(SVGTree&, const QString&)> editBox;
    std::function<QString(SVGTree&, const QString&, const QString&)> createFamily;
    std::function<bool(SVGTree&, const QString&, QString&)> editFamily;

    void warn(const QString& text) override;
    void reportError(const QString& description) override;
    bool askYesNo(const QString& question) override;
    QString clipboardText() override;
    void setClipboardText(const QString& text) override;
    QString popup(const PopupMenuModel& menu, QPointF at) override;
    QString CreateBox(SVGTree& oTr) override;
    bool EditBox(SVGTree& oTr, const QString& sKey) override;
    QString CreateFamily(SVGTree& oTr, const QString& sPar1, const QString& sPar2) override;
    bool EditFamily(SVGTree& oTr, const QString& sKey, QString& sChildSet) override;
    bool shownPerson(int iCell, QString& key) override;
    void redraw(const GridRedraw& changes) override;
    void gestureChanged() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GridMouse gridMouse(const QMouseEvent& event) const;
    void showGhost();

    FormGrid& form_;
    GridGestures gestures_;
    // Paste, Include and Exclude of the popups.
    DesignerClipboardCommands clipboardCommands_{gestures_.commands()};
    QtClipboardText clipboard_;
    const SVGApplications* applications_ = nullptr;
    int redLine_ = 0;  // the child line shown red
    QGraphicsRectItem* ghost_ = nullptr;
    bool dragCursor_ = false;
};
