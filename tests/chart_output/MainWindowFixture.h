#pragma once

#include <memory>
#include <ostream>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "AppError.h"
#include "ChartTestSupport.h"
#include "FormSVG.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMenuExec.h"
#include "ScriptedMessageBoxes.h"
#include "applications/SVGApplications.h"
#include "tree_model/SVGTree.h"

// A main window with scripted message boxes, file dialogs and popup menus, a
// temporary folder for tree files, and the windows and runs it starts replaced
// by fakes that record their calls in `calls`.
class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString startFolder = QDir::currentPath();
    ScriptedMessageBoxes boxes;
    ScopedService<MessageBoxes> installBoxes{boxes};
    ScriptedFileDialogs dialogs;
    ScopedService<FileDialogs> installDialogs{dialogs};
    ScriptedMenuExec menus;
    ScopedService<MenuExec> installMenus{menus};
    std::unique_ptr<FormSVG> window = std::make_unique<FormSVG>();
    QStringList calls;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window->setDataFolder(QStringLiteral(KV_SOURCE_DIR "/share"));
        MainWindowPeers& peers = window->peers();
        peers.openDesigner = [this](const std::shared_ptr<SVGTree>& tree, const QString& key) {
            calls << QStringLiteral("design ") + key;
        };
        peers.processTree = [this](const ChartRunRequest& run) {
            calls << QStringLiteral("process ") + run.treeFile;
            return dir.filePath(QStringLiteral("chart.html"));
        };
        peers.openChart = [this](const QString& file, Reporter&) { calls << QStringLiteral("open ") + file; };
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(startFolder);
    }

    // Writes a tree definition file into the temporary folder; returns its path.
    QString writeTree(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    // A small tree of two persons.
    QString writeSmallTree(const QString& name = QStringLiteral("TreeSmall.txt")) {
        return writeTree(name, "H Title=Small\nP ann=f(1,1):Ann|Ann|\nP bob=m(2,1):Bob|Bob|\n");
    }
    QByteArray readFile(const QString& path) const { return fileBytes(path); }

    // Loads a tree through the window and checks that it loaded.
    void load(const QString& path) { ASSERT_TRUE(window->LoadTreeFile(path)); }

    template <class T>
    T* control(const char* name) const {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const { return control<QAction>(name); }
    bool enabled(const char* name) const {
        if (QAction* a = window->findChild<QAction*>(QLatin1String(name))) return a->isEnabled();
        return control<QWidget>(name)->isEnabled();
    }
    QString treeFileBox() const { return control<QLineEdit>("txtTreeFile")->text(); }

    // The lines of the progress log.
    QStringList logLines() const {
        QStringList out = control<QTextEdit>("txtData")->toPlainText().split(u'\n');
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    }
    bool logHas(const QString& line) const { return logLines().contains(line); }
    // Marks the tree changed as an edit would.
    void changeTree() { window->tree()->NewPerson("cid", "Cid", "", 3, 1, "m", false, "", false); }
};
