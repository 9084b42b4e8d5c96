#include "NotesPages.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <QVBoxLayout>

#include "EditorNotesDialogs.h"
#include "FormAppData.h"
#include "LogReporter.h"
#include "MainWindowLink.h"
#include "NotesPagesText.h"
#include "NotesPreview.h"
#include "ProgressLog.h"
#include "SVGEditHTML.h"
#include "SVGTree.h"

namespace {
struct ButtonDef {
    const char* key;
    const char* text;
    const char* tip;
};
const ButtonDef kButtons[] = {
    {"Bold", "B", "Toggle bold text"},
    {"Italic", "I", "Toggle italic text"},
    {"Underline", "U", "Toggle underlined text"},
    {"StrikeThrough", "S", "Toggle strike-through text"},
    {"Subscript", "Sub", "Toggle subscript text"},
    {"Superscript", "Sup", "Toggle superscript text"},
    {"Paragraph", "P", "Left-aligned paragraph"},
    {"H1", "H1", "Set level-1 heading"},
    {"H2", "H2", "Set level-2 heading"},
    {"Image", "Img", "Insert image"},
    {"Link", "Link", "Insert hyperlink"},
    {"Newline", "BR", "Insert a line break"},
    {"Event", "Event", "Add mark-up to specify details of life event"},
    {"Undo", "Undo", "Restore to before last toolbar operation"},
    {"Preview", "Preview", "Toggle a preview of the HTML content, as in a Web browser"},
};
constexpr int kPreviewIndex = 4;
}  // namespace

NotesPages::NotesPages(Kind kind, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("NotesPages"));
    tabStrip_ = new QTabBar;
    tabStrip_->setObjectName(QStringLiteral("tabStrip"));
    const char* const tabs[4][2] = {
        {"Notes", "Biographical notes, in HTML"},
        {"Tooltips", "Browser tooltips, for when hovering"},
        {"Program Data", "Program data for application usage"},
        {"Local Settings", kind == Person ? "Settings (name=value) for this specific person-box"
                                          : "Settings (name=value) for this specific family-circle"},
    };
    stack_ = new QStackedWidget;
    for (int i = 0; i < 4; ++i) {
        tabStrip_->addTab(QString::fromLatin1(tabs[i][0]));
        tabStrip_->setTabToolTip(i, QString::fromLatin1(tabs[i][1]));
        pages_[i] = new QPlainTextEdit;
        pages_[i]->setObjectName(QStringLiteral("txtNotes(%1)").arg(i + 1));
        pages_[i]->setToolTip(QString::fromLatin1(tabs[i][1]));
        pages_[i]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        stack_->addWidget(pages_[i]);
    }
    oBrowser_ = new NotesPreview;
    oBrowser_->setObjectName(QStringLiteral("oBrowser"));
    oBrowser_->setToolTip(QStringLiteral("Preview of the HTML notes for person or family"));
    stack_->addWidget(oBrowser_);

    chkHTML_ = new QCheckBox(QStringLiteral("HTML Toolbar"));
    chkHTML_->setObjectName(QStringLiteral("chkHTML"));
    chkHTML_->setToolTip(QStringLiteral("Enable or disable HTML toolbar"));
    connect(chkHTML_, &QCheckBox::clicked, this, &NotesPages::chkHTML_Click);

    tbrHTML_ = new QToolBar;
    tbrHTML_->setObjectName(QStringLiteral("tbrHTML"));
    tbrHTML_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ButtonDef& b : kButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* action = tbrHTML_->addAction(QString::fromLatin1(b.text));
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(b.tip));
        connect(action, &QAction::triggered, this, [this, key] { tbrHTML_ButtonClick(key); });
        buttons_.insert(key, action);
    }

    mnuEditAppData_ = new QMenu(QStringLiteral("Application Data"), this);
    mnuEditAppData_->setObjectName(QStringLiteral("mnuEditAppData"));

    connect(tabStrip_, &QTabBar::currentChanged, this, &NotesPages::tabStrip_Click);

    auto* top = new QHBoxLayout;
    top->addWidget(tabStrip_, 1);
    top->addWidget(chkHTML_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(tbrHTML_);
    layout->addWidget(stack_, 1);

    dialogs_ = std::make_unique<EditorNotesDialogs>(this, nullptr);
    engine_ = std::make_unique<SVGEditHTML>(*dialogs_, MainWindowLink::reporter(), DateContext::system());
    load(nullptr, nullptr, QString(), QString(), QString(), QString());
}

