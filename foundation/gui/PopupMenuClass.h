#pragma once

#include <memory>
#include <vector>

#include <QString>

class QMenu;
class QWidget;

// A popup menu built item by item at run time and shown at the mouse position
// or under a control; Show returns the identifier of the chosen item.
class PopupMenuClass {
public:
    PopupMenuClass();
    ~PopupMenuClass();
    PopupMenuClass(const PopupMenuClass&) = delete;
    PopupMenuClass& operator=(const PopupMenuClass&) = delete;

    // The text of the item that opens this menu when it is added to another one.
    QString Caption() const { return caption; }
    void SetCaption(const QString& sCaption) { caption = sCaption; }
    QMenu* Hwnd() const { return menu.get(); }

    // Appends an item with identifier iMenuID: a separator when vMenuItem is
    // "-", else a text item, checked when bChecked. bDefault makes it the
    // default (bold) item; eItemState 1 or 2 disables it.
    void Add(int iMenuID, const QString& vMenuItem, bool bDefault = false, bool bChecked = false, int eItemState = 0);
    // Appends an item that opens vMenuItem's menu, with vMenuItem's caption as
    // it is now. The submenu lives as long as either menu needs it.
    void Add(int iMenuID, const PopupMenuClass& vMenuItem);
    // Deletes the item at the 0-based position.
    void Remove(int iMenuPosition);

    // Shows the menu modally and returns the chosen identifier, 0 when it was
    // dismissed, -1 when the program has no window to own it. The menu opens
    // under iControlHwnd when given, else at (x, y) in screen coordinates,
    // where -1 stands for the cursor's coordinate.
    int Show(QWidget* iFormHwnd = nullptr, int x = -1, int y = -1, QWidget* iControlHwnd = nullptr);

private:
    std::shared_ptr<QMenu> menu;
    std::vector<std::shared_ptr<QMenu>> submenus;
    QString caption;
};