NotesPages::~NotesPages() = default;

void NotesPages::load(SVGTree* tree, const SVGApplications* applications, const QString& notes,
                      const QString& tooltips, const QString& progData, const QString& locSettings) {
    tree_ = tree;
    applications_ = applications;
    dialogs_->setTree(tree);
    const QString* texts[4] = {&notes, &tooltips, &progData, &locSettings};
    for (int i = 0; i < 4; ++i) pages_[i]->setPlainText(*texts[i]);
    {
        const QSignalBlocker block(tabStrip_);
        tabStrip_->setCurrentIndex(0);
    }
    stack_->setCurrentIndex(0);
    chkHTML_->setChecked(false);
    chkHTML_->setVisible(true);
    tbrHTML_->setVisible(false);
    oBrowser_->clear();

    mnuEditAppData_->clear();
    for (const DataMenuItem& item : dataMenuItems(applications)) {
        QAction* action = mnuEditAppData_->addAction(item.caption);
        const QString id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { mnuEditDataFmt_Click(id); });
    }
    mnuEditAppData_->setEnabled(false);
    engine_->ResetUndo();
    buttons_.value(QStringLiteral("Undo"))->setEnabled(false);
}

QString NotesPages::pageText(int i) const { return pages_[i - 1]->toPlainText(); }

bool NotesPages::previewOn() const { return stack_->currentIndex() == kPreviewIndex; }

void NotesPages::tabStrip_Click(int index) {
    if (index < 0) return;
    stack_->setCurrentIndex(index);
    pages_[index]->setFocus();
    chkHTML_->setVisible(index == 0);
    tbrHTML_->setVisible(index == 0 && chkHTML_->isChecked());
    mnuEditAppData_->setEnabled(bDataMenuEnabled(applications_, index + 1));
}

void NotesPages::chkHTML_Click() {
    tbrHTML_->setVisible(chkHTML_->isChecked());
    // The person editor gives the notes the focus; the family editor does not.
    if (window()->objectName() == u"FormBox") pages_[0]->setFocus();
}

NotesText NotesPages::notesState() const {
    // Positions come from the document, never from the selected text, which
    // turns line ends into paragraph separators.
    const QTextCursor cursor = pages_[0]->textCursor();
    NotesText state;
    state.text = pages_[0]->toPlainText();
    state.selStart = std::min(cursor.anchor(), cursor.position());
    state.selLength = std::abs(cursor.position() - cursor.anchor());
    return state;
}

void NotesPages::setNotesState(const NotesText& state) {
    if (pages_[0]->toPlainText() != state.text) pages_[0]->setPlainText(state.text);
    QTextCursor cursor(pages_[0]->document());
    const int length = int(state.text.size());
    cursor.setPosition(std::clamp(state.selStart, 0, length));
    cursor.setPosition(std::clamp(state.selStart + state.selLength, 0, length), QTextCursor::KeepAnchor);
    pages_[0]->setTextCursor(cursor);
}

void NotesPages::togglePreview() {
    if (previewOn()) {
        stack_->setCurrentIndex(tabStrip_->currentIndex());
        return;
    }
    const QString text = pageText(1);
    oBrowser_->setHtml(tree_ ? tree_->GetPlaceKeys().ExpandAllHTMLURLs(text, false) : text);
    stack_->setCurrentIndex(kPreviewIndex);
}

void NotesPages::tbrHTML_ButtonClick(const QString& key) {
    try {
        NotesText state = notesState();
        const bool preview = engine_->bEditHTMLButton(state, key);
        setNotesState(state);
        buttons_.value(QStringLiteral("Undo"))->setEnabled(engine_->undoEnabled());
        if (preview) togglePreview();
        if (!previewOn()) pages_[0]->setFocus();
    } catch (...) {
        buttons_.value(QStringLiteral("Undo"))->setEnabled(engine_->undoEnabled());
        reportHandlerError();
    }
}

void NotesPages::mnuEditDataFmt_Click(const QString& id) {
    try {
        if (id.isEmpty() || !applications_) return;
        QString newText;
        QString current = pageText(3);
        current.replace(u'\n', QStringLiteral("\r\n"));
        if (FormAppData::EditAppData(*applications_, id, current, newText, window())) {
            pages_[2]->setPlainText(sPageText(pageLines(newText)));
            if (tree_) tree_->SetUnsaved(true);
        }
    } catch (...) {
        reportHandlerError();
    }
}
